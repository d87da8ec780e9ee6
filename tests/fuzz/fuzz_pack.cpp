// Fuzz target of the archive index reader and the "z" inflater: any bytes must be read or refused
// without reading outside the file or allocating from an unchecked size.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "files/file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (std::FILE* f = std::fopen("fuzz.pak", "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  if (fileOpenPackFile("fuzz.pak")) {
    if (filePackEntryCount() > 0) {
      void* p = nullptr;
      // Loading whatever was found exercises the reads at the recorded offsets.
      for (const char* name : {"a", "data/x.ini", "z"})
        if (size_t n = fileLoad(name, &p)) memFree(p), (void)n;
    }
    fileClosePack();
  }
  void* out = nullptr;
  if (fileInflateZ(data, size, &out, "fuzz.z")) memFree(out);
  return 0;
}
