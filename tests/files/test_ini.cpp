// INI documents: parsing rules, encodings, lookups, setting and saving, the cache and translations.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <string>

#include "files/ini.h"
#include "files/ini_doc.h"
#include "support/test_files.h"

namespace {
void writeBytes(const std::string& path, const std::string& bytes) { testkit::writeFile(path, bytes); }
std::string readBytes(const std::string& path) { return testkit::readFile(path); }

struct Ini : ::testing::Test {
  void SetUp() override { iniFreeAll(); }
  void TearDown() override { iniFreeAll(); }
};
}  // namespace

TEST_F(Ini, LineRules) {
  writeBytes("rules.ini",
             "top=1\r\n  ; comment\n\n[Main] ; note\na=b\nb = b\nc b\nd == b\ne= =b\nf = b = c\ng = 1 ; x\n"
             "lonely\n[Other];note\nn=-12abc\nf1=3.25\nf2=.5\nf3=1e3\nq=\"quoted\"\n[abc\nk=v\n[ Spaced ]\ns=1\n");
  const char* f = "rules.ini";
  for (const char* k : {"a", "b", "c", "d", "e"}) EXPECT_STREQ(iniGetString(f, "Main", k, "?"), "b") << k;
  EXPECT_STREQ(iniGetString(f, "main", "F", "?"), "b = c");
  EXPECT_STREQ(iniGetString(f, "Main", "g", "?"), "1 ; x");
  EXPECT_STREQ(iniGetString(f, "Main", "lonely", "?"), "");
  EXPECT_EQ(iniGetInt(f, "Main", "lonely", 7), 0);
  EXPECT_EQ(iniGetInt(f, "Other", "n", 0), -12);
  EXPECT_FLOAT_EQ(iniGetFloat(f, "Other", "f1", 0), 3.25f);
  EXPECT_FLOAT_EQ(iniGetFloat(f, "Other", "f2", 0), 0.5f);
  EXPECT_FLOAT_EQ(iniGetFloat(f, "Other", "f3", 0), 1.0f);
  EXPECT_STREQ(iniGetString(f, "Other", "q", "?"), "quoted\"");
  EXPECT_STREQ(iniGetString(f, "abc", "k", "?"), "v");      // no closing bracket: no lost letter
  EXPECT_STREQ(iniGetString(f, "Spaced", "s", "?"), "1");   // the text between the brackets, trimmed
  EXPECT_STREQ(iniGetString(f, "", "top", "?"), "1");
  EXPECT_STREQ(iniGetString(f, "", "a", "?"), "?");          // empty section: only keys before headers
  EXPECT_STREQ(iniGetString(f, nullptr, "k", "?"), "v");     // null section: the whole document
  const char* def = "default";
  EXPECT_EQ(iniGetString(f, "Main", "missing", def), def);  // the default itself
}

TEST_F(Ini, OnlyTheFirstSectionOfANameIsSearched) {
  writeBytes("twice.ini", "[A]\nx=1\n[B]\ny=2\n[A]\nz=3\n");
  EXPECT_EQ(iniGetInt("twice.ini", "A", "x", 0), 1);
  EXPECT_EQ(iniGetInt("twice.ini", "A", "z", -1), -1);
  EXPECT_EQ(iniGetInt("twice.ini", nullptr, "z", -1), 3);
  EXPECT_EQ(iniGetInt("twice.ini", "B", "y", 0), 2);
  EXPECT_EQ(iniGetInt("twice.ini", "A", "x", 0), 1);  // after the section shortcut moved on
}

TEST_F(Ini, IntegersSaturate) {
  writeBytes("big.ini", "[n]\nbig=99999999999999999999\nsmall=-99999999999999999999\nmax=2147483647\n");
  EXPECT_EQ(iniGetInt("big.ini", "n", "big", 0), INT_MAX);
  EXPECT_EQ(iniGetInt("big.ini", "n", "small", 0), INT_MIN);
  EXPECT_EQ(iniGetInt("big.ini", "n", "max", 0), INT_MAX);
}

