// The pack tool's archives as the game reads them: names below the packed folder, padding, "z"
// entries inflated, and a damaged archive reported by the tool.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "files/file.h"
#include "files_test_util.h"

namespace fs = std::filesystem;
using namespace filetest;

namespace {
// The tool is built beside the tests folder of the same build.
std::string toolPath() {
  std::error_code ec;
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return "";
  fs::path tool = self.parent_path().parent_path() / "mmpack";
  return fs::exists(tool) ? tool.string() : "";
}

int run(const std::string& cmd) { return std::system((cmd + " >tool.out 2>&1").c_str()); }
}  // namespace

TEST(PackTool, BuildsArchivesTheGameReads) {
  std::string tool = toolPath();
  if (tool.empty()) GTEST_SKIP() << "mmpack is not built in this build folder";
  fs::remove_all("toolsrc");
  std::string text;
  for (int i = 0; i < 300; ++i) text += "key" + std::to_string(i) + "=" + std::to_string(i * 7) + "\n";
  writeFile("toolsrc/Data/Maps/1/Map.ini", "[map]\nsize=3\n");
  writeFile("toolsrc/Data/odd.bin", "abc");
  writeFile("toolsrc/Data/plain.txt", text);
  ASSERT_EQ(run(tool + " zip toolsrc/Data/plain.txt toolsrc/Data/Packed.txtz"), 0);
  ASSERT_EQ(run(tool + " build toolsrc/Data tool.pak"), 0);

  ASSERT_TRUE(fileOpenPackFile("tool.pak"));
  EXPECT_EQ(filePackEntryCount(), 4u);
  EXPECT_EQ(load("data/maps/1/map.ini"), "[map]\nsize=3\n");
  EXPECT_EQ(load("DATA\\ODD.BIN"), "abc");
  EXPECT_EQ(load("data/packed.txtz"), text);
  EXPECT_EQ(load("data/plain.txt"), text);
  fileClosePack();

  // The padding is the reader's concern too: a version 1 archive of the same folder reads alike.
  ASSERT_EQ(run(tool + " build toolsrc/Data tool1.pak --version 1"), 0);
  EXPECT_LT(fs::file_size("tool1.pak"), fs::file_size("tool.pak"));
  ASSERT_TRUE(fileOpenPackFile("tool1.pak"));
  EXPECT_EQ(load("data/odd.bin"), "abc");
  EXPECT_EQ(load("data/packed.txtz"), text);
  fileClosePack();

  // Listing a cut archive shows its whole entries and fails.
  std::string bytes = readFile("tool.pak");
  writeFile("cut.pak", bytes.substr(0, bytes.size() - 10));
  EXPECT_NE(run(tool + " list cut.pak"), 0);
  std::string listed = readFile("tool.out");
  EXPECT_NE(listed.find("Data/Maps/1/Map.ini"), std::string::npos);
  EXPECT_NE(listed.find("damaged"), std::string::npos);
}

TEST(PackTool, ExtractsTheEntryTheGameReads) {
  std::string tool = toolPath();
  if (tool.empty()) GTEST_SKIP() << "mmpack is not built in this build folder";
  fs::remove_all("dupout");
  // Two entries whose names differ only in case and slash direction: the game reads the first.
  writeFile("dup.pak", makeArchive(2, {{"data/Level.ini", "first"},
                                       {"DATA\\level.ini", "second!"},
                                       {"data/other.txt", "other"}}));
  ASSERT_TRUE(fileOpenPackFile("dup.pak"));
  EXPECT_EQ(load("data/level.ini"), "first");
  fileClosePack();

  ASSERT_EQ(run(tool + " extract dup.pak dupout"), 0);
  EXPECT_EQ(readFile("dupout/data/Level.ini"), "first");
  EXPECT_FALSE(fs::exists("dupout/DATA/level.ini"));
  EXPECT_EQ(readFile("dupout/data/other.txt"), "other");
  EXPECT_NE(readFile("tool.out").find("DATA\\level.ini"), std::string::npos);
}

TEST(PackTool, TellsWhyItRefusesACompressedFile) {
  std::string tool = toolPath();
  if (tool.empty()) GTEST_SKIP() << "mmpack is not built in this build folder";
  std::string z = fileDeflateZ(std::string(4000, 'x'));
  std::memcpy(z.data() + 8, "1000    ", 8);  // 3000 bytes more than it says
  writeFile("liar.z", z);
  EXPECT_NE(std::system((tool + " unzip liar.z liar.out >tool.out 2>tool.err").c_str()), 0);
  std::string err = readFile("tool.err");
  EXPECT_NE(err.find("liar.z"), std::string::npos);
  EXPECT_NE(err.find("past its declared size 1000"), std::string::npos) << err;
  EXPECT_FALSE(fs::exists("liar.out"));
}
