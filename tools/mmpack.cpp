// The pack tool of content authors: builds an archive from a folder, lists or extracts one, and
// makes or opens "z" compressed files.
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "files/file.h"

namespace fs = std::filesystem;

namespace {
int usage() {
  std::cerr << "usage:\n"
               "  mmpack build <folder> <archive> [--version N]   pack every file under <folder>\n"
               "  mmpack list <archive>                           names and sizes\n"
               "  mmpack extract <archive> <folder>               write every entry under <folder>\n"
               "  mmpack zip <file> <file.z>                      make a compressed \"z\" file\n"
               "  mmpack unzip <file.z> <file>                    inflate a \"z\" file\n";
  return 2;
}

bool readAll(const fs::path& p, std::string& out) {
  std::ifstream f(p, std::ios::binary);
  if (!f) return false;
  out.assign(std::istreambuf_iterator<char>(f), {});
  return true;
}

bool writeAll(const fs::path& p, const std::string& bytes) {
  std::error_code ec;  // a folder that cannot be made shows as a failed write, not a crash
  if (p.has_parent_path()) fs::create_directories(p.parent_path(), ec);
  std::ofstream f(p, std::ios::binary);
  f.write(bytes.data(), std::streamsize(bytes.size()));
  return bool(f);
}

void putU32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(char((v >> (8 * i)) & 255));
}

int build(fs::path folder, const fs::path& archive, int version) {
  // Names are taken relative to the folder's parent: packing "demo/data" stores "data/...".
  folder = folder.lexically_normal();
  if (!folder.has_filename()) folder = folder.parent_path();
  std::vector<fs::path> files;
  for (auto& e : fs::recursive_directory_iterator(folder))
    if (e.is_regular_file()) files.push_back(e.path());
  std::sort(files.begin(), files.end());  // the same folder always gives the same archive
  std::string out(1, char(version));
  for (const fs::path& p : files) {
    std::string name = fs::relative(p, folder.parent_path().empty() ? fs::path(".") : folder.parent_path()).generic_string();
    std::string data;
    if (!readAll(p, data)) {
      std::cerr << "mmpack: cannot read " << p << "\n";
      return 1;
    }
    if (name.size() > 1023 || data.size() > 0xFFFFFFFFull) {
      std::cerr << "mmpack: " << p << " has a name or size the archive cannot hold\n";
      return 1;
    }
    putU32(out, uint32_t(data.size()));
    out += name;
    out.push_back('\0');
    if (version >= 2 && (out.size() & 1)) out.push_back('\0');
    out += data;
  }
  if (!writeAll(archive, out)) {
    std::cerr << "mmpack: cannot write " << archive << "\n";
    return 1;
  }
  std::cout << files.size() << " files, " << out.size() << " bytes\n";
  return 0;
}

// Reads entries the way the game does, so what the tool lists is what the game sees.
struct Listed {
  std::string name;
  size_t offset, size;
};

// An entry may only land under the target folder: no root, no drive, no step up.
bool safeName(const std::string& rel) {
  if (rel.empty() || rel[0] == '/' || rel.find(':') != std::string::npos) return false;
  for (const auto& part : fs::path(rel)) if (part == "..") return false;
  return true;
}

bool parse(const std::string& a, std::vector<Listed>& out) {
  if (a.empty()) return true;
  int version = uint8_t(a[0]);
  size_t pos = 1;
  while (pos < a.size()) {
    if (a.size() - pos < 4) return false;
    uint32_t size = 0;
    for (int i = 0; i < 4; ++i) size |= uint32_t(uint8_t(a[pos + i])) << (8 * i);
    pos += 4;
    size_t end = a.find('\0', pos);
    if (end == std::string::npos || end - pos > 1023) return false;
    Listed l{a.substr(pos, end - pos), 0, size};
    pos = end + 1;
    if (version >= 2 && (pos & 1)) ++pos;
    if (pos > a.size() || a.size() - pos < size) return false;
    l.offset = pos;
    out.push_back(l);
    pos += size;
  }
  return true;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return usage();
  std::string cmd = argv[1];
  if (cmd == "build" && argc >= 4) {
    int version = 2;
    if (argc >= 6 && std::strcmp(argv[4], "--version") == 0) version = std::atoi(argv[5]);
    return build(argv[2], argv[3], version);
  }
  if ((cmd == "list" || cmd == "extract") && argc >= 3) {
    std::string bytes;
    if (!readAll(argv[2], bytes)) {
      std::cerr << "mmpack: cannot read " << argv[2] << "\n";
      return 1;
    }
    std::vector<Listed> entries;
    bool whole = parse(bytes, entries);
    if (cmd == "extract" && argc < 4) return usage();
    // The game's lookup takes the first entry of a name (letter case and slash direction aside),
    // so a later namesake is never read: extracting it over the first would show the wrong file.
    std::set<std::string> written;
    for (const Listed& l : entries) {
      if (cmd == "list") {
        std::cout << l.size << "\t" << l.name << "\n";
      } else {
        std::string rel = l.name;
        for (char& c : rel)
          if (c == '\\') c = '/';
        if (!safeName(rel)) {
          std::cerr << "mmpack: skipping unsafe name " << l.name << "\n";
          continue;
        }
        if (!written.insert(fileFoldName(l.name)).second) {
          std::cerr << "mmpack: skipping a second entry named " << l.name << " (the game reads the first)\n";
          continue;
        }
        if (!writeAll(fs::path(argv[3]) / rel, bytes.substr(l.offset, l.size))) {
          std::cerr << "mmpack: cannot write " << (fs::path(argv[3]) / rel) << "\n";
          return 1;
        }
      }
    }
    if (!whole) {
      std::cerr << "mmpack: " << argv[2] << " is damaged after " << entries.size() << " entries\n";
      return 1;
    }
    return 0;
  }
  if ((cmd == "zip" || cmd == "unzip") && argc >= 4) {
    std::string bytes;
    if (!readAll(argv[2], bytes)) {
      std::cerr << "mmpack: cannot read " << argv[2] << "\n";
      return 1;
    }
    if (cmd == "zip") return writeAll(argv[3], fileDeflateZ(bytes)) ? 0 : 1;
    void* out = nullptr;
    std::string why;
    size_t n = fileInflateZ(bytes.data(), bytes.size(), &out, argv[2], &why);
    if (!n) {
      std::cerr << "mmpack: " << argv[2] << " is not a valid z file";
      if (!why.empty()) std::cerr << ": " << why;
      std::cerr << "\n";
      return 1;
    }
    bool ok = writeAll(argv[3], std::string(static_cast<char*>(out), n));
    memFree(out);
    return ok ? 0 : 1;
  }
  return usage();
}
