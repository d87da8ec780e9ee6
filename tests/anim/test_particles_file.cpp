// Effect files: every key read into its place, defaults, comments and line endings, and broken
// files refused with the file and line in gerr.log, including damaged bytes and missing pictures.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "anim/pyro_format.h"
#include "anim_test_util.h"
#include "particles_test_util.h"

using namespace ptest;

namespace {

constexpr float kDeg = 3.14159265f / 180.f;

TEST(ParticleFormat, ReadsEveryKey) {
  const char* text =
      "\xEF\xBB\xBF; a test effect\r\n"
      "[effect]\r\n"
      "title = Chimney smoke  ; shown nowhere\r\n"
      "version = 1\r\n"
      "\r\n"
      "[Emitter smoke]\r\n"
      "  sprite = pics/puff.png\r\n"
      "BLEND = Additive\r\n"
      "rate = 12.5\n"
      "burst = 3\n"
      "maxParticles = 80\n"
      "delay = 0.25\n"
      "duration = 4\n"
      "life = 1 2.5\n"
      "speed = 10 +20\n"
      "direction = -80\n"
      "spread = 30\n"
      "gravity = 4 -9.5\n"
      "drag = 0.5\n"
      "area = 12 3\n"
      "isRound = 1\n"
      "isAttached = 1\n"
      "angle = -45 45\n"
      "spin = 90\n"
      "sizeVariation = 0.2\n"
      "size = 0 8, 0.5 20, 1 32\n"
      "alpha = 0 0, 0.1 1, 1 0\n"
      "colour = 0 #FFFFFF, 0.4 #a0a0a0C0, 1 #40404000\n"
      "[emitter]\n";
  Pyro::EffectDef def;
  std::string error;
  ASSERT_TRUE(Pyro::pyroParseEffect(text, "fx/smoke.pfx", def, error)) << error;
  EXPECT_EQ(def.title, "Chimney smoke");
  ASSERT_EQ(def.emitters.size(), 2u);
  const Pyro::EmitterDef& e = def.emitters[0];
  EXPECT_EQ(e.id, "smoke");
  EXPECT_EQ(e.sprite, "pics/puff.png");
  EXPECT_TRUE(e.additive);
  EXPECT_FLOAT_EQ(e.rate, 12.5f);
  EXPECT_EQ(e.burst, 3);
  EXPECT_EQ(e.maxParticles, 80);
  EXPECT_FLOAT_EQ(e.delay, 0.25f);
  EXPECT_FLOAT_EQ(e.duration, 4);
  EXPECT_FLOAT_EQ(e.lifeMin, 1);
  EXPECT_FLOAT_EQ(e.lifeMax, 2.5f);
  EXPECT_FLOAT_EQ(e.speedMax, 20);
  EXPECT_FLOAT_EQ(e.direction, -80 * kDeg);
  EXPECT_FLOAT_EQ(e.spread, 30 * kDeg);
  EXPECT_FLOAT_EQ(e.gravityY, -9.5f);
  EXPECT_FLOAT_EQ(e.drag, 0.5f);
  EXPECT_FLOAT_EQ(e.areaWidth, 12);
  EXPECT_TRUE(e.round);
  EXPECT_TRUE(e.attached);
  EXPECT_FLOAT_EQ(e.angleMin, -45 * kDeg);
  EXPECT_FLOAT_EQ(e.spinMin, 90 * kDeg) << "one number gives min and max";
  EXPECT_FLOAT_EQ(e.spinMax, 90 * kDeg);
  EXPECT_FLOAT_EQ(e.sizeVariation, 0.2f);
  ASSERT_EQ(e.size.count, 3);
  EXPECT_FLOAT_EQ(e.size.At(0.25f), 14);
  EXPECT_FLOAT_EQ(e.size.At(2.f), 32) << "held after the last key";
  EXPECT_FLOAT_EQ(e.alpha.At(0.05f), 0.5f);
  ASSERT_EQ(e.color.count, 3);
  float c[4];
  e.color.At(0.4f, c);
  EXPECT_FLOAT_EQ(c[0], 160 / 255.f);
  EXPECT_FLOAT_EQ(c[3], 192 / 255.f);
  e.color.At(0.7f, c);
  EXPECT_NEAR(c[0], 0.5f * (160 + 64) / 255.f, 1e-6f);

  // An emitter without keys takes the defaults and a numbered id.
  const Pyro::EmitterDef& d = def.emitters[1];
  EXPECT_EQ(d.id, "emitter2");
  EXPECT_TRUE(d.sprite.empty());
  EXPECT_FALSE(d.additive);
  EXPECT_FLOAT_EQ(d.rate, 10);
  EXPECT_EQ(d.maxParticles, 500);
  EXPECT_FLOAT_EQ(d.size.At(0.7f), 16);
  d.color.At(0.3f, c);
  EXPECT_FLOAT_EQ(c[3], 1);
}

struct Broken {
  const char* text;
  const char* where;  // "(line): " and the start of the reason
};

TEST(ParticleFormat, BrokenFilesAreRefusedWithTheirLine) {
  const Broken cases[] = {
      {"[emitter]\nrate = abc\n", "(2): expected one number for \"rate\""},
      {"[emitter]\nrate = nan\n", "(2): expected one number"},
      {"[emitter]\nrate = 1e40\n", "(2): expected one number"},
      {"[emitter]\nrate = -1\n", "(2): value out of range for \"rate\""},
      {"[emitter]\nrate = 1 2\n", "(2): expected one number"},
      {"[emitter]\n\n; fine so far\nrat = 5\n", "(4): unknown key \"rat\""},
      {"[emitter]\nlife = 3 1\n", "(2): the maximum is below the minimum"},
      {"[emitter]\nlife = 0\n", "(2): value out of range for \"life\""},
      {"[emitter]\nburst = 2.5\n", "(2): expected a whole number"},
      {"[emitter]\nmaxParticles = 10001\n", "(2): value out of range"},
      {"[emitter]\nblend = multiply\n", "(2): blend is \"alpha\" or \"additive\""},
      {"[emitter]\nisRound = yes\n", "(2): expected 0 or 1"},
      {"[emitter]\ngravity = 1\n", "(2): expected two numbers"},
      {"[emitter]\nsize = 0 1, 0.5\n", "(2): expected \"time value\" pairs"},
      {"[emitter]\nsize = 0 1,\n", "(2): expected \"time value\" pairs"},
      {"[emitter]\nsize = 0 5000\n", "(2): value out of range in \"size\""},
      {"[emitter]\nalpha = 0.5 1, 0.2 0\n", "(2): key times must not fall"},
      {"[emitter]\nalpha = 1.5 1\n", "(2): key times run from 0 to 1"},
      {"[emitter]\nalpha = 0 1, 0.1 1, 0.2 1, 0.3 1, 0.4 1, 0.5 1, 0.6 1, 0.7 1, 0.8 1\n", "(2): too many keys"},
      {"[emitter]\ncolor = 0 #FFF\n", "(2): expected a colour"},
      {"[emitter]\ncolor = #GG0000\n", "(2): expected a colour"},
      {"[emitter]\nspeed\n", "(2): expected \"key = value\""},
      {"[emitter]\nspeed =\n", "(2): missing value for key \"speed\""},
      {"[emitter]\n= 4\n", "(2): missing key name"},
      {"rate = 4\n[emitter]\n", "(1): key before any section"},
      {"[emitter a]\n[emitter A]\n", "(2): emitter id used twice"},
      {"[emitter a b]\n", "(1): unknown section"},
      {"[emitter a.b]\n", "(1): emitter id may hold"},
      {"[emitter\n", "(1): section header without \"]\""},
      {"[smoke]\n", "(1): unknown section \"smoke\""},
      {"[effect]\nversion = 2\n[emitter]\n", "(2): value out of range for \"version\""},
      {"[effect]\nrate = 2\n", "(2): unknown key in [effect]"},
      {"; only a comment\n", "(0): no [emitter] section"},
      {"", "(0): no [emitter] section"},
  };
  for (const Broken& b : cases) {
    Pyro::EffectDef def;
    def.title = "untouched";
    std::string error;
    EXPECT_FALSE(Pyro::pyroParseEffect(b.text, "fx/bad.pfx", def, error)) << b.text;
    EXPECT_EQ(error.rfind(std::string("fx/bad.pfx") + b.where, 0), 0u) << b.text << " gave: " << error;
    EXPECT_EQ(def.title, "untouched") << "a refused file leaves the output alone";
  }
}

TEST(ParticleFormat, LimitsOnSizeLinesZeroBytesAndEmitterCount) {
  Pyro::EffectDef def;
  std::string error;
  std::string many;
  for (int i = 0; i <= Pyro::kMaxEmitters; ++i) many += "[emitter]\n";
  EXPECT_FALSE(Pyro::pyroParseEffect(many, "f", def, error));
  EXPECT_EQ(error, "f(17): too many emitters");
  EXPECT_FALSE(Pyro::pyroParseEffect("[emitter]\ntitle = " + std::string(600, 'x') + "\n", "f", def, error));
  EXPECT_EQ(error, "f(2): line too long");
  EXPECT_FALSE(Pyro::pyroParseEffect(std::string("[emitter]\0\n", 11), "f", def, error));
  EXPECT_EQ(error, "f(0): not a text file (zero byte)");
  std::string big = "[emitter]\n";
  while (big.size() <= Pyro::kMaxFileBytes) big += "; padding padding padding padding padding padding\n";
  EXPECT_FALSE(Pyro::pyroParseEffect(big, "f", def, error));
  EXPECT_EQ(error, "f(0): file too large");
}

TEST(ParticleFormat, DamagedBytesNeverCrashTheReader) {
  const std::string good =
      "[effect]\ntitle = x\n[emitter a]\nrate = 5\nsize = 0 1, 1 2\ncolor = 0 #FFFFFF, 1 #000000\nlife = 1 2\n";
  uint32_t state = 99;
  auto next = [&] { return state = state * 1664525u + 1013904223u; };
  int accepted = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string text = good;
    const int edits = 1 + int(next() % 4);
    for (int k = 0; k < edits && !text.empty(); ++k) {
      const size_t at = next() % text.size();
      switch (next() % 3) {
        case 0: text[at] = char(next() >> 24); break;
        case 1: text.erase(at, 1 + next() % 8); break;
        default: text.resize(at); break;
      }
    }
    Pyro::EffectDef def;
    std::string error;
    if (Pyro::pyroParseEffect(text, "f", def, error)) {
      ++accepted;
      for (const auto& e : def.emitters) {
        EXPECT_GE(e.lifeMax, e.lifeMin);
        EXPECT_LE(e.size.count, Pyro::kMaxCurveKeys);
        EXPECT_TRUE(std::isfinite(e.rate));
      }
    } else {
      EXPECT_EQ(error.rfind("f(", 0), 0u) << error;
    }
  }
  EXPECT_GT(accepted, 0);
}

