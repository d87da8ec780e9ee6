// The high-score table and its dialog.
#include "game/menus/scores.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <strings.h>

#include "base/diag.h"
#include "files/ini.h"
#include "files/players.h"
#include "gfx/render.h"
#include "platform/platform.h"
#include "sound/sound.h"
#include "ui/wnd_create.h"

namespace Menu {

namespace {
// After the rows, in creation order.
constexpr const char* kChildren[] = {"Scores", "ScoresOk", "ScoresMat", "Frame"};

bool HasSection(const char* file, const char* section) {
  for (const std::string& s : iniSectionList(file))
    if (strcasecmp(s.c_str(), section) == 0) return true;
  return false;
}

std::string SectionName(int i) {
  char section[16];
  std::snprintf(section, sizeof section, "Score%d", i);
  return section;
}
}  // namespace

void cScoreList::Load() {
  rows_.clear();
  enteredAt_ = -1;
  for (int i = 0; i < kRows; ++i) {
    const std::string section = SectionName(i);
    char16_t buffer[64];
    const char16_t* name = scoresGetWString(section.c_str(), "name", buffer, 64, u"");
    if (!name || !*name) continue;
    cScoreRow row;
    row.name = name;
    scoresGetInt(section.c_str(), "value", row.value, 0);
    rows_.push_back(std::move(row));
  }
  std::stable_sort(rows_.begin(), rows_.end(), [](const cScoreRow& a, const cScoreRow& b) { return a.value > b.value; });
}

bool cScoreList::Save() const {
  for (int i = 0; i < kRows; ++i) {
    const std::string section = SectionName(i);
    const bool has = i < int(rows_.size());
    scoresSetWString(section.c_str(), "name", has ? rows_[size_t(i)].name.c_str() : u"", false);
    scoresSetInt(section.c_str(), "value", has ? rows_[size_t(i)].value : 0, false);
  }
  return scoresSave();
}

bool cScoreList::Enter(std::u16string_view name, int32_t score) {
  enteredAt_ = -1;
  if (name.empty() || score < 1) return false;
  auto own = std::find_if(rows_.begin(), rows_.end(), [&](const cScoreRow& r) { return playerNamesEqual(r.name, name); });
  if (own != rows_.end()) {
    // Opening the table again with the same total must not enter it a second time.
    if (own->value >= score) return false;
    rows_.erase(own);
  }
  auto at = std::find_if(rows_.begin(), rows_.end(), [&](const cScoreRow& r) { return r.value <= score; });
  if (at == rows_.end() && int(rows_.size()) >= kRows) return false;
  enteredAt_ = int(at - rows_.begin());
  rows_.insert(at, cScoreRow{std::u16string(name), score});
  if (int(rows_.size()) > kRows) rows_.resize(size_t(kRows));
  return true;
}

UIScores* UIScores::Create(UIWnd* owner, std::u16string_view name, int32_t score, bool finale) {
  if (!HasSection(kFile, "Main")) {
    errorLog("%s: no section \"Main\"; the scores cannot be shown\n", kFile);
    return nullptr;
  }
  auto* d = new UIScores(owner);
  d->finale_ = finale;
  d->table_.Load();
  if (d->table_.Enter(name, score) && !d->table_.Save()) errorLog("%s: the new score could not be kept\n", "scores.ini");
  d->Load(kFile, "Main");
  d->SetName("MenuScores");
  d->Build();
  return d;
}

void UIScores::Build() {
  const int deltaY = iniGetInt(kFile, "Main", "deltaY", 0);
  const int nameX = iniGetInt(kFile, "Main", "playerStrX", 0), nameY = iniGetInt(kFile, "Main", "playerStrY", 0);
  const int valueX = iniGetInt(kFile, "Main", "playerScoresX", 0);
  const int valueY = iniGetInt(kFile, "Main", "playerScoresY", 0);
  const auto& rows = table_.Rows();
  const int shown = std::min(int(rows.size()), cScoreList::kRows);
  for (int r = 0; r < shown; ++r) {
    // The sections are named the other way round from what they show: "PlayerScores" holds the
    // name, "PlayerStr" the value.
    UIWnd* name = wndCreate(kFile, "PlayerScores", this, true);
    if (name) {
      name->SetPos(x_ + nameX, y_ + nameY + r * deltaY);
      name->SetCaption(rows[size_t(r)].name);
    }
    names_.push_back(name);
    UIWnd* value = wndCreate(kFile, "PlayerStr", this, true);
    if (value) {
      value->SetPos(x_ + valueX, y_ + valueY + r * deltaY);
      value->SetCaptionF("%d", int(rows[size_t(r)].value));
    }
    values_.push_back(value);
  }
  wndCreate(kFile, "Sign", this, false);
  for (const char* child : kChildren) wndCreate(kFile, child, this, true);
  // The finale's background stands behind the rows; the table draws it itself.
  if (UIWnd* back = wndCreate(kFile, "Back", this, false)) back->SetHidden(true);
  active_ = -1;
  if (finale_) finaleTimer_.Restart();
  ApplyContentAlpha();
  ColourValues();
}

UIWnd* UIScores::NameWindow(int r) const { return r >= 0 && r < int(names_.size()) ? names_[size_t(r)] : nullptr; }
UIWnd* UIScores::ValueWindow(int r) const { return r >= 0 && r < int(values_.size()) ? values_[size_t(r)] : nullptr; }

void UIScores::ColourValues() {
  const uint32_t alpha = colour_ & 0xFF000000u;
  for (UIWnd* v : values_)
    if (v) v->SetColour(alpha | kValueColour);
}

UIWnd* UIScores::ButtonForKey(int code) {
  if (code != VK_RETURN_ && code != VK_ESCAPE_) return nullptr;
  UIWnd* ok = FindChild("ScoresOk");
  return ok && !ok->Hidden() ? ok : nullptr;
}

bool UIScores::IsClosingButton(const char* name) const {
  return strcasecmp(name, "ScoresOk") == 0 || UIDialog::IsClosingButton(name);
}

int UIScores::MouseMove(int buttons, int value) {
  if (Closing()) return 1;
  TrackMouse(value);
  TrackHover(value);
  if (UIWnd* a = ActiveChild()) a->MouseMove(buttons, value);
  return 1;
}

int UIScores::Update(int dt) {
  if (told_) return 0;
  if (finaleTimer_.Advance(dt)) {
    finaleTimer_.Stop();
    sndPlay("ShowQuest");
  }
  const int r = UIDialog::Update(dt);
  // Once the owner has heard the result this window may already be on its way out.
  if (!told_) ColourValues();
  return r;
}

int UIScores::Draw() {
  if (heldDraw_ && !drawing_) return 0;
  if (Hidden()) return 0;
  const int dim = std::clamp(int(std::lround(back_.value)), 0, 255);
  if (dim > 0) grFillRect(x_, y_, x_ + xs_, y_ + ys_, grColor(0, 0, 0, dim));
  DrawStateImage();
  if (finale_)
    if (UIWnd* back = FindChild("Back"); back && back->Hidden()) {
      back->SetHidden(false);
      back->Draw();
      back->SetHidden(true);
    }
  // The later windows are the boards under the rows: drawn from the last to the first.
  for (int i = childCount_ - 1; i >= 0; --i)
    if (children_[i]->Draw()) return 1;
  return 0;
}

}  // namespace Menu
