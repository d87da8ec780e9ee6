// Streams opened by data name, their null-handle answers, and the folders built at start-up.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "files/file.h"
#include "files/ini.h"
#include "files_test_util.h"

namespace fs = std::filesystem;
using namespace filetest;

TEST(FileIo, ModesWriteReadAndUpdate) {
  fs::create_directories("io");
  FileHandle w = fileOpen("io/modes.bin", 2);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(fileWrite(w, "abcdef", 6), 6u);
  // Written bytes are flushed at once: another reader sees them before the close.
  EXPECT_EQ(readFile("io/modes.bin"), "abcdef");
  EXPECT_EQ(fileClose(w), 1);

  FileHandle u = fileOpen("IO\\MODES.BIN", 3);  // update mode finds the file in any case
  ASSERT_NE(u, nullptr);
  EXPECT_EQ(fileSeek(u, 2), 0);
  EXPECT_EQ(fileWrite(u, "XY", 2), 2u);
  fileClose(u);

  FileHandle r = fileOpen("io/modes.bin", 1);
  ASSERT_NE(r, nullptr);
  char buf[8] = {};
  EXPECT_EQ(fileSeek(r, 1), 0);
  EXPECT_EQ(fileSize(r), 6);
  // The size query leaves the position where it was.
  EXPECT_EQ(fileRead(r, buf, 3), 3u);
  EXPECT_EQ(std::string(buf, 3), "bXY");
  EXPECT_EQ(fileRead(r, buf, 8), 2u);  // a short read reports what it got
  fileClose(r);

  EXPECT_EQ(fileOpen("io/missing.bin", 1), nullptr);
  EXPECT_EQ(fileOpen("io/missing.bin", 3), nullptr);  // update never creates
  EXPECT_EQ(fileOpen("", 1), nullptr);
  // A folder is no file, whatever the mode.
  clearGerr();
  EXPECT_EQ(fileOpen("IO", 1), nullptr);
  EXPECT_EQ(fileOpen("io", 3), nullptr);
  EXPECT_FALSE(fileExists("io"));
  void* p = nullptr;
  EXPECT_EQ(fileLoad("io/", &p), 0u);
  EXPECT_EQ(p, nullptr);
  EXPECT_EQ(gerrText(), "");  // missing is not an error of the file layer
  EXPECT_EQ(fileOpen(gFileName(), 1), nullptr);
}

TEST(FileIo, NullHandlesAndArgumentsDoNothing) {
  char buf[4];
  EXPECT_EQ(fileClose(nullptr), 0);
  EXPECT_EQ(fileRead(nullptr, buf, 4), 0u);
  EXPECT_EQ(fileWrite(nullptr, buf, 4), 0u);
  EXPECT_EQ(fileSeek(nullptr, 0), 1);
  EXPECT_EQ(fileSize(nullptr), 0);
  writeFile("io/four.bin", "1234");
  FileHandle f = fileOpen("io/four.bin", 1);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(fileRead(f, nullptr, 4), 0u);
  EXPECT_EQ(fileRead(f, buf, 0), 0u);
  EXPECT_EQ(fileRead(f, buf, 4), 4u);  // the refused calls did not move the position
  fileClose(f);
}

TEST(FileIo, OnlyALetterColonBackslashIsADrivePath) {
  // "C:/a.txt" is relative to the game folder, like any name without a leading separator.
  writeFile("C:/a.txt", "drive-looking folder");
  FileHandle f = fileOpen("C:/a.txt", 1);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(fileSize(f), 20);
  fileClose(f);
  EXPECT_EQ(load("c:\\A.TXT"), "drive-looking folder");
  // Names from the root are used as they are.
  std::string abs = fs::absolute("io/abs.txt").string();
  writeFile(abs, "absolute");
  EXPECT_EQ(load(abs.c_str()), "absolute");
  EXPECT_TRUE(fileExists(abs.c_str()));
  EXPECT_FALSE(fileExists("io/not-there.txt"));
}

TEST(FileIo, WideAndNonAsciiNames) {
  writeFile("io/Луг.txt", "meadow");
  EXPECT_EQ(load("io/Луг.txt"), "meadow");
  EXPECT_EQ(load(u"IO/Луг.TXT"), "meadow");
  FileHandle w = fileOpen(u"io/новый.bin", 2);
  ASSERT_NE(w, nullptr);
  fileWrite(w, "n", 1);
  fileClose(w);
  EXPECT_EQ(readFile("io/новый.bin"), "n");
}

namespace {
struct PathsFixture : ::testing::Test {
  void TearDown() override {
    fs::remove("game.ini");
    iniFreeAll();
  }
  void gameIni(const std::string& text) {
    writeFile("game.ini", text);
    iniFreeAll();
    fileInitPaths();
  }
  static std::string root() {
    const char* x = std::getenv("XDG_DATA_HOME");
    return x && *x == '/' ? std::string(x) : std::string(std::getenv("HOME")) + "/.local/share";
  }
};
}  // namespace

TEST_F(PathsFixture, UserFolderFromPathElseName) {
  gameIni("[main]\nname=Meadow Test\npath=MeadowUser\n");
  EXPECT_EQ(fileUserFolder(), root() + "/MeadowUser");
  EXPECT_TRUE(fs::is_directory(fileUserFolder()));
  EXPECT_EQ(fileProfilePath(), fileUserFolder() + "/profile.ini");
  EXPECT_EQ(fileScoresPath(), fileUserFolder() + "/scores.ini");
  EXPECT_EQ(fileProfgamePath(), fileUserFolder() + "/profgame.ini");
  std::string here = fs::current_path().string();
  EXPECT_EQ(fileProgramFolder(), here + "/");
  EXPECT_EQ(fileGameIniPath(), here + "/game.ini");

  gameIni("[main]\nname=Meadow Named\n");
  EXPECT_EQ(fileUserFolder(), root() + "/Meadow Named");
  EXPECT_TRUE(fs::is_directory(fileUserFolder()));

  // Nested folder names are created with every missing parent; one trailing separator goes.
  gameIni("[main]\npath=Studio\\Meadow\\\n");
  EXPECT_EQ(fileUserFolder(), root() + "/Studio/Meadow");
  EXPECT_TRUE(fs::is_directory(root() + "/Studio/Meadow"));
}

TEST(Folders, TempFolderIsCreatedAndEmptiedOfFiles) {
  fileInitTempFolder();
  const std::string& t = fileTempFolder();
  ASSERT_FALSE(t.empty());
  EXPECT_EQ(t.back(), '/');
  EXPECT_NE(t.find("BrevilonTemp"), std::string::npos);
  EXPECT_TRUE(fs::is_directory(t));
  writeFile(t + "old.dmp", "x");
  writeFile(t + "older.txt", "y");
  fs::create_directories(t + "keep");
  fileInitTempFolder();
  EXPECT_FALSE(fs::exists(t + "old.dmp"));
  EXPECT_FALSE(fs::exists(t + "older.txt"));
  EXPECT_TRUE(fs::is_directory(t + "keep"));
}
