// The tolerant INI line parser, the encoding detection and the number readers.
#include "files/ini_doc.h"
#include "base/diag.h"
#include "files/text.h"

#include <cctype>
#include <climits>

namespace {
// Only single-byte characters count as spaces, so UTF-8 continuation bytes never do.
bool isSpace(char c) {
  auto u = static_cast<unsigned char>(c);
  return u >= 1 && u < 128 && std::isspace(u);
}

std::string_view trimRight(std::string_view s) {
  while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
  return s;
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
  return trimRight(s);
}
}  // namespace

bool iniNameEquals(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = char(x - 32);
    if (y >= 'a' && y <= 'z') y = char(y - 32);
    if (x != y) return false;
  }
  return true;
}

void iniParseText(std::string_view text, std::vector<IniNode>& nodes, std::string* trailing) {
  size_t pos = 0;
  std::string pending;  // comments and blank lines waiting for the next node
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end;
    // One line break ends this line; each further one is a blank line.
    int breaks = 0;
    while (pos < text.size() && (text[pos] == '\r' || text[pos] == '\n')) {
      if (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ++pos;
      ++pos;
      ++breaks;
    }

    size_t i = 0;
    while (i < line.size() && isSpace(line[i])) ++i;
    if (i == line.size() || line[i] == ';') {
      if (i < line.size()) {
        pending += line;
        pending += "\r\n";
      } else if (!nodes.empty() || !pending.empty()) {
        pending += "\r\n";  // a blank line; those before anything else are not worth keeping
      }
      for (int b = 1; b < breaks; ++b) pending += "\r\n";
      continue;
    }
    // Blank lines after this line belong before the next one.
    std::string blanks;
    for (int b = 1; b < breaks; ++b) blanks += "\r\n";
    size_t w = i;
    while (w < line.size() && !isSpace(line[w]) && line[w] != '=') ++w;
    std::string_view word = trimRight(line.substr(i, w - i));
    size_t r = w;
    while (r < line.size() && (isSpace(line[r]) || line[r] == '=')) ++r;
    std::string_view rest = line.substr(r);
    // A value written with a leading quote keeps its trailing spaces: that is how values with
    // significant spaces are saved.
    std::string_view value = !rest.empty() && rest[0] == '"' ? rest : trimRight(rest);

    IniNode node;
    if (word[0] == '[') {
      // The name is what stands between the brackets, trimmed; a missing "]" ends it at the line's end.
      std::string_view header = line.substr(i + 1);
      size_t close = header.find(']');
      std::string_view inner = close == std::string_view::npos ? header : header.substr(0, close);
      node.section = true;
      node.name = std::string(trim(inner));
    } else {
      node.name = std::string(word);
      node.value = std::string(value);
      if (value.empty()) consoleMessage(4, "(gIniKey): Key wihout a value (%s)!\n", node.name.c_str());
    }
    node.before = std::move(pending);
    pending = std::move(blanks);
    nodes.push_back(std::move(node));
  }
  if (trailing) *trailing = std::move(pending);
}

std::string iniDecode(const unsigned char* data, size_t size, const char* name) {
  if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
    std::u16string w;
    w.reserve(size / 2);
    for (size_t i = 2; i + 1 < size; i += 2) w.push_back(char16_t(data[i] | (data[i + 1] << 8)));
    return textUtf16ToUtf8(w);
  }
  if (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF)
    return std::string(reinterpret_cast<const char*>(data + 3), size - 3);
  consoleMessage(1, "Performance warning: please use utf-8 or utf-16 files with signatures (%s)\n", name);
  std::string_view raw(reinterpret_cast<const char*>(data), size);
  if (textIsValidUtf8(raw)) return std::string(raw);
  return textUtf16ToUtf8(textCp1251ToUtf16(raw));
}

int iniParseInt(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  long long v = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
    v = v * 10 + (s[i] - '0');
    if (v > 1LL + INT_MAX) v = 1LL + INT_MAX;  // saturate; keep room for INT_MIN
  }
  if (negative) return v > INT_MAX ? INT_MIN : int(-v);
  return v > INT_MAX ? INT_MAX : int(v);
}

float iniParseFloat(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  double v = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) v = v * 10 + (s[i] - '0');
  if (i < s.size() && s[i] == '.') {
    double scale = 0.1;
    for (++i; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i, scale /= 10) v += (s[i] - '0') * scale;
  }
  return float(negative ? -v : v);
}
