// Diagnostics: gerr.log, console verbosity, the game log's buffer, the profiler, the meter's
// digits and crash reports written by a process that really crashes.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/diag.h"
#include "gfx/diag_draw.h"
#include "support/test_files.h"

namespace fs = std::filesystem;

namespace {
std::string readText(const std::string& path) { return testkit::readFile(path); }
}  // namespace

TEST(ErrorLog, FirstLineOfARunReplacesTheFileAfterTwoHeaderLines) {
  errorLogClose();
  { std::ofstream("gerr.log") << "old run\n"; }
  errorLog("first %d\n", 1);
  errorLog("second\n");
  errorLogClose();
  std::string text = readText("gerr.log");
  EXPECT_EQ(text.find("old run"), std::string::npos);
  std::string date = __DATE__;
  EXPECT_EQ(text.find("------------------- Compilation data: " + date + " time: "), 0u);
  size_t run = text.find("\n------------------- Run data: ");
  ASSERT_NE(run, std::string::npos);
  size_t first = text.find(" -> first 1\n");
  EXPECT_GT(first, run);
  EXPECT_NE(text.find(" -> second\n"), std::string::npos);
}

TEST(Console, VerbosityFiltersAndMessagesDoNotNest) {
  consoleSetVerbosity(0);
  testing::internal::CaptureStdout();
  EXPECT_EQ(consoleMessage(0, "zero %s\n", "shown"), 1);
  consoleMessage(1, "one hidden\n");
  consoleMessage(4, "four hidden\n");
  consoleSetVerbosity(4);
  consoleMessage(4, "four shown\n");
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("zero shown"), std::string::npos);
  EXPECT_EQ(out.find("hidden"), std::string::npos);
  EXPECT_NE(out.find("four shown"), std::string::npos);
  consoleSetVerbosity(0);
}

TEST(GameLog, BlocksOfWholeLinesAndLongLinesKeptWhole) {
  ASSERT_TRUE(gameLogOpen("game_log_test.txt"));
  EXPECT_TRUE(gameLogIsOn());
  std::string line(99, 'a');  // 100 bytes with its line feed
  for (int i = 0; i < 99; ++i) gameLog("%s", line.c_str());
  EXPECT_EQ(fs::file_size("game_log_test.txt"), 0u);  // 9900 bytes still buffered
  gameLog("%s", line.c_str());                          // 10000 > 9999: the buffer goes first
  EXPECT_EQ(fs::file_size("game_log_test.txt"), 9900u);
  std::string huge(25000, 'h');
  gameLog("%s", huge.c_str());
  gameLog("after");
  gameLogClose();
  EXPECT_FALSE(gameLogIsOn());
  std::string text = readText("game_log_test.txt");
  EXPECT_EQ(text.size(), 10000u + 25001u + 6u);
  EXPECT_NE(text.find(huge + "\nafter\n"), std::string::npos);
  gameLog("not written");
  EXPECT_EQ(readText("game_log_test.txt").size(), text.size());
}

TEST(GameLog, HeapStatisticsLine) {
  ASSERT_TRUE(gameLogOpen("heap_log.txt"));
  heapStatistics("[OnAppInit:Start]", false);
  heapStatistics("second", true);
  gameLogClose();
  std::string text = readText("heap_log.txt");
  EXPECT_EQ(text.find("[Heap][ [OnAppInit:Start] ][Total] blocks: "), 0u);
  EXPECT_NE(text.find("\n[Heap][ second ][Total] blocks: "), std::string::npos);
}

TEST(Profiler, SectionsByIdentityAndUnmatchedLeavesIgnored) {
  profReset();
  static const char* kOuter = "OUTER";
  static const char* kInner = "INNER";
  profLeave();  // nothing entered: ignored
  profLeave();
  profEnter(kOuter);
  profEnter(kInner);
  profLeave();
  profEnter(kInner);
  profLeave();
  EXPECT_STREQ(profCurrentName(), "OUTER");
  profLeave();
  EXPECT_STREQ(profCurrentName(), "Main");
  profLeave();
  profEnter(kOuter);  // after extra leaves the tree still works
  profLeave();
  EXPECT_EQ(profSectionCount(kOuter), 2);
  EXPECT_EQ(profSectionCount(kInner), 2);
  std::string sameText = "INNER";
  profEnter(sameText.c_str());  // another pointer with the same text is another section
  profLeave();
  EXPECT_EQ(profSectionCount(kInner), 2);
  profDraw(100, 100, nullptr);
  profReset();
}

TEST(Meter, SegmentMasks) {
  const char* text = "59.8";
  int expected[] = {107, 111, 128, 127};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(fpsSegmentMask(text[i]), expected[i]);
  EXPECT_EQ(fpsSegmentMask(','), 128);
  EXPECT_EQ(fpsSegmentMask(' '), 0);
  EXPECT_EQ(fpsSegmentMask('x'), 255);
  EXPECT_EQ(fpsSegmentMask('0'), 119);
}

TEST(Crash, ReportNames) {
  EXPECT_EQ(crashReportName("dump", "", "0.0", 0), "dump0.0.0.txt");
  EXPECT_EQ(crashReportName("dump", "logs", "0.0", 3), "logs/dump0.0.3.txt");
  EXPECT_EQ(crashReportName("dump", "", "0.0", 10), "");
  EXPECT_EQ(crashReportName("dump", "", "0.0", -1), "");
}

namespace {
// Runs a child that installs the handlers and crashes; returns its wait status.
int crashChild(int sig) {
  pid_t pid = fork();
  if (pid == 0) {
    crashInit("dump", "", "0.0");
    // The signal is raised rather than caused: a write through a null pointer is stopped by the
    // undefined-behaviour checker before any signal, and the test must mean the same under it.
    std::raise(sig);
    _exit(0);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return status;
}
}  // namespace

TEST(Crash, FatalSignalWritesNumberedReportsWithABacktrace) {
  for (int i = 0; i < 10; ++i) fs::remove(crashReportName("dump", "", "0.0", i));
  int status = crashChild(SIGSEGV);
  EXPECT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGSEGV);  // the process still dies of its fault
  std::string report = readText("dump0.0.0.txt");
  EXPECT_NE(report.find("Signal: SIGSEGV"), std::string::npos);
  EXPECT_NE(report.find("Backtrace:\n"), std::string::npos);
  EXPECT_NE(report.find("test_diag"), std::string::npos);  // frames name the binary

  status = crashChild(SIGABRT);
  EXPECT_EQ(WTERMSIG(status), SIGABRT);
  EXPECT_NE(readText("dump0.0.1.txt").find("SIGABRT"), std::string::npos);
  for (int i = 0; i < 10; ++i) fs::remove(crashReportName("dump", "", "0.0", i));
}
