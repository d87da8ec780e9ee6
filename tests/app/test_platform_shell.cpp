// The platform under the shell: the single-instance lock file, the window's saved place, and the
// refusal to start a window with no display to show it on.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/platform.h"

namespace fs = std::filesystem;

TEST(InstanceLock, SecondLockFailsAndUnlockLeavesNoFile) {
  const std::string folder = fs::absolute("lock_test").string();
  fs::remove_all(folder);
  ASSERT_TRUE(platLockInstance(folder));
  const std::string path = platInstanceLockPath(folder);
  EXPECT_TRUE(fs::exists(path));
  // Another game's attempt: flock locks belong to an open file, so a second open of the file
  // stands in for another process, and cannot take the lock.
  int other = ::open(path.c_str(), O_RDWR);
  ASSERT_GE(other, 0);
  EXPECT_NE(::flock(other, LOCK_EX | LOCK_NB), 0);
  ::close(other);
  platUnlockInstance();
  EXPECT_FALSE(fs::exists(path)) << "an orderly end leaves nothing behind";
  ASSERT_TRUE(platLockInstance(folder)) << "and the next start locks again";
  EXPECT_TRUE(fs::exists(path));
  platUnlockInstance();
  EXPECT_FALSE(fs::exists(path));
}

TEST(WindowPlace, TheSavedPlaceIsTheOneTheWindowIsCreatedAt) {
  ASSERT_TRUE(platVideoInit());
  // Whatever kind of position creating takes, reading it back must give the same numbers, or a
  // saved place moves the window a little on every run.
  for (auto [x, y] : {std::pair{100, 50}, std::pair{7, 300}}) {
    ASSERT_TRUE(platWindowCreate("place", x, y, 640, 480, false));
    int gx = -1, gy = -1;
    platWindowGetPos(gx, gy);
    EXPECT_EQ(gx, x);
    EXPECT_EQ(gy, y);
    platWindowSetPos(x + 33, y + 44);
    platWindowGetPos(gx, gy);
    EXPECT_EQ(gx, x + 33);
    EXPECT_EQ(gy, y + 44);
    platWindowDestroy();
  }
  platVideoDone();
}

namespace {
// Sets or clears environment variables for one test and puts them back afterwards.
class EnvGuard {
 public:
  void Set(const char* name, const char* value) {
    const char* old = std::getenv(name);
    saved_.push_back({name, old ? std::string(old) : std::string(), old != nullptr});
    if (value) setenv(name, value, 1);
    else unsetenv(name);
  }
  ~EnvGuard() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->had) setenv(it->name.c_str(), it->value.c_str(), 1);
      else unsetenv(it->name.c_str());
    }
  }

 private:
  struct Saved {
    std::string name, value;
    bool had;
  };
  std::vector<Saved> saved_;
};
}  // namespace

TEST(VideoStart, NoDisplayAndNoHeadlessSettingSaysWhatToDo) {
  const PlatMode mode = platMode();
  EnvGuard env;
  env.Set("DISPLAY", nullptr);
  env.Set("WAYLAND_DISPLAY", nullptr);
  env.Set("SDL_VIDEODRIVER", nullptr);
  platSetMode(PlatMode::Window);
  EXPECT_FALSE(platVideoInit());
  const std::string why = platVideoError();
  EXPECT_NE(why.find("no display"), std::string::npos) << why;
  EXPECT_NE(why.find("MEADOWMARK_HEADLESS=gl"), std::string::npos) << "it says what to do";
  // A display (or a driver chosen on purpose) lets it start.
  env.Set("SDL_VIDEODRIVER", "dummy");
  EXPECT_TRUE(platVideoInit());
  EXPECT_TRUE(platVideoError().empty());
  platVideoDone();
  platSetMode(mode);
}
