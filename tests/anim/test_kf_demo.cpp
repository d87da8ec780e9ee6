// The demo's keyframe comic: its binary file reads without a fault, and its text source prints
// and compiles to exactly the committed bytes, so editing the text and running kfc is safe.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "anim/kf_library.h"
#include "anim/kf_text.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

TEST(KfDemo, TheComicPageAndItsTextAgreeByteForByte) {
  const char* src = std::getenv("MM_SOURCE_DIR");
  if (!src) GTEST_SKIP() << "MM_SOURCE_DIR is not set";
  const std::string dir = std::string(src) + "/demo/data/comic/";
  const std::string bytes = ReadFile(dir + "page.kf"), text = ReadFile(dir + "page.kft");
  ASSERT_FALSE(bytes.empty());
  ASSERT_FALSE(text.empty());
  KfObjects fromBytes, fromText;
  KfReadError err;
  ASSERT_TRUE(kfParse(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), fromBytes, err)) << err.reason;
  EXPECT_EQ(err.trailing, 0u);
  EXPECT_EQ(kfToText(fromBytes), text);
  std::string error;
  ASSERT_TRUE(kfFromText(text, fromText, error)) << error;
  EXPECT_EQ(kfSerialize(fromText), bytes);

  // What the page promises: a child, a translated caption, a sound key and a loop marker.
  C_Animation a;
  a.name = "page.kf";
  ASSERT_TRUE(kfLoadBytes(a, bytes.data(), bytes.size(), "page.kf"));
  bool child = false, caption = false, sound = false;
  for (const C_AnimationObject* o : a.flat) {
    child = child || o->parent != nullptr;
    caption = caption || o->textKey.rfind("#", 0) == 0;
    sound = sound || !o->sounds.empty();
  }
  EXPECT_TRUE(child && caption && sound);
  bool loop = false;
  for (const C_StopKey& m : a.markers) loop = loop || (m.markerType == 2 && m.endTime > m.time);
  EXPECT_TRUE(loop);
}

}  // namespace
