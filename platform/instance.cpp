// The single-instance check: an exclusive lock on a file in the user folder. The lock goes with
// the process, so a crashed game never blocks the next start; an orderly end removes the file.
#include "platform/platform.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
int g_lockFd = -1;
std::string g_lockPath;

// True when `fd` still is the file at `path`: a game that ended between our open and our lock
// has removed it, and a lock on the removed file would keep nobody out.
bool stillTheFile(int fd, const std::string& path) {
  struct stat a{}, b{};
  return ::fstat(fd, &a) == 0 && ::stat(path.c_str(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}
}  // namespace

std::string platInstanceLockPath(const std::string& folder) { return folder + "/instance.lock"; }

bool platLockInstance(const std::string& folder) {
  if (g_lockFd >= 0) return true;
  platMakeDirs(folder);
  const std::string path = platInstanceLockPath(folder);
  for (int attempt = 0; attempt < 5; ++attempt) {
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return true;  // a folder we cannot write must not stop the game from starting
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      ::close(fd);
      return false;
    }
    if (stillTheFile(fd, path)) {
      g_lockFd = fd;
      g_lockPath = path;
      return true;
    }
    ::close(fd);
  }
  return true;
}

void platUnlockInstance() {
  if (g_lockFd < 0) return;
  // Removed while still locked: a game starting now either fails to lock this file or finds it
  // gone and makes a new one.
  ::unlink(g_lockPath.c_str());
  ::flock(g_lockFd, LOCK_UN);
  ::close(g_lockFd);
  g_lockFd = -1;
  g_lockPath.clear();
}
