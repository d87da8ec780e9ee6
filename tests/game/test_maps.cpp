// Level maps: a map.bin put together byte by byte reads to known values; maps compiled from map.ini
// read back to the same records and dump back to the same bytes; damaged files fail to load with a
// gerr.log line naming the file and the offset.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "files/ini.h"
#include "files/name_hash.h"
#include "game/core/level_files.h"
#include "game/core/map_compile.h"
#include "game/core/map_level.h"
#include "game/core/map_mask.h"
#include "game/core/map_stream.h"
#include "game_test_util.h"

using gametest::Bytes;

namespace {
// One object with every base item set, then a simple creature with its class items.
Bytes handMadeObjects() {
  Bytes b;
  b.i32(2);
  b.str("woodpile").str("").str("Elm");
  b.i32(100).i32(-20).f32(0.0f).i32(7).i32(3);
  b.i32(1).i32(2).i32(3).i32(4);
  b.i8(0);
  b.i32(5).i32(6).i32(7).i32(8).i32(9).i32(10);
  b.i8(2).i32(11).i32(12).i32(13).i32(14);
  b.i8(0).i32(15).i32(16).i32(0x10050).i32(0);
  b.i32(0x7FFF0001).str("kid");
  b.i32(0x11223344).i32(1).i32(2);
  b.i32(int32_t(NameHash("null"))).i32(0).i32(0);
  for (int i = 2; i < 21; ++i) b.i32(0).i32(0).i32(0);
  b.i8(0);
  b.str("");
  // The creature: base items at their zero values, a start slot, then its seven items.
  b.str("creature").str("simple").str("");
  for (int i = 0; i < 2; ++i) b.i32(0);
  b.f32(2.5f);
  for (int i = 0; i < 6; ++i) b.i32(0);
  b.i8(3);
  for (int i = 0; i < 6; ++i) b.i32(0);
  b.i8(0);
  for (int i = 0; i < 4; ++i) b.i32(0);
  b.i8(1).i32(0).i32(0).i32(40).i32(25).i32(0).str("");
  for (int i = 0; i < 63; ++i) b.i32(0);
  b.i8(20);
  b.i32(100).i32(200).i32(300).i32(400).i32(1).f32(0.0f).str("tweet");
  b.str("data/kids.ini");
  return b;
}

void appendTail(Bytes& b) {
  for (int r = 0; r < kGridRows; ++r)
    for (int c = 0; c < kGridColumns; ++c) {
      if (r == 0 && c == 0) b.i8(-1).i8(0).i8(0).i8(0);
      else if (r == kGridRows - 1 && c == kGridColumns - 1) b.i8(1).i8(0xEE).i8(0xEE).i8(0xEE);
      else b.i32(0);
    }
  for (int r = 0; r < kFogRows; ++r)
    for (int c = 0; c < kFogColumns; ++c) {
      if (r == 0 && c == 0) b.f32(0.25f).f32(0.75f);
      else if (r == kFogRows - 1 && c == kFogColumns - 1) b.f32(1.0f).f32(0.0f);
      else b.f32(0.5f).f32(0.5f);
    }
}

bool parse(const std::string& bytes, MapFile& out, std::string* error = nullptr) {
  MapStream s;
  s.OpenMemory(bytes.data(), bytes.size(), "mem/map.bin");
  bool ok = mapParse(s, out);
  if (error) *error = s.Error();
  return ok;
}

struct Maps : ::testing::Test {
  void SetUp() override {
    iniFreeAll();
    gametest::clearGerr();
  }
  void TearDown() override { iniFreeAll(); }
};

// An RGBA picture written with libpng, independent of the mask writers.
void writeRgba(const std::string& path, int w, int h, const std::vector<uint8_t>& px) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  png_image img{};
  img.version = PNG_IMAGE_VERSION;
  img.width = png_uint_32(w);
  img.height = png_uint_32(h);
  img.format = PNG_FORMAT_RGBA;
  ASSERT_TRUE(png_image_write_to_file(&img, path.c_str(), 0, px.data(), 0, nullptr)) << img.message;
}
}  // namespace

