// The profiler's tree of timed sections; the renderer draws its report (gfx/diag_draw.cpp).
#include "base/diag.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

namespace {
struct Section {
  const char* name = nullptr;
  Section* parent = nullptr;
  std::vector<std::unique_ptr<Section>> children;
  int32_t count = 0;
  std::chrono::steady_clock::time_point start;
  double mean = 0, longest = 0;
};

std::unique_ptr<Section> g_root;
Section* g_current = nullptr;

Section* root() {
  if (!g_root) {
    g_root = std::make_unique<Section>();
    g_root->name = "Main";
    g_current = g_root.get();
  }
  return g_root.get();
}

void walk(const Section& s, int depth, const std::function<void(const ProfSectionInfo&)>& enter,
          const std::function<void(const ProfSectionInfo&)>& leave) {
  ProfSectionInfo info{s.name ? s.name : "?", depth, s.count, s.mean, s.longest};
  if (enter) enter(info);
  for (const auto& c : s.children) walk(*c, depth + 1, enter, leave);
  if (leave) leave(info);
}
}  // namespace

void profEnter(const char* name) {
  root();
  Section* found = nullptr;
  for (auto& c : g_current->children)
    if (c->name == name) found = c.get();
  if (!found) {
    g_current->children.push_back(std::make_unique<Section>());
    found = g_current->children.back().get();
    found->name = name;
    found->parent = g_current;
  }
  g_current = found;
  ++found->count;
  found->start = std::chrono::steady_clock::now();
}

void profLeave() {
  root();
  // A leave without its enter would climb above the root: ignore it.
  if (!g_current || g_current == g_root.get()) return;
  double elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - g_current->start).count();
  g_current->mean += (elapsed - g_current->mean) / g_current->count;
  if (elapsed > g_current->longest) g_current->longest = elapsed;
  g_current = g_current->parent;
}

void profWalk(const std::function<void(const ProfSectionInfo&)>& enter,
              const std::function<void(const ProfSectionInfo&)>& leave) {
  walk(*root(), 0, enter, leave);
}

void profReset() {
  g_root.reset();
  g_current = nullptr;
}

int profSectionCount(const char* name) {
  std::vector<const Section*> stack{root()};
  int total = 0;
  while (!stack.empty()) {
    const Section* s = stack.back();
    stack.pop_back();
    if (s->name == name) total += s->count;
    for (const auto& c : s->children) stack.push_back(c.get());
  }
  return total;
}

const char* profCurrentName() { return root(), g_current->name; }
