// The minimal level view.
#include "game/core/level_view.h"

#include "game/core/game_main.h"
#include "game/core/person.h"
#include "gfx/render.h"
#include "game/core/level_context.h"

namespace Game {

UILevelView::UILevelView() { SetPos(0, 0); }

int UILevelView::Update(int dt) {
  UIWnd::Update(dt);
  LevelContext* c = levelContext();
  // Once finishing is over the level stays on screen as it ended.
  if (c && c->model && m_result != 2) m_result = c->model->Update(dt);
  return 0;
}

int UILevelView::Draw() {
  if (LevelContext* c = levelContext(); c && c->map) {
    c->map->SortForDrawing();
    c->map->DrawAll(Map::DrawContext{});
    // Until the level's art is drawn by the game view, objects show as outlines and persons
    // without animations as dots, so the level can be watched at all.
    for (size_t i = 0; i < c->map->Count(); ++i) {
      const Map::cObject* o = c->map->At(i);
      if (o->flags & Map::kFlagHidden) continue;
      const int x = int(o->x), y = int(o->y);
      if (auto* p = dynamic_cast<const Map::cPerson*>(o)) {
        // A person with its animation was drawn with the map; the dot stands in for the others.
        if (p->CurrentAnimation().IsValid()) continue;
        grFillRect(x - 4, y - 10, x + 4, y, grColor(250, 220, 60));
      } else if (o->boundHalfSize.x > 0 && o->boundHalfSize.y > 0) {
        const int cx = x + o->boundCentre.x, cy = y + o->boundCentre.y;
        grFrameRect(cx - o->boundHalfSize.x, cy - o->boundHalfSize.y, cx + o->boundHalfSize.x,
                    cy + o->boundHalfSize.y, grColor(90, 140, 90));
      }
    }
  }
  return UIWnd::Draw();
}

int UILevelView::KeyDown(int code, int value) { return UIWnd::KeyDown(code, value); }

bool levelStartDirect(int32_t n) {
  if (!LoadLevel(n, kModeNormal)) return false;
  gameShowScreen(new UILevelView());
  ModelAction start;
  start.code = 1;
  levelContext()->model->OnAction(start);
  return true;
}
}  // namespace Game
