// cSimplePyro: loading from the catalogue, start delay, offsets and the four states.
#include "anim/fx_simple_pyro.h"

#include <cstring>

#include "anim/fx_pyro_manager.h"
#include "anim/pyro_library.h"
#include "base/diag.h"
#include "files/ini.h"

namespace FxManager {

namespace {
std::string Key(const char* base, int n) { return base + std::to_string(n); }
}  // namespace

cSimplePyro::~cSimplePyro() { ReleaseEmitters(); }

void cSimplePyro::ReleaseEmitters() {
  for (Pyro::IEmitter* e : emitters_) e->Delete();
  emitters_.clear();
  offsets_.clear();
}

void cSimplePyro::Load(const char* section) {
  ReleaseEmitters();
  state_ = kStopped;
  time_ = 0;
  delay_ = 0;
  base_ = Offset{};
  cPyroManager& pm = pyroManager();
  const size_t len = section ? std::strlen(section) : 0;
  if (len > kMaxNameBytes) {
    errorLog("%s: effect name of %zu bytes (at most %zu): \"%.40s...\" has no emitters\n", pm.CatalogueFile().c_str(),
             len, kMaxNameBytes, section);
    name_.assign(section, kMaxNameBytes);
    return;
  }
  name_ = section ? section : "";
  Pyro::IEffectFile* file = pm.FindEffectFile(name_);
  if (!file) return;
  const char* cat = pm.CatalogueFile().c_str();
  const char* sec = name_.c_str();
  delay_ = float(iniGetInt(cat, sec, "startTimeout", 0)) / 1000.0f;
  if (delay_ < 0) delay_ = 0;
  base_ = Offset{iniGetInt(cat, sec, "offsetX", 0), iniGetInt(cat, sec, "offsetY", 0)};
  for (int i = 0; i < file->EmitterCount(); ++i) {
    const Pyro::IEmitterDesc* d = file->Emitter(i);
    Pyro::IEmitter* e = d ? file->CreateEmitter(d->Id()) : nullptr;
    if (!e) continue;
    emitters_.push_back(e);
    offsets_.push_back(Offset{iniGetInt(cat, sec, Key("offsetX", i + 1).c_str(), 0),
                              iniGetInt(cat, sec, Key("offsetY", i + 1).c_str(), 0)});
  }
}

void cSimplePyro::LoadFrom(const char* file, const char* section) {
  const std::string name = iniGetString(file, section, "name", "");
  Load(name.c_str());
}

void cSimplePyro::Start() {
  for (size_t i = 0; i < emitters_.size(); ++i) {
    emitters_[i]->Restart();
    emitters_[i]->SetPosition(x_ + float(base_.x + offsets_[i].x), y_ + float(base_.y + offsets_[i].y), 0);
  }
  time_ = 0;
  elapsedMs_ = 0;
  state_ = kRunning;
}

bool cSimplePyro::Update(float ms) {
  if (state_ == kStopped || state_ == kIdle) return false;
  const float elapsed = ms / 1000.0f;
  elapsedMs_ += double(ms);  // summed in milliseconds so 25 ms steps land exactly on the delay
  time_ = float(elapsedMs_ / 1000.0);
  if (time_ < delay_) return true;
  const float t = time_ - delay_;
  // The first step after the delay only covers the part of it past the delay.
  const float dt = elapsed < t ? elapsed : t;
  const bool emit = state_ != kStopping;
  bool allDone = true;
  for (size_t i = 0; i < emitters_.size(); ++i) {
    Pyro::IEmitter* e = emitters_[i];
    e->Update(t, dt);
    e->Move(t, dt, x_ + float(base_.x + offsets_[i].x), y_ + float(base_.y + offsets_[i].y), 0, emit);
    allDone = allDone && (!e->IsAlive() || e->IsFinished());
  }
  if (time_ > delay_ + kBurnOutSeconds && allDone) state_ = kStopped;
  return true;
}

void cSimplePyro::Render() {
  if (state_ == kStopped || time_ < delay_) return;
  for (Pyro::IEmitter* e : emitters_) e->Render();
}

void cSimplePyro::Stop(bool immediately) {
  if (state_ == kStopped) return;
  if (state_ == kStopping && !immediately) return;
  state_ = immediately ? kStopped : kStopping;
}

bool cSimplePyro::IsStopped(bool strict) const {
  return strict ? state_ == kStopped : (state_ == kStopped || state_ == kStopping);
}

void cSimplePyro::SetPosition(float x, float y) {
  x_ = x;
  y_ = y;
}

void cSimplePyro::GetPosition(float& x, float& y) const {
  x = x_;
  y = y_;
}

int cSimplePyro::ParticleCount() const {
  int n = 0;
  for (Pyro::IEmitter* e : emitters_) n += e->ParticleCount();
  return n;
}

}  // namespace FxManager