TEST_F(Maps, StringsTakeTheirLengthPlusTwoOrOneByte) {
  Bytes b;
  b.str("").str("abc").i8(-5).i8(127);
  b.b.append(127, 'x');
  b.i8(0);
  MapStream s;
  s.OpenMemory(b.b.data(), b.b.size(), "strings");
  EXPECT_STREQ(s.ReadString(), "");
  EXPECT_EQ(s.Position(), 1u);
  EXPECT_STREQ(s.ReadString(), "abc");
  EXPECT_EQ(s.Position(), 6u);
  EXPECT_STREQ(s.ReadString(), "");  // negative length: empty, one byte
  EXPECT_EQ(s.Position(), 7u);
  EXPECT_EQ(std::string(s.ReadString()), std::string(127, 'x'));
  EXPECT_EQ(s.Position(), b.b.size());
  EXPECT_FALSE(s.Failed());
  EXPECT_EQ(s.ReadInt32(), 0);  // past the end: zero and failed, never a read past the buffer
  EXPECT_TRUE(s.Failed());
  EXPECT_NE(gametest::gerrText().find("strings: int32 past the end of the file at offset 136"), std::string::npos);
}

TEST_F(Maps, HandMadeBinaryReadsToKnownValues) {
  Bytes b = handMadeObjects();
  const size_t objectsEnd = b.b.size();
  appendTail(b);
  ASSERT_EQ(b.b.size() - objectsEnd, 96620u);
  MapFile map;
  std::string error;
  ASSERT_TRUE(parse(b.b, map, &error)) << error;
  ASSERT_EQ(map.objects.size(), 2u);

  const MapObjectRecord& r = map.objects[0];
  EXPECT_EQ(r.type, "woodpile");
  EXPECT_EQ(r.subtype, "");
  EXPECT_EQ(r.name, "Elm");
  EXPECT_EQ(r.x, 100);
  EXPECT_EQ(r.y, -20);
  EXPECT_FLOAT_EQ(r.scale, 1.0f);  // 0 reads as 1
  EXPECT_EQ(r.flipped, 1);
  EXPECT_EQ(r.layer, 3);
  EXPECT_EQ(r.boundXS, 3);
  EXPECT_EQ(r.boundYS, 4);
  EXPECT_EQ(r.supportCount, 1);  // 0 reads as 1
  EXPECT_EQ(r.support[2][1], 10);
  EXPECT_EQ(r.isObstacle, 1);
  EXPECT_EQ(r.obstacleYS, 14);
  EXPECT_EQ(r.isFogArea, 0);
  EXPECT_EQ(r.fogAreaDeltaY, 16);
  EXPECT_EQ(r.fogRadiusX, 0x50);  // low 16 bits
  EXPECT_EQ(r.fogRadiusY, 0x50);  // 0: a circle
  EXPECT_EQ(r.parentTag, 0x7FFF0001u);
  EXPECT_EQ(r.childsKey, "kid");
  EXPECT_EQ(r.anims[0].hash, 0x11223344u);
  EXPECT_EQ(r.anims[0].dy, 2);
  EXPECT_EQ(r.anims[1].hash, 0u);  // "null" is an empty slot
  EXPECT_TRUE(r.extension.empty());
  EXPECT_EQ(r.childScript, "");

  const MapObjectRecord& c = map.objects[1];
  EXPECT_FLOAT_EQ(c.scale, 2.5f);
  EXPECT_EQ(c.supportCount, 3);
  EXPECT_EQ(c.isFogArea, 1);
  EXPECT_EQ(c.fogRadiusX, 40);
  EXPECT_EQ(c.fogRadiusY, 25);
  EXPECT_EQ(c.currentAnimation, 20);
  ASSERT_EQ(c.extension.size(), 7u);
  EXPECT_EQ(c.extension[0].i, 100);
  EXPECT_EQ(c.extension[3].i, 400);
  EXPECT_EQ(c.extension[4].i, 1);
  EXPECT_FLOAT_EQ(c.extension[5].f, 0.0f);  // the creature's own scale is taken as stored
  EXPECT_EQ(c.extension[6].s, "tweet");
  EXPECT_EQ(c.childScript, "data/kids.ini");

  EXPECT_EQ(map.grid.cells[0][0], 0x7F);  // only the low 7 bits
  EXPECT_EQ(map.grid.cells[kGridRows - 1][kGridColumns - 1], 1);
  EXPECT_EQ(map.grid.cells[40][50], 0);
  EXPECT_FLOAT_EQ(map.fog.alpha[0][0][0], 0.25f);
  EXPECT_FLOAT_EQ(map.fog.alpha[0][0][1], 0.75f);
  EXPECT_FLOAT_EQ(map.fog.alpha[kFogRows - 1][kFogColumns - 1][0], 1.0f);
  EXPECT_FLOAT_EQ(map.fog.alpha[kFogRows - 1][kFogColumns - 1][1], 0.0f);
  EXPECT_FLOAT_EQ(map.fog.alpha[30][30][1], 0.5f);

  // The same file through the level paths and the file layer.
  gametest::writeFile(levelMapPath(7, true), b.b);
  MapStream s;
  ASSERT_TRUE(s.Open(levelMapPath(7, true).c_str()));
  MapSectionList none;
  EXPECT_EQ(mapObjectCount(s, true, levelMapPath(7, false).c_str(), none), 5);
  EXPECT_FALSE(s.Open("data/maps/8/map.bin"));
}

