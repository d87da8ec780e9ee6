// The tree-wide state of the window framework: the root, the input hook list that sees input before
// the tree, the windows waiting for destruction and the debug switches.
#include <algorithm>
#include <vector>

#include "ui/wnd.h"
#include "ui/wnd_internal.h"

bool g_wndBounds = false;
bool g_wndEdit = false;

namespace {
UIWnd* g_root = nullptr;
std::vector<UIWnd*> g_hooks;
std::vector<UIWnd*> g_garbage;
int g_transformDepth = 0;

template <class F>
int offer(F call) {
  // A copy, because a hook may grab or release input (or be removed) while it handles the event;
  // a window that left the list meanwhile is skipped.
  std::vector<UIWnd*> hooks = g_hooks;
  for (UIWnd* h : hooks)
    if (std::find(g_hooks.begin(), g_hooks.end(), h) != g_hooks.end())
      if (int r = call(h)) return r;
  return g_root ? call(g_root) : 0;
}
}  // namespace

UIWnd* wndRoot() { return g_root; }
void wndSetRoot(UIWnd* root) { g_root = root; }

void wndForget(UIWnd* w) {
  wndHookRemove(w);
  if (g_root == w) g_root = nullptr;
  g_garbage.erase(std::remove(g_garbage.begin(), g_garbage.end(), w), g_garbage.end());
}

void wndDefer(UIWnd* w) {
  if (w && std::find(g_garbage.begin(), g_garbage.end(), w) == g_garbage.end()) g_garbage.push_back(w);
}

void wndRescue(UIWnd* w) { g_garbage.erase(std::remove(g_garbage.begin(), g_garbage.end(), w), g_garbage.end()); }

void wndCollectGarbage() {
  // Destroying one window may queue or rescue others, so take them one at a time.
  while (!g_garbage.empty()) {
    UIWnd* w = g_garbage.back();
    g_garbage.pop_back();
    delete w;
  }
}

int wndPendingDestruction() { return int(g_garbage.size()); }

void wndTransformPushed() { ++g_transformDepth; }
void wndTransformPopped() { --g_transformDepth; }
int wndTransformDepth() { return g_transformDepth; }

void wndHookAdd(UIWnd* w) {
  if (!w || std::find(g_hooks.begin(), g_hooks.end(), w) != g_hooks.end()) return;
  g_hooks.insert(g_hooks.begin(), w);
}

void wndHookRemove(UIWnd* w) { g_hooks.erase(std::remove(g_hooks.begin(), g_hooks.end(), w), g_hooks.end()); }

int wndOfferKeyDown(int code, int value) { return offer([&](UIWnd* w) { return w->KeyDown(code, value); }); }
int wndOfferKeyUp(int code, int value) { return offer([&](UIWnd* w) { return w->KeyUp(code, value); }); }
int wndOfferChar(int code, int value) { return offer([&](UIWnd* w) { return w->Char(code, value); }); }
int wndOfferMouseMove(int buttons, int value) {
  return offer([&](UIWnd* w) { return w->MouseMove(buttons, value); });
}
int wndOfferWheel(float delta, int code, int value) {
  return offer([&](UIWnd* w) { return w->Wheel(delta, code, value); });
}
