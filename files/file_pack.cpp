// The pack archive: reading its index once, serving entries with shared, counted buffers.
#include "files/file_pack.h"
#include "base/diag.h"
#include "files/ini.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace {
struct Archive {
  std::string name;
  FileHandle file = nullptr;
  uint64_t length = 0;
};

std::vector<Archive> g_archives;
std::vector<PackEntry> g_entries;
// Folded name -> first entry of that name (later duplicates are kept but never found).
std::unordered_map<std::string, size_t> g_index;
// Buffers are given back from the sound thread too (a finished sound releases its bytes there),
// so use counts and loaded data change under this lock.
std::mutex g_lock;

constexpr size_t kMaxStoredName = 254;
constexpr size_t kMaxNameBytes = 1024;

bool readExact(FileHandle f, void* buf, size_t n) { return fileRead(f, buf, n) == n; }

void parseArchive(size_t index) {
  Archive& a = g_archives[index];
  fileSeek(a.file, 0);
  uint8_t version = 0;
  if (!readExact(a.file, &version, 1)) return;
  uint64_t pos = 1;
  std::vector<char> name;
  name.reserve(256);
  while (pos < a.length) {
    uint8_t sz[4];
    if (pos + 4 > a.length || !readExact(a.file, sz, 4)) {
      errorLog("Pack archive %s: truncated entry header at offset %llu\n", a.name.c_str(), (unsigned long long)pos);
      return;
    }
    pos += 4;
    uint32_t size = uint32_t(sz[0]) | uint32_t(sz[1]) << 8 | uint32_t(sz[2]) << 16 | uint32_t(sz[3]) << 24;
    name.clear();
    bool terminated = false;
    while (name.size() < kMaxNameBytes && pos < a.length) {
      int c = std::fgetc(a.file);
      if (c == EOF) break;
      ++pos;
      if (c == 0) {
        terminated = true;
        break;
      }
      name.push_back(c == '\\' ? '/' : char(c));
    }
    if (!terminated) {
      errorLog("Pack archive %s: entry name without an end at offset %llu\n", a.name.c_str(), (unsigned long long)pos);
      return;
    }
    if (version >= 2 && (pos & 1)) ++pos;
    if (pos + size > a.length) {
      // A truncated archive keeps every entry that is whole.
      errorLog("Pack archive %s: entry %.*s runs past the end of the file (offset %llu, size %u)\n",
               a.name.c_str(), int(name.size()), name.data(), (unsigned long long)pos, size);
      return;
    }
    PackEntry e;
    e.name.assign(name.data(), std::min(name.size(), kMaxStoredName));
    e.archive = index;
    e.offset = pos;
    e.size = size;
    g_index.emplace(fileFoldName(e.name), g_entries.size());
    g_entries.push_back(std::move(e));
    pos += size;
    if (fileSeek(a.file, long(pos)) != 0) return;
  }
}
}  // namespace

bool fileOpenPackFile(const char* path) {
  if (!path || !*path) return false;
  std::lock_guard l(g_lock);
  FileHandle f = fileOpen(path, 1);
  if (!f) {
    errorLog("Cannot open pack archive %s\n", path);
    return false;
  }
  Archive a;
  a.name.assign(path, std::min(std::strlen(path), kMaxStoredName));
  a.file = f;
  a.length = uint64_t(fileSize(f));
  g_archives.push_back(std::move(a));
  if (g_archives.back().length) parseArchive(g_archives.size() - 1);
  return true;
}

bool fileOpenPack() {
  std::string pack = iniString("game.ini", "main", "pack");
  if (pack.empty()) return false;
  return fileOpenPackFile(pack.c_str());
}

void fileClosePack() {
  std::lock_guard l(g_lock);
  for (PackEntry& e : g_entries) std::free(e.data);
  for (Archive& a : g_archives) fileClose(a.file);
  g_entries.clear();
  g_entries.shrink_to_fit();
  g_archives.clear();
  g_index.clear();
}

size_t filePackEntryCount() {
  std::lock_guard l(g_lock);
  return g_entries.size();
}

std::string filePackEntryName(size_t i) {
  std::lock_guard l(g_lock);
  return i < g_entries.size() ? g_entries[i].name : std::string();
}

PackEntry* packFind(const gFileName& name) {
  if (name.IsEmpty()) return nullptr;
  std::string key = fileFoldName(name.Utf8());
  std::lock_guard l(g_lock);
  if (g_entries.empty()) return nullptr;
  auto it = g_index.find(key);
  return it == g_index.end() ? nullptr : &g_entries[it->second];
}

size_t packAcquire(PackEntry& e, void** data) {
  std::lock_guard l(g_lock);
  if (!e.size) return 0;
  if (!e.data) {
    Archive& a = g_archives[e.archive];
    void* buf = std::malloc(e.size);
    if (!buf) return 0;
    if (fileSeek(a.file, long(e.offset)) != 0 || !readExact(a.file, buf, e.size)) {
      std::free(buf);
      errorLog("Pack archive %s: cannot read %s\n", a.name.c_str(), e.name.c_str());
      return 0;
    }
    e.data = buf;
    e.useCount = 1;
  } else {
    ++e.useCount;
  }
  *data = e.data;
  return e.size;
}

void packDropRaw(PackEntry& e) {
  std::lock_guard l(g_lock);
  if (e.data && e.useCount > 0 && --e.useCount == 0) {
    std::free(e.data);
    e.data = nullptr;
  }
}

bool packRelease(void* p) {
  std::lock_guard l(g_lock);
  auto* b = static_cast<uint8_t*>(p);
  for (PackEntry& e : g_entries) {
    auto* start = static_cast<uint8_t*>(e.data);
    if (!start || b < start || b >= start + e.size) continue;
    if (e.useCount > 0 && --e.useCount > 0) return true;
    std::free(e.data);
    e.data = nullptr;
    e.useCount = 0;
    return true;
  }
  return false;
}