TEST_F(Maps, IniModeTakesOnlyTheTail) {
  Bytes b;
  appendTail(b);
  ASSERT_EQ(b.b.size(), 96620u);
  MapStream s;
  s.OpenMemory(b.b.data(), b.b.size(), "tail-only");
  MapSectionList sections;
  EXPECT_EQ(mapObjectCount(s, false, "no/such/map.ini", sections), 3);  // no objects
  EXPECT_EQ(sections.Next(), nullptr);
  ASSERT_TRUE(mapSeekGrid(s, false));
  EXPECT_EQ(s.Position(), 0u);
  MapGrid grid;
  MapFog fog;
  ASSERT_TRUE(mapReadGrid(s, grid));
  ASSERT_TRUE(mapReadFog(s, fog));
  EXPECT_EQ(grid.cells[0][0], 0x7F);
  EXPECT_FLOAT_EQ(fog.alpha[0][0][1], 0.75f);
  EXPECT_EQ(s.Position(), s.Size());
}

TEST_F(Maps, DamagedFilesFailWithTheirOffset) {
  Bytes good = handMadeObjects();
  appendTail(good);
  MapFile map;
  std::string error;
  // Every cut inside the records and the count, and a sample of cuts in the tail.
  for (size_t n = 0; n < good.b.size(); n += n < 900 ? 1 : 997) {
    ASSERT_FALSE(parse(good.b.substr(0, n), map, &error)) << n;
    ASSERT_NE(error.find("mem/map.bin: "), std::string::npos) << n;
    ASSERT_NE(error.find(" at offset "), std::string::npos) << n;
  }
  // Counts: negative, absurd, one too many, one too few.
  auto withCount = [&](int32_t n) {
    std::string bytes = good.b;
    Bytes c;
    c.i32(n);
    bytes.replace(0, 4, c.b);
    return bytes;
  };
  EXPECT_FALSE(parse(withCount(-1), map, &error));
  EXPECT_NE(error.find("negative object count -1 at offset 4"), std::string::npos);
  EXPECT_FALSE(parse(withCount(0x7FFFFFFF), map, &error));
  EXPECT_NE(error.find("object count 2147483647 does not fit"), std::string::npos);
  EXPECT_FALSE(parse(withCount(3), map, &error));
  EXPECT_FALSE(parse(withCount(1), map, &error));
  EXPECT_NE(error.find("path grid does not start (expected at offset " + std::to_string(good.b.size() - 96620)),
            std::string::npos);
  // A string that runs past the end.
  Bytes lone;
  lone.i8(100).b.append(50, 'a');
  MapStream s;
  s.OpenMemory(lone.b.data(), lone.b.size(), "lone");
  EXPECT_STREQ(s.ReadString(), "");
  EXPECT_TRUE(s.Failed());
  EXPECT_FALSE(s.SeekTail());  // failed streams stay failed
  // A tail before the start of the file.
  MapStream shortTail;
  shortTail.OpenMemory(lone.b.data(), lone.b.size(), "short");
  EXPECT_FALSE(mapSeekGrid(shortTail, false));
  EXPECT_NE(shortTail.Error().find("too short for the path grid"), std::string::npos);
  std::string gerr = gametest::gerrText();
  EXPECT_NE(gerr.find("mem/map.bin: negative object count -1 at offset 4"), std::string::npos);
  EXPECT_NE(gerr.find("lone: string past the end of the file at offset 1"), std::string::npos);
}

