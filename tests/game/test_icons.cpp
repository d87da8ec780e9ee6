// The icons subjects show over themselves: the work progress bar and the pointing arrow.
#include <gtest/gtest.h>

#include <cmath>

#include "game/core/event_codes.h"
#include "game/core/map_factory.h"
#include "game/core/map_object.h"
#include "game/interface/icon_focus_marker.h"
#include "game/interface/icon_hint_marker.h"
#include "game/interface/icon_operation_bar.h"
#include "game/interface/icons_register.h"
#include "support/level_harness.h"

namespace {

GameEvent workStarted(int32_t subject, int32_t durationMs) {
  GameEvent e;
  e.code = int32_t(Game::Event::OperationProgress);
  e.objectId = subject;
  e.value = durationMs;
  return e;
}

TEST(OperationBar, FollowsItsParentsWorkAndHidesWhenDone) {
  Icon::cOperationBar bar;
  bar.parentId = 7;
  bar.SetHidden(true);

  GameEvent other = workStarted(8, 1000);
  bar.OnEvent(other);
  EXPECT_TRUE(bar.Has(Map::kFlagHidden)) << "another subject's work must not show the bar";
  EXPECT_FALSE(bar.Bar().Running());

  GameEvent own = workStarted(7, 2000);
  bar.OnEvent(own);
  EXPECT_FALSE(bar.Has(Map::kFlagHidden));
  bar.UpdateTimers(500);
  EXPECT_FLOAT_EQ(bar.Bar().Fraction(), 0.25f);
  bar.UpdateTimers(1000);
  EXPECT_FLOAT_EQ(bar.Bar().Fraction(), 0.75f);
  EXPECT_FALSE(bar.Has(Map::kFlagHidden));
  bar.UpdateTimers(600);  // past the end
  EXPECT_FLOAT_EQ(bar.Bar().Fraction(), 1.0f);
  EXPECT_TRUE(bar.Has(Map::kFlagHidden));
  EXPECT_FALSE(bar.Bar().Running());

  // A new piece of work starts the bar from empty again.
  GameEvent again = workStarted(7, 400);
  bar.OnEvent(again);
  EXPECT_FLOAT_EQ(bar.Bar().Fraction(), 0.0f);
  EXPECT_FALSE(bar.Has(Map::kFlagHidden));
}

TEST(OperationBar, ZeroDurationOrOtherEventsDoNothing) {
  Icon::cOperationBar bar;
  bar.parentId = 3;
  bar.SetHidden(true);
  GameEvent zero = workStarted(3, 0);
  bar.OnEvent(zero);
  EXPECT_TRUE(bar.Has(Map::kFlagHidden));
  GameEvent wrong = workStarted(3, 500);
  wrong.code = int32_t(Game::Event::OperationProgress) + 1;
  bar.OnEvent(wrong);
  EXPECT_TRUE(bar.Has(Map::kFlagHidden));

  Icon::cBar b;
  b.Start(-5);
  EXPECT_FALSE(b.Running());
  EXPECT_FALSE(b.Advance(100));
  EXPECT_FLOAT_EQ(b.Fraction(), 0.0f);
}

TEST(HintMarker, SecondRequestShowsTheArrowForThreeSeconds) {
  Icon::cObjectHintMarker m;
  m.PointAtPoint(42, {100, 200});
  ASSERT_EQ(m.Entries().size(), 1u);
  EXPECT_EQ(m.Entries()[0].count, 1);
  EXPECT_EQ(m.Showing(42), nullptr) << "one refusal only counts";

  m.PointAtPoint(42, {110, 210});  // the object moved meanwhile: the arrow takes the new anchor
  const auto* e = m.Showing(42);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->count, 2);
  EXPECT_EQ(e->point.x, 110);
  EXPECT_EQ(e->point.y, 210);

  m.UpdateTimers(2999);
  EXPECT_NE(m.Showing(42), nullptr);
  m.UpdateTimers(1);
  EXPECT_EQ(m.Showing(42), nullptr);
  EXPECT_TRUE(m.Entries().empty()) << "a finished arrow forgets the object";

  // Counting starts again from 1.
  m.PointAtPoint(42, {0, 0});
  EXPECT_EQ(m.Showing(42), nullptr);
  m.PointAtPoint(42, {0, 0});
  EXPECT_NE(m.Showing(42), nullptr);
}

TEST(HintMarker, ObjectsAreCountedApartAndRequestsRestartTheTimer) {
  Icon::cObjectHintMarker m;
  m.PointAtPoint(1, {0, 0});
  m.PointAtPoint(2, {5, 5});
  m.PointAtPoint(1, {0, 0});
  EXPECT_NE(m.Showing(1), nullptr);
  EXPECT_EQ(m.Showing(2), nullptr);
  m.UpdateTimers(2000);
  m.PointAtPoint(1, {0, 0});  // third request: another full 3 s
  m.UpdateTimers(2000);
  ASSERT_NE(m.Showing(1), nullptr);
  EXPECT_EQ(m.Showing(1)->count, 3);
  m.UpdateTimers(1000);
  EXPECT_EQ(m.Showing(1), nullptr);
  // The uncounted second object stays listed, waiting for its second request.
  ASSERT_EQ(m.Entries().size(), 1u);
  EXPECT_EQ(m.Entries()[0].objectId, 2);
}

