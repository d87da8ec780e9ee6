// Through real OpenGL, on demo level 2 with its Speed button: the bar's groove fills from the left
// as the energy grows, the button's golden ring is missing while it charges, closes when it can be
// fired, glows brighter under the pointer, grows round again while the bonus runs, and the
// darkening of a screen opened over the level covers the whole panel.
#include <gtest/gtest.h>

#include "demo_level_gl.h"
#include "support/gl_required.h"

#include <algorithm>
#include <vector>

#include "game/core/game_view.h"
#include "game/core/level_context.h"
#include "game/interface/bonus_panel.h"
#include "game/interface/interface.h"
#include "game/rules/bonus_controller.h"
#include "gfx/render.h"
#include "platform/platform.h"
#include "support/game_harness.h"
#include "support/gl_pixels.h"
#include "support/input_script.h"

namespace {

// The brightest pixel (r + g + b) of the 5 x 5 block around (x, y), and whether the block is
// golden (a few pixels with much more red and green than blue).
struct Spot {
  int light = 0;
  bool golden = false;
};
Spot Look(const std::vector<uint8_t>& f, int w, int x, int y) {
  Spot s;
  int gold = 0;
  for (int dy = -2; dy <= 2; ++dy)
    for (int dx = -2; dx <= 2; ++dx) {
      const testkit::Px p = testkit::At(f, w, x + dx, y + dy);
      s.light = std::max(s.light, p.r + p.g + p.b);
      gold += p.r > 180 && p.g > 130 && p.b < p.g - 80;
    }
  s.golden = gold >= 3;
  return s;
}

class BonusPanelGl : public rendertest::DemoLevelGl {
 protected:
  const char* CopyName() const override { return "demo_bonus_gl"; }
};

TEST_F(BonusPanelGl, TheBarFillsTheRingTellsTheStateAndTheDarkeningCoversThePanel) {
  testkit::GameHarness h;
  ASSERT_TRUE(h.Load(2));
  h.Action(1);  // the clock, and with it the bar
  Game::cGameView* view = Game::levelContext()->view;
  ASSERT_NE(view, nullptr);
  Interface::UIInterface* ui = view->interfaceWnd();
  ASSERT_NE(ui, nullptr);
  Interface::UIBonusInterface* panel = ui->bonusPanel();
  ASSERT_NE(panel, nullptr);
  ASSERT_NE(panel->Bar(), nullptr);
  Interface::UIBonusOnLevel* speed = panel->ButtonOf(Game::kBonusSpeed);
  ASSERT_NE(speed, nullptr);
  const Game::cBonusController& bonuses = *Game::levelContext()->bonuses;
  const int bx = panel->Bar()->X(), bw = panel->Bar()->Width();
  const int by = panel->Bar()->Y() + panel->Bar()->Height() / 2;
  const int cx = speed->CentreX(), cy = speed->CentreY();
  // The ring's top, which every state of it shows, and its right, which a quarter of it reaches.
  const int topY = cy - 23, rightX = cx + 23;
  const int nearStart = bx + 24, nearEnd = bx + bw * 9 / 10;
  const auto run = [&](int steps) {
    h.Advance(steps);
    panel->Update(0);
  };

  int w = 0;
  run(40);  // 1 s: hardly any energy
  const std::vector<uint8_t> charging = Frame(*view, w);
  ASSERT_EQ(w, kLogicalWidth);
  const Spot emptyBar = Look(charging, w, nearStart, by);
  EXPECT_FALSE(Look(charging, w, cx, topY).golden) << "no ring while it charges";

  ASSERT_FALSE(speed->available());
  run(int((bonuses.Cost(Game::kBonusSpeed) - bonuses.Energy()) / 25));
  ASSERT_TRUE(speed->available());
  const std::vector<uint8_t> ready = Frame(*view, w);
  const Spot filled = Look(ready, w, nearStart, by);
  EXPECT_GT(filled.light, emptyBar.light + 150) << "the groove fills from the left";
  EXPECT_LT(Look(ready, w, nearEnd, by).light, filled.light - 150) << "and only as far as the energy";
  const Spot ring = Look(ready, w, cx, topY);
  EXPECT_TRUE(ring.golden) << "the whole ring once it can be fired";
  EXPECT_TRUE(Look(ready, w, rightX, cy).golden);

  // Under the pointer the ring is lit once more.
  ui->MouseMove(0, testkit::Pack(cx, cy));
  ASSERT_EQ(speed->State(), UIWnd::Active);
  const Spot lit = Look(Frame(*view, w), w, cx, topY);
  EXPECT_GT(lit.light, ring.light + 30);
  ui->MouseMove(0, testkit::Pack(600, 300));

  // Fired, the ring starts again from the top and reaches the right after a quarter of the time.
  ui->KeyDown(VK_LBUTTON_, testkit::Pack(cx, cy));
  ui->KeyUp(VK_LBUTTON_, testkit::Pack(cx, cy));
  ASSERT_TRUE(bonuses.PeriodRunning(Game::kBonusSpeed));
  ui->MouseMove(0, testkit::Pack(600, 300));
  run(1);
  const std::vector<uint8_t> fired = Frame(*view, w);
  EXPECT_FALSE(Look(fired, w, rightX, cy).golden) << "only the first twelfth of the ring";
  run(bonuses.ActPeriod(Game::kBonusSpeed) / 4 / 25);
  const std::vector<uint8_t> quarter = Frame(*view, w);
  EXPECT_TRUE(Look(quarter, w, rightX, cy).golden) << "a quarter of the time, a quarter of the ring";
  EXPECT_FALSE(Look(quarter, w, cx, cy + 23).golden) << "not yet half";

  // A screen over the level darkens the panel with everything else.
  const Spot badge = Look(quarter, w, cx, cy);
  ASSERT_GT(badge.light, 200);
  ui->SetModal(true, false);
  const std::vector<uint8_t> dark = Frame(*view, w);
  EXPECT_LT(Look(dark, w, cx, cy).light, badge.light * 50 / 100);
  EXPECT_LT(Look(dark, w, nearStart, by).light, Look(quarter, w, nearStart, by).light * 50 / 100);
  ui->SetModal(false, false);
}

}  // namespace
