// The named event codes keep the numbers of the journal and the game log.
#include <gtest/gtest.h>

#include <set>

#include "game/core/events.h"

TEST(EventCodes, NamesKeepTheirWireNumbers) {
  using Game::Event;
  // A few codes that logs, journals and data of other parts depend on.
  EXPECT_EQ(Game::Code(Event::LevelStarted), 1);
  EXPECT_EQ(Game::Code(Event::AllGoalsCompleted), 6);
  EXPECT_EQ(Game::Code(Event::ObjectAdded), 24);
  EXPECT_EQ(Game::Code(Event::ObjectKilled), 25);
  EXPECT_EQ(Game::Code(Event::FogAreaOpens), 34);
  EXPECT_EQ(Game::Code(Event::BuildingReachable), 48);
  EXPECT_EQ(Game::Code(Event::OperationProgress), 49);
  EXPECT_EQ(Game::Code(Event::PersonArrived), 58);
  EXPECT_EQ(Game::Code(Event::ResourcesPickedUp), 77);
  EXPECT_EQ(Game::Code(Event::NoPathToSubject), 102);
  EXPECT_EQ(Game::Code(Event::InterfaceModalChanged), 136);
  GameEvent e;
  MakeEvent(e, Event::NoPathToSubject);
  EXPECT_EQ(e.code, 102);
  EXPECT_EQ(e.objectId, -1);
  EXPECT_EQ(e.index, 4);
}

TEST(EventCodes, ANamedCodeReachesItsObserversLikeItsNumber) {
  struct Counter : Game::cObserver {
    int seen = 0;
    void OnEvent(GameEvent&) override { ++seen; }
  } counter;
  Game::cEventDispatcher d;
  Register(Game::Event::BuildingReachable, &d, &counter);
  GameEvent e;
  MakeEvent(e, 48);
  Post(&d, e);
  EXPECT_EQ(counter.seen, 1);
  EXPECT_EQ(d.Count(48), 1);
  d.Forget(&counter);
}
