// Numbered events inside a level: the event record, the observer base with its chained observers,
// and the dispatcher that delivers a posted record synchronously to the observers of its code.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "game/core/event_codes.h"

constexpr int kEventCodeCount = 137;  // codes 0 to 136

// Every event carries the same 19 fields; posters fill the ones their event uses.
struct GameEvent {
  int32_t code = 0;
  int32_t objectId = -1;
  int32_t otherId = -1;
  int32_t thirdId = -1;
  int32_t tag = 0;
  int32_t reserved5 = 0;
  int32_t typeHash = 0;
  int32_t subtypeHash = 0;
  int32_t x = 0;
  int32_t y = 0;
  int32_t reserved10 = 0;
  int32_t reserved11 = 0;
  int32_t index = 4;  // resource index, 4 = none
  int32_t amount = 0;
  int32_t value = 0;
  int32_t value2 = 0;
  int32_t extra[3] = {0, 0, 0};
};
static_assert(sizeof(GameEvent) == 19 * 4, "the event record is 19 signed 32-bit fields");

// Resets every field to its default and sets the code. The game names its codes (Game::Event);
// the numeric form serves the journal, the log and tests of the dispatcher itself.
void MakeEvent(GameEvent& event, int32_t code);
inline void MakeEvent(GameEvent& event, Game::Event code) { MakeEvent(event, Game::Code(code)); }

namespace Game {
class cEventDispatcher;

class cObserver {
 public:
  cObserver() = default;
  cObserver(const cObserver&) = delete;
  cObserver& operator=(const cObserver&) = delete;
  // Leaves every list of the current level's dispatcher, so nothing calls a dead observer.
  virtual ~cObserver();

  // Logs "[OnEvent] %d" when "Game_Log_On_Playback" is on, then hands the event to each chained
  // observer in the order they were chained.
  virtual void OnEvent(GameEvent& event);

  void AddChained(cObserver* observer);
  void RemoveChained(cObserver* observer);  // the first occurrence
  int ChainedCount() const { return m_chainCount; }
  cObserver* Chained(int i) const;

 private:
  // Five chained observers fit in place; more go to the heap.
  std::array<cObserver*, 5> m_chainLocal{};
  std::vector<cObserver*> m_chainMore;
  int m_chainCount = 0;
};

// One list of observers per event code. The dispatcher does not own the observers.
class cEventDispatcher {
 public:
  cEventDispatcher();
  ~cEventDispatcher();
  cEventDispatcher(const cEventDispatcher&) = delete;
  cEventDispatcher& operator=(const cEventDispatcher&) = delete;

  bool Register(int32_t code, cObserver* observer);    // appends; duplicates are kept
  bool Unregister(cObserver* observer, int32_t code);  // the first occurrence
  void UnregisterAll(cObserver* observer);             // the first occurrence in every list
  void Forget(cObserver* observer);                    // every occurrence in every list
  void Post(GameEvent& event);

  int Count(int32_t code) const;  // live registrations of the code
  cObserver* At(int32_t code, int i) const;  // the i-th live registration, or null

 private:
  struct List {
    std::vector<cObserver*> entries;  // null marks an entry removed during a delivery
    int delivering = 0;               // deliveries of this code in progress (posts nest)
    bool holes = false;
  };
  void Remove(List& list, size_t i);
  static void Compact(List& list);
  std::array<List, kEventCodeCount> m_lists;
};

// The dispatcher of the running level (none between levels); the staged loader sets it.
void eventSetDispatcher(cEventDispatcher* dispatcher);
cEventDispatcher* eventDispatcher();
}  // namespace Game

// The game's calls. Register and Post name their dispatcher; Unregister works on the level's.
// Codes outside 0 to 136 are refused with a gerr.log line.
void Register(int32_t code, Game::cEventDispatcher* dispatcher, Game::cObserver* observer);
inline void Register(Game::Event code, Game::cEventDispatcher* dispatcher, Game::cObserver* observer) {
  Register(Game::Code(code), dispatcher, observer);
}
void Unregister(Game::cObserver* observer, int32_t code);
inline void Unregister(Game::cObserver* observer, Game::Event code) { Unregister(observer, Game::Code(code)); }
void UnregisterAll(Game::cObserver* observer);
void Post(Game::cEventDispatcher* dispatcher, GameEvent& event);
