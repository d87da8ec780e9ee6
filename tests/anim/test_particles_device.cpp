// The game's particle device on the null renderer: blend bytes, bitmaps, textures on particle atlas
// pages of their own, quads mapped into the tile and sent as one batch, placement again after the
// device went away, and whole effects drawn through the renderer.
#include <gtest/gtest.h>

#include "support/null_renderer.h"

#include <cstdlib>

#include "anim/pyro_atlas.h"
#include "anim/pyro_device.h"
#include "anim_test_util.h"
#include "gfx/render_device.h"
#include "particles_test_util.h"

using namespace ptest;
using PyroParticles::CPyroBitmapTexture;
using PyroParticles::CPyroGraphics;
using PyroParticles::CPyroTexture;

namespace {

void EnsureRenderer() { ASSERT_TRUE(testkit::StartNullRenderer("particle tests")); }

// The ARGB of texel (x, y) of a texture, read from the copy the null device keeps.
uint32_t Texel(CBaseTexture* t, int x, int y) {
  int pitch = 0;
  const uint8_t* p = t->Lock(pitch);
  if (!p) return 0;
  const TexturePixelFormat& f = *t->format;
  uint32_t v = 0;
  for (int i = 0; i < f.bytesPerPixel; ++i) v |= uint32_t(p[size_t(y) * pitch + size_t(x) * f.bytesPerPixel + i]) << (8 * i);
  auto chan = [&](int c) -> uint32_t {
    const uint32_t x = (v >> f.shift[c]) & ((1u << f.bits[c]) - 1);
    return x * 255 / ((1u << f.bits[c]) - 1);
  };
  return chan(3) << 24 | chan(0) << 16 | chan(1) << 8 | chan(2);
}

std::unique_ptr<CPyroTexture> MakeTexture(CPyroGraphics& dev, int w, int h, uint32_t fill) {
  std::vector<uint32_t> px(size_t(w) * h, fill);
  std::unique_ptr<PyroGraphics::CBitmap> bmp(dev.CreateBitmap(w, h, PyroGraphics::kBitmapARGB32, px.data()));
  if (!bmp) return nullptr;
  return std::unique_ptr<CPyroTexture>(static_cast<CPyroTexture*>(dev.CreateTexture(bmp.get())));
}

class ParticleDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureRenderer();
    pagesBefore_ = CPyroBitmapTexture::PageCount();
  }
  void TearDown() override { EXPECT_EQ(CPyroBitmapTexture::PageCount(), pagesBefore_) << "every page given back"; }
  CPyroGraphics dev;
  int pagesBefore_ = 0;
};

TEST_F(ParticleDevice, BlendBytesModesAndRefusedRequests) {
  EXPECT_EQ(dev.Mode().word, grModeWord(4, 4, 1, 6, 5)) << "alpha blending until told otherwise";
  EXPECT_EQ(dev.Mode().mask, 15);
  dev.SetBlend(PyroGraphics::kBlendSrcAlpha, PyroGraphics::kBlendOne);
  EXPECT_EQ(dev.Mode().word >> 24, 0x25u);
  EXPECT_EQ(dev.Mode().word & 0xFFFFFFu, 0x010404u) << "bytes 4, 4, 1";
  dev.SetBlend(PyroGraphics::kBlendOne, PyroGraphics::kBlendZero);
  EXPECT_EQ(dev.Mode().word >> 24, 0x12u);
  EXPECT_EQ(dev.Init(), 0);
  EXPECT_EQ(dev.CreateIndexBuffer(), -1);
  EXPECT_EQ(dev.Flush(), 0);

  const uint32_t px[4] = {};
  EXPECT_EQ(dev.CreateBitmap(2, 2, 7, px), nullptr) << "unknown format";
  EXPECT_EQ(dev.CreateBitmap(0, 2, PyroGraphics::kBitmapARGB32, px), nullptr);
  EXPECT_EQ(dev.CreateBitmap(2, 2, PyroGraphics::kBitmapARGB32, nullptr), nullptr);
  EXPECT_EQ(dev.CreateTexture(nullptr), nullptr);
  EXPECT_EQ(dev.CreateVertexBuffer2(nullptr), nullptr);
  std::unique_ptr<PyroGraphics::CVertexBuffer> raw(dev.CreateVertexBuffer());
  EXPECT_EQ(raw->SizeBytes(), 49152);
  EXPECT_EQ(raw->QuadCapacity(), 512);
}

