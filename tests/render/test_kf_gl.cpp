// Through real OpenGL: one frame of a keyframe animation lands where its keys put it: a picture
// turned a quarter by its rotation key shows tall instead of wide, and a child at half opacity
// shows at half brightness over black.
#include <gtest/gtest.h>

#include "support/gl_required.h"

#include <cmath>
#include <filesystem>
#include <vector>

#include "../anim/kf_test_util.h"
#include "anim/kf_library.h"
#include "gfx/image.h"
#include "gfx/render.h"
#include "gfx/render_device.h"
#include "support/gl_pixels.h"

using namespace kftest;

namespace {

using testkit::At;
using testkit::GlUp;
using testkit::Px;


TEST(KeyframeGl, AFrameLandsWhereItsKeysPutIt) {
  if (!GlUp()) MM_SKIP_WITHOUT_GL("no OpenGL offscreen context");
  std::filesystem::create_directories("kfgl");
  std::vector<uint8_t> red(16 * 16 * 4, 0);
  for (size_t i = 0; i < red.size(); i += 4) red[i] = red[i + 3] = 255;
  ASSERT_TRUE(imgSavePNG("kfgl/red.png", red.data(), 16, 16));

  // A 60 x 20 picture turned by a quarter at (300, 200) from the draw point (100, 50): it covers
  // x 390 .. 410 and y 220 .. 280. Its child sits 200 to the parent's right, which the quarter
  // turn sends 200 down: a 20 x 20 square at (400, 450), half transparent.
  auto parent = object("bar");
  parent->pictureName = "kfgl/red.png";
  parent->position = {vkey(0, 300, 200)};
  parent->size = {vkey(0, 60, 20)};
  parent->rotation = {fkey(0, float(M_PI / 2))};
  auto child = addChild(*parent, object("half"));
  child->pictureName = "kfgl/red.png";
  child->position = {vkey(0, 200, 0)};
  child->size = {vkey(0, 20, 20)};
  child->alpha = {fkey(0, 0.5f)};
  auto a = animationOf(listOf(std::move(parent)));
  kfLoadResources(*a);
  ASSERT_NE(a->flat[0]->picture, nullptr);

  C_AnimationPlayback p;
  grBeginScene();
  kfDraw(*a, p, 0, 1, 1, 0, 100, 50);
  std::vector<uint8_t> f;
  int w = 0, h = 0;
  ASSERT_TRUE(grReadFrame(f, w, h));
  grFlip(nullptr, nullptr);
  ASSERT_EQ(w, 1024);
  EXPECT_GT(At(f, w, 400, 250).r, 240) << "the bar's middle";
  EXPECT_GT(At(f, w, 400, 275).r, 240) << "tall: 25 below the middle is still the bar";
  EXPECT_EQ(At(f, w, 425, 250).r, 0) << "narrow: 25 to the right is not";
  EXPECT_EQ(At(f, w, 400, 290).r, 0);
  const Px half = At(f, w, 400, 450);
  EXPECT_NEAR(half.r, 128, 6) << "the child at half opacity";
  EXPECT_EQ(half.g + half.b, 0);
  EXPECT_EQ(At(f, w, 400, 470).r, 0) << "the child is 20 tall";
  for (C_AnimationObject* o : a->flat) o->ReleaseResources();
}

}  // namespace
