// The hint window: filling from the subject, the layout and the drawing.
#include "game/interface/icon_hint_window.h"

#include <algorithm>
#include <cmath>

#include "anim/anim_catalogue.h"
#include "base/diag.h"
#include "files/ini.h"
#include "files/text.h"
#include "game/core/player_stock.h"
#include "gfx/font.h"
#include "gfx/render.h"
#include "gfx/sprite.h"
#include "ui/widget_sprite.h"

namespace Icon {
namespace {
constexpr const char* kTranslation = "data/translation.ini";
constexpr const char* kResourceNames[4] = {"Worker", "Food", "Ore", "Gold"};
constexpr const char* kResourcePictures[4] = {"data/hint/res_worker.png", "data/hint/res_food.png",
                                              "data/hint/res_ore.png", "data/hint/res_gold.png"};
constexpr uint32_t kInk = grColor(60, 36, 16);
constexpr uint32_t kCaptionInk = grColor(150, 40, 20);
constexpr uint32_t kGreyInk = grColor(120, 110, 100);
constexpr uint32_t kStatusInk = grColor(170, 30, 20);
constexpr int kLineHeight = 18;  // without a font
constexpr int kBoxHeight = 24;
constexpr int kIconSize = 20;
constexpr int kItemGap = 8;

uint32_t withAlpha(uint32_t argb, uint8_t alpha) {
  const uint32_t a = ((argb >> 24) * alpha) / 255;
  return (argb & 0x00FFFFFFu) | (a << 24);
}

std::string translated(const std::string& key) {
  if (key.empty()) return {};
  return iniString(kTranslation, nullptr, key.c_str(), key);
}

int readInt(const char* file, const char* section, const char* key, int def, int lo, int hi) {
  const int v = int(iniGetInt(file, section, key, def));
  if (v < lo || v > hi) {
    errorLog("%s: [%s] %s=%d lies outside %d to %d; %d is used\n", file, section, key, v, lo, hi, def);
    return def;
  }
  return v;
}
}  // namespace

HintLayoutConfig HintLayoutConfig::Read(const char* file, const char* section) {
  HintLayoutConfig c;
  c.toName = readInt(file, section, "distanceFromUpperEdgeToName", c.toName, 0, 200);
  c.nameToStatus = readInt(file, section, "distanceFromNameToStatus", c.nameToStatus, 0, 200);
  c.statusToRest = readInt(file, section, "distanceFromStatusToRest", c.statusToRest, 0, 200);
  c.width = readInt(file, section, "width", c.width, 40, 1024);
  c.font = iniString(file, section, "font", c.font);
  c.frame = iniString(file, section, "frame", c.frame);
  c.spendX = readInt(file, "Spend", "x", 0, -512, 512);
  c.shortFallX = readInt(file, "ShortFall", "x", 0, -512, 512);
  c.shortFallGrow = readInt(file, "ShortFall", "sizeIncrease", 0, 0, 200);
  if (c.shortFallGrow == 0) c.shortFallGrow = 10;
  c.shortFallText = iniString(file, "ShortFall", "text", c.shortFallText);
  c.getX = readInt(file, "Get", "x", 0, -512, 512);
  c.willGetX = readInt(file, "WillGet", "x", 0, -512, 512);
  c.boxX = readInt(file, "ResourcesBox", "x", 0, -512, 512);
  return c;
}

bool HintRow::AnyAmount() const {
  return std::any_of(amounts.begin(), amounts.end(), [](int32_t v) { return v >= 1; });
}

HintContent hintFill(const Map::cSubjectObject& s, const Game::PlayerStock* stock) {
  HintContent c;
  c.name = s.GetDisplayName();
  c.caption = s.GetStateCaption();
  c.status = s.GetStatusText();
  Map::ResourceVector gains{}, costs{}, next{};
  const bool affordable = s.GetOperationOffer(gains, costs, next);
  std::string gainLabel, costLabel, nextLabel;
  s.GetOfferLabels(gainLabel, costLabel, nextLabel);
  c.style = s.GetHintStyle();
  const bool selected = s.selected != 0;
  // A selected subject that cannot pay shows what is missing (its offer already holds the
  // difference), under its own label, in a window grown for it.
  c.shortFall = selected && !affordable;
  c.exchange = s.IsExchangeHint() && !c.shortFall;
  if (c.exchange) {
    c.exchangeGive = costs;
    c.exchangeTake = gains;
  } else {
    c.spend.label = costLabel;
    c.spend.amounts = costs;
    c.spend.shown = true;
    if (stock && !c.shortFall)
      for (int i = 1; i < 4; ++i) c.spend.lacking[size_t(i)] = costs[size_t(i)] > stock->Amount(i);
  }
  if (s.ShowsYieldRows() && !c.exchange) {
    c.get = HintRow{gainLabel, gains, {}, true};
    c.willGet = HintRow{nextLabel, next, {}, true};
  }
  s.GetHintProgress(c.progress, c.fraction, c.remainder);
  c.fraction = std::clamp(c.fraction, 0.0f, 1.0f);
  return c;
}

HintLayout hintLayout(const HintLayoutConfig& cfg, const HintContent& c, const HintMeasures& m) {
  HintLayout l;
  const int grow = c.shortFall ? cfg.shortFallGrow : 0;
  l.left = -cfg.width / 2 - grow;
  l.right = cfg.width / 2 + grow;
  l.nameShown = !c.name.empty();
  l.statusShown = !c.caption.empty();
  l.opStatusShown = !c.status.empty();
  l.exchangeShown = !l.opStatusShown && c.exchange;
  const bool spendLabel = c.spend.shown && c.spend.AnyAmount();
  const bool getShown = c.get.shown && c.get.AnyAmount();
  const bool willGetShown = c.willGet.shown && c.willGet.AnyAmount();

  int y = cfg.toName;
  l.nameY = y;
  if (l.statusShown) {
    y += cfg.nameToStatus + m.name;
    l.statusY = y;
    y += cfg.statusToRest + m.status;
  } else {
    y += cfg.statusToRest + m.name;
  }
  int bottom = 0;
  bool below = l.statusShown;
  if (l.opStatusShown) {
    l.opStatusY = c.progress ? y - 5 : y;
    bottom = y + m.opStatus + int(std::lround(1.5 * cfg.toName));
    below = true;
  } else if (l.exchangeShown) {
    l.exchangeTop = y - m.exchange / 2 + 2;
    l.arrowDx = -5;
    l.arrowDy = 10;
    bottom = y + 30;
    below = true;
  } else {
    if (!c.progress && spendLabel) {
      l.box1Shown = true;
      l.box1Top = y - m.box1 / 2 + 2;
      y += m.spendLabel;
    }
    if (getShown) {
      l.box2Shown = true;
      l.box2Top = y - m.box2 / 2 + 2;
      y += m.box2;
    }
    if (willGetShown) {
      l.box5Shown = true;
      l.box5Top = y - m.box5 / 2 + 2;
      y += m.box5;
    }
    l.barY = y + 10;
    bottom = y + (c.progress ? 20 : 0) + cfg.toName;
    below = below || l.box1Shown || l.box2Shown || l.box5Shown || c.progress;
  }
  if (!below) {
    bottom += 10;
    l.nameY += 5;
  }
  l.height = bottom;
  return l;
}

// ---- Drawing -----------------------------------------------------------------------------------

cHintInfo::~cHintInfo() {
  sprRelease(m_font);
  sprRelease(m_frame);
  for (CSprite*& s : m_resources) sprRelease(s);
}

void cHintInfo::Configure(const char* section) {
  const bool own = !iniKeyList(HintLayoutConfig::kFile, section).empty();
  m_cfg = HintLayoutConfig::Read(HintLayoutConfig::kFile, own ? section : "Hint");
}

void cHintInfo::Load() {
  if (m_loaded || !grIsReady()) return;
  m_loaded = true;
  m_font = sprGetFont(m_cfg.font.c_str());
  m_frame = sprGet(m_cfg.frame.c_str());
  for (int i = 0; i < 4; ++i) m_resources[i] = sprGet(kResourcePictures[i]);
}

int cHintInfo::TextWidth(const std::string& s) const {
  if (m_font) return fontTextWidthUtf8(m_font, s.c_str());
  return int(s.size()) * 8;
}

void cHintInfo::Text(int x, int y, const std::string& utf8, uint32_t argb, int hAlign) const {
  if (utf8.empty()) return;
  if (m_font) {
    fontDrawTextUtf8(UIWndSprite::ModeFor(argb), 15, 1.0f, 1.0f, m_font, float(x), y, utf8.c_str(), 0, hAlign, -1,
                     argb);
    return;
  }
  const int w = TextWidth(utf8);
  grTextOut(hAlign == 0 ? x - w / 2 : hAlign > 0 ? x - w : x, y, utf8.c_str(), argb);
}

HintMeasures cHintInfo::Measure(const HintContent& c) const {
  const int line = m_font ? std::max(1, fontLineHeight(m_font)) : kLineHeight;
  HintMeasures m;
  m.name = c.name.empty() ? 0 : line;
  m.status = c.caption.empty() ? 0 : line;
  m.opStatus = c.status.empty() ? 0 : line;
  m.exchange = kBoxHeight;
  m.spendLabel = std::max(line, kBoxHeight);
  m.box1 = m.box2 = m.box5 = kBoxHeight;
  return m;
}

void cHintInfo::DrawRow(const HintRow& row, const char* suffix, int cx, int top, uint8_t alpha, bool greyLacking,
                        const std::string& labelOverride) {
  (void)suffix;
  const std::string label = translated(labelOverride.empty() ? row.label : labelOverride);
  // The row's width: the label, then an icon and the amount for every amount of 1 or more.
  int width = label.empty() ? 0 : TextWidth(label) + kItemGap;
  std::array<std::string, 4> texts;
  for (int i = 0; i < 4; ++i) {
    if (row.amounts[size_t(i)] < 1) continue;
    texts[size_t(i)] = std::to_string(row.amounts[size_t(i)]);
    width += kIconSize + 2 + TextWidth(texts[size_t(i)]) + kItemGap;
  }
  int x = cx - width / 2;
  const int textY = top + (kBoxHeight - (m_font ? fontLineHeight(m_font) : kLineHeight)) / 2;
  if (!label.empty()) {
    Text(x, textY, label, withAlpha(kInk, alpha), -1);
    x += TextWidth(label) + kItemGap;
  }
  for (int i = 0; i < 4; ++i) {
    if (texts[size_t(i)].empty()) continue;
    const bool grey = greyLacking && row.lacking[size_t(i)];
    const uint32_t tint = grey ? grColor(128, 128, 128) : grColor(255, 255, 255);
    if (m_resources[i])
      sprDrawStretched(m_resources[i], x, top + 2, x + kIconSize, top + 2 + kIconSize, UIWndSprite::ModeFor(0x80FFFFFFu),
                       false, withAlpha(tint, alpha));
    else
      grFillRect(x + 3, top + 5, x + kIconSize - 3, top + kIconSize - 1, withAlpha(tint & 0xFFC08040u, alpha));
    x += kIconSize + 2;
    Text(x, textY, texts[size_t(i)], withAlpha(grey ? kGreyInk : kInk, alpha), -1);
    x += TextWidth(texts[size_t(i)]) + kItemGap;
  }
}

void cHintInfo::Draw(const HintContent& c, int cx, int bottom, uint8_t alpha) {
  if (alpha == 0) return;
  Load();
  const HintMeasures m = Measure(c);
  const HintLayout l = hintLayout(m_cfg, c, m);
  // Kept on the screen: a hint over an object at the edge slides inward.
  cx = std::clamp(cx, -l.left, kLogicalWidth - l.right);
  const int top = std::clamp(bottom - l.height, 0, std::max(0, kLogicalHeight - l.height));
  const int x0 = cx + l.left, x1 = cx + l.right, y1 = top + l.height;
  if (m_frame)
    sprDrawStretched(m_frame, x0, top, x1, y1, UIWndSprite::ModeFor(0x80FFFFFFu), false, withAlpha(0xFFFFFFFFu, alpha));
  else {
    grFillRect(x0, top, x1, y1, withAlpha(grColor(222, 196, 150, 235), alpha));
    grFrameRect(x0, top, x1, y1, withAlpha(grColor(96, 62, 30), alpha));
  }
  if (l.nameShown) Text(cx, top + l.nameY, textUtf16ToUtf8(c.name), withAlpha(kInk, alpha), 0);
  if (l.statusShown) Text(cx, top + l.statusY, translated(c.caption), withAlpha(kCaptionInk, alpha), 0);
  if (l.opStatusShown) Text(cx, top + l.opStatusY, translated(c.status), withAlpha(kStatusInk, alpha), 0);
  if (l.exchangeShown) {
    const int boxCx = cx + m_cfg.boxX;
    HintRow give{{}, c.exchangeGive, {}, true}, take{{}, c.exchangeTake, {}, true};
    DrawRow(give, "3", boxCx - 50, top + l.exchangeTop, alpha, false, {});
    Text(boxCx + l.arrowDx, top + l.exchangeTop + l.arrowDy / 2, "->", withAlpha(kInk, alpha), 0);
    DrawRow(take, "4", boxCx + 50, top + l.exchangeTop, alpha, false, {});
  }
  if (l.box1Shown) {
    const int rx = cx + (c.shortFall ? m_cfg.shortFallX : m_cfg.spendX);
    DrawRow(c.spend, "", rx, top + l.box1Top, alpha, true, c.shortFall ? m_cfg.shortFallText : std::string());
  }
  if (l.box2Shown) DrawRow(c.get, "2", cx + m_cfg.getX, top + l.box2Top, alpha, false, {});
  if (l.box5Shown) DrawRow(c.willGet, "5", cx + m_cfg.willGetX, top + l.box5Top, alpha, false, {});
  if (c.progress && !l.opStatusShown && !l.exchangeShown) {
    // The frame of the bar, then the green part done or the red part still to do.
    Core::cAnimationManager& anims = Core::animManager();
    AnimationState frame = anims.GetAnimation("OperationBar");
    AnimationState fill = anims.GetAnimation(c.remainder ? "OperationBar_Full" : "OperationBarGreen_Full");
    const int by = top + l.barY;
    const int w = fill.Width(), h = fill.Height();
    if (frame.IsValid()) frame.DrawFaded(float(cx), float(by), alpha, 1.0f, 1.0f);
    if (fill.IsValid() && fill.Sprite() && w > 0) {
      const int done = int(std::lround(c.fraction * float(w)));
      const int sx = c.remainder ? done : 0, sw = c.remainder ? w - done : done;
      if (sw > 0)
        grDrawSpriteEx(UIWndSprite::ModeFor(0x80FFFFFFu), 15, cx - w / 2 + sx, by - h / 2, sw, h, fill.Sprite(), sx, 0,
                       sw, h, withAlpha(0xFFFFFFFFu, alpha), 0);
    } else {
      const int bw = 96, x = cx - bw / 2;
      grFrameRect(x, by - 6, x + bw, by + 6, withAlpha(kInk, alpha));
      const int done = int(std::lround(c.fraction * float(bw - 2)));
      if (c.remainder)
        grFillRect(x + 1 + done, by - 5, x + bw - 1, by + 5, withAlpha(grColor(200, 60, 40), alpha));
      else
        grFillRect(x + 1, by - 5, x + 1 + done, by + 5, withAlpha(grColor(90, 190, 60), alpha));
    }
  }
}
}  // namespace Icon
