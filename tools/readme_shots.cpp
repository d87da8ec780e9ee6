// readme_shots OUTDIR: plays the game from its start, headless, as a new player would, and saves
// three screenshots as PNG files for the README: the main menu (menu.png), demo level 1 with its
// workers busy (level.png, after the intro story) and the level map (levelmap.png, once level 1
// is left). Run it in a copy of the demo folder with MEADOWMARK_HEADLESS=gl and a user folder of
// its own (tools/readme_shots.sh does).
// Everything goes through the game's input path and its step clock, so the pictures come out the
// same on every run.
#include <cstdio>
#include <functional>
#include <string>

#include "app/app.h"
#include "app/soft_cursor.h"
#include "files/name_hash.h"
#include "game/core/game_main.h"
#include "game/core/game_view.h"
#include "game/core/level_context.h"
#include "game/core/tips.h"
#include "game/core/map.h"
#include "game/menus/comics.h"
#include "game/menus/level_button.h"
#include "game/menus/level_menu.h"
#include "game/menus/main_menu.h"
#include "gfx/render.h"
#include "platform/platform.h"
#include "ui/wnd.h"

namespace {

constexpr int kStepMs = 25;

UIWnd* Screen() { return wndRoot() ? wndRoot()->Child(0) : nullptr; }
template <class T>
T* ScreenAs() {
  return dynamic_cast<T*>(Screen());
}

int Pack(int x, int y) { return (x & 0xFFFF) | (y << 16); }

// Runs loop passes until `steps` more update steps have run; false when the program ended.
bool Run(int steps) {
  const int target = gameStepCount() + steps;
  for (int pass = 0; gameStepCount() < target && pass < steps * 100 + 100; ++pass) {
    platAdvanceClock(kStepMs);
    if (!appLoopPass() || gameFrame() != 0) return false;
  }
  return true;
}

bool RunUntil(const std::function<bool()>& done, int maxSteps, int keyEvery = 0, int key = 'A') {
  for (int i = 0; i < maxSteps; ++i) {
    if (done()) return true;
    if (keyEvery && i % keyEvery == keyEvery - 1) {
      wndOfferKeyDown(key, 1);
      wndOfferKeyUp(key, 1);
    }
    if (!Run(1)) return false;
  }
  return done();
}

void Key(int vk) {
  wndOfferKeyDown(vk, 1);
  wndOfferKeyUp(vk, 1);
  Run(1);
}

// The pointer, with the drawn cursor following it as the shell's mouse would move it.
void PointAt(int x, int y) {
  cursorMoveTo(x, y);
  wndOfferMouseMove(0, Pack(x, y));
}

void ClickAt(int x, int y) {
  PointAt(x - 20, y);
  Run(1);
  PointAt(x, y);
  Run(1);
  wndOfferKeyDown(VK_LBUTTON_, Pack(x, y));
  Run(1);
  wndOfferKeyUp(VK_LBUTTON_, Pack(x, y));
  Run(1);
}

bool ClickWindow(const UIWnd* w) {
  if (!w) return false;
  ClickAt(w->X() + w->Width() / 2, w->Y() + w->Height() / 2);
  return true;
}

// Clicks the level's object of that name at a point the map gives to it.
// A tutorial tip is read and closed with its OK, as a player does; false when none is open.
bool CloseTip() {
  const Game::LevelContext* level = Game::levelContext();
  if (!level || !level->view || !level->view->TipOpen()) return false;
  return ClickWindow(level->view->tips()->FindChild("OK"));
}

bool ClickObject(const char* name) {
  Game::LevelContext* level = Game::levelContext();
  if (!level || !level->map) return false;
  const Map::cObject* o = level->map->FindByTag(NameHash(name));
  if (!o) return false;
  const int cx = int(o->x) + o->boundCentre.x, cy = int(o->y) + o->boundCentre.y;
  for (int dy = 0; dy < o->boundHalfSize.y; dy += 4)
    for (int dx = 0; dx < o->boundHalfSize.x; dx += 4)
      for (int sy : {1, -1})
        for (int sx : {1, -1})
          if (level->map->HitTest(cx + sx * dx, cy + sy * dy) == o) {
            ClickAt(cx + sx * dx, cy + sy * dy);
            return true;
          }
  return false;
}

bool Shot(const std::string& dir, const char* name) {
  const std::string path = dir + "/" + name;
  grRequestScreenshot(path);
  Run(2);
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    std::fprintf(stderr, "readme_shots: %s was not written\n", path.c_str());
    return false;
  }
  std::fclose(f);
  std::printf("readme_shots: %s\n", path.c_str());
  return true;
}

