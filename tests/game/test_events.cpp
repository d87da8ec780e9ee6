// Events: delivery order, depth-first nested posts, observers joining and leaving during a delivery,
// double registrations, refused codes, chained observers and the debug log lines.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "files/ini.h"
#include "game/core/events.h"
#include "game/core/game_main.h"
#include "game_test_util.h"

namespace {
using Game::cEventDispatcher;
using Game::cObserver;

// Writes its name and the event code to a shared trace, then runs an optional action.
struct Probe : cObserver {
  std::string name;
  std::string* trace;
  std::function<void(GameEvent&)> action;
  int runs = -1;  // how many more calls run the action; -1 for all
  Probe(std::string n, std::string* t) : name(std::move(n)), trace(t) {}
  void OnEvent(GameEvent& e) override {
    *trace += name + std::to_string(e.code) + " ";
    if (action && runs != 0) {
      if (runs > 0) --runs;
      action(e);
    }
  }
};

// Deletes itself through its owner while it is being called.
struct SelfDeleting : cObserver {
  std::unique_ptr<SelfDeleting>* owner = nullptr;
  std::string* trace = nullptr;
  void OnEvent(GameEvent& e) override {
    *trace += "g" + std::to_string(e.code) + " ";
    owner->reset();
  }
};

void setLogOnPlayback(bool on) {
  gametest::writeFile("events_test.ini", std::string("[main]\nGame_Log_On_Playback=") + (on ? "1" : "0") + "\n");
  iniFreeAll();
  testSettingsLoad("events_test.ini");
}

GameEvent event(int code) {
  GameEvent e;
  MakeEvent(e, code);
  return e;
}
}  // namespace

TEST(Events, RecordDefaults) {
  GameEvent e;
  e.amount = 9;
  e.extra[2] = 5;
  MakeEvent(e, 27);
  EXPECT_EQ(e.code, 27);
  EXPECT_EQ(e.objectId, -1);
  EXPECT_EQ(e.otherId, -1);
  EXPECT_EQ(e.thirdId, -1);
  EXPECT_EQ(e.index, 4);
  EXPECT_EQ(e.amount, 0);
  EXPECT_EQ(e.extra[2], 0);
}

TEST(Events, OrderNestingAndSharedRecord) {
  std::string trace;
  cEventDispatcher d;
  Probe a("a", &trace), b("b", &trace), c("c", &trace);
  Register(5, &d, &a);
  Register(5, &d, &b);
  Register(6, &d, &c);
  // a posts 6 from inside 5 and changes the record: c runs before b, and b sees the change.
  a.action = [&](GameEvent& e) {
    GameEvent inner = event(6);
    Post(&d, inner);
    e.amount = 77;
  };
  int seen = 0;
  b.action = [&](GameEvent& e) { seen = e.amount; };
  GameEvent e = event(5);
  Post(&d, e);
  EXPECT_EQ(trace, "a5 c6 b5 ");
  EXPECT_EQ(seen, 77);
  Post(nullptr, e);  // no dispatcher: nothing
  EXPECT_EQ(trace, "a5 c6 b5 ");
}

TEST(Events, JoiningAndLeavingDuringADelivery) {
  std::string trace;
  cEventDispatcher d;
  Probe a("a", &trace), b("b", &trace), c("c", &trace), late("n", &trace);
  for (Probe* p : {&a, &b, &c}) Register(9, &d, p);

  // An observer that leaves while it is being called: the next one still gets the event.
  a.action = [&](GameEvent&) { d.Unregister(&a, 9); };
  GameEvent e = event(9);
  Post(&d, e);
  EXPECT_EQ(trace, "a9 b9 c9 ");
  EXPECT_EQ(d.Count(9), 2);

  // One that removes a later observer: that one is not called; one registered now is.
  trace.clear();
  a.action = nullptr;
  b.runs = 1;
  b.action = [&](GameEvent&) {
    d.Unregister(&c, 9);
    d.Register(9, &late);
  };
  Post(&d, e);
  EXPECT_EQ(trace, "b9 n9 ");
  EXPECT_EQ(d.At(9, 0), &b);
  EXPECT_EQ(d.At(9, 1), &late);
  EXPECT_EQ(d.At(9, 2), nullptr);

  // Leaving inside a nested post of the same code: the outer delivery loses no one either.
  trace.clear();
  Register(9, &d, &c);  // b, late, c
  b.runs = 1;
  late.runs = 1;
  late.action = [&](GameEvent&) { d.Unregister(&late, 9); };
  b.action = [&](GameEvent&) {
    GameEvent inner = event(9);
    Post(&d, inner);
  };
  Post(&d, e);
  EXPECT_EQ(trace, "b9 b9 n9 c9 c9 ");
  EXPECT_EQ(d.Count(9), 2);
}

