// The in-memory INI document: an ordered list of section headers and keys, parsed from text and
// written back as UTF-8 with a signature.
#pragma once
#include <string>
#include <string_view>
#include <vector>

struct IniNode {
  bool section = false;
  std::string name;
  std::string value;  // keys only
  // Comment and blank lines written above this line, kept verbatim (with their line breaks) so a
  // document saved by the program keeps what its author wrote.
  std::string before;
};

struct IniDoc {
  std::string fileName;  // as first asked for
  std::vector<IniNode> nodes;
  int lastSection = -1;  // node index of the section found last, a lookup shortcut
  bool dirty = false;
  std::string trailing;  // comment and blank lines after the last node

  // Key lookup: a null section searches the whole document; an empty one the keys before the
  // first header; otherwise the keys of the first section of that name. -1 when absent.
  int FindKey(const char* section, const char* key);
  int FindSection(const char* section) const;
  void Set(const char* section, const char* key, std::string value);
  void DeleteSection(const char* section);
  std::string Serialise() const;
};

bool iniNameEquals(std::string_view a, std::string_view b);
// Parses UTF-8 text into nodes, appended in file order; comments and blank lines ride along with
// the node that follows them, or go to `trailing` at the end.
void iniParseText(std::string_view text, std::vector<IniNode>& nodes, std::string* trailing = nullptr);
// Turns loaded bytes in any accepted encoding (UTF-16 LE or UTF-8 with a signature, then UTF-8,
// then code page 1251) into UTF-8 text. `name` names the file in the console messages.
std::string iniDecode(const unsigned char* data, size_t size, const char* name);
// Reads the value's leading integer / fraction: sign, digits, saturating instead of overflowing.
int iniParseInt(std::string_view s);
float iniParseFloat(std::string_view s);
