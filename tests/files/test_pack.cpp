// The pack archive and whole-file loads: padding by version, folded-name lookup, shared counted
// buffers, "z" files, damaged archives and compressed data.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "base/diag.h"
#include "files/file.h"
#include "files/file_pack.h"
#include "files_test_util.h"

namespace fs = std::filesystem;

namespace {
using namespace filetest;

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

TEST_F(PackFixture, CompressedEntriesInflateAndReleaseTheirRawBytes) {
  std::string raw;
  for (int i = 0; i < 500; ++i) raw += "row " + std::to_string(i) + ";";
  std::string z = fileDeflateZ(raw);
  std::string bad = z;
  bad.resize(bad.size() / 2);  // a stream cut in the middle
  openPack(makeArchive(2, {{"Data\\Level.binz", z}, {"data/cut.binz", bad}, {"data/plain.bin", z}}));
  clearGerr();
  void *a = nullptr, *b = nullptr;
  ASSERT_EQ(fileLoad("data/level.BINZ", &a), raw.size());
  ASSERT_EQ(fileLoad("DATA/LEVEL.binz", &b), raw.size());
  // Each load of a compressed entry is the caller's own copy.
  EXPECT_NE(a, b);
  EXPECT_EQ(std::string(static_cast<char*>(a), raw.size()), raw);
  EXPECT_EQ(std::string(static_cast<char*>(b), raw.size()), raw);
  memFree(a);
  memFree(b);
  // The same bytes under a name without "z" come back as stored.
  EXPECT_EQ(load("data/plain.bin"), z);
  void* none = nullptr;
  EXPECT_EQ(fileLoad("data/cut.binz", &none), 0u);
  EXPECT_EQ(none, nullptr);
  EXPECT_NE(gerrText().find("data/cut.binz"), std::string::npos);
  // The raw bytes of both compressed entries were given back and the entries marked not loaded.
  for (const char* name : {"data/level.binz", "data/cut.binz"}) {
    PackEntry* e = packFind(name);
    ASSERT_NE(e, nullptr) << name;
    EXPECT_EQ(e->data, nullptr) << name;
    EXPECT_EQ(e->useCount, 0u) << name;
  }
}

TEST_F(PackFixture, EmptyAndHeaderOnlyArchivesHoldNothing) {
  openPack("");
  EXPECT_EQ(filePackEntryCount(), 0u);
  fileClosePack();
  openPack(std::string(1, '\2'));
  EXPECT_EQ(filePackEntryCount(), 0u);
  EXPECT_EQ(filePackEntryName(0), "");
  fileClosePack();
  EXPECT_FALSE(fileOpenPackFile("no-such.pak"));
  EXPECT_FALSE(fileOpenPackFile(""));
}

TEST_F(PackFixture, EntriesKeepArchiveOrderWithSlashesAndCutNames) {
  std::string longName(300, 'n');
  openPack(makeArchive(2, {{"b\\two", "2"}, {"a/one", "1"}, {longName, "L"}, {"b\\two", "dup"}}));
  ASSERT_EQ(filePackEntryCount(), 4u);
  EXPECT_EQ(filePackEntryName(0), "b/two");
  EXPECT_EQ(filePackEntryName(1), "a/one");
  EXPECT_EQ(filePackEntryName(2), std::string(254, 'n'));
  EXPECT_EQ(filePackEntryName(3), "b/two");
  EXPECT_EQ(load("B/TWO"), "2");  // the earlier of two equal names wins
  EXPECT_EQ(load(std::string(254, 'N')), "L");
}

TEST_F(PackFixture, LoadsAndReleasesFromTwoThreadsKeepTheCount) {
  // A finished sound gives its bytes back on the sound thread while the game loads files.
  openPack(makeArchive(2, {{"shared.wav", std::string(4096, 's')}, {"other.ini", "o=1"}}));
  auto work = [](const char* name, size_t expect) {
    for (int i = 0; i < 20000; ++i) {
      void* p = nullptr;
      size_t n = fileLoad(name, &p);
      if (n != expect) return false;
      memFree(p);
    }
    return true;
  };
  bool ok1 = false, ok2 = false;
  std::thread t([&] { ok1 = work("shared.wav", 4096); });
  ok2 = work("SHARED.WAV", 4096) && work("other.ini", 3);
  t.join();
  EXPECT_TRUE(ok1);
  EXPECT_TRUE(ok2);
  // Every load was matched by a release: the next load reads the entry afresh and one release
  // frees it, so a plain pointer inside it is no longer claimed.
  void* p = nullptr;
  ASSERT_EQ(fileLoad("shared.wav", &p), 4096u);
  EXPECT_EQ(static_cast<char*>(p)[4095], 's');
  memFree(p);
  void* q = nullptr;
  ASSERT_EQ(fileLoad("shared.wav", &q), 4096u);
  EXPECT_TRUE(packRelease(q));
  EXPECT_FALSE(packRelease(q));
}

TEST(Compressed, SizeFieldIsReadLikeANumber) {
  std::string raw(3000, 'q');
  std::string z = fileDeflateZ(raw);
  void* out = nullptr;
  for (const char* field : {"    3000", "+3000   ", "3000xyzw", "\t 3000\n\n"}) {
    std::string v = z;
    std::memcpy(v.data() + 8, field, 8);
    out = nullptr;
    ASSERT_EQ(fileInflateZ(v.data(), v.size(), &out, "field.z"), raw.size()) << field;
    EXPECT_EQ(std::string(static_cast<char*>(out), raw.size()), raw);
    memFree(out);
  }
  for (const char* field : {"        ", "  -3000 ", "00000000", "x3000   "}) {
    std::string v = z;
    std::memcpy(v.data() + 8, field, 8);
    out = nullptr;
    EXPECT_EQ(fileInflateZ(v.data(), v.size(), &out, "field.z"), 0u) << field;
    EXPECT_EQ(out, nullptr);
  }
}

TEST(Compressed, StreamMayRunUpTo256BytesPastItsDeclaredSize) {
  void* out = nullptr;
  // 1000 declared, 1256 inside: the whole stream is given back.
  std::string raw;
  for (int i = 0; raw.size() < 1256; ++i) raw += char('a' + (i * 7) % 26);
  std::string z = fileDeflateZ(raw);
  std::memcpy(z.data() + 8, "1000    ", 8);
  ASSERT_EQ(fileInflateZ(z.data(), z.size(), &out, "slack.z"), 1256u);
  EXPECT_EQ(std::string(static_cast<char*>(out), 1256), raw);
  memFree(out);

  // One byte more is refused, with the reason given to the caller as well as to gerr.log.
  clearGerr();
  out = nullptr;
  std::string over = fileDeflateZ(raw + "z");
  std::memcpy(over.data() + 8, "1000    ", 8);
  std::string why;
  EXPECT_EQ(fileInflateZ(over.data(), over.size(), &out, "over.z", &why), 0u);
  EXPECT_EQ(out, nullptr);
  EXPECT_NE(why.find("over.z"), std::string::npos);
  EXPECT_NE(why.find("past its declared size 1000"), std::string::npos);
  EXPECT_NE(gerrText().find(why), std::string::npos);

  // A good stream leaves no reason behind.
  why = "stale";
  std::string plain = fileDeflateZ("abc");
  ASSERT_EQ(fileInflateZ(plain.data(), plain.size(), &out, "plain.z", &why), 3u);
  EXPECT_TRUE(why.empty());
  memFree(out);
}

TEST(Compressed, ShorterStreamThanDeclaredGivesWhatItHolds) {
  // The declared size is an upper bound for the buffer; the length returned is what came out.
  std::string raw = "short text";
  std::string z = fileDeflateZ(raw);
  std::memcpy(z.data() + 8, "5000    ", 8);
  void* out = nullptr;
  ASSERT_EQ(fileInflateZ(z.data(), z.size(), &out, "upper.z"), raw.size());
  EXPECT_EQ(std::string(static_cast<char*>(out), raw.size()), raw);
  memFree(out);
}
