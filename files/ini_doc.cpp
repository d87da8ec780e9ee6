// Lookups and changes inside one INI document, and its text form for saving.
#include "files/ini_doc.h"

namespace {
bool needsQuote(const std::string& v) {
  if (v.empty()) return false;
  auto space = [](char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; };
  // The reader drops one leading quote and would eat leading spaces and "=" and trailing spaces.
  return v.front() == '"' || v.front() == '=' || space(v.front()) || space(v.back());
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
  int k = FindKey(section, key);
  if (k >= 0) {
    nodes[k].value = std::move(value);
  } else {
    IniNode node;
    node.name = key;
    node.value = std::move(value);
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
  dirty = true;
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

std::string IniDoc::Serialise() const {
  std::string out = "\xEF\xBB\xBF";
  for (const IniNode& n : nodes) {
    out += n.before;
    if (n.section) {
      out += '[';
      out += n.name;
      out += "]\r\n";
    } else {
      out += n.name;
      out += '=';
      if (needsQuote(n.value)) out += '"';
      out += n.value;
      out += "\r\n";
    }
  }
  out += trailing;
  return out;
}
