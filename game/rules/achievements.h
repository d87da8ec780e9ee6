// The achievement table of the run: 58 achievements defined in "data/interface/achievements.ini",
// counted from the events of the running level, earned one after another, and copied to and from
// the current player's profile for the current game mode.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "game/core/events.h"

struct PlayerHooks;
struct PlayerProgress;

namespace Game {

constexpr int kAchievementCount = 58;
// Characters kept of a text: the book's buffers hold 128 with the terminator.
constexpr size_t kAchievementTextMax = 127;

// Indices of the achievements the code names; the rest are only counted (see OnEvent).
enum AchievementIndex : int {
  kAchPlayStarted = 0,
  kAchWalked = 50,
  kAchNoticeClicked = 54,
};

struct AchievementRecord {
  std::u16string text;  // translated
  std::string icon;     // picture shown with it ("icon"), empty for none
  int32_t value = 0;    // running value, 0 to target
  int32_t order = 0;    // 0 while not earned, else its place in the order of earning (1 first)
  int32_t target = 0;   // "valueToAchieve"; 0 is never earned
  int32_t index = 0;
  uint8_t visible = 0;  // listed before it is earned
  bool Earned() const { return order > 0; }
};

// One achievement as the book lists it: the hidden text stands in for an achievement that is
// neither visible nor earned.
struct AchievementView {
  std::u16string text;
  std::string icon;
  int32_t value = 0, order = 0, target = 0, index = 0;
  bool visible = false, earned = false;
};

// Told of every achievement the moment it is earned (the in-game notice).
class IAchievementListener {
 public:
  virtual ~IAchievementListener() = default;
  virtual void OnAchievementEarned(const AchievementRecord& record) = 0;
};

class cAchievementTable {
 public:
  static constexpr const char* kFile = "data/interface/achievements.ini";

  // Reads the definitions (texts translated) and clears all progress. A missing file or section
  // leaves its achievements empty with target 0 and says so in gerr.log; false when the file is
  // missing.
  bool Load(const char* file = kFile);

  // Adds `amount` to achievement `index` unless it is earned already; reaching the target earns
  // it with the next order number and tells the listener. True when this call earned it.
  // Amounts of 0 or less add nothing.
  bool Add(int index, int32_t amount);
  // The achievements the event counts for.
  void OnEvent(const GameEvent& e);
  // The typed test word: earns the first achievement not yet earned; its index, or -1.
  int GrantTest();

  // Progress of one player and mode, 58 values and 58 orders. Values are kept, clamped to 0 to
  // the target (to 0 and up where the definition is missing, so a broken data file loses
  // nothing); a value at its target without an order is given the next one.
  void CopyIn(const int32_t* values, const int32_t* orders);
  void CopyOut(int32_t* values, int32_t* orders) const;
  // No progress at all (a player without a game mode).
  void ResetProgress();

  const AchievementRecord& Record(int index) const;
  AchievementView View(int index) const;
  int EarnedCount() const;
  int32_t nextOrder() const { return m_nextOrder; }
  const std::u16string& hiddenText() const { return m_hiddenText; }

  // One listener at a time; removing clears it only when it is the one set.
  void SetListener(IAchievementListener* listener) { m_listener = listener; }
  void RemoveListener(IAchievementListener* listener);
  IAchievementListener* listener() const { return m_listener; }

 private:
  void AddThree(int first, int32_t amount);

  std::array<AchievementRecord, kAchievementCount> m_records{};
  std::u16string m_hiddenText;
  int32_t m_nextOrder = 0;
  IAchievementListener* m_listener = nullptr;
};

// The run's table: made at start-up with the game-wide singletons, it lives to shutdown; null
// before and after.
cAchievementTable* achievementTable();
// Builds the table from its file and copies in the current player's progress of the current mode.
void achievementsCreate();
void achievementsDestroy();
// The profile's side: `storeAchievements` copies the table into the record's current mode before
// it is written, `loadAchievements` copies the record's current mode into the table after a load.
void achievementsFillHooks(PlayerHooks& hooks);
void achievementsStoreTo(PlayerProgress& record);
void achievementsLoadFrom(const PlayerProgress& record);

}  // namespace Game