TEST(Events, DoubleRegistrationAndDestroyedObservers) {
  std::string trace;
  cEventDispatcher d;
  Game::eventSetDispatcher(&d);
  Probe a("a", &trace);
  Register(3, &d, &a);
  Register(3, &d, &a);
  GameEvent e = event(3);
  Post(&d, e);
  EXPECT_EQ(trace, "a3 a3 ");
  Unregister(&a, 3);  // one of the two
  trace.clear();
  Post(&d, e);
  EXPECT_EQ(trace, "a3 ");

  // UnregisterAll takes one registration of every code; a destroyed observer leaves every list.
  Register(3, &d, &a);
  Register(4, &d, &a);
  UnregisterAll(&a);
  EXPECT_EQ(d.Count(3), 1);
  EXPECT_EQ(d.Count(4), 0);
  {
    auto gone = std::make_unique<SelfDeleting>();
    gone->owner = &gone;
    gone->trace = &trace;
    Register(3, &d, gone.get());
    Register(3, &d, gone.get());
    // It deletes itself while being called; the observer after it still runs.
    Probe after("z", &trace);
    Register(3, &d, &after);
    trace.clear();
    Post(&d, e);
    EXPECT_EQ(trace, "a3 g3 z3 ");
    EXPECT_EQ(d.Count(3), 2);  // a, after
    d.Unregister(&after, 3);
  }
  Game::eventSetDispatcher(nullptr);
}

TEST(Events, CodesOutsideTheTableAreRefused) {
  gametest::clearGerr();
  setLogOnPlayback(true);
  ASSERT_TRUE(gameLogOpen("events_log.txt"));
  std::string trace;
  cEventDispatcher d;
  Probe a("a", &trace);
  Register(137, &d, &a);
  Register(-1, &d, &a);
  Register(136, &d, &a);
  Register(0, &d, &a);
  Register(5, &d, nullptr);  // no observer: nothing
  EXPECT_EQ(d.Count(5), 0);
  for (int code : {137, -1, 1000000}) {
    GameEvent e = event(code);
    Post(&d, e);
  }
  GameEvent e = event(136);
  Post(&d, e);
  EXPECT_EQ(trace, "a136 ");
  gameLogClose();
  EXPECT_EQ(gametest::readFile("events_log.txt"), "[Event] 137\n[Event] -1\n[Event] 1000000\n[Event] 136\n");
  std::string gerr = gametest::gerrText();
  EXPECT_NE(gerr.find("code 137 refused"), std::string::npos);
  EXPECT_NE(gerr.find("code -1 refused"), std::string::npos);
  EXPECT_NE(gerr.find("post: code 1000000 refused"), std::string::npos);
  setLogOnPlayback(false);
}

TEST(Events, ChainedObserversFollowTheBase) {
  std::string trace;
  std::vector<std::unique_ptr<Probe>> chain;
  cObserver hub;
  for (int i = 0; i < 7; ++i) {  // more than fit in place
    chain.push_back(std::make_unique<Probe>("c" + std::to_string(i) + ":", &trace));
    hub.AddChained(chain.back().get());
  }
  hub.RemoveChained(chain[1].get());
  hub.RemoveChained(chain[5].get());
  EXPECT_EQ(hub.ChainedCount(), 5);
  setLogOnPlayback(true);
  ASSERT_TRUE(gameLogOpen("events_chain.txt"));
  cEventDispatcher d;
  Register(2, &d, &hub);
  GameEvent e = event(2);
  Post(&d, e);
  gameLogClose();
  setLogOnPlayback(false);
  EXPECT_EQ(trace, "c0:2 c2:2 c3:2 c4:2 c6:2 ");
  EXPECT_EQ(gametest::readFile("events_chain.txt"), "[Event] 2\n[OnEvent] 2\n");
}
