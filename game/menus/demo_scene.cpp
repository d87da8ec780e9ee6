// The demo meadow's animations and particles.
#include "game/menus/demo_scene.h"

#include "anim/anim_catalogue.h"
#include "anim/pyro_device.h"
#include "anim/pyro_library.h"
#include "app/soft_cursor.h"

namespace Menu {

namespace {
constexpr float kSmokeX = 960, kSmokeY = 400;

void Emitters(Pyro::IEffectFile* file, std::vector<Pyro::IEmitter*>& out) {
  if (!file) return;
  for (int i = 0; i < file->EmitterCount(); ++i)
    if (Pyro::IEmitter* e = file->CreateEmitter(file->Emitter(i)->Id())) out.push_back(e);
}
}  // namespace

UIDemoScene::UIDemoScene() {
  InitState(Ignore);
  SetName("Scene");
  auto& anims = Core::animManager();
  windmill_ = anims.GetAnimation("windmill_sails");
  flag_ = anims.GetAnimation("flag_wave");
  windmill_.Start();
  flag_.Start();
  const float lanes[3][3] = {{-60, 70, 70}, {-300, 40, 55}, {1100, 95, -60}};
  for (const auto& l : lanes) {
    Bird b{anims.GetAnimation(l[2] > 0 ? "bird_fly" : "bird_fly_left"), l[0], l[1], l[2]};
    b.anim.Start();
    birds_.push_back(std::move(b));
  }
  device_ = std::make_unique<PyroParticles::CPyroGraphics>();
  library_ = pyroCreateLibrary(Pyro::kLibraryVersion, 2);
  if (library_) {
    library_->SetSeed(12345);
    library_->SetDevice(device_.get());
    for (const char* f : {"data/fx/chimney_smoke.pfx", "data/fx/sparkles.pfx"}) {
      Pyro::IEffectFile* file = library_->LoadEffectFile(f);
      if (file) file->Prepare();
      files_.push_back(file);
    }
    Emitters(files_[0], smoke_);
    Emitters(files_[1], sparkles_);
  }
}

UIDemoScene::~UIDemoScene() {
  for (auto* e : smoke_) e->Delete();
  for (auto* e : sparkles_) e->Delete();
  for (auto* f : files_)
    if (f) f->Delete();
  delete library_;
}

int UIDemoScene::Update(int dt) {
  const float s = dt / 1000.0f;
  time_ += s;
  windmill_.Advance(dt);
  flag_.Advance(dt);
  for (Bird& b : birds_) {
    b.anim.Advance(dt);
    b.x += b.speed * s;
    if (b.speed > 0 && b.x > 1100) b.x = -80;
    if (b.speed < 0 && b.x < -80) b.x = 1100;
  }
  for (auto* e : smoke_) {
    e->Move(time_, s, kSmokeX, kSmokeY, 0, true);
    e->Update(time_, s);
  }
  // Sparkles trail the mouse while it moves and fade where it rests.
  int x = 0, y = 0;
  cursorPosition(x, y);
  const bool moving = cursorExists() && (x != lastX_ || y != lastY_) && lastX_ >= 0;
  lastX_ = x;
  lastY_ = y;
  for (auto* e : sparkles_) {
    e->Move(time_, s, float(x), float(y), 0, moving);
    e->Update(time_, s);
  }
  return UIWnd::Update(dt);
}

int UIDemoScene::Draw() {
  if (Hidden()) return 0;
  windmill_.DrawCurrent(70, 330);
  flag_.DrawCurrent(900, 330);
  for (const Bird& b : birds_) b.anim.DrawCurrent(b.x, b.y);
  for (auto* e : smoke_) e->Render();
  for (auto* e : sparkles_) e->Render();
  return UIWnd::Draw();
}

int UIDemoScene::ParticleCount() const {
  int n = 0;
  for (auto* e : smoke_) n += e->ParticleCount();
  for (auto* e : sparkles_) n += e->ParticleCount();
  return n;
}

}  // namespace Menu
