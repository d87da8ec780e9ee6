// The effects gallery screen and its show window.
#include "ui/fx_gallery.h"

#include <cstdio>
#include <memory>
#include <string>

#include "anim/fx_fireworks.h"
#include "anim/fx_sin_effect.h"
#include "base/diag.h"
#include "files/file.h"
#include "files/ini.h"
#include "platform/platform.h"
#include "ui/ui_page_screen.h"
#include "ui/widget_sprite.h"
#include "ui/wnd_create.h"

namespace FxManager {

namespace {
constexpr const char* kDefinition = "data/menu/fx_gallery.ini";
constexpr int kMaxPathPoints = 8;
}  // namespace

// The show: runs its own fireworks (again whenever they have burnt out), a comet that flies its
// path over and over, and a rising wave launched at a steady beat.
class UIFxGallery : public UIWnd {
 public:
  void Load(const char* file, const char* section) override {
    UIWnd::Load(file, section);
    InitState(Ignore);
    fireWorks_.Load(iniGetString(file, section, "fireWorks", "data/fx/effects.ini"), "fireWorks");
    comet_.Load(iniGetString(file, section, "flight", "GalleryComet"));
    comet_.SetDuration(iniGetFloat(file, section, "flightDuration", 2500));
    flightPause_ = iniGetInt(file, section, "flightPause", 800);
    BezierPoint path[kMaxPathPoints];
    int n = 0;
    for (; n < kMaxPathPoints; ++n) {
      const std::string key = "path" + std::to_string(n);
      const std::string value = iniGetString(file, section, key.c_str(), "");
      BezierPoint& p = path[n];
      if (value.empty() || std::sscanf(value.c_str(), "%f %f %f %f", &p.cx, &p.cy, &p.ax, &p.ay) != 4) break;
    }
    comet_.SetPath(path, n);
    wave_.Load(iniGetString(file, section, "wave", "RisingWave"));
    wavePeriod_ = iniGetInt(file, section, "wavePeriod", 1800);
    if (wavePeriod_ < 100) wavePeriod_ = 100;
  }

  int Update(int dt) override {
    const float ms = float(dt);
    if (!fireWorks_.IsRunning()) fireWorks_.Start();
    fireWorks_.Update(ms);

    sinceFlight_ += dt;
    if (comet_.IsStopped(false) && !comet_.IsFlying() && sinceFlight_ >= flightPause_) {
      comet_.Start();
      sinceFlight_ = 0;
    }
    if (comet_.IsFlying()) sinceFlight_ = 0;
    comet_.Update(ms);

    sinceWave_ += dt;
    if (sinceWave_ >= wavePeriod_) {
      sinceWave_ = 0;
      wave_.StopFlight();
      wave_.Launch();
    }
    wave_.Update(ms);
    return UIWnd::Update(dt);
  }

  int Draw() override {
    if (Hidden()) return 0;
    fireWorks_.Render();
    comet_.Render();
    wave_.Render();
    return UIWnd::Draw();
  }

 private:
  cFireWorks fireWorks_;
  cBezierPyro comet_;
  cDecreaseSinEffect wave_;
  int flightPause_ = 800, sinceFlight_ = 1 << 20;
  int wavePeriod_ = 1800, sinceWave_ = 1 << 20;
};

}  // namespace FxManager

void fxRegisterGalleryType() {
  wndRegisterType("fxGallery", []() -> UIWnd* { return new FxManager::UIFxGallery(); });
}

UIWnd* fxCreateGallery(std::function<void()> onClose) {
  fxRegisterGalleryType();
  return wndCreatePageScreen("Effects gallery", FxManager::kDefinition, std::move(onClose));
}
