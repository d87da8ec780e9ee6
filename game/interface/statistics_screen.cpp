// The statistics board after a won level.
#include "game/interface/statistics_screen.h"

#include <algorithm>

#include "anim/anim_catalogue.h"
#include "anim/fx_manager.h"
#include "anim/fx_simple_pyro.h"
#include "base/diag.h"
#include "files/file.h"
#include "files/ini.h"
#include "gfx/render_device.h"
#include "gfx/sprite.h"
#include "platform/platform.h"
#include "sound/sound.h"
#include "ui/wnd_create.h"


namespace Interface {
namespace {
// The windows of the board, in drawing order (later ones above).
constexpr const char* kWindows[] = {"Back",         "ScoresMat",     "WinAnim",     "Effect",      "FireWork",
                                    "Title",        "Sign",          "LevelName",   "PlayerName",  "LevelScore",
                                    "LevelScoreNum", "ResourcesScore", "ResourcesScoreNum", "TimeScore",
                                    "TimeScoreNum", "TotalScore",    "TotalScoreNum", "StatisticsOK",
                                    "StatisticsRestart"};
constexpr const char* kLabels[cStatisticsRun::kLines] = {"LevelScore", "ResourcesScore", "TimeScore", "TotalScore"};
constexpr const char* kNumbers[cStatisticsRun::kLines] = {"LevelScoreNum", "ResourcesScoreNum", "TimeScoreNum",
                                                          "TotalScoreNum"};
// Shown from the start of the fade (the rest appear as the run reaches them).
constexpr const char* kFrame[] = {"Back", "ScoresMat", "WinAnim", "Effect", "FireWork", "Title",
                                  "Sign", "LevelName", "StatisticsOK", "StatisticsRestart"};
}  // namespace

StatisticsStars statisticsReadStars(const char* file) {
  StatisticsStars s;
  s.sprite = iniString(file, "Stars", "sprite");
  s.startX = iniGetInt(file, "Stars", "startX", 512);
  s.startY = iniGetInt(file, "Stars", "startY", 384);
  s.x = iniGetInt(file, "Stars", "x", 512);
  s.y = iniGetInt(file, "Stars", "y", 200);
  s.deltaX = iniGetInt(file, "Stars", "deltaX", 80);
  return s;
}

StarPoint statisticsStarAt(StarPoint from, StarPoint to, int32_t elapsedMs) {
  const float t = std::clamp(float(elapsedMs) / float(cStatisticsRun::kStarFlightMs), 0.0f, 1.0f);
  return {from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t};
}

UILevelStatistics::UILevelStatistics() {
  SetName("Statistics");
  SetHidden(true);
}

UILevelStatistics::~UILevelStatistics() { sprRelease(m_starSprite); }

bool UILevelStatistics::Build(const char* file) {
  if (m_built) return true;
  if (!fileExists(file)) {
    errorLog("%s: missing; a won level shows no statistics board\n", file);
    return false;
  }
  Load(file, "Main");
  SetName("Statistics");
  for (const char* name : kWindows)
    if (iniString(file, name, "type").size()) wndCreate(file, name, this);
  if (!FindChild("StatisticsOK") || !FindChild("StatisticsRestart")) {
    // Without its buttons the board could never be closed.
    errorLog("%s: [StatisticsOK] and [StatisticsRestart] are needed; the board is not used\n", file);
    return false;
  }
  m_stars = statisticsReadStars(file);
  if (!m_stars.sprite.empty()) m_starSprite = sprGet(m_stars.sprite.c_str());
  SetHidden(true);
  m_built = true;
  return true;
}

void UILevelStatistics::ShowChild(const char* name, bool shown) {
  if (UIWnd* w = FindChild(name)) w->SetHidden(!shown);
}

StarPoint UILevelStatistics::StarPlace(int32_t i) const {
  return {statisticsStarX(m_stars.x, m_stars.deltaX, m_run.Stars(), i), float(m_stars.y)};
}

void UILevelStatistics::Show(const StatisticsScores& scores, int32_t levelNumber, const std::u16string& playerName) {
  if (!m_built) return;
  if (!m_hit) {
    // The effects are taken when first needed: most levels built never show the board.
    m_countAnim = Core::animManager().GetAnimation("StatisticsCount");
    if (m_countAnim.IsValid()) m_countAnim.Start();
    for (auto& t : m_trails) {
      t = std::make_unique<FxManager::cSimplePyro>();
      t->Load("StarTrail");
    }
    m_hit = std::make_unique<FxManager::cSimplePyro>();
    m_hit->Load("StarHit");
  }
  SetHidden(false);
  ResetAnswer();
  m_seals = 0;
  if (Y() == 0) SetPos(X(), kShownY);
  if (UIWnd* w = FindChild("LevelName")) w->SetCaption(levelTitle(levelNumber));
  if (UIWnd* w = FindChild("PlayerName")) w->SetCaption(playerName);
  m_run.Show(scores);
  for (int i = 0; i < ChildCount(); ++i) Child(i)->SetHidden(true);
  for (const char* name : kFrame) ShowChild(name, true);
  for (auto& t : m_trails)
    if (t) t->Stop(true);
  m_trailOn.fill(false);
  if (m_hit) m_hit->Stop(true);
  FxManager::fxManager().StartFireWorks();
  // The mouse may stand on a button: it is picked again by the next move.
  if (UIWnd* a = ActiveChild()) a->SetState(Normal);
  active_ = -1;
  SetAlpha(0);
  SyncWindows();
}

void UILevelStatistics::Hide() {
  SetHidden(true);
  for (auto& t : m_trails)
    if (t) t->Stop(true);
  if (m_hit) m_hit->Stop(true);
}

void UILevelStatistics::SyncWindows() {
  SetAlpha(uint8_t(std::clamp(int(m_run.Alpha() + 0.5f), 0, 255)));
  ShowChild("PlayerName", m_run.Phase() >= 2);
  for (int32_t line = 0; line < cStatisticsRun::kLines; ++line) {
    const bool shown = m_run.LineShown(line);
    ShowChild(kLabels[line], shown);
    ShowChild(kNumbers[line], shown);
    if (UIWnd* n = FindChild(kNumbers[line])) n->SetCaptionF("%d", int(m_run.LineValue(line)));
  }
}

int UILevelStatistics::Update(int dt) {
  if (Hidden()) return 0;
  const int32_t landed = m_run.Update(dt);
  for (int32_t i = 0; i < 3; ++i) {
    const cStatisticsRun::Star& s = m_run.StarAt(i);
    FxManager::cSimplePyro* trail = m_trails[size_t(i)].get();
    if (!trail) continue;
    const bool inFlight = s.flying && s.elapsedMs < cStatisticsRun::kStarFlightMs;
    bool& on = m_trailOn[size_t(i)];
    if (inFlight) {
      const StarPoint p = statisticsStarAt({float(m_stars.startX), float(m_stars.startY)}, StarPlace(i), s.elapsedMs);
      if (!on) trail->Start();
      on = true;
      trail->SetPosition(p.x, p.y);
    } else if (on) {
      on = false;
      trail->Stop(false);
      // This star has just come down: the seal and the burst.
      if (landed > 0 && m_hit) {
        const StarPoint p = StarPlace(i);
        m_hit->SetPosition(p.x, p.y);
        m_hit->Start();
      }
    }
    trail->Update(float(dt));
  }
  for (int32_t i = 0; i < landed; ++i) {
    sndPlay("StatisticsSeal");
    ++m_seals;
  }
  if (m_hit) m_hit->Update(float(dt));
  if (m_countAnim.IsValid()) m_countAnim.Advance(dt);
  FxManager::fxManager().UpdateFireWorks(float(dt));
  SyncWindows();
  return UIWnd::Update(dt);
}

int UILevelStatistics::Draw() {
  if (Hidden()) return 0;
  UIWndSprite::Draw();
  const int alpha = std::clamp(int(m_run.Alpha() + 0.5f), 0, 255);
  // The count's sparkle at the number that is counting.
  const int32_t phase = m_run.Phase();
  if (m_countAnim.IsValid() && phase >= 2 && phase < cStatisticsRun::kDonePhase)
    if (UIWnd* n = FindChild(kNumbers[phase - 2]))
      m_countAnim.DrawFaded(n->X() + n->Width() / 2, n->Y() + n->Height() / 2, alpha, 1.0f, 1.0f);
  for (auto& t : m_trails)
    if (t) t->Render();
  if (m_hit) m_hit->Render();
  if (!m_starSprite) return 0;
  const uint32_t argb = (uint32_t(alpha) << 24) | 0x00FFFFFFu;
  for (int32_t i = 0; i < m_run.Stars(); ++i) {
    const cStatisticsRun::Star& s = m_run.StarAt(i);
    if (!s.flying) continue;
    const StarPoint p = statisticsStarAt({float(m_stars.startX), float(m_stars.startY)}, StarPlace(i), s.elapsedMs);
    const float scale = cStatisticsRun::StarScale(s.elapsedMs);
    sprDrawRotated(kModeFade, 15, p.x, p.y, 0.0f, scale, scale, m_starSprite, argb, 0);
  }
  return 0;
}

bool UILevelStatistics::TakeKey() {
  if (m_run.Phase() == cStatisticsRun::kDonePhase) return false;
  m_run.Skip();
  SyncWindows();
  return true;
}

}  // namespace Interface