TEST_F(ParticleDevice, TexturesLandOnParticlePagesWithARepeatedBorder) {
  std::vector<uint32_t> px(6 * 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 6; ++x) px[size_t(y) * 6 + x] = 0x80000000u | uint32_t(x * 40) << 16 | uint32_t(y * 100) << 8;
  std::unique_ptr<PyroGraphics::CBitmap> bmp(dev.CreateBitmap(6, 3, PyroGraphics::kBitmapARGB32, px.data()));
  ASSERT_TRUE(bmp);
  std::unique_ptr<CPyroTexture> tex(static_cast<CPyroTexture*>(dev.CreateTexture(bmp.get())));
  ASSERT_TRUE(tex);
  EXPECT_EQ(tex->Width(), 6);
  EXPECT_EQ(tex->Height(), 3);
  const SpriteTile* tile = tex->Sprite()->Tile();
  ASSERT_NE(tile, nullptr);
  auto* page = dynamic_cast<CPyroBitmapTexture*>(tile->texture);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->format, grAlphaFormat());
  EXPECT_EQ(page->width, txPageSize());
  EXPECT_EQ(page->slots, nullptr) << "sprite pictures must not find room here";
  EXPECT_EQ(tile->right - tile->left, 6);
  EXPECT_EQ(tile->bottom - tile->top, 3);
  EXPECT_EQ(tile->borderX, 1);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(Texel(page, tile->left + x, tile->top + y), px[size_t(y) * 6 + x]) << x << "," << y;
  EXPECT_EQ(Texel(page, tile->left - 1, tile->top - 1), px[0]) << "corner of the border";
  EXPECT_EQ(Texel(page, tile->right, tile->top + 2), px[2 * 6 + 5]) << "right border repeats the last column";
  EXPECT_EQ(Texel(page, tile->left + 3, tile->bottom), px[2 * 6 + 3]) << "bottom border repeats the last row";
  EXPECT_EQ(page->FreeCells(), 64 * 64 - 1) << "8 x 5 texels take one cell";

  // A second texture shares the page (first fit); sprite atlas pictures go elsewhere.
  auto other = MakeTexture(dev, 20, 20, 0xFFFFFFFFu);
  ASSERT_TRUE(other && other->Sprite()->Tile());
  EXPECT_EQ(other->Sprite()->Tile()->texture, page);
  EXPECT_EQ(other->Sprite()->Tile()->left, 8 + 1);
  std::vector<SpriteTile> spriteTiles;
  txPlaceInAtlas(grAlphaFormat(), 0, 0, 10, 10, 1, 1, spriteTiles);
  ASSERT_EQ(spriteTiles.size(), 1u);
  EXPECT_NE(spriteTiles[0].texture, page);
  for (auto& t : spriteTiles) txReleaseTile(t);

  EXPECT_EQ(page->RefCount(), 2);
  tex.reset();
  EXPECT_EQ(page->RefCount(), 1);
  EXPECT_EQ(page->FreeCells(), 64 * 64 - 9);
  // Too large for a page: no tile, nothing to draw.
  auto huge = MakeTexture(dev, txPageSize(), 4, 0xFFFFFFFFu);
  ASSERT_TRUE(huge);
  EXPECT_EQ(huge->Sprite()->Tile(), nullptr);
}

TEST_F(ParticleDevice, QuadsAreMappedIntoTheTileAndSentAsOneBatch) {
  auto tex = MakeTexture(dev, 16, 8, 0xFFFFFFFFu);
  ASSERT_TRUE(tex);
  const SpriteTile tile = *tex->Sprite()->Tile();
  std::unique_ptr<PyroGraphics::CVertexBuffer> raw(dev.CreateVertexBuffer());
  std::unique_ptr<PyroGraphics::IVertexBuffer> quads(dev.CreateVertexBuffer2(raw.get()));
  ASSERT_TRUE(quads);
  EXPECT_EQ(quads->QuadCapacity(), 512);
  PyroGraphics::Vertex* v = quads->Append(3);
  ASSERT_NE(v, nullptr);
  for (int q = 0; q < 3; ++q) {
    v[4 * q + 0] = {10.f + q, 20, 0, 0xFF112233u, 0, 0};
    v[4 * q + 1] = {30.f + q, 20, 0, 0xFF112233u, 1, 0};
    v[4 * q + 2] = {10.f + q, 40, 0, 0xFF112233u, 0, 1};
    v[4 * q + 3] = {30.f + q, 40, 0, 0xFF112233u, 0.5f, 1};
  }
  EXPECT_EQ(quads->Append(510), nullptr) << "no room for 510 more";
  dev.SetTexture(tex.get());
  dev.SetBlend(PyroGraphics::kBlendSrcAlpha, PyroGraphics::kBlendOne);
  int calls = -1;
  const int vertices = animtest::verticesDrawnBy([&] {
    const int before = grStatistic(kStatDrawPrimitive);
    dev.DrawQuads(quads.get());
    grSetClip(0, 0, kLogicalWidth, kLogicalHeight);
    calls = grStatistic(kStatDrawPrimitive) - before;
  });
  EXPECT_EQ(vertices, 12);
  EXPECT_EQ(calls, 1) << "one batch";
  const auto& out = dev.LastVertices();
  ASSERT_EQ(out.size(), 12u);
  EXPECT_EQ(dev.LastPage(), tile.texture);
  const float pw = tile.texture->width, ph = tile.texture->height;
  EXPECT_FLOAT_EQ(out[0].u, tile.left / pw);
  EXPECT_FLOAT_EQ(out[0].v, tile.top / ph);
  EXPECT_FLOAT_EQ(out[1].u, tile.right / pw);
  EXPECT_FLOAT_EQ(out[3].u, (tile.left + 8) / pw) << "halfway across the tile";
  EXPECT_FLOAT_EQ(out[3].v, tile.bottom / ph);
  EXPECT_FLOAT_EQ(out[5].x, 31);
  EXPECT_FLOAT_EQ(out[2].z, 0.5f);
  EXPECT_EQ(out[2].diffuse, 0xFF112233u);

  // Bad ranges, no texture, or a texture of another device: nothing.
  EXPECT_EQ(animtest::verticesDrawnBy([&] {
              dev.DrawQuads(raw.get(), 510, 3);
              dev.DrawQuads(raw.get(), -1, 2);
              dev.DrawQuads(raw.get(), 0, 0);
              dev.DrawQuads(static_cast<PyroGraphics::CVertexBuffer*>(nullptr), 0, 1);
              RecordingDevice::Texture foreign;
              dev.SetTexture(&foreign);
              dev.DrawQuads(raw.get(), 0, 1);
              dev.SetTexture(nullptr);
              dev.DrawQuads(raw.get(), 0, 1);
            }),
            0);
  quads.reset();
}

