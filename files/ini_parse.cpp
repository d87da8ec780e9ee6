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
  std::string pending;  // comment and blank lines waiting for the next node
  while (pos < text.size()) {
    // A line ends at CR LF, LF or CR; an empty line between two breaks is a blank line.
    size_t end = text.find_first_of("\r\n", pos);
    size_t next = end;
    if (end == std::string_view::npos) {
      end = next = text.size();
    } else {
      next = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    std::string_view line = text.substr(pos, end - pos);
    std::string_view whole = text.substr(pos, next - pos);
    pos = next;

    size_t i = 0;
    while (i < line.size() && isSpace(line[i])) ++i;
    if (i == line.size() || line[i] == ';') {
      pending += whole;
      continue;
    }
    size_t w = i;
    while (w < line.size() && !isSpace(line[w]) && line[w] != '=') ++w;
    std::string_view word = trimRight(line.substr(i, w - i));
    size_t r = w;
    while (r < line.size() && (isSpace(line[r]) || line[r] == '=')) ++r;
    // Trailing blanks go whatever the value starts with; a leading quote stays in the stored
    // value and only the text accessors leave it out.
    std::string_view value = trimRight(line.substr(r));

    IniNode node;
    if (!word.empty() && word[0] == '[') {
      // The name is what stands between the brackets, trimmed; a missing "]" ends it at the line's end.
      std::string_view header = line.substr(i + 1);
      size_t close = header.find(']');
      std::string_view inner = close == std::string_view::npos ? header : header.substr(0, close);
      node.section = true;
      node.name = std::string(trim(inner));
    } else {
      node.name = std::string(word);
      node.value = std::string(value);
      node.valueAt = r;
      if (value.empty()) consoleMessage(4, "(gIniKey): Key wihout a value (%s)!\n", node.name.c_str());
    }
    node.line = std::string(whole);
    node.before = std::move(pending);
    pending.clear();
    nodes.push_back(std::move(node));
  }
  if (trailing) *trailing = std::move(pending);
}

std::string_view iniUnquote(std::string_view stored) {
  if (!stored.empty() && stored[0] == '"') stored.remove_prefix(1);
  return stored;
}

std::string iniDecode(const unsigned char* data, size_t size, const char* name, IniEncoding* found) {
  IniEncoding unused;
  IniEncoding& enc = found ? *found : unused;
  if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
    enc = IniEncoding::Utf16;
    std::u16string w;
    w.reserve(size / 2);
    for (size_t i = 2; i + 1 < size; i += 2) w.push_back(char16_t(data[i] | (data[i + 1] << 8)));
    return textUtf16ToUtf8(w);
  }
  if (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) {
    enc = IniEncoding::Utf8Bom;
    return std::string(reinterpret_cast<const char*>(data + 3), size - 3);
  }
  consoleMessage(1, "Performance warning: please use utf-8 or utf-16 files with signatures (%s)\n", name);
  std::string_view raw(reinterpret_cast<const char*>(data), size);
  if (textIsValidUtf8(raw)) {
    enc = IniEncoding::Utf8;
    return std::string(raw);
  }
  enc = IniEncoding::Cp1251;
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
