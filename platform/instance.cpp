// The single-instance check: an exclusive lock on a file in the user folder. The lock goes with
// the process, so a crashed game never blocks the next start.
#include "platform/platform.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {
int g_lockFd = -1;
}

bool platLockInstance(const std::string& folder) {
  if (g_lockFd >= 0) return true;
  platMakeDirs(folder);
  std::string path = folder + "/instance.lock";
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return true;  // a folder we cannot write must not stop the game from starting
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return false;
  }
  g_lockFd = fd;
  return true;
}

void platUnlockInstance() {
  if (g_lockFd < 0) return;
  ::flock(g_lockFd, LOCK_UN);
  ::close(g_lockFd);
  g_lockFd = -1;
}