TEST_F(Ini, Encodings) {
  writeBytes("u8sig.ini", "\xEF\xBB\xBF[s]\nname=\xD0\x9B\xD1\x83\xD0\xB3\n");
  writeBytes("u8bare.ini", "[s]\nname=\xD0\x9B\xD1\x83\xD0\xB3\n");
  writeBytes("cp1251.ini", "[s]\nname=\xCB\xF3\xE3\n");
  std::string u16 = "\xFF\xFE";
  for (char16_t c : std::u16string(u"[s]\r\nname=Луг\r\n")) {
    u16.push_back(char(c & 255));
    u16.push_back(char(c >> 8));
  }
  writeBytes("u16.ini", u16);
  for (const char* f : {"u8sig.ini", "u8bare.ini", "cp1251.ini", "u16.ini"}) {
    EXPECT_STREQ(iniGetString(f, "s", "name", "?"), "\xD0\x9B\xD1\x83\xD0\xB3") << f;
    EXPECT_EQ(std::u16string(iniGetWString(f, "s", "name", u"?")), u"Луг") << f;
  }
}

TEST_F(Ini, RotatingBuffersHoldFourResults) {
  writeBytes("rot.ini", "[s]\na=1\nb=2\nc=3\nd=4\ne=5\nlong=" + std::string(3000, 'x') + "\n");
  const char* a = iniGetString("rot.ini", "s", "a", "");
  const char* b = iniGetString("rot.ini", "s", "b", "");
  const char* c = iniGetString("rot.ini", "s", "c", "");
  const char* d = iniGetString("rot.ini", "s", "d", "");
  EXPECT_STREQ(a, "1");
  EXPECT_STREQ(b, "2");
  EXPECT_STREQ(c, "3");
  EXPECT_STREQ(d, "4");
  iniGetString("rot.ini", "s", "e", "");
  EXPECT_STREQ(a, "5");  // the fifth call reuses the first buffer
  EXPECT_EQ(std::string(iniGetString("rot.ini", "s", "long", "")).size(), 2047u);
  EXPECT_EQ(std::u16string(iniGetWString("rot.ini", "s", "long", u"")).size(), 1023u);
}

TEST_F(Ini, SetAndSaveWritesNewKeysUnderTheirHeader) {
  writeBytes("set.ini", "; shipped\n[S]\nold=1\n[T]\nt=2\n");
  iniSetInt("set.ini", "S", "new", 5, true);
  iniSetFloat("set.ini", "U", "f", 1.5f, false);
  iniSetString("set.ini", "T", "t", "changed", true);
  // The file had no signature and LF breaks: it keeps both.
  EXPECT_EQ(readBytes("set.ini"), "; shipped\n[S]\nnew=5\nold=1\n[T]\nt=changed\n[U]\nf=1.500000\n");
  iniFreeAll();
  EXPECT_EQ(iniGetInt("set.ini", "S", "new", 0), 5);
}

TEST_F(Ini, NullSectionSetDoesNotAddANamelessHeader) {
  writeBytes("nul.ini", "[S]\na=1\n");
  iniSetString("nul.ini", nullptr, "free", "yes", true);
  std::string text = readBytes("nul.ini");
  EXPECT_EQ(text.find("[]"), std::string::npos);
  iniFreeAll();
  EXPECT_STREQ(iniGetString("nul.ini", nullptr, "free", "?"), "yes");
  EXPECT_STREQ(iniGetString("nul.ini", "", "free", "?"), "yes");
  EXPECT_EQ(iniGetInt("nul.ini", "S", "a", 0), 1);
}

TEST_F(Ini, ValuesComeBackTheSameAfterSaving) {
  const char* values[] = {"\"quoted\"", "  two leading", "=equals", "a = b", "; not a comment",
                          "Ирина", "", "plain", "\"", "\"\"x"};
  int i = 0;
  for (const char* v : values) iniSetString("round.ini", "p", ("k" + std::to_string(i++)).c_str(), v, false);
  // What was set is what is read, before and after a save and a fresh load.
  for (int pass = 0; pass < 3; ++pass) {
    i = 0;
    for (const char* v : values)
      EXPECT_STREQ(iniGetString("round.ini", "p", ("k" + std::to_string(i++)).c_str(), "?"), v) << pass;
    ASSERT_TRUE(iniSave("round.ini"));
    iniFreeAll();
  }
  // Trailing blanks cannot be written so that the reader keeps them, quoted or not.
  iniSetString("round.ini", "p", "t", "trailing  ", true);
  iniFreeAll();
  EXPECT_STREQ(iniGetString("round.ini", "p", "t", "?"), "trailing");
}

TEST_F(Ini, CacheKeysByFoldedNameSoNoChangeIsLost) {
  writeBytes("data/x.ini", "[s]\na=1\n");
  iniSetInt("data/x.ini", "s", "a", 2, false);
  iniSetInt("DATA\\X.INI", "s", "b", 3, true);
  iniFreeAll();
  EXPECT_EQ(iniGetInt("data/x.ini", "s", "a", 0), 2);
  EXPECT_EQ(iniGetInt("data/x.ini", "s", "b", 0), 3);
}