TEST_F(Maps, SectionListKeepsEveryNameAndReadsNineIncludes) {
  std::string big;
  for (int i = 0; i < 1200; ++i) big += "[Section_" + std::to_string(100000 + i) + "]\ntype=simple\n";
  gametest::writeFile("inc/big.ini", big);  // more than 10000 bytes of names
  std::string main = "[Own]\ntype=simple\n[Include]\n0=inc/a.ini\n1=inc/missing.ini\n8=inc/big.ini\n9=inc/b.ini\n";
  gametest::writeFile("inc/main.ini", main);
  gametest::writeFile("inc/a.ini", "[FromA]\n[Own]\n");
  gametest::writeFile("inc/b.ini", "[FromB]\n");
  MapSectionList list;
  list.Build("inc/main.ini");
  ASSERT_EQ(list.Count(), 2u + 2u + 1200u);
  EXPECT_EQ(list.At(0), "Own");
  EXPECT_EQ(list.At(1), "Include");
  EXPECT_EQ(list.At(2), "FromA");
  EXPECT_EQ(list.At(4), "Section_100000");
  EXPECT_EQ(list.At(list.Count() - 1), "Section_101199");
  EXPECT_NE(gametest::gerrText().find("inc/missing.ini"), std::string::npos);
  MapStream unused;
  EXPECT_EQ(mapObjectCount(unused, false, "inc/main.ini", list), 1204 + 3);
}

