// The boards' pictures and their drawing.
#include "game/interface/panel_pictures.h"

#include <algorithm>

#include "base/diag.h"
#include "files/ini.h"
#include "game/interface/interface.h"
#include "gfx/render.h"
#include "gfx/render_device.h"
#include "gfx/sprite.h"

namespace Interface {
namespace {
constexpr uint32_t kInk = grColor(72, 46, 22);
constexpr uint32_t kFaded = grColor(150, 124, 90);
constexpr uint32_t kFull = grColor(255, 64, 64);
constexpr uint32_t kGain = grColor(15, 146, 2);
constexpr uint32_t kLacking = grColor(230, 120, 20);
constexpr uint32_t kDone = grColor(40, 120, 40);
const char* const kResourceKey[4] = {"Worker", "Food", "Ore", "Gold"};

// The picture named by `key`, or null; a name that does not load is reported.
CSprite* picture(const char* file, const char* section, const char* key) {
  const std::string name = iniString(file, section, key, "");
  if (name.empty()) return nullptr;
  CSprite* s = sprGet(name.c_str());
  if (!s) errorLog("%s: [%s] %s=%s cannot be read; the board is drawn without it\n", file, section, key, name.c_str());
  return s;
}

void release(CSprite*& s) {
  if (s) sprRelease(s);
  s = nullptr;
}

// The whole picture at (x, y) in its own size, scaled about its centre by `scale`.
void draw(CSprite* s, int x, int y, float scale = 1.0f, uint32_t argb = 0xFFFFFFFFu) {
  if (!s) return;
  const int w = sprWidth(s), h = sprHeight(s);
  const int dw = int(float(w) * scale), dh = int(float(h) * scale);
  grDrawSpriteEx(argb == 0xFFFFFFFFu ? kModeTextureAlpha : kModeTintFade, 15, x + (w - dw) / 2, y + (h - dh) / 2, dw,
                 dh, s, 0, 0, w, h, argb, 0);
}

// The picture stretched over a rectangle.
void stretch(CSprite* s, int x, int y, int w, int h) {
  if (!s || w <= 0 || h <= 0) return;
  grDrawSpriteEx(kModeTextureAlpha, 15, x, y, w, h, s, 0, 0, sprWidth(s), sprHeight(s), 0xFFFFFFFFu, 0);
}

// The left part of the picture, `w` of its pixels, at its own height.
void cropLeft(CSprite* s, int x, int y, int w) {
  if (!s || w <= 0) return;
  w = std::min(w, sprWidth(s));
  grDrawSpriteEx(kModeTextureAlpha, 15, x, y, w, sprHeight(s), s, 0, 0, w, sprHeight(s), 0xFFFFFFFFu, 0);
}
}  // namespace

TimeBarLayout panelTimeBar(const TimeView& t, int barX, int barWidth) {
  TimeBarLayout l;
  if (t.levelMs <= 0 || barWidth <= 0) return l;
  const auto at = [&](int64_t remaining) {
    return int(std::clamp<int64_t>(remaining, 0, t.levelMs) * barWidth / t.levelMs);
  };
  l.fillWidth = at(t.remainingMs);
  // A medal's time runs out when the time left falls to level - medal: its pin stands there.
  if (t.goldMs > 0 && t.goldMs < t.levelMs) l.goldX = barX + at(int64_t(t.levelMs) - t.goldMs);
  if (t.silverMs > 0 && t.silverMs < t.levelMs) l.silverX = barX + at(int64_t(t.levelMs) - t.silverMs);
  l.goldPassed = t.goldMs > 0 && t.goldLeftMs <= 0;
  l.silverPassed = t.silverMs > 0 && t.silverLeftMs <= 0;
  return l;
}

uint32_t panelNumberColour(const cResourcePanel& panel, int resource, uint32_t plain) {
  const ResourceSlot& s = panel.Slot(resource);
  if (s.flashMs > 0) return panel.AtMaximum(resource) ? kFull : kGain;
  if (s.hintMs > 0) return kLacking;
  return plain;
}

cPanelPictures::~cPanelPictures() { Release(); }

void cPanelPictures::Release() {
  for (CSprite** s : {&m_resourceBoard, &m_top, &m_middle, &m_bottom, &m_dotRed, &m_dotGreen, &m_dotEmpty,
                      &m_timeBoard, &m_bar, &m_barFill, &m_markGold, &m_markSilver, &m_starOn, &m_starOff})
    release(*s);
  for (CSprite*& s : m_icons) release(s);
}

void cPanelPictures::Load(const char* file) {
  Release();
  const char* res = "ResourceInterface";
  m_resourceBoard = picture(file, res, "Board");
  for (int i = 0; i < 4; ++i) m_icons[size_t(i)] = picture(file, res, kResourceKey[i]);
  m_imageX = std::clamp(iniGetInt(file, res, "imageX", 4), 0, 512);
  m_numberX = std::clamp(iniGetInt(file, res, "numberX", 40), 0, 512);
  const char* task = "TaskInterface";
  m_top = picture(file, task, "BoardTop");
  m_middle = picture(file, task, "BoardMiddle");
  m_bottom = picture(file, task, "BoardBottom");
  m_dotRed = picture(file, task, "DotRed");
  m_dotGreen = picture(file, task, "DotGreen");
  m_dotEmpty = picture(file, task, "DotEmpty");
  const char* time = "TimeInterface";
  m_timeBoard = picture(file, time, "Board");
  m_bar = picture(file, time, "Bar");
  m_barFill = picture(file, time, "BarFill");
  m_markGold = picture(file, time, "MarkGold");
  m_markSilver = picture(file, time, "MarkSilver");
  m_starOn = picture(file, time, "StarOn");
  m_starOff = picture(file, time, "StarOff");
  m_barX = std::clamp(iniGetInt(file, time, "barX", 10), 0, 1024);
  m_barY = std::clamp(iniGetInt(file, time, "barY", 34), 0, 768);
  m_barW = std::clamp(iniGetInt(file, time, "barWidth", 188), 1, 1024);
  m_barH = std::clamp(iniGetInt(file, time, "barHeight", 12), 1, 256);
}

int cPanelPictures::rimHeight() const { return m_top ? sprHeight(m_top) : 0; }

bool cPanelPictures::DrawResources(const cResourcePanel& panel, const PanelRect& r, const PanelTextFn& text) const {
  if (!m_resourceBoard) return false;
  const int slot = r.w / 4;
  int shown = 0;
  for (int i = 0; i < 4; ++i) shown += panel.Visible(i) ? 1 : 0;
  // The board is as long as the resources the level shows: its left part, then its right end.
  const int pw = sprWidth(m_resourceBoard), ph = sprHeight(m_resourceBoard);
  const int end = std::min(10, r.w), used = std::min(r.w - end, shown * slot);
  if (pw > 0 && r.w > 0) {
    const int srcUsed = used * pw / r.w, srcEnd = end * pw / r.w;
    grDrawSpriteEx(kModeTextureAlpha, 15, r.x, r.y, used, r.h, m_resourceBoard, 0, 0, srcUsed, ph, 0xFFFFFFFFu, 0);
    grDrawSpriteEx(kModeTextureAlpha, 15, r.x + used, r.y, end, r.h, m_resourceBoard, pw - srcEnd, 0, srcEnd, ph,
                   0xFFFFFFFFu, 0);
  }
  int at = 0;
  for (int i = 0; i < 4; ++i) {
    if (!panel.Visible(i)) continue;
    const ResourceSlot& s = panel.Slot(i);
    const int x = r.x + at++ * slot;
    CSprite* icon = m_icons[size_t(i)];
    if (icon) {
      // The icon swells for a moment when its stock changes, and blinks while it is lacking.
      const float scale = s.pulseMs > 0 ? 1.2f : 1.0f;
      const bool blinkOff = s.hintMs > 0 && (s.hintMs / 250) % 2 == 1;
      draw(icon, x + m_imageX, r.y + (r.h - sprHeight(icon)) / 2, scale, blinkOff ? grColor(255, 255, 255, 90) : 0xFFFFFFFFu);
    }
    text(x + m_numberX, r.y + r.h / 2 - 9, panel.Text(i), panelNumberColour(panel, i, kInk), -1);
  }
  return true;
}

bool cPanelPictures::DrawGoals(const cGoalPanel& goals, const PanelRect& board, int rowHeight,
                               const PanelTextFn& text) const {
  if (!HasGoalBoard()) return false;
  const auto& rows = goals.Rows();
  if (rows.empty()) return true;
  const int rim = rimHeight();
  stretch(m_top, board.x, board.y, board.w, rim);
  for (size_t i = 0; i < rows.size(); ++i)
    stretch(m_middle, board.x, panelGoalRowY(board.y, rim, rowHeight, int(i)), board.w, rowHeight);
  stretch(m_bottom, board.x, panelGoalRowY(board.y, rim, rowHeight, int(rows.size())), board.w,
          sprHeight(m_bottom));
  for (size_t i = 0; i < rows.size(); ++i) {
    const GoalRow& row = rows[i];
    const int y = panelGoalRowY(board.y, rim, rowHeight, int(i));
    CSprite* dot = row.done ? m_dotGreen : m_dotRed;
    if (!dot) dot = m_dotEmpty;
    const int dotH = dot ? sprHeight(dot) : 16;
    draw(dot, board.x + 14, y + (rowHeight - dotH) / 2);
    text(board.x + 36, y + 3, row.label, row.done ? kDone : kInk, -1);
    if (!row.progress.empty()) text(board.x + board.w - 14, y + 3, row.progress, row.done ? kDone : kInk, 1);
  }
  return true;
}

bool cPanelPictures::GoalDotPoint(const PanelRect& board, int rowHeight, int row, int& x, int& y) const {
  if (!HasGoalBoard()) return false;
  x = board.x + 14;
  y = panelGoalRowY(board.y, rimHeight(), rowHeight, row) + rowHeight / 2;
  return true;
}

bool cPanelPictures::DrawTime(const TimeView& t, const PanelRect& r, const PanelTextFn& text) const {
  if (!m_timeBoard) return false;
  stretch(m_timeBoard, r.x, r.y, r.w, r.h);
  text(r.x + 14, r.y + 9, panelClockText(t.remainingMs), t.remainingMs <= 10000 ? kFull : kInk, -1);
  // The stars a win would earn now, the lit ones first.
  for (int i = 0; i < 3; ++i) {
    CSprite* star = i < t.stars ? m_starOn : m_starOff;
    draw(star, r.x + r.w - 70 + i * 19, r.y + 10);
  }
  const int bx = r.x + m_barX, by = r.y + m_barY;
  const TimeBarLayout bar = panelTimeBar(t, bx, m_barW);
  stretch(m_bar, bx, by, m_barW, m_barH);
  cropLeft(m_barFill, bx, by, bar.fillWidth);
  const auto pin = [&](CSprite* s, int x, bool passed) {
    if (!s || x < 0) return;
    draw(s, x - sprWidth(s) / 2, by + m_barH - sprHeight(s), 1.0f, passed ? grColor(255, 255, 255, 110) : 0xFFFFFFFFu);
  };
  pin(m_markSilver, bar.silverX, bar.silverPassed);
  pin(m_markGold, bar.goldX, bar.goldPassed);
  // Under the bar: the medal still to be had, and how long it can still be had.
  const int ty = by + m_barH + 4;
  if (t.goldLeftMs > 0)
    text(r.x + 14, ty, panelMedalLabel(true) + " " + panelClockText(t.goldLeftMs), kInk, -1);
  else if (t.silverLeftMs > 0)
    text(r.x + 14, ty, panelMedalLabel(false) + " " + panelClockText(t.silverLeftMs), kFaded, -1);
  return true;
}

bool cPanelPictures::GoldMarkPoint(const TimeView& t, const PanelRect& r, int& x, int& y) const {
  if (!m_timeBoard) return false;
  const TimeBarLayout bar = panelTimeBar(t, r.x + m_barX, m_barW);
  if (bar.goldX < 0) return false;
  x = bar.goldX;
  y = r.y + m_barY + m_barH;
  return true;
}

}  // namespace Interface