TEST(ParticleLoad, MissingAndBrokenFilesLogTheirNameAndGiveNoEffect) {
  auto lib = NewLibrary();
  {
    animtest::ErrorCapture log;
    EXPECT_EQ(lib->LoadEffectFile("data/fx/none.pfx"), nullptr);
    EXPECT_NE(log.Text().find("data/fx/none.pfx: particle effect file not found"), std::string::npos);
  }
  {
    animtest::writeText("data/fx/broken.pfx", "[emitter]\nrate = 5\nspeed = fast\n");
    animtest::ErrorCapture log;
    EXPECT_EQ(lib->LoadEffectFile("data/fx/broken.pfx"), nullptr);
    EXPECT_NE(log.Text().find("data/fx/broken.pfx(3): expected \"min max\" or one number for \"speed\""),
              std::string::npos);
  }
  {
    animtest::ErrorCapture log;
    EXPECT_EQ(lib->LoadEffectFile(nullptr), nullptr);
    EXPECT_EQ(lib->LoadEffectFile(""), nullptr);
    EXPECT_EQ(pyroCreateLibrary(1, 0), nullptr) << "another version";
    EXPECT_NE(log.Text().find("particle library version 1"), std::string::npos);
  }
  animtest::writeText("data/fx/good.pfx", "[emitter sparks]\nrate = 5\n[emitter smoke]\n");
  File f(lib->LoadEffectFile("data/fx/good.pfx"));
  ASSERT_TRUE(f);
  EXPECT_STREQ(f->Name(), "data/fx/good.pfx");
  ASSERT_EQ(f->EmitterCount(), 2);
  EXPECT_STREQ(f->Emitter(1)->Id(), "smoke");
  EXPECT_FLOAT_EQ(f->Emitter(0)->Rate(), 5);
  EXPECT_EQ(f->Emitter(2), nullptr);
  EXPECT_EQ(f->Emitter(-1), nullptr);
  {
    animtest::ErrorCapture log;
    EXPECT_EQ(f->CreateEmitter("fire"), nullptr);
    EXPECT_EQ(f->CreateEmitter(nullptr), nullptr);
    EXPECT_NE(log.Text().find("data/fx/good.pfx: no emitter \"fire\""), std::string::npos);
  }
  EXPECT_FALSE(f->Prepare()) << "no device yet";
}

