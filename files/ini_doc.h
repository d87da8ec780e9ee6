// The in-memory INI document: an ordered list of section headers and keys, parsed from text and
// written back line for line, so a document the program saves keeps what its author wrote.
#pragma once
#include <string>
#include <string_view>
#include <vector>

// How a document's bytes were written; a save writes them the same way.
enum class IniEncoding { Utf8Bom, Utf8, Utf16, Cp1251 };

struct IniNode {
  bool section = false;
  std::string name;
  // Keys only: the value as the file holds it (a leading quote kept, trailing blanks dropped);
  // the text accessors leave one leading quote out.
  std::string value;
  // Comment and blank lines above this line, verbatim with their line breaks.
  std::string before;
  // The line as read, with its line break; empty for nodes made or changed by the program,
  // which are written in the plain form.
  std::string line;
  // Keys read from a file: where the value starts in `line`, so a changed value keeps the
  // spacing in front of it.
  size_t valueAt = 0;
};

struct IniDoc {
  std::string fileName;  // as first asked for
  std::vector<IniNode> nodes;
  int lastSection = -1;  // node index of the section found last, a lookup shortcut
  bool dirty = false;
  std::string trailing;  // comment and blank lines after the last node
  IniEncoding encoding = IniEncoding::Utf8Bom;

  // Key lookup: a null section searches the whole document; an empty one the keys before the
  // first header; otherwise the keys of the first section of that name. -1 when absent.
  int FindKey(const char* section, const char* key);
  int FindSection(const char* section) const;
  // Sets the value the text accessors give back (quoted as needed so it reads back the same).
  void Set(const char* section, const char* key, std::string value);
  void DeleteSection(const char* section);
  // The document's text as UTF-8, without a signature.
  std::string Text() const;
  // The bytes to save, in the document's own encoding (UTF-8 with a signature when a code page
  // 1251 document gains a character that code page cannot hold).
  std::string Serialise() const;
};

bool iniNameEquals(std::string_view a, std::string_view b);
// Parses UTF-8 text into nodes, appended in file order; comments and blank lines ride along with
// the node that follows them, or go to `trailing` at the end.
void iniParseText(std::string_view text, std::vector<IniNode>& nodes, std::string* trailing = nullptr);
// Turns loaded bytes in any accepted encoding (UTF-16 LE or UTF-8 with a signature, then UTF-8,
// then code page 1251) into UTF-8 text. `name` names the file in the console messages; `found`
// receives the encoding that was recognised.
std::string iniDecode(const unsigned char* data, size_t size, const char* name, IniEncoding* found = nullptr);
// The text a loaded value gives the accessors: one leading quote left out.
std::string_view iniUnquote(std::string_view stored);
// Reads the value's leading integer / fraction: sign, digits, saturating instead of overflowing.
int iniParseInt(std::string_view s);
float iniParseFloat(std::string_view s);
