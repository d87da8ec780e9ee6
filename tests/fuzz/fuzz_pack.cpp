// Fuzz target of the archive index reader and the "z" inflater: any bytes must be read or refused
// without reading outside the file or allocating from an unchecked size.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "files/file.h"
#include "fuzz_util.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzkit::WriteFile("fuzz.pak", data, size);
  if (fileOpenPackFile("fuzz.pak")) {
    // Every entry found is loaded twice and released: the reads at the recorded offsets, the
    // shared buffer's count, and the inflater for names ending in "z".
    size_t count = filePackEntryCount();
    for (size_t i = 0; i < count && i < 64; ++i) {
      std::string name = filePackEntryName(i);
      void *p = nullptr, *q = nullptr;
      size_t n = fileLoad(name, &p);
      size_t m = fileLoad(name, &q);
      if (n) memFree(p);
      if (m) memFree(q);
    }
    fileClosePack();
  }
  void* out = nullptr;
  if (fileInflateZ(data, size, &out, "fuzz.z")) memFree(out);
  return 0;
}