TEST_F(Ini, MissingFileGivesDefaultsAndSaveCreatesIt) {
  std::filesystem::remove("fresh.ini");
  EXPECT_EQ(iniGetInt("fresh.ini", "s", "k", 42), 42);
  EXPECT_FALSE(iniHasKey("fresh.ini", "s", "k"));
  iniSetInt("fresh.ini", "s", "k", 1, true);
  EXPECT_TRUE(std::filesystem::exists("fresh.ini"));
  EXPECT_FALSE(iniSave("never-used.ini"));
  EXPECT_FALSE(std::filesystem::exists("never-used.ini"));
}

TEST_F(Ini, SectionNamesBoundedAndDeletion) {
  writeBytes("names.ini", "[alpha]\na=1\n[beta]\nb=1\n[gamma]\nc=1\n");
  char buf[64];
  size_t n = iniSectionNames("names.ini", buf, sizeof buf);
  EXPECT_EQ(std::string(buf, n), std::string("alpha\0beta\0gamma\0\0", 18));
  n = iniSectionNames("names.ini", buf, 12);  // room for alpha and beta only
  EXPECT_EQ(std::string(buf, n), std::string("alpha\0beta\0\0", 12));
  iniDeleteSection("names.ini", "beta");
  EXPECT_EQ(iniSectionList("names.ini"), (std::vector<std::string>{"alpha", "gamma"}));
  EXPECT_EQ(iniKeyList("names.ini", "gamma"), std::vector<std::string>{"c"});
  iniFreeAll();
  EXPECT_FALSE(iniHasKey("names.ini", "beta", "b"));
}

TEST_F(Ini, TranslatedText) {
  writeBytes("data/translation.ini", "[one]\n#X=x\n[two]\n#Y=y\n[three]\n#PLAY=Play\n#UNK=Unknown\n#PLAY=Again\n");
  writeBytes("wnd.ini", "[b]\ncaption=#PLAY\nplain=Play\nempty=\nlost=#NOPE\n");
  EXPECT_STREQ(iniGetText("wnd.ini", "b", "caption", "?"), "Play");
  EXPECT_STREQ(iniGetText("wnd.ini", "b", "plain", "?"), "Play");
  EXPECT_STREQ(iniGetText("wnd.ini", "b", "empty", "dflt"), "dflt");
  EXPECT_STREQ(iniGetText("wnd.ini", "b", "lost", "dflt"), "dflt");
  EXPECT_STREQ(iniGetText("wnd.ini", "b", "missing", "dflt"), "Unknown");
  EXPECT_EQ(std::u16string(iniGetWText("wnd.ini", "b", "caption", u"?")), u"Play");
  EXPECT_EQ(std::u16string(iniGetWText("wnd.ini", "b", "plain", u"?")), u"Play");
  EXPECT_EQ(std::u16string(iniFindWString("data/translation.ini", "#Y")), u"y");
  EXPECT_EQ(std::u16string(iniFindWString("data/translation.ini", "#none")), u"");
}

// Another language's document is read over the English one: its texts win, the keys it lacks stay
// English, and switching back (or to a tag that is not a language) shows English again.
TEST_F(Ini, TranslationInAnotherLanguage) {
  writeBytes("data/translation.ini", "[menu]\n#PLAY=Play\n#EXIT=Exit\n");
  writeBytes("data/translation_ru.ini", "[menu]\n#PLAY=Играть\n");
  writeBytes("wnd.ini", "[b]\nplay=#PLAY\nexit=#EXIT\n");
  EXPECT_EQ(std::u16string(iniGetWText("wnd.ini", "b", "play", u"?")), u"Play");
  iniSetLanguage("RU");
  EXPECT_EQ(iniLanguage(), "ru");
  EXPECT_EQ(std::u16string(iniGetWText("wnd.ini", "b", "play", u"?")), u"Играть");
  EXPECT_EQ(iniText("wnd.ini", "b", "exit"), "Exit");
  EXPECT_EQ(std::u16string(iniFindWString("data\\translation.ini", "#PLAY")), u"Играть");
  iniSetLanguage("../x");
  EXPECT_EQ(iniLanguage(), "");
  EXPECT_EQ(std::u16string(iniGetWText("wnd.ini", "b", "play", u"?")), u"Play");
  // A language without a document of its own keeps the English texts.
  iniSetLanguage("de");
  EXPECT_EQ(iniText("wnd.ini", "b", "play"), "Play");
  iniSetLanguage("");
}

