// The picture stories: pages, voices, the cross-fade and the closing sequence of the last story.
#include "game/menus/comics.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <strings.h>

#include "base/diag.h"
#include "files/file.h"
#include "files/ini.h"
#include "files/players.h"
#include "game/menus/level_flow.h"
#include "game/menus/menu_title.h"
#include "game/menus/screens.h"
#include "gfx/render.h"
#include "platform/platform.h"
#include "sound/sound.h"
#include "ui/ui_fade.h"
#include "ui/wnd_create.h"

namespace Menu {

namespace {
// The buttons of the screen, after "Eyes" and "Fade".
constexpr const char* kButtons[] = {"Prev", "Next", "Skip", "Play"};

bool Is(const UIWnd* w, const char* name) { return w && strcasecmp(w->Name(), name) == 0; }

bool HasSection(const char* file, const std::string& section) {
  for (const std::string& s : iniSectionList(file))
    if (strcasecmp(s.c_str(), section.c_str()) == 0) return true;
  return false;
}

std::string PageSection(const char* prefix, int p) { return prefix + std::to_string(p); }

// The voices' script is loaded once while any story screen lives (a new story is built before
// the old one is destroyed).
int g_soundUsers = 0;
bool g_soundsLoaded = false;
void SoundsAcquire() {
  if (g_soundUsers++ > 0) return;
  if (sndIsInit() && fileExists(UIComics::kSoundFile)) {
    sndLoadScript(UIComics::kSoundFile);
    g_soundsLoaded = true;
  }
}
void SoundsRelease() {
  if (g_soundUsers <= 0 || --g_soundUsers > 0) return;
  if (g_soundsLoaded && sndIsInit()) sndFreeScript(UIComics::kSoundFile);
  g_soundsLoaded = false;
}

bool VoicesOn() {
  const PlayerProgress* p = playerProgress();
  return !p || p->voicesOn;
}

bool IsMouseButton(int code) { return code == VK_LBUTTON_ || code == VK_RBUTTON_ || code == VK_MBUTTON_; }
}  // namespace

cComicsPlan cComicsPlan::Read(const char* file) {
  cComicsPlan plan;
  plan.introPage = iniGetInt(file, "Main", "introPage", plan.introPage);
  plan.introEndPage = iniGetInt(file, "Main", "introEndPage", plan.introEndPage);
  plan.gameEndPage = iniGetInt(file, "Main", "gameEndPage", plan.gameEndPage);
  plan.gameEndLevel = iniGetInt(file, "Main", "gameEndLevel", plan.gameEndLevel);
  if (HasSection(file, "AfterLevel")) {
    plan.afterLevel.clear();
    for (const std::string& key : iniKeyList(file, "AfterLevel")) {
      char* end = nullptr;
      const long level = std::strtol(key.c_str(), &end, 10);
      const int page = iniGetInt(file, "AfterLevel", key.c_str(), 0);
      if (!end || *end || level < 1 || level > kProgressLevels || page < 1 || page > UIComics::kMaxPage) {
        errorLog("%s [AfterLevel]: \"%s\" is not a level from 1 to %d with a page from 1 to %d; left out\n", file,
                 key.c_str(), kProgressLevels, UIComics::kMaxPage);
        continue;
      }
      plan.afterLevel.emplace_back(int(level), page);
    }
  }
  return plan;
}

int cComicsPlan::PageAfterLevel(int level) const {
  for (const auto& [l, p] : afterLevel)
    if (l == level) return p;
  return 0;
}

UIComics::UIComics(int page) : page_(page) {
  SetName("Comics");
  SoundsAcquire();
}

UIComics::~UIComics() {
  StopVoice();
  SoundsRelease();
}

bool UIComics::PageExists(int p) {
  return p >= 1 && p <= kMaxPage &&
         (HasSection(kFile, PageSection("Back", p)) || HasSection(kFile, PageSection("Text", p)));
}

int UIComics::LastPageFrom(int p) {
  int q = std::max(p, 1);
  for (; q <= kMaxPage && PageExists(q); ++q)
    if (iniGetInt(kFile, PageSection("Back", q).c_str(), "last", 0)) return q;
  // No page marks the end: the run ends with its final page.
  return std::max(p, q - 1);
}

void UIComics::Load(const char* file, const char* section) {
  UIWnd::Load(file, section);
  SetName("Comics");
  plan_ = cComicsPlan::Read(file);
  InitState(Normal);
  if ((eyes_ = wndCreate(file, "Eyes", this))) {
    // A picture over everything that must never take the pointer from the buttons.
    eyes_->InitState(Ignore);
    eyes_->SetAlpha(0);
  }
  auto* fade = new Core::UIFade();
  fade->SetName("Fade");
  fade->SetPos(0, 0);
  fade->SetSize(kLogicalWidth, kLogicalHeight);
  fade->Setup(kCrossFadeMs, 255, 0, true);
  fade->Start(1, 1, 0);
  AddChild(fade);
  for (const char* b : kButtons) wndCreate(file, b, this);
  fixedEnd_ = childCount_;
  wndCreate(file, "Back", this);
  active_ = -1;
  if (!PageExists(page_)) errorLog("%s: no page %d (no section \"Back%d\" or \"Text%d\")\n", file, page_, page_, page_);
  ShowPage(page_);
}

void UIComics::StopVoice() {
  if (!voice_) return;
  if (sndIsInit()) sndRelease(voice_);
  voice_ = nullptr;
}

void UIComics::RemovePageWindows(UIWnd*& text, UIWnd*& picture) {
  if (text) RemoveChild(text);
  if (picture) RemoveChild(picture);
  text = picture = nullptr;
}

void UIComics::PlaceChild(UIWnd* child, int at) {
  int from = -1;
  for (int i = 0; i < childCount_; ++i)
    if (children_[i] == child) from = i;
  if (from < 0) return;
  at = std::clamp(at, 0, childCount_ - 1);
  UIWnd* const wasActive = ActiveChild();
  if (from > at) std::move_backward(children_ + at, children_ + from, children_ + from + 1);
  else std::move(children_ + from + 1, children_ + at + 1, children_ + from);
  children_[at] = child;
  // The hovered window keeps its hover however the list moved.
  active_ = -1;
  for (int i = 0; i < childCount_; ++i)
    if (children_[i] == wasActive) active_ = int8_t(i);
}

void UIComics::ShowPage(int p) {
  if (p < 1 || p > kMaxPage) return;
  // The page before the previous one may still stand if pages were turned during a cross-fade.
  RemovePageWindows(prevText_, prevPicture_);
  prevText_ = text_;
  prevPicture_ = picture_;
  text_ = picture_ = nullptr;
  StopVoice();
  page_ = p;
  timedOut_ = false;
  pageTimer_.Stop();
  const std::string textSection = PageSection("Text", p), backSection = PageSection("Back", p);
  if ((text_ = wndCreate(kFile, textSection.c_str(), this, true))) {
    PlaceChild(text_, fixedEnd_);
    text_->Refresh();
  }
  const std::string voice = VoicesOn() ? iniText(kFile, backSection.c_str(), "sound") : std::string();
  if (!voice.empty() && sndIsInit()) {
    voice_ = sndGet(voice.c_str(), SND_SOUND);
    if (voice_) {
      sndStart(voice_, 0);
      // "voiceTime" gives the page its own length; without it the voice's own length and a
      // little after it (the long sixth page of the full campaign excepted).
      int32_t ms = iniGetInt(kFile, backSection.c_str(), "voiceTime", -1);
      if (ms < 0 && p == kLongVoicePage) ms = kLongVoiceMs;
      if (ms <= 0) ms = int32_t(std::lround(sndGetLength(voice_) * 1000.0f)) + kVoiceTailMs;
      pageTimer_.SetPeriod(ms);
      pageTimer_.Restart();
    }
  }
  picture_ = wndCreate(kFile, backSection.c_str(), this, true);
  const bool first = iniGetInt(kFile, backSection.c_str(), "first", 0) != 0;
  lastPage_ = iniGetInt(kFile, backSection.c_str(), "last", 0) != 0;
  if (UIWnd* prev = FindChild("Prev")) prev->SetState(first || p <= 1 ? Ignore : Normal);
  if (UIWnd* next = FindChild("Next")) next->SetState(lastPage_ ? Ignore : Normal);
  if (UIWnd* skip = FindChild("Skip")) skip->SetHidden(lastPage_);
  if (UIWnd* play = FindChild("Play")) {
    play->SetHidden(!lastPage_);
    play->SetState(lastPage_ ? Normal : Ignore);
  }
  crossFade_.Set(kCrossFadeMs, 0.0f, 255.0f);
  fading_ = true;
}

void UIComics::EndComics() {
  if (state_ >= kClosing) return;
  if (UIWnd* fade = FindChild("Fade")) fade->Start(0, 1, 0);
  StopVoice();
  state_ = kClosing;
}

void UIComics::NextOrEnd() {
  if (lastPage_ || !PageExists(page_ + 1)) EndComics();
  else ShowPage(page_ + 1);
}

void UIComics::FinishPage() {
  if (text_) text_->Start(0, 0, 0);
  pageTimer_.Stop();
  timedOut_ = true;
}

UIWnd* UIComics::ButtonAt(int x, int y) const {
  for (const char* name : kButtons) {
    UIWnd* b = FindChild(name);
    if (b && !b->Hidden() && b->State() != Ignore && b->HitTest(x, y)) return b;
  }
  return nullptr;
}

int UIComics::KeyDown(int code, int value) {
  if (!IsMouseButton(code) && (value & (1 << 30))) return 1;  // auto-repeat
  if (state_ == kCreditsWait || state_ == kCreditsRoll) {
    // The credits give way to the eyes at once.
    state_ = kCreditsFade;
    pageTimer_.SetFlags(0);
    pageTimer_.SetPeriod(kCreditsFadeMs);
    pageTimer_.Restart();
    return 1;
  }
  if (state_ != kShowing) return 1;
  if (IsMouseButton(code))
    if (UIWnd* b = ButtonAt(UIWndSprite::PosX(value), UIWndSprite::PosY(value)); b && b == ActiveChild())
      return UIWnd::KeyDown(code, value);
  if (fading_) return 1;
  sndPlay("menu_click");
  if (code == VK_ESCAPE_) {
    page_ = LastPageFrom(page_);
    EndComics();
  } else if (timedOut_) {
    NextOrEnd();
  } else {
    FinishPage();
  }
  return 1;
}

int UIComics::MouseMove(int buttons, int value) {
  if (state_ != kShowing) return 1;
  TrackHover(value);
  if (UIWnd* a = ActiveChild()) a->MouseMove(buttons, value);
  return 1;
}

int UIComics::OnCommand(UIWnd* source) {
  if (!source) return 1;
  if (Is(source, "Fade")) {
    if (state_ == kOpening) {
      state_ = kShowing;
    } else if (state_ == kClosing) {
      if (page_ == plan_.gameEndPage) StartClosingSequence();
      else finished_ = true;
    }
    return 1;
  }
  if (source == text_) {
    // The text has typed itself out: with no voice to follow, the page turns a little later.
    if (!voice_) {
      pageTimer_.SetPeriod(kTextWaitMs);
      pageTimer_.Restart();
    }
    return 1;
  }
  if (state_ != kShowing) return 1;
  if (Is(source, "Prev")) {
    if (page_ > 1 && PageExists(page_ - 1)) ShowPage(page_ - 1);
  } else if (Is(source, "Next")) {
    if (!lastPage_ && PageExists(page_ + 1)) ShowPage(page_ + 1);
  } else if (Is(source, "Skip")) {
    if (const int last = LastPageFrom(page_); last != page_) ShowPage(last);
  } else if (Is(source, "Play")) {
    EndComics();
  }
  return 1;
}

void UIComics::SetEyesAlpha(int a) {
  if (eyes_) eyes_->SetAlpha(uint8_t(std::clamp(a, 0, 255)));
}

void UIComics::StartClosingSequence() {
  // The page itself is gone under the black; the last texts and pictures are not needed.
  RemovePageWindows(prevText_, prevPicture_);
  RemovePageWindows(text_, picture_);
  fading_ = false;
  int32_t opening = 0;
  if (HasSection(kFile, "Title")) {
    title_ = new UIMenuTitle();
    title_->Load(kFile, "Title");
    if (AddChild(title_)) {
      PlaceChild(title_, eyes_ ? 1 : 0);
      if (title_->Animation(0).IsValid()) opening = std::max(0, title_->Animation(0).Period());
    } else {
      title_ = nullptr;
    }
  }
  // Over the black fade, under the eyes.
  if ((credits_ = wndCreate(kFile, "Credits", this))) {
    credits_->InitState(Ignore);
    PlaceChild(credits_, eyes_ ? 1 : 0);
  }
  creditsRise_ = 0.0f;
  pageTimer_.SetFlags(0);
  pageTimer_.SetPeriod(opening + kCreditsPause);
  pageTimer_.Restart();
  fanfareTimer_.Restart();
  sndPlayMusic("music1", 1, 1, nullptr);
  state_ = kCreditsWait;
}

void UIComics::ClosingSequenceStep(int dt) {
  if (fanfares_ < kFanfares && fanfareTimer_.Advance(dt)) {
    sndPlay("AllTasksCompleted");
    if (++fanfares_ >= kFanfares) fanfareTimer_.Stop();
  }
  switch (state_) {
    case kCreditsWait:
      if (pageTimer_.Advance(dt)) state_ = kCreditsRoll;
      break;
    case kCreditsRoll: {
      if (!credits_) {
        state_ = kEyesStart;
        break;
      }
      creditsRise_ += float(dt) * float(kCreditsSpeed) / 1000.0f;
      const int move = int(creditsRise_);
      creditsRise_ -= float(move);
      if (move > 0) credits_->MoveBy(0, -move);
      if (credits_->Y() + credits_->Height() <= 0) state_ = kEyesStart;
      break;
    }
    case kCreditsFade: {
      const bool ended = pageTimer_.Advance(dt);
      if (credits_) {
        int a = int(255.0f * (1.0f - pageTimer_.Fraction()));
        if (ended || a < 10) a = 0;
        credits_->SetAlpha(uint8_t(a));
      }
      if (ended) state_ = kEyesStart;
      break;
    }
    default:
      break;
  }
  if (state_ == kEyesStart) {
    state_ = kEyesIn;
    pageTimer_.SetFlags(0);
    pageTimer_.SetPeriod(kEyesMs);
    pageTimer_.Restart();
    SetEyesAlpha(0);
    return;
  }
  if (state_ == kEyesIn) {
    if (pageTimer_.Advance(dt)) {
      SetEyesAlpha(kEyesAlpha);
      state_ = kEyesOut;
      sndPlay("WitchLaugh");
      pageTimer_.SetFlags(PeriodTimer::kBackwards);
      pageTimer_.SetPeriod(kEyesMs);
      pageTimer_.Restart();
    } else {
      SetEyesAlpha(kEyesAlpha * pageTimer_.Time() / kEyesMs);
    }
  } else if (state_ == kEyesOut) {
    if (pageTimer_.Advance(dt)) {
      SetEyesAlpha(0);
      finished_ = true;
    } else {
      SetEyesAlpha(kEyesAlpha * pageTimer_.Time() / kEyesMs);
    }
  }
}

void UIComics::Leave() {
  if (left_) return;
  left_ = true;
  if (page_ == plan_.introEndPage) {
    StartLevel();
  } else if (page_ == plan_.gameEndPage) {
    sndPlayMusic("menu", 1, 1, nullptr);
    ShowMainMenu(true);
  } else {
    ShowLevelMap();
  }
}

int UIComics::Update(int dt) {
  if (finished_) {
    StopVoice();
    Leave();
    return 1;
  }
  if (state_ >= kCreditsWait) {
    ClosingSequenceStep(dt);
  } else if (pageTimer_.Advance(dt)) {
    timedOut_ = true;
    if (state_ == kShowing) NextOrEnd();
  }
  if (fading_) {
    const bool ended = crossFade_.Advance(dt);
    const int shown = ended ? 255 : std::clamp(int(std::lround(crossFade_.Value())), 0, 255);
    // The page before lies over the new one and fades away from it.
    if (prevText_) prevText_->SetAlpha(uint8_t(255 - shown));
    if (prevPicture_) prevPicture_->SetAlpha(uint8_t(255 - shown));
    if (ended) {
      RemovePageWindows(prevText_, prevPicture_);
      fading_ = false;
    }
  }
  return UIWnd::Update(dt);
}

bool ShowComics(int page) {
  if (!fileExists(UIComics::kFile) || !UIComics::PageExists(page)) return false;
  auto* comics = new UIComics(page);
  comics->Load(UIComics::kFile, "Main");
  ShowScreen(comics);
  return true;
}

}  // namespace Menu
