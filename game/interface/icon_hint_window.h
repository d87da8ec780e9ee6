// Icon::cHintInfo: the hint window over a subject. What it shows (name, state caption, status,
// the cost, gains and next-gains rows, an exchange, a progress bar) is taken from the subject,
// laid out from "data/hint/hintResources.ini" and drawn on a wooden frame.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "game/objects/subject_object.h"

class CSprite;
namespace Game {
class PlayerStock;
}

namespace Icon {

// Line distances and row places of one hint section of the layout file.
struct HintLayoutConfig {
  static constexpr const char* kFile = "data/hint/hintResources.ini";
  int toName = 10;        // "distanceFromUpperEdgeToName"
  int nameToStatus = 4;   // "distanceFromNameToStatus"
  int statusToRest = 6;   // "distanceFromStatusToRest"
  int spendX = 0, shortFallX = 0, getX = 0, willGetX = 0, boxX = 0;
  int shortFallGrow = 10;  // "sizeIncrease"; 0 is read as 10
  int width = 200;         // the window's width without the shortfall's widening
  std::string shortFallText = "#OBJECT_HINT_SHORTFALL";
  std::string font = "TextFont";
  std::string frame = "data/hint/frame.png";

  // The section's values from `file`; missing keys keep the defaults above, values out of sense
  // (negative distances, a width outside 40 to 1024) are reported in gerr.log and replaced.
  static HintLayoutConfig Read(const char* file, const char* section);
};

// One resource row: the label key and the amounts; an amount below 1 shows nothing.
struct HintRow {
  std::string label;
  Map::ResourceVector amounts{};
  std::array<bool, 4> lacking{};  // amounts the stock cannot pay (drawn greyed)
  bool shown = false;              // the row is filled (its label hides when it shows no amount)
  bool AnyAmount() const;
};

// What the hint shows, filled from the parent each time it is drawn.
struct HintContent {
  std::u16string name;
  std::string caption;  // state caption key ("Status")
  std::string status;   // status line key ("OperationStatus"): replaces the rows
  HintRow spend, get, willGet;
  bool shortFall = false;  // the cost row shows what is missing, under the shortfall label
  bool exchange = false;
  Map::ResourceVector exchangeGive{}, exchangeTake{};
  bool progress = false;
  float fraction = 0.0f;
  bool remainder = false;
  int style = 0;
};

// The hint of `s` now; `stock` (may be null) says which costs cannot be paid.
HintContent hintFill(const Map::cSubjectObject& s, const Game::PlayerStock* stock);

// Heights of the windows that take part in the layout, in pixels.
struct HintMeasures {
  int name = 0, status = 0, opStatus = 0, exchange = 0, spendLabel = 0, box1 = 0, box2 = 0, box5 = 0;
};

// Where each part goes, relative to the window's top (y grows downward).
struct HintLayout {
  int left = 0, right = 0;  // widened by the shortfall's sizeIncrease on both sides
  int nameY = 0, statusY = 0, opStatusY = 0, exchangeTop = 0, box1Top = 0, box2Top = 0, box5Top = 0;
  int arrowDx = 0, arrowDy = 0;
  int barY = 0;  // the progress bar's centre line
  int height = 0;
  bool nameShown = false, statusShown = false, opStatusShown = false, exchangeShown = false;
  bool box1Shown = false, box2Shown = false, box5Shown = false;
};

HintLayout hintLayout(const HintLayoutConfig& cfg, const HintContent& c, const HintMeasures& m);

class cHintInfo {
 public:
  cHintInfo() = default;
  ~cHintInfo();
  cHintInfo(const cHintInfo&) = delete;
  cHintInfo& operator=(const cHintInfo&) = delete;

  // Reads the layout of `section` (the upgrade hint has its own; a missing one falls back).
  void Configure(const char* section);
  const HintLayoutConfig& Config() const { return m_cfg; }

  // The heights the content needs with the loaded font (fixed line heights without one).
  HintMeasures Measure(const HintContent& c) const;
  // Draws the window with its bottom centre at (cx, bottom), kept on the screen, at `alpha`.
  void Draw(const HintContent& c, int cx, int bottom, uint8_t alpha);

 private:
  void Load();
  void DrawRow(const HintRow& row, const char* suffix, int cx, int top, uint8_t alpha, bool greyLacking,
               const std::string& labelOverride);
  int TextWidth(const std::string& s) const;
  void Text(int x, int y, const std::string& utf8, uint32_t argb, int hAlign) const;

  HintLayoutConfig m_cfg;
  bool m_loaded = false;
  CSprite* m_font = nullptr;
  CSprite* m_frame = nullptr;
  CSprite* m_resources[4] = {};
};
}  // namespace Icon