// A document the program saves (window places from the editor, settings) keeps its author's
// comments and blank lines where they stood.
TEST(IniSave, KeepsCommentsAndBlankLines) {
  const std::string text =
      "; The demo screen.\r\n; Two lines of notes.\r\n[Main]\r\nfont=a.png\r\n\r\n; the button\r\n[Play]\r\n"
      "x=402\r\n  ; indented note\r\ny=230\r\n\r\n; end of file\r\n";
  std::vector<IniNode> nodes;
  std::string trailing;
  iniParseText(text, nodes, &trailing);
  ASSERT_EQ(nodes.size(), 5u);
  IniDoc doc;
  doc.nodes = nodes;
  doc.trailing = trailing;
  doc.Set("Play", "x", "407");
  doc.Set("Play", "xs", "220");
  const std::string saved = doc.Serialise();
  EXPECT_EQ(saved,
            "\xEF\xBB\xBF; The demo screen.\r\n; Two lines of notes.\r\n[Main]\r\nfont=a.png\r\n\r\n; the button\r\n"
            "[Play]\r\nxs=220\r\nx=407\r\n  ; indented note\r\ny=230\r\n\r\n; end of file\r\n");
  // Reading the saved text gives the same keys again.
  std::vector<IniNode> again;
  iniParseText(saved.substr(3), again);
  ASSERT_EQ(again.size(), 6u);
  EXPECT_EQ(again[3].name, "xs");
  EXPECT_EQ(again[4].value, "407");
}

namespace {
std::string utf16File(std::u16string_view text) {
  std::string out = "\xFF\xFE";
  for (char16_t c : text) {
    out.push_back(char(c & 255));
    out.push_back(char(c >> 8));
  }
  return out;
}

// Loads `name`, saves it unchanged and answers the saved bytes.
std::string savedUnchanged(const char* name) {
  iniFreeAll();
  iniGetInt(name, "s", "x", 0);
  EXPECT_TRUE(iniSave(name));
  iniFreeAll();
  return readBytes(name);
}
}  // namespace

// A document read and saved again is the same file, byte for byte: comments, order, spacing,
// quoting, line breaks and encoding kept. Values read the way the reader's rules say.
TEST_F(Ini, LoadedDocumentSavesToTheBytesItWasReadFrom) {
  const std::string text =
      "\xEF\xBB\xBF; Written by hand\r\n"
      "\r\n"
      "top = first\r\n"
      "[Texts]   ; header note\r\n"
      "quoted=\"Hello\"\r\n"
      "spaced = \"  padded  \"   \r\n"
      "lead=   leading blanks\r\n"
      "trail = trailing blanks  \t \r\n"
      "equals = a = b == c\r\n"
      "empty=\r\n"
      "bare\r\n"
      "cyr=\xD0\x9B\xD1\x83\xD0\xB3 \xD0\xB8 \xD0\xBF\xD0\xBE\xD0\xBB\xD0\xB5\r\n"
      "cp=\xCB\xF3\xE3\r\n"
      "  ; indented note\r\n"
      "  indented = 5\r\n"
      "\ttab\t=\ttabbed\r\n"
      "\r\n\r\n"
      "[Second]\n"
      "x=1\r"
      "y=2\n"
      "; last words, no line break";
  writeBytes("same.ini", text);
  EXPECT_EQ(savedUnchanged("same.ini"), text);

  const char* f = "same.ini";
  EXPECT_STREQ(iniGetString(f, "", "top", "?"), "first");
  EXPECT_STREQ(iniGetString(f, "Texts", "quoted", "?"), "Hello\"");
  EXPECT_STREQ(iniGetString(f, "Texts", "spaced", "?"), "  padded  \"");
  EXPECT_STREQ(iniGetString(f, "Texts", "lead", "?"), "leading blanks");
  EXPECT_STREQ(iniGetString(f, "Texts", "trail", "?"), "trailing blanks");
  EXPECT_STREQ(iniGetString(f, "Texts", "equals", "?"), "a = b == c");
  EXPECT_STREQ(iniGetString(f, "Texts", "empty", "?"), "");
  EXPECT_STREQ(iniGetString(f, "Texts", "bare", "?"), "");
  EXPECT_EQ(std::u16string(iniGetWString(f, "Texts", "cyr", u"?")), u"Луг и поле");
  EXPECT_STREQ(iniGetString(f, "Texts", "cp", "?"), "\xCB\xF3\xE3");  // bytes as they stand
  EXPECT_EQ(iniGetInt(f, "Texts", "indented", 0), 5);
  EXPECT_STREQ(iniGetString(f, "Texts", "tab", "?"), "tabbed");
  EXPECT_EQ(iniGetInt(f, "Second", "x", 0), 1);
  EXPECT_EQ(iniGetInt(f, "Second", "y", 0), 2);

  // The quote does not grow: ten saves later the value reads the same and the file is unchanged.
  for (int i = 0; i < 10; ++i) savedUnchanged(f);
  EXPECT_EQ(readBytes(f), text);
  EXPECT_STREQ(iniGetString(f, "Texts", "quoted", "?"), "Hello\"");

  // A changed value rewrites only its own line, keeping the spacing before the value; a new key
  // takes the break of the document's lines.
  iniSetString(f, "Texts", "equals", "changed", false);
  iniSetString(f, "Texts", "bare", "now set", false);
  iniSetInt(f, "Second", "y", 3, false);
  iniSetInt(f, "Second", "z", 4, true);
  std::string expected = text;
  auto swap = [&](const std::string& from, const std::string& to) {
    size_t at = expected.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    expected.replace(at, from.size(), to);
  };
  swap("equals = a = b == c\r\n", "equals = changed\r\n");
  swap("bare\r\n", "bare=now set\r\n");
  swap("[Second]\nx=1\ry=2\n", "[Second]\nz=4\r\nx=1\ry=3\n");
  iniFreeAll();
  EXPECT_EQ(readBytes(f), expected);
  EXPECT_STREQ(iniGetString(f, "Texts", "bare", "?"), "now set");
  EXPECT_STREQ(iniGetString(f, "Texts", "quoted", "?"), "Hello\"");
}

