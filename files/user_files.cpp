// The player's documents in the user folder: start-up checks, backups and mended copies.
#include "files/user_files.h"

#include "base/diag.h"
#include "files/file.h"
#include "files/ini.h"
#include "files/ini_doc.h"
#include "files/text.h"
#include "platform/platform.h"

#include <vector>

namespace {
// A document of ours can never be larger than this; anything bigger is not one.
constexpr long kMaxUserFile = 16L << 20;

std::string readWhole(const std::string& path) {
  std::string out;
  FileHandle f = fileOpen(path.c_str(), 1);
  if (!f) return out;
  long size = fileSize(f);
  if (size > 0 && size <= kMaxUserFile) {
    out.resize(size_t(size));
    out.resize(fileRead(f, out.data(), out.size()));
  }
  fileClose(f);
  return out;
}

struct Scan {
  std::string text;           // the readable lines, UTF-8, each with its line break
  std::vector<int> damaged;   // 1-based numbers of the lines left out
  int readable = 0;           // section headers and keys kept
  bool cut = false;           // the last line has no line break: the writer stopped mid-way
};

bool hasControl(std::string_view s) {
  for (char c : s) {
    auto u = static_cast<unsigned char>(c);
    if ((u < 0x20 && u != '\t') || u == 0x7F) return true;
  }
  return false;
}

// A line is readable when it is blank, a comment, a whole "[name]" header or "key=value" with a
// key, in valid UTF-8 and free of control characters. Anything else is the trace of a damaged
// write: kept, it could open a bogus section that swallows the keys after it.
bool readableLine(std::string_view line, bool& counts) {
  counts = false;
  size_t i = 0;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  std::string_view rest = line.substr(i);
  if (rest.empty() || rest[0] == ';') return true;
  if (hasControl(rest) || !textIsValidUtf8(rest)) return false;
  counts = true;
  if (rest[0] == '[') return rest.find(']') != std::string_view::npos && rest.find(']') > 1;
  size_t eq = rest.find('=');
  return eq != std::string_view::npos && eq > 0;
}

Scan scanText(std::string_view text) {
  Scan s;
  size_t pos = 0;
  int number = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    bool broken = end != std::string_view::npos;
    if (!broken) end = text.size();
    size_t next = end;
    if (broken) next = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    std::string_view line = text.substr(pos, end - pos);
    ++number;
    bool counts = false;
    // A last line without its break was cut off mid-write: even when it parses, its value may
    // have lost digits, so it goes with the damaged ones.
    bool cutHere = !broken && !line.empty();
    if (cutHere) s.cut = true;
    if (!cutHere && readableLine(line, counts)) {
      s.text.append(line);
      s.text.append("\r\n");
      if (counts) ++s.readable;
    } else {
      s.damaged.push_back(number);
    }
    pos = next;
  }
  return s;
}

Scan scanFile(const std::string& path, bool* exists = nullptr) {
  std::string bytes = readWhole(path);
  if (exists) *exists = platFileExists(path);
  if (bytes.empty()) return {};
  // Our documents carry a signature, so the decoder does not guess: a damaged byte stays damaged
  // instead of turning the whole file into code page 1251.
  std::string text = iniDecode(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), path.c_str());
  return scanText(text);
}

bool writeDoc(const std::string& path, std::string_view text) {
  IniDoc doc;
  iniParseText(text, doc.nodes, &doc.trailing);
  doc.encoding = IniEncoding::Utf8Bom;
  std::string bytes = doc.Serialise();
  return platWriteFileAtomic(path, bytes.data(), bytes.size());
}

// Keys the cut document lacks are taken from the backup, so a file that ends half-way keeps the
// sections the backup still has. Keys the document does hold are newer and win.
std::string completeFrom(std::string_view text, std::string_view backup) {
  IniDoc doc;
  iniParseText(text, doc.nodes, &doc.trailing);
  std::vector<IniNode> old;
  iniParseText(backup, old);
  std::string section;
  for (const IniNode& n : old) {
    if (n.section) {
      section = n.name;
      continue;
    }
    if (doc.FindKey(section.c_str(), n.name.c_str()) < 0)
      doc.Set(section.c_str(), n.name.c_str(), std::string(iniUnquote(n.value)));
  }
  return doc.Text();
}
}  // namespace

