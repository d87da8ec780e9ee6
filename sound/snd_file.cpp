// Whole-file bytes for the readers and the choice of reader by extension.
#include "sound/snd_file.h"

#include <cstring>

#include "base/diag.h"
#include "files/file.h"

bool SndBytes::Load(const std::string& name) {
  Reset();
  void* p = nullptr;
  size_t n = fileLoad(gFileName(name), &p);
  if (!n || !p) return false;
  loaded_ = static_cast<uint8_t*>(p);
  loadedSize_ = n;
  return true;
}

void SndBytes::Copy(const void* data, size_t size) {
  Reset();
  const auto* b = static_cast<const uint8_t*>(data);
  copy_.assign(b, b + size);
}

void SndBytes::Reset() {
  if (loaded_) memFree(loaded_);
  loaded_ = nullptr;
  loadedSize_ = 0;
  copy_.clear();
  copy_.shrink_to_fit();
}

// Both readers take a whole file the same way and differ only in how they read its header.
int CFileSND::Open(const std::string& name) {
  Close();
  name_ = name;
  if (!bytes_.Load(name)) return SND_OPEN_MISSING;
  return Parse();
}

int CFileSND::OpenMemory(const void* data, size_t size, const std::string& label) {
  Close();
  name_ = label;
  bytes_.Copy(data, size);
  return Parse();
}

namespace {
bool endsWithNoCase(const std::string& s, const char* tail) {
  size_t n = std::strlen(tail);
  if (s.size() < n) return false;
  for (size_t i = 0; i < n; ++i) {
    char c = s[s.size() - n + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != tail[i]) return false;
  }
  return true;
}
}  // namespace

bool sndIsSoundFileName(const std::string& name) {
  return endsWithNoCase(name, "wav") || endsWithNoCase(name, "ogg");
}

std::unique_ptr<CFileSND> sndOpenReader(const std::string& name) {
  std::unique_ptr<CFileSND> r;
  if (endsWithNoCase(name, "wav")) r = std::make_unique<CFileWAV>();
  else if (endsWithNoCase(name, "ogg")) r = std::make_unique<CFileOGG>();
  else return nullptr;
  int rc = r->Open(name);
  if (rc != SND_OPEN_OK) {
    if (rc == SND_OPEN_MISSING) errorLog("Sound: cannot open \"%s\"\n", name.c_str());
    return nullptr;
  }
  return r;
}
