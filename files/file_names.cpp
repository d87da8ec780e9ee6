// File names: comparison without regard to ASCII case or slash direction, extension changes, and
// finding data files on a case-sensitive file system with a cache of folder listings.
#include "files/file.h"
#include "files/text.h"
#include "platform/platform.h"

#include <chrono>
#include <filesystem>
#include <mutex>
#include <unordered_map>

namespace {
char16_t foldChar(char16_t c) {
  if (c >= u'a' && c <= u'z') return char16_t(c - 32);
  if (c == u'\\') return u'/';
  return c;
}

char foldByte(char c) {
  if (c >= 'a' && c <= 'z') return char(c - 32);
  if (c == '\\') return '/';
  return c;
}

bool hasHighBytes(const char* s) {
  for (; *s; ++s)
    if (uint8_t(*s) >= 0x80) return true;
  return false;
}

// Folder path -> (folded entry name -> real entry name). A name that exists exactly is found
// before the cache is consulted; a listing is read again when its folder changed since. Folder
// times may be as coarse as a second, so a listing read while its folder was that fresh is
// "racy": a name it misses may have come later in the same second, and it is read again.
struct Listing {
  std::filesystem::file_time_type stamp;
  bool racy = true;
  std::unordered_map<std::string, std::string> names;
};
std::unordered_map<std::string, Listing> g_listings;
// The sound readers may open files from another thread than the game's.
std::mutex g_listingsLock;

Listing& readListing(const std::string& path, std::filesystem::file_time_type stamp) {
  Listing& l = g_listings[path];
  l.stamp = stamp;
  l.racy = std::filesystem::file_time_type::clock::now() - stamp < std::chrono::seconds(2);
  l.names.clear();
  for (const std::string& n : platListFolder(path, false)) l.names.emplace(fileFoldName(n), n);
  return l;
}

// The real spelling of `part` in `folder` ("" = the current folder), or "" when none matches.
std::string findInFolder(const std::string& folder, const std::string& part) {
  std::string path = folder.empty() ? "." : folder;
  std::string key = fileFoldName(part);
  std::error_code ec;
  auto stamp = std::filesystem::last_write_time(path, ec);
  auto it = g_listings.find(path);
  bool fresh = it != g_listings.end() && !ec && it->second.stamp == stamp;
  Listing& l = fresh ? it->second : readListing(path, stamp);
  auto hit = l.names.find(key);
  std::string prefix = folder.empty() ? std::string() : (folder == "/" ? folder : folder + "/");
  // A cached hit that is gone, or a miss in a racy listing, is checked once against the disk.
  bool stale = hit != l.names.end() && !platFileExists(prefix + hit->second);
  if (fresh && (stale || (hit == l.names.end() && l.racy))) {
    Listing& again = readListing(path, stamp);
    hit = again.names.find(key);
    return hit == again.names.end() ? std::string() : hit->second;
  }
  return hit == l.names.end() || stale ? std::string() : hit->second;
}
}  // namespace

bool gFileName::IsEmpty() const {
  return wtext ? wtext[0] == 0 : (!text || text[0] == 0);
}

std::string gFileName::Utf8() const {
  if (wtext) return textUtf16ToUtf8(std::u16string_view(wtext, textWLen(wtext)));
  return text ? std::string(text) : std::string();
}

bool operator==(const gFileName& a, const gFileName& b) {
  if (a.IsEmpty() || b.IsEmpty()) return false;
  if (!a.wtext && !b.wtext && !hasHighBytes(a.text) && !hasHighBytes(b.text)) {
    const char* p = a.text;
    const char* q = b.text;
    for (; *p && *q; ++p, ++q)
      if (foldByte(*p) != foldByte(*q)) return false;
    return *p == *q;
  }
  std::u16string x = a.wtext ? std::u16string(a.wtext) : textUtf8ToUtf16(a.text);
  std::u16string y = b.wtext ? std::u16string(b.wtext) : textUtf8ToUtf16(b.text);
  if (x.size() != y.size()) return false;
  for (size_t i = 0; i < x.size(); ++i)
    if (foldChar(x[i]) != foldChar(y[i])) return false;
  return true;
}

std::string fileFoldName(std::string_view name) {
  std::string out(name);
  for (char& c : out) c = foldByte(c);
  return out;
}

std::string fileChangeExt(std::string_view source, std::string_view ext) {
  constexpr size_t kMax = 65534;
  std::string out(source.substr(0, kMax));
  for (size_t i = out.size(); i-- > 0;) {
    char c = out[i];
    if (c == '/' || c == '\\') break;
    if (c == '.') {
      out.resize(i + 1);
      out.append(ext);
      return out.substr(0, kMax);
    }
  }
  out.push_back('.');
  out.append(ext);
  return out.substr(0, kMax);
}

std::string fileResolve(std::string_view name) {
  std::string path(name);
  for (char& c : path)
    if (c == '\\') c = '/';
  if (path.empty() || platFileExists(path)) return path;
  // Walk the components; the first one not found in any case ends the walk and the rest is kept
  // as given, so a file about to be written still lands in the right-cased folders.
  std::lock_guard l(g_listingsLock);
  std::string done = path[0] == '/' ? "/" : "";
  size_t pos = done.size();
  while (pos <= path.size()) {
    size_t slash = path.find('/', pos);
    if (slash == std::string::npos) slash = path.size();
    std::string part = path.substr(pos, slash - pos);
    std::string folder = done.empty() ? std::string() : done;
    std::string candidate = folder + part;
    if (!part.empty() && part != "." && part != ".." && !platFileExists(candidate)) {
      std::string real = findInFolder(folder.empty() ? "" : folder.substr(0, folder.size() > 1 ? folder.size() - 1 : 1), part);
      if (real.empty()) return done + path.substr(pos);
      candidate = folder + real;
    }
    done = candidate;
    if (slash == path.size()) break;
    done += '/';
    pos = slash + 1;
  }
  return done;
}

void fileForgetListings() {
  std::lock_guard l(g_listingsLock);
  g_listings.clear();
}
