// The picture stories between levels ("data/menu/comics.ini"): Menu::UIComics shows a run of
// pages, each a picture (often a keyframe page) under a text that types itself while a voice
// reads it, cross-fading from page to page; the story that ends the game closes with the credits,
// the witch's eyes and her laugh. Which story follows which level, which page ends the intro and
// which one ends the game are data too (cComicsPlan).
#pragma once
#include <cstdint>
#include <utility>
#include <vector>

#include "anim/period_timer.h"
#include "anim/value_ramp.h"
#include "ui/wnd.h"

class CSound;

namespace Menu {

class UIMenuTitle;

// Where the stories stand in the campaign. [Main] "introPage", "introEndPage", "gameEndPage" and
// "gameEndLevel"; section [AfterLevel] maps a level number (the key) to the first page of the
// story shown after it is won. Without the keys (or without the section) the full campaign's
// numbers hold.
struct cComicsPlan {
  int introPage = 1;
  int introEndPage = 4;
  int gameEndPage = 10;
  int gameEndLevel = 47;
  std::vector<std::pair<int, int>> afterLevel = {{15, 5}, {31, 7}, {47, 9}};

  static cComicsPlan Read(const char* file);
  // The first page of the story after `level`, 0 for none.
  int PageAfterLevel(int level) const;
};

class UIComics : public UIWnd {
 public:
  static constexpr const char* kFile = "data/menu/comics.ini";
  // The voices, loaded while a story is on screen.
  static constexpr const char* kSoundFile = "data/snd/comics.ini";
  enum ComicsState {
    kOpening = 0,
    kShowing = 1,
    kClosing = 2,
    kCreditsWait = 3,
    kCreditsRoll = 4,
    kCreditsFade = 5,
    kEyesStart = 6,
    kEyesIn = 7,
    kEyesOut = 8,
  };
  static constexpr int32_t kCrossFadeMs = 1000;
  static constexpr int32_t kTextWaitMs = 2000;   // after the text, on a page without a voice
  static constexpr int32_t kVoiceTailMs = 1000;  // after the voice
  static constexpr int kLongVoicePage = 6;       // its voice page lasts kLongVoiceMs unless told
  static constexpr int32_t kLongVoiceMs = 6000;
  static constexpr int kMaxPage = 100;
  static constexpr int32_t kCreditsPause = 2000;  // after the title's opening, before the roll
  static constexpr int kCreditsSpeed = 40;        // pixels a second
  static constexpr int32_t kCreditsFadeMs = 1000;
  static constexpr int32_t kEyesMs = 3000;
  static constexpr int kEyesAlpha = 128;
  static constexpr int kFanfares = 3;
  static constexpr int32_t kFanfareMs = 2500;

  explicit UIComics(int page);
  ~UIComics() override;

  // [Main] and the fixed windows, then page `page`.
  void Load(const char* file, const char* section) override;
  int KeyDown(int code, int value) override;
  int MouseMove(int buttons, int value) override;
  int OnCommand(UIWnd* source) override;
  int Update(int dt) override;

  // True when the document has a text or a picture for page p.
  static bool PageExists(int p);
  // The first page from p on marked "last" (at most kMaxPage); a run that stops without one
  // ends at its final page.
  static int LastPageFrom(int p);

  void ShowPage(int p);
  // The closing fade; the story ends when it is dark.
  void EndComics();

  int Page() const { return page_; }
  int ComicsState() const { return state_; }
  bool TimedOut() const { return timedOut_; }
  bool Fading() const { return fading_; }
  bool LastPage() const { return lastPage_; }
  bool Finished() const { return finished_; }
  bool HasVoice() const { return voice_ != nullptr; }
  const PeriodTimer& PageTimer() const { return pageTimer_; }
  const ValueRamp& CrossFade() const { return crossFade_; }
  UIWnd* TextWindow() const { return text_; }
  UIWnd* PictureWindow() const { return picture_; }
  UIWnd* PreviousText() const { return prevText_; }
  UIWnd* PreviousPicture() const { return prevPicture_; }
  UIWnd* Credits() const { return credits_; }
  const cComicsPlan& Plan() const { return plan_; }
  int FanfaresPlayed() const { return fanfares_; }

 private:
  void StopVoice();
  // The page's windows while it is shown, or the page before while it fades out.
  void RemovePageWindows(UIWnd*& text, UIWnd*& picture);
  // Moves a child to place `at` of the list (the earlier, the later it is drawn).
  void PlaceChild(UIWnd* child, int at);
  void NextOrEnd();
  void FinishPage();
  void StartClosingSequence();
  void ClosingSequenceStep(int dt);
  void SetEyesAlpha(int a);
  // What follows the story, by the page it ended on.
  void Leave();
  // A visible, usable button of the screen under (x, y), or null.
  UIWnd* ButtonAt(int x, int y) const;

  cComicsPlan plan_;
  int page_ = 1;
  int state_ = kOpening;
  int fixedEnd_ = 0;  // windows before the page texts: "Eyes", "Fade" and the buttons
  UIWnd* eyes_ = nullptr;
  UIWnd* text_ = nullptr;
  UIWnd* picture_ = nullptr;
  UIWnd* prevText_ = nullptr;
  UIWnd* prevPicture_ = nullptr;
  UIWnd* credits_ = nullptr;
  UIMenuTitle* title_ = nullptr;
  CSound* voice_ = nullptr;
  PeriodTimer pageTimer_{0, PeriodTimer::kStopped};
  ValueRamp crossFade_;
  float creditsRise_ = 0.0f;  // the part of a pixel not moved yet
  PeriodTimer fanfareTimer_{kFanfareMs, PeriodTimer::kStopped | PeriodTimer::kWrap};
  int fanfares_ = 0;
  bool timedOut_ = false;
  bool fading_ = false;
  bool lastPage_ = false;
  bool finished_ = false;
  bool left_ = false;
};

// Shows the story from page p as the only screen; false (and nothing shown) when the document
// has no such page.
bool ShowComics(int page);

}  // namespace Menu
