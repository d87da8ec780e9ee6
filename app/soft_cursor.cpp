// The software cursor's slots, animation and drawing, and the system cursor's visibility.
#include "app/soft_cursor.h"

#include <array>
#include <memory>

#include "anim/anim_catalogue.h"
#include "gfx/render.h"
#include "platform/platform.h"

namespace {
struct Cursor {
  std::array<AnimationState, 5> slots;
  int current = 0;
  int x = 0, y = 0;
  bool hidden = false;
};
std::unique_ptr<Cursor> g_cursor;
bool g_enabled = true;
bool g_systemShown = true;

void UpdateSystemCursor() {
  const bool show = cursorSystemShown();
  if (show == g_systemShown) return;  // only a change goes to the system
  g_systemShown = show;
  platShowSystemCursor(show);
}

void Play(AnimationState& a) {
  a.SetFlag(AnimationState::kLoop, true);
  a.Start();
}
}  // namespace

void cursorCreate() {
  g_cursor = std::make_unique<Cursor>();
  for (auto& s : g_cursor->slots) {
    s = Core::animManager().GetAnimation("Cursor_Normal");
    Play(s);
  }
  g_systemShown = true;
  UpdateSystemCursor();
}

void cursorDestroy() {
  g_cursor.reset();
  UpdateSystemCursor();
}

bool cursorExists() { return g_cursor != nullptr; }

void cursorSetSlot(int slot) {
  if (g_cursor && slot >= 0 && slot < 5) g_cursor->current = slot;
}

int cursorSlot() { return g_cursor ? g_cursor->current : 0; }

void cursorSetSlotAnimation(int slot, const char* name) {
  if (!g_cursor || slot < 0 || slot >= 5) return;
  g_cursor->slots[size_t(slot)] = Core::animManager().GetAnimation(name ? name : "");
  Play(g_cursor->slots[size_t(slot)]);
}

void cursorAdvance(int ms) {
  if (!g_cursor) return;
  AnimationState& a = g_cursor->slots[size_t(g_cursor->current)];
  // An animation that has ended restarts when it is meant to repeat.
  if (a.Advance(ms) && a.Has(AnimationState::kLoop) && a.IsStopped()) a.Start();
}

void cursorMoveTo(int x, int y) {
  if (!g_cursor) return;
  g_cursor->x = x;
  g_cursor->y = y;
}

void cursorDraw() {
  UpdateSystemCursor();
  if (!g_cursor || g_cursor->hidden || !g_enabled) return;
  int x1, y1, x2, y2;
  grGetClip(x1, y1, x2, y2);
  grSetClip(0, 0, kLogicalWidth, kLogicalHeight);
  g_cursor->slots[size_t(g_cursor->current)].DrawCurrent(g_cursor->x - 7, g_cursor->y);
  grSetClip(x1, y1, x2, y2);
}

void cursorHide(bool hidden) {
  if (g_cursor) g_cursor->hidden = hidden;
  UpdateSystemCursor();
}

void cursorSetEnabled(bool on) {
  g_enabled = on;
  UpdateSystemCursor();
}

bool cursorSystemShown() { return !g_cursor || g_cursor->hidden || !g_enabled; }

void cursorPosition(int& x, int& y) {
  x = g_cursor ? g_cursor->x : 0;
  y = g_cursor ? g_cursor->y : 0;
}