TEST_F(ParticleDevice, ATileWhosePageLostItsDeviceIsPlacedAgain) {
  auto tex = MakeTexture(dev, 4, 4, 0xFF00FF00u);
  ASSERT_TRUE(tex && tex->Sprite()->Tile());
  CBaseTexture* old = tex->Sprite()->Tile()->texture;
  const int pages = CPyroBitmapTexture::PageCount();
  old->ReleaseDevice();  // as after a change of device
  const SpriteTile* tile = tex->Sprite()->Tile();
  ASSERT_NE(tile, nullptr);
  ASSERT_TRUE(tile->texture->HasDevice());
  EXPECT_EQ(CPyroBitmapTexture::PageCount(), pages) << "the dead page went, a new one came";
  EXPECT_EQ(Texel(tile->texture, tile->left, tile->top), 0xFF00FF00u) << "from the kept pixels";
}

TEST_F(ParticleDevice, EffectsDrawThroughTheRenderer) {
  auto lib = NewLibrary(3);
  lib->SetDevice(&dev);
  auto file = Load(*lib, "[emitter a]\nrate = 200\nlife = 1\nblend = additive\n[emitter b]\nrate = 0\nburst = 7\nlife = 5\n");
  ASSERT_TRUE(file->Prepare());
  auto a = Emitter(file->CreateEmitter("a"));
  auto b = Emitter(file->CreateEmitter("b"));
  for (auto* e : {a.get(), b.get()}) RunFor(*e, 0, 0.5f, 0.025f, 300, 200);
  EXPECT_EQ(b->ParticleCount(), 7);
  const int vertices = animtest::verticesDrawnBy([&] {
    a->Render();
    b->Render();
  });
  EXPECT_EQ(vertices, 4 * (a->ParticleCount() + 7));
  EXPECT_EQ(a->DrawnCount(), a->ParticleCount());
  file->ReleaseResources();
  EXPECT_EQ(animtest::verticesDrawnBy([&] { a->Render(); }), 0);
  lib->SetDevice(nullptr);
}

TEST_F(ParticleDevice, TheDemoEffectsLoadCleanlyAndDraw) {
  const char* src = std::getenv("MM_SOURCE_DIR");
  if (!src) GTEST_SKIP() << "MM_SOURCE_DIR names the source tree";
  const std::string demo = std::string(src) + "/demo/";
  auto lib = NewLibrary(1);
  lib->SetDevice(&dev);
  animtest::ErrorCapture log;
  for (const char* name : {"data/fx/sparkles.pfx", "data/fx/chimney_smoke.pfx"}) {
    File f(lib->LoadEffectFile((demo + name).c_str()));
    ASSERT_TRUE(f) << name;
    ASSERT_TRUE(f->Prepare());
    std::vector<Emitter> emitters;
    for (int i = 0; i < f->EmitterCount(); ++i) emitters.emplace_back(f->CreateEmitter(f->Emitter(i)->Id()));
    for (auto& e : emitters) {
      e->Restart();
      RunFor(*e, 0, 3, 0.025f, 512, 384);
    }
    const int vertices = animtest::verticesDrawnBy([&] {
      for (auto& e : emitters) e->Render();
    });
    EXPECT_GT(vertices, 40) << name;
  }
  EXPECT_EQ(log.Text().find("pfx"), std::string::npos) << log.Text();
  lib->SetDevice(nullptr);
}

}  // namespace
