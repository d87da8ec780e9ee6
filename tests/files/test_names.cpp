// File names: folded comparison, extension changes, case-insensitive paths, text conversion.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "files/file.h"
#include "files/text.h"

TEST(Names, CompareIgnoresCaseAndSlashesAcrossWidths) {
  EXPECT_TRUE(gFileName("Data\\Maps\\1\\Map.ini") == gFileName("data/maps/1/map.ini"));
  EXPECT_TRUE(gFileName(u"DATA/x.INI") == gFileName("data\\X.ini"));
  EXPECT_FALSE(gFileName("data/x.ini") == gFileName("data/x.in"));
  EXPECT_FALSE(gFileName("") == gFileName(""));
  EXPECT_FALSE(gFileName() == gFileName("a"));
  // Only ASCII letters fold.
  EXPECT_FALSE(gFileName("д.ini") == gFileName("Д.ini"));
  EXPECT_TRUE(gFileName("д.ini") == gFileName(u"д.INI"));
  EXPECT_EQ(fileFoldName("a\\b/c.Ini"), "A/B/C.INI");
}

TEST(Names, ChangeExtension) {
  EXPECT_EQ(fileChangeExt("data/pic.tga", "png"), "data/pic.png");
  EXPECT_EQ(fileChangeExt("data/pic", "png"), "data/pic.png");
  EXPECT_EQ(fileChangeExt("da.ta/pic", "png"), "da.ta/pic.png");
  EXPECT_EQ(fileChangeExt("da.ta\\pic", "png"), "da.ta\\pic.png");
  EXPECT_EQ(fileChangeExt("a.b.c", "z"), "a.b.z");
  EXPECT_EQ(fileChangeExt("", "ini"), ".ini");
}

TEST(Names, ResolveFindsFilesWrittenInAnotherCase) {
  std::filesystem::create_directories("Res/SubDir");
  std::ofstream("Res/SubDir/Picture.TGA") << "x";
  EXPECT_EQ(fileResolve("res\\subdir\\picture.tga"), "Res/SubDir/Picture.TGA");
  EXPECT_EQ(fileResolve("./RES/SUBDIR/PICTURE.tga"), "./Res/SubDir/Picture.TGA");
  // A missing leaf keeps its spelling under the resolved folders (a file about to be written).
  EXPECT_EQ(fileResolve("res/subdir/New.ini"), "Res/SubDir/New.ini");
  EXPECT_EQ(fileResolve("nothere/x"), "nothere/x");
  FileHandle f = fileOpen("RES\\SUBDIR\\picture.tga", 1);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(fileSize(f), 1);
  fileClose(f);
}

