// The minimal level view.
#include "game/core/level_view.h"

#include "game/core/game_main.h"
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