int Fail(const char* what) {
  std::fprintf(stderr, "readme_shots: %s\n", what);
  return 1;
}

int Shoot(const std::string& dir) {
  // The logos and the loading screen pass at a key.
  if (!RunUntil([] { return ScreenAs<Menu::UIMainMenu>() != nullptr; }, 3000, 20)) return Fail("no main menu");
  // A first start asks for the player's name.
  Run(40);
  for (char c : std::string("Robin")) {
    wndOfferChar(c, 1);
    Run(1);
  }
  Key(VK_RETURN_);
  Run(80);
  PointAt(600, 300);
  Run(40);
  if (!Shot(dir, "menu.png")) return 1;

  auto* menu = ScreenAs<Menu::UIMainMenu>();
  if (!menu || !ClickWindow(menu->FindChild("Play"))) return Fail("no Play on the main menu");
  Run(40);
  Key(VK_RETURN_);  // the game mode offered
  // A new player hears the intro first; Escape ends it, and level 1 starts at once.
  if (!RunUntil([] {
        auto* c = ScreenAs<Menu::UIComics>();
        return c && c->ComicsState() == Menu::UIComics::kShowing;
      }, 600))
    return Fail("no intro");
  Key(VK_ESCAPE_);
  if (!RunUntil([] { return ScreenAs<Game::cGameView>() != nullptr; }, 1200)) return Fail("level 1 did not start");
  // The opening story: Enter reads it through.
  for (int i = 0; i < 16; ++i) {
    Key(VK_RETURN_);
    Run(1000 / kStepMs);
  }
  // Level 1's tutorial points at the bridge ("Food4") and then the garden ("Totem11").
  CloseTip();
  Run(2);
  if (!ClickObject("Food4")) return Fail("no bridge to mend on level 1");
  Run(10000 / kStepMs);
  CloseTip();
  Run(2);
  ClickObject("Totem11");
  ClickObject("FoodBasket");
  Run(3000 / kStepMs);
  // Resting on the granary, the pointer opens its hint.
  if (const Game::LevelContext* level = Game::levelContext(); level && level->map)
    if (const Map::cObject* granary = level->map->FindByTag(NameHash("Granary"))) {
      PointAt(int(granary->x) + granary->boundCentre.x - 30, int(granary->y) + granary->boundCentre.y);
      Run(2);
      PointAt(int(granary->x) + granary->boundCentre.x, int(granary->y) + granary->boundCentre.y);
    }
  Run(40);
  if (!Shot(dir, "level.png")) return 1;

  // Leaving the level through the pause menu ("Leave the level", then Yes) shows the level map.
  Key(VK_ESCAPE_);
  Run(20);
  ClickAt(512, 500);
  Run(20);
  Key(VK_RETURN_);
  if (!RunUntil([] { return ScreenAs<Menu::UILevelMenu>() != nullptr; }, 600)) return Fail("no level map");
  Run(80);
  auto* map = ScreenAs<Menu::UILevelMenu>();
  if (map && map->Button(1)) {
    const UIWnd* b = map->Button(1);
    PointAt(b->X() + b->Width() / 2, b->Y() + b->Height() / 2);
  }
  Run(40);
  return Shot(dir, "levelmap.png") ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: readme_shots OUTDIR (in a copy of the demo folder)\n");
    return 2;
  }
  platUseManualClock(true, 1000);
  if (appInit(gameInput) != 0) return Fail("the game did not start");
  int rc = 1;
  if (gameInit()) rc = Shoot(argv[1]);
  gameDone();
  appDone();
  return rc;
}