TEST_F(Ini, EncodingsWithoutSignatureAreSavedAsTheyCame) {
  // Code page 1251 stays code page 1251, also for a changed value that fits it.
  const std::string cp = "[s]\r\nname = \xCB\xF3\xE3\r\nx=1\r\n";
  writeBytes("cp.ini", cp);
  EXPECT_EQ(savedUnchanged("cp.ini"), cp);
  iniSetWString("cp.ini", "s", "name", u"Поле", true);
  EXPECT_EQ(readBytes("cp.ini"), "[s]\r\nname = \xCF\xEE\xEB\xE5\r\nx=1\r\n");
  // A character the code page cannot hold turns the file into UTF-8 with a signature.
  iniSetWString("cp.ini", "s", "star", u"\u2605", true);
  iniFreeAll();
  EXPECT_EQ(readBytes("cp.ini").substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_EQ(std::u16string(iniGetWString("cp.ini", "s", "star", u"?")), u"\u2605");
  EXPECT_EQ(std::u16string(iniGetWString("cp.ini", "s", "name", u"?")), u"Поле");

  const std::string bare = "[s]\nname=\xD0\x9B\xD1\x83\xD0\xB3\n";
  writeBytes("bare.ini", bare);
  EXPECT_EQ(savedUnchanged("bare.ini"), bare);

  const std::string wide = utf16File(u"; заметка\r\n[s]\r\nname=\"Луг\"\r\n");
  writeBytes("wide.ini", wide);
  EXPECT_EQ(savedUnchanged("wide.ini"), wide);
  EXPECT_EQ(std::u16string(iniGetWString("wide.ini", "s", "name", u"?")), u"Луг\"");
}

TEST_F(Ini, OwningLookupsOutliveTheRotatingBuffers) {
  writeBytes("own.ini", "[s]\na=\"1\nlong=" + std::string(3000, 'y') + "\nw=Луг\nt=#T\n");
  writeBytes("data/translation.ini", "#T=Translated\n");
  std::string a = iniString("own.ini", "s", "a");
  for (int i = 0; i < 5; ++i) iniGetString("own.ini", "s", "w", "");
  EXPECT_EQ(a, "1");
  EXPECT_EQ(iniString("own.ini", "s", "long").size(), 3000u);  // no buffer limit
  EXPECT_EQ(iniString("own.ini", "s", "none", "dflt"), "dflt");
  EXPECT_EQ(iniWString("own.ini", "s", "w"), u"Луг");
  EXPECT_EQ(iniWString("own.ini", "s", "", u"d"), u"d");
  EXPECT_EQ(iniText("own.ini", "s", "t"), "Translated");
  EXPECT_EQ(iniWText("own.ini", "s", "w"), u"Луг");
  EXPECT_EQ(iniText("own.ini", "s", "none", "d"), "d");  // a missing key asks for "#UNK", also missing
}