TEST_F(Maps, CompiledMapsReadBackToTheSameRecords) {
  gametest::writeFile("cmp/map.ini",
                      "[Barn]\ntype=building\nsubType=barn\nx=512\ny=384\nlayer=2\nobjectScale=0\nisFlipX=1\n"
                      "boundX=-3\nboundY=4\nboundXS=60\nboundYS=40\nsupportsAmount=2\nsupportX=-10\nsupportY=30\n"
                      "support1X=10\nsupport1Y=30\nisObstacle=1\nobstacleXS=50\nobstacleYS=20\nisFogArea=1\n"
                      "fogAreaRadius=70000\nparentTagStr=Farm\nchildsKey=barnKids\nanim0=barn_idle\nanim1=NULL\n"
                      "anim2=0x0000BEEF\nanimDelta0x=4\nanimDelta0y=-6\ncurrentAnimation=0\nchildScript=data/kids.ini\n"
                      "[Comment]\nnote=no type: no object\n"
                      "[Bird]\ntype=creature\nsubType=simple\nx=40\ny=50\nidlePeriodMin=1000\nscale=0\nsound=tweet\n"
                      "[Deer]\ntype=creature\nsubType=moving\nx=1\ny=2\narealXS=30\nspeed=12.75\nscale=0.5\n"
                      "[Pool]\ntype=simple\nsubType=reflection\nAlpha=200\nAngle=0.5\n"
                      "[Glow]\ntype=fx\nsubType=mapeffect\neffectname=sparks\nstartOnEffect=1\nDeleteOutsideFog=1\n"
                      "[Too]\ntype=simple\nsupportsAmount=9\nfogAreaRadius=5\nfogAreaRadius2=9\nparentTag=-7\n");
  MapCompileInput in;
  in.iniPath = "cmp/map.ini";
  in.fogValue = 0.5f;
  MapFile compiled;
  std::string error;
  ASSERT_TRUE(mapCompile(in, compiled, &error, nullptr)) << error;
  ASSERT_EQ(compiled.objects.size(), 6u);
  std::string bytes;
  ASSERT_TRUE(mapSerialise(compiled, bytes, &error)) << error;
  MapFile back;
  ASSERT_TRUE(parse(bytes, back, &error)) << error;
  ASSERT_EQ(back.objects.size(), compiled.objects.size());
  for (size_t i = 0; i < back.objects.size(); ++i) EXPECT_TRUE(back.objects[i] == compiled.objects[i]) << i;
  EXPECT_FLOAT_EQ(back.fog.alpha[10][10][1], 0.5f);

  const MapObjectRecord& barn = back.objects[0];
  EXPECT_FLOAT_EQ(barn.scale, 1.0f);
  EXPECT_EQ(barn.supportCount, 2);
  EXPECT_EQ(barn.support[1][0], 10);
  EXPECT_EQ(barn.fogRadiusX, 70000 & 0xFFFF);
  EXPECT_EQ(barn.fogRadiusY, barn.fogRadiusX);
  EXPECT_EQ(barn.parentTag, NameHash("Farm"));
  EXPECT_EQ(barn.anims[0].hash, NameHash("barn_idle"));
  EXPECT_EQ(barn.anims[1].hash, 0u);
  EXPECT_EQ(barn.anims[2].hash, 0xBEEFu);
  EXPECT_EQ(barn.anims[0].dy, -6);
  EXPECT_EQ(barn.childScript, "data/kids.ini");
  EXPECT_FLOAT_EQ(back.objects[1].extension[5].f, 1.0f);  // INI scale 0 is compiled as 1
  EXPECT_FLOAT_EQ(back.objects[2].extension[9].f, 12.75f);
  EXPECT_FLOAT_EQ(back.objects[3].extension[0].f, 0.5f);  // the reflection's angle is kept
  EXPECT_EQ(back.objects[3].extension[1].i, 200);         // and its alpha is one unsigned byte
  EXPECT_EQ(back.objects[4].extension[0].s, "sparks");
  EXPECT_EQ(back.objects[4].extension[2].i, 1);
  EXPECT_EQ(back.objects[5].supportCount, 3);
  EXPECT_EQ(back.objects[5].fogRadiusY, 9);
  EXPECT_EQ(back.objects[5].parentTag, uint32_t(-7));
  EXPECT_NE(gametest::gerrText().find("cmp/map.ini [Too]: object \"Too\" has 9 support points, using 3"),
            std::string::npos);

  // Too long a text cannot be stored: the compiler says which object.
  gametest::writeFile("cmp/long.ini", "[Long]\ntype=" + std::string(128, 't') + "\n");
  in.iniPath = "cmp/long.ini";
  EXPECT_FALSE(mapCompile(in, compiled, &error, nullptr));
  EXPECT_NE(error.find("[Long]: text longer than 127 bytes"), std::string::npos);
}

