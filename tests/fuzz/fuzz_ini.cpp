// Fuzz target of the INI reader: any bytes (any encoding, any line shape) must parse, answer
// lookups within the accessors' buffers and save again without fault.
#include <cstddef>
#include <cstdint>
#include <string>

#include "files/ini_doc.h"
#include "files/ini.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text = iniDecode(data, size, "fuzz.ini");
  IniDoc doc;
  iniParseText(text, doc.nodes);
  for (const IniNode& n : doc.nodes) {
    if (n.section) {
      doc.FindKey(n.name.c_str(), "k");
    } else {
      iniParseInt(n.value);
      iniParseFloat(n.value);
      doc.FindKey(nullptr, n.name.c_str());
    }
  }
  doc.Set("s", "k", text.substr(0, 64));
  doc.Set(nullptr, "n", "v");
  if (!doc.nodes.empty() && doc.nodes.front().section) doc.DeleteSection(doc.nodes.front().name.c_str());
  std::string saved = doc.Serialise();
  IniDoc again;
  iniParseText(std::string_view(saved).substr(3), again.nodes);
  return 0;
}