TEST(ParticleLoad, PicturesAreSharedAndAMissingOneOnlySilencesItsEmitter) {
  animtest::writeStrip("data/fx/pics/spark.png", 8, 4, 1);
  // A picture without alpha of its own: its brightness becomes the alpha.
  const uint8_t bgr[2 * 3] = {0x20, 0x40, 0x80, 0, 0, 0};
  ASSERT_TRUE(cFileImage::SaveTGA("data/fx/pics/glow.tga", bgr, 24, 2, -1));
  animtest::writeText("data/fx/two.pfx",
                      "[emitter a]\nsprite = pics/spark.png\nrate = 100\n"
                      "[emitter b]\nsprite = PICS/Spark.png\nrate = 100\n"
                      "[emitter c]\nsprite = pics/gone.png\nrate = 100\n"
                      "[emitter d]\nsprite = pics/glow.tga\n");
  auto lib = NewLibrary();
  RecordingDevice dev;
  lib->SetDevice(&dev);
  File f(lib->LoadEffectFile("data/fx/two.pfx"));
  ASSERT_TRUE(f);
  animtest::ErrorCapture log;
  ASSERT_TRUE(f->Prepare());
  EXPECT_TRUE(f->IsPrepared());
  EXPECT_EQ(dev.texturesMade, 2) << "one picture named twice, and another";
  EXPECT_NE(log.Text().find("data/fx/two.pfx: emitter \"c\" draws nothing: its picture \"pics/gone.png\""),
            std::string::npos);
  for (const char* id : {"a", "c"}) {
    Emitter e(f->CreateEmitter(id));
    RunFor(*e, 0, 0.5f, 0.025f);
    EXPECT_GT(e->ParticleCount(), 0) << id << " still simulates";
    dev.draws.clear();
    e->Render();
    EXPECT_EQ(dev.draws.size(), id[0] == 'a' ? 1u : 0u) << id;
    if (!dev.draws.empty()) {
      const auto* tex = static_cast<const RecordingDevice::Texture*>(dev.draws[0].texture);
      EXPECT_EQ(tex->w, 8);
      EXPECT_EQ(tex->h, 4);
      EXPECT_EQ(tex->pixels[0], 0xFF000000u) << "black with alpha of its own stays opaque";
      // The quad keeps the picture's shape: half as tall as wide.
      const auto& v = dev.draws[0].vertices;
      EXPECT_NEAR((v[2].y - v[0].y) / (v[1].x - v[0].x), 0.5f, 1e-4f);
    }
  }
  Emitter d(f->CreateEmitter("d"));
  d->Emit(1);
  dev.draws.clear();
  d->Render();
  ASSERT_EQ(dev.draws.size(), 1u);
  const auto* glow = static_cast<const RecordingDevice::Texture*>(dev.draws[0].texture);
  ASSERT_EQ(glow->pixels.size(), 2u);
  EXPECT_EQ(glow->pixels[0], 0x80FF7F3Fu) << "alpha from the brightest channel, colour brought up to full";
  EXPECT_EQ(glow->pixels[1], 0u);
  lib->SetDevice(nullptr);
}

}  // namespace