TEST(Text, Utf8Utf16RoundTripAndReplacement) {
  std::string s = "Луг \xF0\x9F\x8C\xBC meadow";
  std::u16string w = textUtf8ToUtf16(s);
  EXPECT_EQ(w.size(), 4u + 2u + 7u);  // the flower is a surrogate pair
  EXPECT_EQ(textUtf16ToUtf8(w), s);
  EXPECT_EQ(textUtf8ToUtf16("a\xC3"), u"a\uFFFD");         // cut sequence
  EXPECT_EQ(textUtf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");  // overlong form
  EXPECT_EQ(textUtf8ToUtf16("\xFF" "b"), u"\uFFFDb");
  EXPECT_EQ(textUtf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(Text, Cp1251AndValidityCheck) {
  EXPECT_EQ(textCp1251ToUtf16("\xCB\xF3\xE3 \xA8"), u"Луг Ё");
  EXPECT_TRUE(textIsValidUtf8("plain"));
  EXPECT_TRUE(textIsValidUtf8("\xD0\x9B\xD1\x83"));
  EXPECT_FALSE(textIsValidUtf8("\xCB\xF3\xE3"));
  EXPECT_FALSE(textIsValidUtf8("\xE2\x82"));
  EXPECT_EQ(textWLen(u"abc"), 3u);
  EXPECT_EQ(textWLen(nullptr), 0u);
}

TEST(Text, InvalidSequencesAreReplacedOneByOne) {
  // UTF-8 forms of surrogates and of code points past U+10FFFF name nothing.
  EXPECT_EQ(textUtf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(textUtf8ToUtf16("\xF4\x90\x80\x80" "x"), u"\uFFFD\uFFFD\uFFFD\uFFFDx");
  // A lead byte followed by a plain character keeps the character.
  EXPECT_EQ(textUtf8ToUtf16("\xE2" "ab"), u"\uFFFDab");
  EXPECT_EQ(textUtf8ToUtf16("\x80\xBF"), u"\uFFFD\uFFFD");
  // The largest code point still converts, as a surrogate pair.
  EXPECT_EQ(textUtf8ToUtf16("\xF4\x8F\xBF\xBF"), std::u16string({char16_t(0xDBFF), char16_t(0xDFFF)}));
  EXPECT_EQ(textUtf8ToUtf16(""), u"");
  // UTF-16: a low surrogate first, or a high one at the end, is one replacement each.
  std::u16string reversed = {char16_t(0xDC00), char16_t(0xD800), u'a'};
  EXPECT_EQ(textUtf16ToUtf8(reversed), "\xEF\xBF\xBD\xEF\xBF\xBD" "a");
  std::u16string trailing = {u'a', char16_t(0xD83C)};
  EXPECT_EQ(textUtf16ToUtf8(trailing), "a\xEF\xBF\xBD");
  EXPECT_EQ(textUtf16ToUtf8(u""), "");
  // Whatever came in, the output is valid UTF-8 that converts back unchanged.
  std::string mixed = textUtf16ToUtf8(textUtf8ToUtf16("ok\xC3\x28\xE2\x82\xAC\xF0\x9F"));
  EXPECT_TRUE(textIsValidUtf8(mixed));
  EXPECT_EQ(textUtf16ToUtf8(textUtf8ToUtf16(mixed)), mixed);
  EXPECT_NE(mixed.find("\xE2\x82\xAC"), std::string::npos);  // the euro sign survived
}

TEST(Names, NarrowAndWideNamesOfDifferentLengthsOrLettersDiffer) {
  EXPECT_FALSE(gFileName(u"data/a.ini") == gFileName("data/a.ini2"));
  EXPECT_FALSE(gFileName("data/a.ini") == gFileName(u"data/b.ini"));
  EXPECT_TRUE(gFileName(u"Луг\\A.ini") == gFileName(u"Луг/a.INI"));
  EXPECT_TRUE(gFileName("Луг/a.ini") == gFileName(u"Луг\\A.INI"));
  EXPECT_FALSE(gFileName(u"") == gFileName(u""));
  EXPECT_FALSE(gFileName("a_b") == gFileName("a\x7F" "b"));  // only a-z fold, nothing around them
  EXPECT_FALSE(gFileName("[") == gFileName("{"));
}

TEST(Names, ResolveSeesFilesAddedOrRenamedUnderTheSameFolderTime) {
  namespace fs = std::filesystem;
  // Folder times can be as coarse as a second: a change may leave the folder's time as it was.
  fs::remove_all("Racy");
  fs::remove_all("Old");
  fileForgetListings();
  fs::create_directories("Racy");
  std::ofstream("Racy/One.TXT") << "1";
  EXPECT_EQ(fileResolve("racy/one.txt"), "Racy/One.TXT");
  auto stamp = fs::last_write_time("Racy");
  std::ofstream("Racy/Two.TXT") << "2";
  fs::last_write_time("Racy", stamp);
  EXPECT_EQ(fileResolve("racy/two.txt"), "Racy/Two.TXT");

  // An old folder's listing is trusted for misses, but a name it lists that is gone is checked.
  fs::create_directories("Old");
  std::ofstream("Old/File.TXT") << "f";
  auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
  fs::last_write_time("Old", old);
  EXPECT_EQ(fileResolve("old/file.txt"), "Old/File.TXT");
  fs::rename("Old/File.TXT", "Old/Renamed.TXT");
  fs::last_write_time("Old", old);
  EXPECT_EQ(fileResolve("old/file.txt"), "Old/file.txt");
  EXPECT_EQ(fileResolve("OLD/renamed.txt"), "Old/Renamed.TXT");
  EXPECT_EQ(fileOpen("old/file.txt", 1), nullptr);

  // An ordinary change moves the folder's time and the listing is read again.
  std::ofstream("Old/Later.Ini") << "l";
  EXPECT_EQ(fileResolve("old/later.ini"), "Old/Later.Ini");
}

#include "files/name_hash.h"

// Reference values computed independently from the published MurmurHash2 with seed 12345.
TEST(NameHash, KnownValuesCaseAndFolding) {
  EXPECT_EQ(NameHash(""), 0u);
  EXPECT_EQ(NameHash(static_cast<const char*>(nullptr)), 0u);
  EXPECT_EQ(NameHash("a"), 0xdd6eaa72u);
  EXPECT_EQ(NameHash("Worker"), 0x100c3db3u);
  EXPECT_EQ(NameHash("building"), 0xc9f79840u);
  EXPECT_NE(NameHash("worker"), NameHash("Worker"));
  EXPECT_EQ(fileNameHash("Data/Sprites/X.TGA"), 0x900f4a29u);
  EXPECT_EQ(fileNameHash("data\\sprites\\x.tga"), fileNameHash("DATA/sprites/x.tga"));
  std::string longName(5000, 'q');
  EXPECT_EQ(fileNameHash(longName), NameHash(longName));
}
