// Reading keyframe files: a good file through the library (loose and inside the pack archive,
// found in any letter case), and every kind of damage refused with the file's name and the
// offset of the fault in gerr.log, leaving an empty animation.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "anim/kf_file.h"
#include "anim/kf_library.h"
#include "anim_test_util.h"
#include "files/file.h"
#include "files/files_test_util.h"

namespace {

// Bytes of a file written field by field, as the format table lists them.
struct Bytes {
  std::string b;
  Bytes& i32(int32_t v) {
    uint32_t u = 0;
    std::memcpy(&u, &v, 4);
    for (int i = 0; i < 4; ++i) b.push_back(char(uint8_t(u >> (8 * i))));
    return *this;
  }
  Bytes& f32(float v) {
    int32_t i = 0;
    std::memcpy(&i, &v, 4);
    return i32(i);
  }
  Bytes& text(const std::string& s) {
    i32(int32_t(s.size()));
    b += s;
    return *this;
  }
  // Header of an object up to and including its child count (60 bytes with empty texts).
  Bytes& head(int children, const std::string& name = "") {
    i32(1).i32(7).i32(9).text(name).text("").i32(1).text("").text("").i32(1).f32(10).f32(10).text("").i32(0).i32(0);
    return i32(children);
  }
  Bytes& noTracks() {
    for (int i = 0; i < 7; ++i) i32(0);
    return *this;
  }
};

// A file of one object without keys: 92 bytes; its fields at the offsets the tests name.
std::string OneObject() {
  Bytes f;
  f.i32(1).head(0).noTracks();
  return f.b;
}

struct Refusal {
  const char* what;
  std::string bytes;
  size_t offset;
};

TEST(KfFile, AGoodFileReadsEveryField) {
  Bytes f;
  f.i32(1).head(1, "Parent");
  f.head(0, "Child").noTracks();
  // Parent's tracks: two position keys (x eased, y held), one colour key with a sound.
  f.i32(2);
  f.i32(0).f32(0).f32(1).f32(2).i32(0).f32(1).f32(0).f32(1).f32(0).i32(0).f32(1).f32(0).f32(1).f32(0).text("");
  f.i32(2).f32(1.5f).f32(3).f32(4).i32(2).f32(1.5f).f32(0).f32(0.5f).f32(0).i32(1).f32(1).f32(0).f32(1).f32(0).text("");
  f.i32(0).i32(0).i32(0).i32(0).i32(0);
  f.i32(1).i32(0).f32(0.25f).i32(0x00302010).i32(0).f32(1).f32(0).f32(1).f32(0).i32(0).f32(1).f32(0).f32(1).f32(0)
      .i32(0).f32(1).f32(0).f32(1).f32(0).text("chime");
  KfObjects objs;
  KfReadError err;
  ASSERT_TRUE(kfParse(reinterpret_cast<const uint8_t*>(f.b.data()), f.b.size(), objs, err)) << err.reason;
  ASSERT_EQ(objs.size(), 1u);
  const C_AnimationObject& p = *objs[0];
  EXPECT_EQ(p.name, "Parent");
  EXPECT_EQ(p.valueA, 7);
  EXPECT_EQ(p.valueB, 9);
  ASSERT_EQ(p.children.size(), 1u);
  EXPECT_EQ(p.children[0]->name, "Child");
  EXPECT_EQ(p.children[0]->parent, &p);
  ASSERT_EQ(p.position.size(), 2u);
  EXPECT_EQ(p.position[1].markerType, 2);
  EXPECT_FLOAT_EQ(p.position[1].filterX.a, 1.5f);
  EXPECT_FLOAT_EQ(p.position[1].filterX.b, 0.5f);
  EXPECT_EQ(p.position[1].filterY.type, 1);
  ASSERT_EQ(p.colour.size(), 1u);
  EXPECT_EQ(p.colour[0].red, 0x10);
  EXPECT_EQ(p.colour[0].green, 0x20);
  EXPECT_EQ(p.colour[0].blue, 0x30);
  EXPECT_EQ(p.colour[0].soundName, "chime");
  EXPECT_EQ(kfSerialize(objs), f.b) << "written back byte for byte";
}

TEST(KfFile, DamageOfEveryKindIsRefusedWithItsOffset) {
  std::vector<Refusal> cases;
  {
    // A name of 40 bytes moves the child count to 100; the file ends two bytes into it. (Shorter
    // cuts are caught sooner: an object needs at least 88 bytes.)
    Bytes f;
    f.i32(1).head(0, std::string(40, 'n')).noTracks();
    cases.push_back({"cut inside the child count", f.b.substr(0, 102), 100});
  }
  {
    Bytes f;
    f.i32(1).i32(1).i32(0).i32(0).i32(1000).b += std::string(200, 's');
    cases.push_back({"a name longer than the bytes left", f.b, 16});
  }
  {
    std::string b = OneObject();
    cases.push_back({"too short for the object it counts", b.substr(0, 91), 0});
  }
  {
    Bytes f;
    f.i32(1).i32(1).i32(0).i32(0).text(std::string(5000, 'n'));
    cases.push_back({"a name of 5000 bytes", f.b, 16});
  }
  {
    Bytes f;
    f.i32(1).head(-1).noTracks();
    cases.push_back({"a negative child count", f.b, 60});
  }
  {
    std::string b = OneObject();
    b[0] = char(0x40), b[1] = b[2] = char(0), b[3] = char(0x10);
    cases.push_back({"an object count the file cannot hold", b, 0});
  }
  {
    Bytes f;
    f.i32(1).head(0).i32(0).i32(0).i32(3).i32(0).i32(0).i32(0).i32(0);
    cases.push_back({"three scale keys without their bytes", f.b, 72});
  }
  {
    Bytes f;
    f.i32(1).head(0).i32(0).i32(0).i32(1);
    f.i32(0).f32(std::numeric_limits<float>::quiet_NaN()).f32(1).i32(0).f32(1).f32(0).f32(1).f32(0).text("");
    f.i32(0).i32(0).i32(0).i32(0);
    cases.push_back({"a key time that is not a number", f.b, 80});
  }
  {
    Bytes f;
    f.i32(1).head(0).i32(0).i32(0).i32(1);
    f.i32(0).f32(std::numeric_limits<float>::infinity()).f32(1).i32(0).f32(1).f32(0).f32(1).f32(0).text("");
    f.i32(0).i32(0).i32(0).i32(0);
    cases.push_back({"a key time of infinity", f.b, 80});
  }
  {
    // 49 objects each inside the one before: the 48th (47 levels down) may not hold another.
    Bytes f;
    f.i32(1);
    for (int i = 0; i < 49; ++i) f.head(i < 48 ? 1 : 0);
    for (int i = 0; i < 49; ++i) f.noTracks();
    cases.push_back({"objects nested 49 deep", f.b, 4 + 47 * 60 + 56});
  }
  for (const Refusal& c : cases) {
    SCOPED_TRACE(c.what);
    KfObjects objs;
    KfReadError err;
    EXPECT_FALSE(kfParse(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size(), objs, err));
    EXPECT_TRUE(objs.empty());
    EXPECT_EQ(err.offset, c.offset) << err.reason;
    // Through the library: an empty animation that draws nothing, and a line naming the file.
    animtest::ErrorCapture log;
    C_Animation a;
    a.name = "broken.kf";
    EXPECT_FALSE(kfLoadBytes(a, c.bytes.data(), c.bytes.size(), "data/comic/broken.kf"));
    EXPECT_TRUE(a.objects.empty());
    EXPECT_TRUE(a.damaged);
    EXPECT_FLOAT_EQ(a.Length(), 0.0f);
    C_AnimationPlayback p;
    EXPECT_FLOAT_EQ(kfDraw(a, p, 0.5f, 1, 1, 0, 0, 0), 0.5f);
    const std::string text = log.Text();
    EXPECT_NE(text.find("data/comic/broken.kf"), std::string::npos) << text;
    EXPECT_NE(text.find("offset " + std::to_string(c.offset)), std::string::npos) << text;
  }
}

TEST(KfFile, WhatIsNotDamageIsRead) {
  // 48 levels of objects are allowed.
  Bytes deep;
  deep.i32(1);
  for (int i = 0; i < 48; ++i) deep.head(i < 47 ? 1 : 0);
  for (int i = 0; i < 48; ++i) deep.noTracks();
  KfObjects objs;
  KfReadError err;
  EXPECT_TRUE(kfParse(reinterpret_cast<const uint8_t*>(deep.b.data()), deep.b.size(), objs, err)) << err.reason;
  // A negative text length means no text; an empty file has no objects.
  Bytes neg;
  neg.i32(1).i32(1).i32(0).i32(0).i32(-5);
  neg.text("").i32(1).text("").text("").i32(1).f32(10).f32(10).text("").i32(0).i32(0).i32(0).noTracks();
  ASSERT_TRUE(kfParse(reinterpret_cast<const uint8_t*>(neg.b.data()), neg.b.size(), objs, err)) << err.reason;
  EXPECT_EQ(objs[0]->name, "");
  EXPECT_TRUE(kfParse(nullptr, 0, objs, err) == false) << "not even an object count";
  // Bytes after the last object are reported but do not spoil the animation.
  std::string tail = OneObject() + "xyz";
  ASSERT_TRUE(kfParse(reinterpret_cast<const uint8_t*>(tail.data()), tail.size(), objs, err));
  EXPECT_EQ(err.trailing, 3u);
}

TEST(KfFile, TheLibraryReadsLooseAndPackedFilesAndIgnoresCase) {
  auto& lib = kfLibrary();
  lib.Clear();
  filetest::writeFile("data/comic/loose.kf", OneObject());
  const int loose = lib.FindOrLoad("data/comic/loose.kf");
  ASSERT_NE(lib.Get(loose), nullptr);
  EXPECT_EQ(lib.Get(loose)->objects.size(), 1u);
  EXPECT_EQ(lib.FindOrLoad("DATA/Comic/LOOSE.KF"), loose) << "the same animation in another letter case";
  EXPECT_EQ(lib.Size(), 1u);

  filetest::writeFile("test_kf.pak", filetest::makeArchive(2, {{"data/comic/packed.kf", OneObject()}}));
  ASSERT_TRUE(fileOpenPackFile("test_kf.pak"));
  const int packed = lib.FindOrLoad("data\\comic\\packed.kf");
  fileClosePack();
  ASSERT_NE(lib.Get(packed), nullptr);
  EXPECT_EQ(lib.Get(packed)->objects.size(), 1u) << "read from the archive";

  // A missing file: an empty animation, no complaint.
  animtest::ErrorCapture log;
  const int missing = lib.FindOrLoad("data/comic/none.kf");
  ASSERT_NE(lib.Get(missing), nullptr);
  EXPECT_TRUE(lib.Get(missing)->objects.empty());
  EXPECT_FALSE(lib.Get(missing)->damaged);
  EXPECT_EQ(log.Text().find("none.kf"), std::string::npos);
  EXPECT_EQ(lib.Get(-1), nullptr);
  EXPECT_EQ(lib.Get(int(lib.Size())), nullptr);
  lib.Clear();
}

}  // namespace