TEST(HintMarker, ArrowStandsBesideThePointFacingIt) {
  // Left half: to the right, not mirrored; the gap is the frame width at phase 0.
  auto left = Icon::cObjectHintMarker::Place(100.0f, 40, 0.0f);
  EXPECT_FALSE(left.mirrored);
  EXPECT_FLOAT_EQ(left.dx, 40.0f);
  // Right half (512 and up): to the left and mirrored; at phase pi/2 the bob is a full 30.
  auto right = Icon::cObjectHintMarker::Place(512.0f, 40, 1.5707963f);
  EXPECT_TRUE(right.mirrored);
  EXPECT_NEAR(right.dx, -70.0f, 1e-3);
  // The phase runs at 0.0031415 per ms and restarts every 2000 ms.
  Icon::cObjectHintMarker m;
  m.UpdateTimers(1000);
  EXPECT_NEAR(m.Phase(), 3.1415f, 1e-3);
  m.UpdateTimers(1500);
  EXPECT_NEAR(m.Phase(), 500 * 0.0031415f, 1e-3);
}

TEST(Icons, FactoryBuildsTheIconClassesForTheirFamilies) {
  Map::cObjectFactory f;
  Icon::iconsRegisterClasses(f);
  Map::cObject* bar = f.Create("icon", "operation");
  Map::cObject* arrow = f.Create("icon", "objectHintMarker");
  ASSERT_NE(bar, nullptr);
  ASSERT_NE(arrow, nullptr);
  EXPECT_NE(dynamic_cast<Icon::cOperationBar*>(bar), nullptr);
  EXPECT_NE(dynamic_cast<Icon::cObjectHintMarker*>(arrow), nullptr);
  bar->Destroy(true);
  arrow->Destroy(true);
}
TEST(Icons, TheBarOnALevelFollowsTheWorkPostedForItsParent) {
  testkit::LevelHarness h;
  Icon::iconsRegisterClasses(h.factory);
  Map::cObject* subject = h.Add("simple", "", "Hut", 300, 300);
  Map::cObject* other = h.Add("simple", "", "Rock", 500, 300);
  auto* bar = dynamic_cast<Icon::cOperationBar*>(h.Add("icon", "operation", "bar", 300, 260));
  ASSERT_TRUE(subject && other && bar);
  bar->parentId = subject->id;
  bar->SetHidden(true);
  h.Ready();

  GameEvent foreign = workStarted(other->id, 1000);
  h.dispatcher.Post(foreign);
  h.Tick(25);
  EXPECT_TRUE(bar->Has(Map::kFlagHidden));

  GameEvent own = workStarted(subject->id, 1000);
  h.dispatcher.Post(own);
  EXPECT_FALSE(bar->Has(Map::kFlagHidden));
  for (int i = 0; i < 20; ++i) h.Tick(25);  // half the work
  EXPECT_NEAR(bar->Bar().Fraction(), 0.5f, 0.03f);
  for (int i = 0; i < 21; ++i) h.Tick(25);
  EXPECT_TRUE(bar->Has(Map::kFlagHidden));
}

TEST(Icons, TheArrowOnALevelPointsAtTheTargetsAnchor) {
  testkit::LevelHarness h;
  Icon::iconsRegisterClasses(h.factory);
  Map::cObject* rock = h.Add("simple", "", "Rock", 640, 410);
  auto* arrow = dynamic_cast<Icon::cObjectHintMarker*>(h.Add("icon", "objectHintMarker", "arrow", 0, 0));
  ASSERT_TRUE(rock && arrow);
  h.Ready();
  arrow->PointAt(h.map, rock->id);
  arrow->PointAt(h.map, rock->id + 1000);  // no such object: ignored
  EXPECT_EQ(arrow->Entries().size(), 1u);
  rock->SetAnchor({650, 420});
  arrow->PointAt(h.map, rock->id);
  const auto* e = arrow->Showing(rock->id);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->point.x, 650);
  EXPECT_EQ(e->point.y, 420);
  for (int i = 0; i < 121; ++i) h.Tick(25);
  EXPECT_EQ(arrow->Showing(rock->id), nullptr);
}
struct Ordered : Map::cObject {
  int32_t state = 0;
  int32_t GetOrderState() const override { return state; }
};

TEST(Icons, TheFocusMarkerTakesItsParentsOrderStateWhileShown) {
  testkit::LevelHarness h;
  Icon::iconsRegisterClasses(h.factory);
  auto* hut = new Ordered;
  hut->id = 900;
  hut->Set(Map::kFlagFreeOnRemove, true);
  hut->SetAnchor({300, 300});
  h.map.Add(hut);
  auto* marker = dynamic_cast<Icon::cFocusMarker*>(h.Add("icon", "focusMarker", "focus", 300, 310));
  ASSERT_NE(marker, nullptr);
  marker->parentId = hut->id;
  h.Ready();
  EXPECT_EQ(marker->State(), Icon::cFocusMarker::kBusy) << "a new marker draws nothing yet";

  hut->state = 1;  // waiting for a person
  h.Tick(25);
  EXPECT_EQ(marker->State(), 1);
  hut->state = 3;
  marker->SetHidden(true);
  h.Tick(25);
  EXPECT_EQ(marker->State(), 1) << "a hidden marker keeps its last state";
  marker->SetHidden(false);
  h.Tick(25);
  EXPECT_EQ(marker->State(), 3);
  hut->state = 17;  // no such state: nothing to draw
  h.Tick(25);
  EXPECT_EQ(marker->State(), Icon::cFocusMarker::kBusy);

  // The pulse: 0.00314 rad per ms, restarting every second; scale 0 counts as 1.
  Icon::cFocusMarker m;
  m.markerScale = 0.0f;
  m.UpdateTimers(500);
  EXPECT_NEAR(m.PulseScale(), 1.0f - 0.1f * std::sin(1.57f), 1e-4);
  m.UpdateTimers(500);
  EXPECT_NEAR(m.Phase(), 0.0f, 1e-6);
}
}  // namespace
