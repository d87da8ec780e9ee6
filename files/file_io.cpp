// Standard streams opened by data name, whole-file loads (archive first, then loose files, "z"
// files inflated) and the engine's buffer release.
#include "files/file.h"
#include "files/file_pack.h"
#include "base/diag.h"
#include "platform/platform.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
bool endsWithZ(const std::string& name) { return !name.empty() && (name.back() == 'z' || name.back() == 'Z'); }

// Names that read from the game folder are relative to it; the data may use either slash and any
// letter case, so the real file is looked up.
std::string openPath(const gFileName& name, int mode) {
  std::string n = name.Utf8();
  // Only a letter, a colon and a backslash make a drive path; "C:/a.txt" stays relative.
  bool absolute = (!n.empty() && (n[0] == '/' || n[0] == '\\')) || (n.size() >= 3 && n[1] == ':' && n[2] == '\\');
  if (mode == 1 && !absolute) n = "./" + n;
  return fileResolve(n);
}
}  // namespace

FileHandle fileOpen(const gFileName& name, int mode) {
  if (name.IsEmpty()) return nullptr;
  const char* m = mode == 1 ? "rb" : mode == 2 ? "wb" : "r+b";
  std::string path = openPath(name, mode);
  // A folder opens for reading here (it does not on the system the data was made on) and then
  // reports an absurd length: it is not a file.
  if (platIsFolder(path)) return nullptr;
  return std::fopen(path.c_str(), m);
}

int fileClose(FileHandle f) { return f && std::fclose(f) == 0 ? 1 : 0; }

size_t fileRead(FileHandle f, void* buffer, size_t n) {
  if (!f || !buffer || !n) return 0;
  return std::fread(buffer, 1, n, f);
}

size_t fileWrite(FileHandle f, const void* buffer, size_t n) {
  if (!f || !buffer || !n) return 0;
  size_t w = std::fwrite(buffer, 1, n, f);
  std::fflush(f);
  return w;
}

int fileSeek(FileHandle f, long position) {
  if (!f) return 1;
  return std::fseek(f, position, SEEK_SET) == 0 ? 0 : 1;
}

long fileSize(FileHandle f) {
  if (!f) return 0;
  long here = std::ftell(f);
  if (std::fseek(f, 0, SEEK_END) != 0) return 0;
  long size = std::ftell(f);
  std::fseek(f, here, SEEK_SET);
  return size < 0 ? 0 : size;
}

bool fileExists(const gFileName& name) {
  if (name.IsEmpty()) return false;
  if (packFind(name)) return true;
  FileHandle f = fileOpen(name, 1);
  if (!f) return false;
  fileClose(f);
  return true;
}

void* memAlloc(size_t n) { return std::malloc(n ? n : 1); }

void memFree(void* p) {
  if (!p) return;
  if (packRelease(p)) return;
  std::free(p);
}

size_t fileLoad(const gFileName& name, void** out) {
  if (name.IsEmpty() || !out) return 0;
  std::string utf8 = name.Utf8();
  if (PackEntry* e = packFind(name)) {
    void* data = nullptr;
    size_t size = packAcquire(*e, &data);
    if (!size) return 0;
    if (endsWithZ(e->name)) {
      void* inflated = nullptr;
      size_t n = fileInflateZ(data, size, &inflated, utf8.c_str());
      packDropRaw(*e);
      if (n) *out = inflated;
      return n;
    }
    *out = data;
    return size;
  }
  FileHandle f = fileOpen(name, 1);
  if (!f) return 0;
  long length = fileSize(f);
  if (length <= 0) {
    fileClose(f);
    return 0;
  }
  void* buf = std::malloc(size_t(length));
  if (!buf) {
    fileClose(f);
    errorLog("Out of memory loading %s (%ld bytes)\n", utf8.c_str(), length);
    return 0;
  }
  size_t got = fileRead(f, buf, size_t(length));
  fileClose(f);
  if (endsWithZ(utf8)) {
    void* inflated = nullptr;
    size_t n = fileInflateZ(buf, got, &inflated, utf8.c_str());
    std::free(buf);
    if (n) *out = inflated;
    return n;
  }
  if (!got) {
    std::free(buf);
    return 0;
  }
  *out = buf;
  return got;
}
