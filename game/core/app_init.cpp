// The start-up stages and their shutdown.
#include "game/core/app_init.h"

#include "anim/anim_catalogue.h"
#include "anim/fx_manager.h"
#include "anim/kf_library.h"
#include "base/diag.h"
#include "app/soft_cursor.h"
#include "files/ini.h"
#include "files/players.h"
#include "files/name_hash.h"
#include "game/core/game_main.h"
#include "game/core/map_factory.h"
#include "game/core/player_setup.h"
#include "game/rules/achievements.h"
#include "gfx/sprite.h"
#include "sound/sound.h"

#include <cstdio>
#include <string>

namespace {
CSprite* g_textFont = nullptr;
}

CSprite* gameTextFont() { return g_textFont; }

void gameAppInitStage(int stage) {
  switch (stage) {
    case 0:
      gameAppInitSound();
      {
      // The accessor's buffer rotates: keep a copy before the sprite layer reads INI files.
      const std::string font = iniGetString("data/fonts/fonts.ini", "TextFont", "name", "");
      g_textFont = font.empty() ? nullptr : sprGetFont(font.c_str());
    }
      gamePlayersInit();
      break;
    case 1: Core::animManager().LoadAnimationCatalogue(); break;
    case 2: kfLibrary().ReloadAll(); break;  // keyframe animations asked for before start-up
    case 3: animInit(testSetting(TestSwitch::Game_Delay_Load_Animations) != 0, testSetting(TestSwitch::Game_Dump_Animations) != 0); break;
    case 4:
      sprLoadLibrary("data/fonts/fonts.ini");
      Map::objectFactoryCreate();  // the run's object factory with the child scripts every level uses
      Game::achievementsCreate();  // with the current player's progress, loaded in stage 0
      break;
    case 5: fxInit(); break;
    case 6: break;  // icon tables of the in-game interface
    case 7: break;  // fog of war
    case 8:
      cursorCreate();
      gameAssignCursorShapes();
      gameApplyPlayerCursor();
      break;
    default: break;
  }
}

// The cursor shapes objects ask for by number ("cursor" key): 1 build, 2 gather, 3 repair,
// 4 upgrade. A shape the catalogue does not have keeps the normal arrow rather than no cursor.
void gameAssignCursorShapes() {
  static constexpr const char* kShapes[] = {"Cursor_Normal", "Cursor_Build", "Cursor_Gather", "Cursor_Repair",
                                            "Cursor_Upgrade"};
  for (int slot = 1; slot < 5; ++slot)
    if (Core::animManager().Find(NameHash(kShapes[slot]))) cursorSetSlotAnimation(slot, kShapes[slot]);
}

void gameAppInitAll() {
  profEnter("APPINIT");
  for (int i = 0; i < kAppInitStages; ++i) {
    gameAppInitStage(i);
    if (testSetting(TestSwitch::Game_Dump_Memory_Statistics)) {
      char label[32];
      std::snprintf(label, sizeof label, "[OnAppInit:Stage%d", i);
      heapStatistics(label, false);
    }
  }
  profLeave();
  gameEnsureTestPlayer();
  if (testSetting(TestSwitch::Game_Dump_Memory_Statistics)) heapStatistics("[OnAppInit:Fin]", false);
  if (testSetting(TestSwitch::Game_Dump_Animations)) Core::animManager().DumpAnimations();
}

void gameAppDoneStages() {
  Map::objectFactoryDestroy();  // its child templates hold animations of the catalogue
  // Achievements counted since the last save (a level left by closing the game) stay the player's.
  if (PlayerProgress* p = playerProgress(); p && Game::achievementTable()) progressSave(*p, ProgressPart::ModeData);
  Game::achievementsDestroy();
  fxDone();
  cursorDestroy();
  sprReleaseLibrary("data/fonts/fonts.ini");
  sprRelease(g_textFont);
  g_textFont = nullptr;
  kfLibrary().ReleaseAll();
  animDone();
}
