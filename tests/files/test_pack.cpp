// The pack archive and whole-file loads: padding by version, folded-name lookup, shared counted
// buffers, "z" files, damaged archives and compressed data.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/diag.h"
#include "files/file.h"
#include "files/file_pack.h"

namespace fs = std::filesystem;

namespace {
struct Entry {
  std::string name;
  std::string data;
};

// Builds archive bytes by hand, so the tests check the format itself and not our writer.
std::string makeArchive(uint8_t version, const std::vector<Entry>& entries) {
  std::string out(1, char(version));
  for (const Entry& e : entries) {
    uint32_t n = uint32_t(e.data.size());
    for (int i = 0; i < 4; ++i) out.push_back(char((n >> (8 * i)) & 255));
    out += e.name;
    out.push_back('\0');
    if (version >= 2 && (out.size() & 1)) out.push_back('\xAA');
    out += e.data;
  }
  return out;
}

void writeFile(const std::string& path, const std::string& bytes) {
  fs::path p(path);
  if (p.has_parent_path()) fs::create_directories(p.parent_path());
  std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

std::string load(const char* name) {
  void* p = nullptr;
  size_t n = fileLoad(name, &p);
  std::string s(static_cast<const char*>(p ? p : ""), n);
  if (n) memFree(p);
  return s;
}

std::string gerrText() {
  errorLogClose();
  std::ifstream f("gerr.log", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

struct PackFixture : ::testing::Test {
  void TearDown() override { fileClosePack(); }
  void openPack(const std::string& bytes) {
    writeFile("test.pak", bytes);
    ASSERT_TRUE(fileOpenPackFile("test.pak"));
  }
};
}  // namespace

TEST_F(PackFixture, Version2PadsToEvenOffsetsAndVersion1DoesNot) {
  // "abc" ends its zero at offset 1+4+4 = 9 (odd: one pad byte); "ab" then ends at 18 and the
  // last name at 34 (even: none).
  std::vector<Entry> entries = {{"abc", "X"}, {"ab", "1234"}, {"d\\e.txt", "tail"}};
  std::string v2 = makeArchive(2, entries);
  std::string v1 = makeArchive(1, entries);
  EXPECT_EQ(v2.size(), v1.size() + 1);
  openPack(v2);
  EXPECT_EQ(filePackEntryCount(), 3u);
  EXPECT_EQ(load("abc"), "X");
  EXPECT_EQ(load("ab"), "1234");
  EXPECT_EQ(load("D/E.TXT"), "tail");
  fileClosePack();
  openPack(v1);
  EXPECT_EQ(load("ab"), "1234");
  EXPECT_EQ(load("d/e.txt"), "tail");
}

TEST_F(PackFixture, LookupFoldsCaseAndSlashesAndPrefersArchive) {
  writeFile("data/maps/1/map.ini", "loose");
  openPack(makeArchive(2, {{"Data\\Maps\\1\\Map.ini", "packed"}, {"Data\\Maps\\1\\Map.ini", "second"}}));
  EXPECT_EQ(load("data/maps/1/map.ini"), "packed");
  EXPECT_TRUE(fileExists("DATA\\MAPS\\1\\MAP.INI"));
  EXPECT_TRUE(fileExists(u"data/maps/1/map.ini"));
}

TEST_F(PackFixture, SharedBufferLivesUntilEveryLoadIsFreed) {
  openPack(makeArchive(2, {{"a.bin", "shared"}, {"b.bin", "next"}}));
  void *p1 = nullptr, *p2 = nullptr, *p3 = nullptr;
  ASSERT_EQ(fileLoad("a.bin", &p1), 6u);
  ASSERT_EQ(fileLoad("A.BIN", &p2), 6u);
  EXPECT_EQ(p1, p2);
  memFree(static_cast<char*>(p1) + 5);  // any byte inside the buffer claims it
  EXPECT_EQ(std::memcmp(p2, "shared", 6), 0);
  memFree(p2);
  ASSERT_EQ(fileLoad("a.bin", &p3), 6u);
  EXPECT_EQ(std::memcmp(p3, "shared", 6), 0);
  memFree(p3);
}

TEST_F(PackFixture, PointerJustPastAnEntryIsNotClaimed) {
  openPack(makeArchive(2, {{"a.bin", "abcd"}}));
  void* p = nullptr;
  ASSERT_EQ(fileLoad("a.bin", &p), 4u);
  // The byte after the data may be the start of another buffer: it must not count down the entry.
  EXPECT_FALSE(packRelease(static_cast<char*>(p) + 4));
  EXPECT_TRUE(packRelease(static_cast<char*>(p) + 3));
  void* again = nullptr;
  ASSERT_EQ(fileLoad("a.bin", &again), 4u);
  EXPECT_EQ(std::memcmp(again, "abcd", 4), 0);
  memFree(again);
}

TEST_F(PackFixture, TruncatedArchiveKeepsWholeEntries) {
  std::string bytes = makeArchive(2, {{"one", "11111111"}, {"two", "22222222"}});
  bytes.resize(bytes.size() - 3);
  openPack(bytes);
  EXPECT_EQ(filePackEntryCount(), 1u);
  EXPECT_EQ(load("one"), "11111111");
  EXPECT_EQ(load("two"), "");
  EXPECT_NE(gerrText().find("runs past the end"), std::string::npos);
}

TEST_F(PackFixture, LyingSizeAndEndlessNameAreRefused) {
  std::string bytes(1, '\2');
  bytes += std::string("\xff\xff\xff\x7f", 4) + "huge" + '\0';
  openPack(bytes);
  EXPECT_EQ(filePackEntryCount(), 0u);
  fileClosePack();
  std::string endless(1, '\2');
  endless += std::string("\x01\0\0\0", 4) + std::string(2000, 'n');
  openPack(endless);
  EXPECT_EQ(filePackEntryCount(), 0u);
}

TEST(Compressed, ZFilesInflateAndOthersStayRaw) {
  std::string raw;
  for (int i = 0; i < 2000; ++i) raw += "meadow " + std::to_string(i) + "\n";
  std::string z = fileDeflateZ(raw);
  EXPECT_LT(z.size(), raw.size());
  writeFile("x.datz", z);
  writeFile("x.dat", z);
  EXPECT_EQ(load("x.datz"), raw);
  EXPECT_EQ(load("x.dat"), z);
}

TEST(Compressed, DamagedInputsYieldNothingAndALine) {
  std::string good = fileDeflateZ(std::string(5000, 'a'));
  void* out = nullptr;
  errorLogClose();
  std::filesystem::remove("gerr.log");
  EXPECT_EQ(fileInflateZ(good.data(), 10, &out, "short.z"), 0u);
  std::string negative = good;
  std::memcpy(negative.data() + 8, "-5000   ", 8);
  EXPECT_EQ(fileInflateZ(negative.data(), negative.size(), &out, "negative.z"), 0u);
  std::string absurd = good;
  std::memcpy(absurd.data() + 8, "99999999", 8);
  EXPECT_EQ(fileInflateZ(absurd.data(), absurd.size(), &out, "absurd.z"), 0u);
  std::string tooSmall = good;
  std::memcpy(tooSmall.data() + 8, "100     ", 8);
  EXPECT_EQ(fileInflateZ(tooSmall.data(), tooSmall.size(), &out, "small.z"), 0u);
  std::string broken = good;
  broken[20] ^= 0x55;
  broken[24] ^= 0x55;
  EXPECT_EQ(fileInflateZ(broken.data(), broken.size(), &out, "broken.z"), 0u);
  EXPECT_EQ(out, nullptr);
  std::string log = gerrText();
  for (const char* name : {"short.z", "negative.z", "absurd.z", "small.z", "broken.z"})
    EXPECT_NE(log.find(name), std::string::npos) << name;
  EXPECT_NE(log.find("Compilation data: "), std::string::npos);
}

TEST(Compressed, MissingAndEmptyFilesLoadNothing) {
  writeFile("empty.txt", "");
  void* p = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(fileLoad("empty.txt", &p), 0u);
  EXPECT_EQ(fileLoad("no/such/file.txt", &p), 0u);
  EXPECT_EQ(fileLoad("", &p), 0u);
  EXPECT_EQ(p, reinterpret_cast<void*>(0x1));
}