TEST_F(Maps, MasksAndDumpsBuildTheSameBytesAgain) {
  // A map-sized mask: a dark opaque block over x 100..199, y 50..99, a dark transparent block and a
  // light opaque one elsewhere.
  const int W = 1024, H = 768;
  std::vector<uint8_t> px(size_t(W) * H * 4, 255);
  auto paint = [&](int x0, int y0, int x1, int y1, uint8_t v, uint8_t a) {
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) {
        uint8_t* p = &px[(size_t(y) * W + size_t(x)) * 4];
        p[0] = p[1] = p[2] = v;
        p[3] = a;
      }
  };
  paint(100, 50, 199, 99, 20, 255);
  paint(300, 300, 399, 399, 0, 0);
  paint(500, 500, 599, 599, 200, 255);
  writeRgba("mask/grid.png", W, H, px);
  // A vertex-sized fog picture: a clear disc at the centre, grey level times alpha.
  std::vector<uint8_t> fogPx(size_t(kFogColumns) * (kFogRows + 1) * 4);
  for (int r = 0; r <= kFogRows; ++r)
    for (int c = 0; c < kFogColumns; ++c) {
      uint8_t* p = &fogPx[(size_t(r) * kFogColumns + size_t(c)) * 4];
      bool clear = (c - 52) * (c - 52) + (r - 39) * (r - 39) < 100;
      p[0] = p[1] = p[2] = clear ? 0 : 255;
      p[3] = r == 0 ? 51 : 255;  // the top row a fifth transparent
    }
  writeRgba("mask/fog.png", kFogColumns, kFogRows + 1, fogPx);
  gametest::writeFile("mask/map.ini", "[Tree]\ntype=simple\nsubType=tree\nx=10\ny=20\nanim0=tree_sway\n"
                                      "[Pond]\ntype=simple\nsubType=reflection\nAlpha=90\n");
  MapCompileInput in{"mask/map.ini", "mask/grid.png", "mask/fog.png", 1.0f};
  MapFile map;
  std::string error;
  ASSERT_TRUE(mapCompile(in, map, &error, nullptr)) << error;
  int blocked = 0;
  for (int r = 0; r < kGridRows; ++r)
    for (int c = 0; c < kGridColumns; ++c) {
      bool inside = c >= 10 && c <= 19 && r >= 5 && r <= 9;
      EXPECT_EQ(map.grid.cells[r][c], inside ? 1 : 0) << c << "," << r;
      blocked += map.grid.cells[r][c];
    }
  EXPECT_EQ(blocked, 50);
  EXPECT_FLOAT_EQ(map.fog.alpha[39][52][0], 0.0f);
  EXPECT_FLOAT_EQ(map.fog.alpha[0][0][0], 51.0f / 255.0f);
  EXPECT_FLOAT_EQ(map.fog.alpha[0][0][1], 1.0f);  // the vertex below
  EXPECT_FLOAT_EQ(map.fog.alpha[kFogRows - 1][3][1], 1.0f);
  std::string first;
  ASSERT_TRUE(mapSerialise(map, first, &error));

  // Dump: map.ini text and grid-sized pictures, then build again.
  std::vector<std::string> notes;
  gametest::writeFile("dump/map.ini", mapDumpIni(map, {"tree_sway"}, &notes));
  EXPECT_TRUE(notes.empty());
  EXPECT_NE(gametest::readFile("dump/map.ini").find("anim0=tree_sway"), std::string::npos);
  ASSERT_TRUE(mapGridToPng(map.grid, "dump/grid.png", &error)) << error;
  ASSERT_TRUE(mapFogToPng(map.fog, "dump/fog.png", &error)) << error;
  MapCompileInput again{"dump/map.ini", "dump/grid.png", "dump/fog.png", 1.0f};
  MapFile rebuilt;
  ASSERT_TRUE(mapCompile(again, rebuilt, &error, nullptr)) << error;
  std::string second;
  ASSERT_TRUE(mapSerialise(rebuilt, second, &error));
  EXPECT_TRUE(first == second);

  // Without names the slot keeps its hash and still builds the same bytes.
  iniFreeAll();
  gametest::writeFile("dump/map.ini", mapDumpIni(map, {}, nullptr));
  ASSERT_TRUE(mapCompile(again, rebuilt, &error, nullptr));
  ASSERT_TRUE(mapSerialise(rebuilt, second, &error));
  EXPECT_TRUE(first == second);

  EXPECT_FALSE(mapGridFromPng("mask/none.png", map.grid, &error));
  EXPECT_NE(error.find("mask/none.png"), std::string::npos);
}

// The committed demo map must be what its sources build, or an author forgot to run the compiler.
TEST_F(Maps, DemoLevelMatchesItsSources) {
  const char* src = std::getenv("MM_SOURCE_DIR");
  if (!src) GTEST_SKIP() << "MM_SOURCE_DIR not set";
  std::string level = std::string(src) + "/demo/data/maps/1/";
  MapCompileInput in{level + "map.ini", level + "grid.png", "", 1.0f};
  MapFile map;
  std::string error, bytes;
  ASSERT_TRUE(mapCompile(in, map, &error, nullptr)) << error;
  ASSERT_TRUE(mapSerialise(map, bytes, &error)) << error;
  EXPECT_TRUE(bytes == gametest::readFile(level + "map.bin"));
  EXPECT_GT(map.objects.size(), 0u);
}
