// The achievements book and the records it reads.
#include "game/menus/book.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <strings.h>

#include "base/diag.h"
#include "files/ini.h"
#include "files/players.h"
#include "game/core/game_model.h"
#include "game/rules/achievements.h"
#include "gfx/render.h"
#include "platform/platform.h"
#include "ui/ui_scroll.h"
#include "ui/wnd_create.h"

namespace Menu {

namespace {
// After the scrolling list, in creation order.
constexpr const char* kChildren[] = {"AchClose",      "ScrollBar", "ScrollBoard", "ProgressBar", "ProgressBoard",
                                     "Count",         "Description", "Ship",      "Title",       "Frame"};
const char* const kDefinitions = "data/interface/achievements.ini";

BookSourceFn g_source = nullptr;

bool Is(const UIWnd* w, const char* name) { return w && strcasecmp(w->Name(), name) == 0; }

bool HasSection(const char* file, const char* section) {
  for (const std::string& s : iniSectionList(file))
    if (strcasecmp(s.c_str(), section) == 0) return true;
  return false;
}

int CurrentMode() {
  const PlayerProgress* p = playerProgress();
  return p && p->mode >= 0 && p->mode < kGameModes ? p->mode : Game::kModeNormal;
}
}  // namespace

void bookSetSource(BookSourceFn source) { g_source = source; }

cBookRecords bookRecords() {
  if (g_source) return g_source();
  if (const Game::cAchievementTable* table = Game::achievementTable()) return bookRecordsFromTable(*table);
  return bookRecordsFromProfile();
}

cBookRecords bookRecordsFromTable(const Game::cAchievementTable& table) {
  cBookRecords out;
  out.records.resize(size_t(Game::kAchievementCount));
  for (int i = 0; i < Game::kAchievementCount; ++i) {
    const Game::AchievementView v = table.View(i);
    cBookRecord& r = out.records[size_t(i)];
    r.text = v.text;
    r.value = v.value;
    r.order = v.order;
    r.target = v.target;
    r.visible = v.visible;
  }
  out.earned = table.nextOrder();
  return out;
}

cBookRecords bookRecordsFromProfile() {
  cBookRecords out;
  const PlayerProgress* p = playerProgress();
  const int mode = CurrentMode();
  const std::u16string hidden = iniWText(kDefinitions, "Main", "HiddenAchText");
  out.records.resize(size_t(kProgressAchievements));
  for (int i = 0; i < kProgressAchievements; ++i) {
    char section[16];
    std::snprintf(section, sizeof section, "ach%d", i);
    cBookRecord& r = out.records[size_t(i)];
    r.target = iniGetInt(kDefinitions, section, "valueToAchieve", 0);
    r.visible = iniGetInt(kDefinitions, section, "visible", 0) != 0;
    if (p) {
      r.value = p->achV[mode][i];
      r.order = std::max(0, p->achN[mode][i]);
    }
    r.text = r.visible || r.order > 0 ? iniWText(kDefinitions, section, "text") : hidden;
    out.earned = std::max(out.earned, r.order);
  }
  return out;
}

std::vector<int> bookShownOrder(const std::vector<cBookRecord>& records, int mode) {
  std::vector<int> shown;
  for (int i = 0; i < int(records.size()); ++i)
    if (!(mode == Game::kModeNoTime && i == kBookTimeOverAchievement)) shown.push_back(i);
  std::stable_sort(shown.begin(), shown.end(),
                   [&](int a, int b) { return records[size_t(a)].order > records[size_t(b)].order; });
  return shown;
}

UIBook* UIBook::Create(UIWnd* owner) { return Create(owner, bookRecords(), CurrentMode()); }

UIBook* UIBook::Create(UIWnd* owner, const cBookRecords& records, int mode) {
  if (!HasSection(kFile, "Main")) {
    errorLog("%s: no section \"Main\"; the book cannot be shown\n", kFile);
    return nullptr;
  }
  auto* d = new UIBook(owner);
  d->Load(kFile, "Main");
  d->SetName("Book");
  d->Build(records, mode);
  return d;
}

void UIBook::Build(const cBookRecords& records, int mode) {
  shown_ = bookShownOrder(records.records, mode);
  earned_ = std::max(0, records.earned);
  auto* scroll = dynamic_cast<Core::UIScrollWnd*>(wndCreate(kFile, "ScrollFrame", this, true));
  if (scroll) {
    int height = 0;
    for (int row = 0; row < int(shown_.size()); ++row) {
      const cBookRecord& rec = records.records[size_t(shown_[size_t(row)])];
      UIWnd* text = wndCreate(kFile, "AchText", scroll, true);
      UIWnd* pad = wndCreate(kFile, "AchPad", scroll, true);
      const int padHeight = pad ? pad->Height() : 0;
      if (text) {
        text->SetCaption(rec.text);
        text->MoveBy(0, height);
      }
      if (pad) {
        pad->MoveBy(0, height);
        // The pad's own picture tells an earned achievement from one still to come.
        pad->InitState(rec.order > 0 ? Normal : Ignore);
      }
      height += padHeight;
    }
    scroll->SetContentSize(scroll->Width(), height);
  } else {
    errorLog("%s: no scroll window \"ScrollFrame\"; the book lists nothing\n", kFile);
  }
  for (const char* child : kChildren) wndCreate(kFile, child, this, true);
  const int shown = int(shown_.size());
  if (UIWnd* bar = FindChild("ScrollBar")) bar->SetValue(1.0f);
  if (UIWnd* progress = FindChild("ProgressBar")) progress->SetValue(shown > 0 ? float(earned_) / float(shown) : 0.0f);
  if (UIWnd* count = FindChild("Count")) count->SetCaptionF("%d/%d", earned_, shown);
  active_ = -1;
  ApplyContentAlpha();
}

void UIBook::CoverScreen() {
  backAlpha_ = 255;
  if (openState_ == kOpening) back_.MoveTo(255.0f, fadeTime_);
}

UIWnd* UIBook::ButtonForKey(int code) {
  if (code != VK_RETURN_ && code != VK_ESCAPE_) return nullptr;
  UIWnd* close = FindChild("AchClose");
  return close && !close->Hidden() ? close : nullptr;
}

bool UIBook::IsClosingButton(const char* name) const {
  return strcasecmp(name, "AchClose") == 0 || UIDialog::IsClosingButton(name);
}

int UIBook::MouseMove(int buttons, int value) {
  if (Closing()) return 1;
  TrackMouse(value);
  TrackHover(value);
  if (UIWnd* a = ActiveChild()) a->MouseMove(buttons, value);
  return 1;
}

int UIBook::Draw() {
  if (heldDraw_ && !drawing_) return 0;
  if (Hidden()) return 0;
  const int dim = std::clamp(int(std::lround(back_.value)), 0, 255);
  if (dim > 0) grFillRect(x_, y_, x_ + xs_, y_ + ys_, grColor(0, 0, 0, dim));
  DrawStateImage();
  // The later windows are the boards under the list and the bars: drawn from the last to the first.
  for (int i = childCount_ - 1; i >= 0; --i)
    if (children_[i]->Draw()) return 1;
  return 0;
}

int UIBook::OnNotify(UIWnd* source, int message) {
  if (Is(source, "ScrollBar")) {
    if (UIWnd* scroll = FindChild("ScrollFrame")) scroll->SetValue(source->GetValue());
    return 1;
  }
  return UIDialog::OnNotify(source, message);
}

int UIBook::OnCommand(UIWnd* source) {
  if (Is(source, "ScrollFrame")) {
    // Every scroll, dragged, flicked or wheeled, moves the bar along.
    if (UIWnd* bar = FindChild("ScrollBar")) bar->SetValue(source->GetValue());
    return 1;
  }
  return UIDialog::OnCommand(source);
}

}  // namespace Menu
