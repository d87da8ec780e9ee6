// Lookups and changes inside one INI document, and its text form for saving.
#include "files/ini_doc.h"
#include "files/text.h"

#include <algorithm>
#include <cctype>

namespace {
bool isBlank(char c) {
  auto u = static_cast<unsigned char>(c);
  return u >= 1 && u < 128 && std::isspace(u);
}

// The stored form of a value: the reader drops one leading quote and skips leading blanks and
// "=", so a value that begins with any of them is written behind a quote of its own.
std::string storedForm(std::string_view value) {
  const bool quoted = !value.empty() && (value.front() == '"' || value.front() == '=' || isBlank(value.front()));
  return quoted ? "\"" + std::string(value) : std::string(value);
}

// The line break at the end of a line as read ("" for a last line without one).
std::string_view breakOf(std::string_view line) {
  size_t n = 0;
  while (n < line.size() && (line[line.size() - 1 - n] == '\r' || line[line.size() - 1 - n] == '\n')) ++n;
  return line.substr(line.size() - n);
}
}  // namespace

int IniDoc::FindSection(const char* section) const {
  for (size_t i = 0; i < nodes.size(); ++i)
    if (nodes[i].section && iniNameEquals(nodes[i].name, section)) return int(i);
  return -1;
}

int IniDoc::FindKey(const char* section, const char* key) {
  if (!key) return -1;
  size_t start = 0;
  bool inside = !section || !*section;
  if (section && *section && lastSection >= 0 && lastSection < int(nodes.size()) &&
      iniNameEquals(nodes[lastSection].name, section)) {
    start = size_t(lastSection) + 1;
    inside = true;
  }
  for (size_t i = start; i < nodes.size(); ++i) {
    const IniNode& n = nodes[i];
    if (n.section) {
      if (!section) continue;
      if (*section && iniNameEquals(n.name, section)) {
        lastSection = int(i);
        inside = true;
      } else if (inside) {
        return -1;
      }
    } else if (inside && iniNameEquals(n.name, key)) {
      return int(i);
    }
  }
  return -1;
}

void IniDoc::Set(const char* section, const char* key, std::string value) {
  if (!key) return;
  // Line breaks cannot be stored in a line-based file; keep the rest of the value.
  for (char& c : value)
    if (c == '\r' || c == '\n') c = ' ';
  std::string stored = storedForm(value);
  dirty = true;
  int k = FindKey(section, key);
  if (k >= 0) {
    IniNode& n = nodes[size_t(k)];
    if (n.value == stored) return;
    n.value = std::move(stored);
    if (!n.line.empty()) {
      // Keep what stands before the value ("key = ", indentation) when it still separates the
      // value from the name; a bare "key" line is written afresh.
      std::string_view prefix = std::string_view(n.line).substr(0, std::min(n.valueAt, n.line.size()));
      std::string_view brk = breakOf(n.line);
      prefix = prefix.substr(0, std::min(prefix.size(), n.line.size() - brk.size()));
      if (prefix.find('=') != std::string_view::npos || (!prefix.empty() && isBlank(prefix.back())))
        n.line = std::string(prefix) + n.value + std::string(brk);
      else
        n.line.clear();
    }
    return;
  }
  IniNode node;
  node.name = key;
  node.value = std::move(stored);
  if (!section || !*section) {
    // No section: the key goes before the first header, where a lookup without a section
    // (or with an empty one) finds it, instead of under a nameless header.
    nodes.insert(nodes.begin(), std::move(node));
    lastSection = -1;
  } else if (int s = FindSection(section); s >= 0) {
    nodes.insert(nodes.begin() + s + 1, std::move(node));
  } else {
    IniNode header;
    header.section = true;
    header.name = section;
    nodes.push_back(std::move(header));
    nodes.push_back(std::move(node));
  }
}

void IniDoc::DeleteSection(const char* section) {
  if (!section) return;
  lastSection = -1;
  int s = FindSection(section);
  if (s < 0) return;
  size_t e = size_t(s) + 1;
  while (e < nodes.size() && !nodes[e].section) ++e;
  nodes.erase(nodes.begin() + s, nodes.begin() + long(e));
  dirty = true;
}

std::string IniDoc::Text() const {
  // Lines the program writes take the break the document already uses.
  std::string br = "\r\n";
  for (const IniNode& n : nodes)
    if (std::string_view b = breakOf(n.line); !b.empty()) {
      br = b.substr(0, b.size() >= 2 && b[0] == '\r' && b[1] == '\n' ? 2 : 1);
      break;
    }
  std::string out;
  auto startLine = [&] {
    if (!out.empty() && out.back() != '\n' && out.back() != '\r') out += br;
  };
  for (const IniNode& n : nodes) {
    if (!n.before.empty()) {
      startLine();
      out += n.before;
    }
    startLine();
    if (!n.line.empty()) {
      out += n.line;
    } else if (n.section) {
      out += '[';
      out += n.name;
      out += ']';
      out += br;
    } else {
      out += n.name;
      out += '=';
      out += n.value;
      out += br;
    }
  }
  if (!trailing.empty()) {
    startLine();
    out += trailing;
  }
  return out;
}

std::string IniDoc::Serialise() const {
  static const std::string kSignature = "\xEF\xBB\xBF";
  std::string text = Text();
  switch (encoding) {
    case IniEncoding::Utf8:
      return text;
    case IniEncoding::Utf16: {
      std::u16string w = textUtf8ToUtf16(text);
      std::string out = "\xFF\xFE";
      out.reserve(2 + 2 * w.size());
      for (char16_t c : w) {
        out.push_back(char(c & 0xFF));
        out.push_back(char(c >> 8));
      }
      return out;
    }
    case IniEncoding::Cp1251: {
      std::string out;
      if (textUtf16ToCp1251(textUtf8ToUtf16(text), out)) return out;
      return kSignature + text;
    }
    case IniEncoding::Utf8Bom:
      break;
  }
  return kSignature + text;
}