std::string fileBaseName(std::string_view path) {
  size_t slash = path.find_last_of("/\\");
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

void fileMendUserFile(const std::string& path, const char* defaultText) {
  if (path.empty()) return;
  const std::string name = fileBaseName(path);
  const std::string tmp = path + ".tmp", bak = path + ".bak";
  if (platFileExists(tmp)) {
    // A save that never reached its rename: the document beside it is the last complete one.
    errorLog("%s: an unfinished save (%s.tmp) was left behind and is dropped; the last complete copy is kept\n",
             name.c_str(), name.c_str());
    platRemoveFile(tmp);
  }
  bool exists = false;
  Scan main = scanFile(path, &exists);
  // Zero bytes is what a writer that died before its first line leaves; a document the program
  // emptied on purpose (every player removed) still has its signature and stays empty.
  const bool blank = exists && main.readable == 0 && main.damaged.empty() && !readWhole(path).empty();
  for (int line : main.damaged)
    errorLog("%s line %d: cannot be read and is left out\n", name.c_str(), line);

  if (blank) return;
  if (main.readable == 0) {
    Scan backup = scanFile(bak);
    if (backup.readable > 0) {
      errorLog("%s is %s; its backup copy %s.bak is used\n", name.c_str(),
               !exists ? "missing" : main.damaged.empty() ? "empty" : "unreadable", name.c_str());
      if (exists) {
        std::string raw = readWhole(path);
        platWriteFileAtomic(path + ".damaged", raw.data(), raw.size());
      }
      if (!writeDoc(path, backup.text)) errorLog("Cannot save %s\n", name.c_str());
    } else if (!exists && defaultText) {
      if (!writeDoc(path, defaultText)) errorLog("Cannot save %s\n", name.c_str());
    }
    return;
  }
  if (main.damaged.empty() && !main.cut) return;

  std::string text = main.text;
  if (main.cut) {
    Scan backup = scanFile(bak);
    errorLog("%s ends in the middle of line %d%s\n", name.c_str(), main.damaged.empty() ? 0 : main.damaged.back(),
             backup.readable > 0 ? "; what it lacks is taken from its backup copy" : "");
    if (backup.readable > 0) text = completeFrom(text, backup.text);
  }
  // The damaged original stays beside the mended one, so nothing the player had is thrown away.
  std::string raw = readWhole(path);
  platWriteFileAtomic(path + ".damaged", raw.data(), raw.size());
  if (!writeDoc(path, text)) errorLog("Cannot save %s\n", name.c_str());
}

void fileInitUserFiles() {
  if (fileUserFolder().empty()) return;
  fileMendUserFile(fileProfgamePath(), "[Players]\namount=0\ncurrent=-1\n");
  // Empty documents rather than none, so a first run reads them without complaint.
  fileMendUserFile(fileProfilePath(), "");
  fileMendUserFile(fileScoresPath(), "");
}

void fileBackupUserFile(const std::string& path) {
  std::string bytes = readWhole(path);
  if (bytes.empty()) return;
  Scan s = scanText(iniDecode(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), path.c_str()));
  // Only a whole document may replace the backup: a damaged one would push out the good copy.
  if (s.readable == 0 || !s.damaged.empty() || s.cut) return;
  if (!platWriteFileAtomic(path + ".bak", bytes.data(), bytes.size()))
    errorLog("Cannot save the backup copy of %s\n", fileBaseName(path).c_str());
}

bool fileSaveUserFile(const std::string& path) {
  if (path.empty()) return false;
  fileBackupUserFile(path);
  if (iniSave(path)) return true;
  errorLog("%s was not saved: the previous copy is kept\n", fileBaseName(path).c_str());
  return false;
}

int fileUserFileLine(const std::string& path, std::string_view section, std::string_view key) {
  std::string bytes = readWhole(path);
  if (bytes.empty()) return 0;
  std::string text = iniDecode(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), path.c_str());
  std::vector<IniNode> nodes;
  iniParseText(text, nodes);
  int line = 1;
  bool inside = false;
  for (const IniNode& n : nodes) {
    for (char c : n.before)
      if (c == '\n') ++line;
    if (n.section) {
      inside = iniNameEquals(n.name, section);
    } else if (inside && iniNameEquals(n.name, key)) {
      return line;
    }
    ++line;
  }
  return 0;
}
