// The game's side of the player store.
#include "game/core/player_setup.h"

#include "app/soft_cursor.h"
#include "files/players.h"
#include "game/core/game_main.h"
#include "game/rules/achievements.h"
#include "sound/sound.h"

namespace {
// Each part takes the player's settings when it exists; what is made later (the cursor at the
// last start-up stage) asks for them itself.
void applyPlayer(const PlayerProgress& p) {
  if (!testSetting(TestSwitch::Game_No_Sound)) {
    sndSetCategoryVolume(p.soundOn ? p.sound : 0.0f, SND_SOUND);
    sndSetCategoryVolume(p.musicOn ? p.music : 0.0f, SND_MUSIC);
  }
  if (cursorExists()) cursorSetEnabled(p.cursorOn);
}
}  // namespace

void gamePlayersInit() {
  PlayerHooks hooks;
  hooks.apply = applyPlayer;
  Game::achievementsFillHooks(hooks);
  playersSetHooks(hooks);
  playersLoad();
}

void gameApplyPlayerCursor() {
  if (const PlayerProgress* p = playerProgress(); p && cursorExists()) cursorSetEnabled(p->cursorOn);
}

void gameEnsureTestPlayer() {
  if (playersCount() == 0) playerAdd(u"Test");
  if (playerCurrent() < 0 && playersCount() > 0) playerSelect(0);
  PlayerProgress* p = playerProgress();
  if (!p) return;
  if (int level = testSetting(TestSwitch::Game_Test_Level); level >= 1 && level <= kProgressLevels)
    progressSetLevel(*p, level, false);
  playersSave();
}
