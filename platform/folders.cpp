// Folders and plain file-system operations the engine needs beyond C stdio.
#include "platform/platform.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fcntl.h>
#include <unistd.h>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

namespace fs = std::filesystem;

std::string platCurrentFolder() {
  std::error_code ec;
  std::string s = fs::current_path(ec).string();
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

std::string platUserDataRoot() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg && *xdg == '/') return xdg;
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : "/tmp") + "/.local/share";
}

std::string platTempRoot() {
  const char* t = std::getenv("TMPDIR");
  std::string s = (t && *t) ? t : "/tmp";
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

bool platMakeDirs(const std::string& path) {
  std::error_code ec;
  fs::create_directories(path, ec);
  return fs::is_directory(path, ec);
}

std::vector<std::string> platListFolder(const std::string& path, bool filesOnly) {
  std::vector<std::string> out;
  std::error_code ec;
  for (fs::directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec)) {
    if (filesOnly && !it->is_regular_file(ec)) continue;
    out.push_back(it->path().filename().string());
  }
  return out;
}

bool platRemoveFile(const std::string& path) {
  std::error_code ec;
  return fs::remove(path, ec);
}

bool platIsFolder(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

bool platFileExists(const std::string& path) {
  std::error_code ec;
  return fs::exists(path, ec);
}

bool platWriteFileAtomic(const std::string& path, const void* data, size_t size) {
  // A crash or a full disk while saving must never leave a half-written settings file behind:
  // write a sibling, flush it to disk, then rename it over the old one.
  std::string tmp = path + ".tmp";
  int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return false;
  const char* p = static_cast<const char*>(data);
  size_t left = size;
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n <= 0) {
      ::close(fd);
      ::unlink(tmp.c_str());
      return false;
    }
    p += n;
    left -= size_t(n);
  }
  bool ok = ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (!ok || std::rename(tmp.c_str(), path.c_str()) != 0) {
    ::unlink(tmp.c_str());
    return false;
  }
#ifdef __EMSCRIPTEN__
  // In a browser the files live in memory: the page writes the user folder back to the browser's
  // storage (web/user_folder.js), or a reload would lose what was just saved.
  EM_ASM({
    if (Module['mmUserFilesChanged']) Module['mmUserFilesChanged']();
  });
#endif
  return true;
}
