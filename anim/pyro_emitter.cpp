// The emitter: births spread exactly over the emission window (so a rate gives the same particles
// at any frame rate), constant-acceleration motion that is exact for any step, curves over life,
// and quads written straight into the device's vertex buffer.
#include <algorithm>
#include <cmath>

#include "anim/pyro_effect.h"
#include "anim/pyro_random.h"

namespace Pyro {
namespace {

using PyroGraphics::Vertex;

uint32_t Channel(float v) {
  const float c = v <= 0.f ? 0.f : v >= 1.f ? 255.f : v * 255.f + 0.5f;
  return uint32_t(c);
}

class CEmitter final : public IEmitter {
 public:
  CEmitter(std::shared_ptr<const EffectData> data, int index, std::shared_ptr<DeviceContext> ctx)
      : data_(std::move(data)), index_(index), emitterDef_(data_->def.emitters[size_t(index)]), ctx_(std::move(ctx)) {
    seed_ = MixSeed(ctx_->seed, ++ctx_->created);
    rng_.Seed(seed_);
    particles_.reserve(size_t(std::min(emitterDef_.maxParticles, 1024)));
  }

  void Restart() override {
    particles_.clear();
    carry_ = 0;
    burstDone_ = false;
    time_ = 0;
    born_ = 0;
    emitFlag_ = true;
  }
  const char* Id() const override { return emitterDef_.id.c_str(); }
  void Render() override;
  void Move(float time, float elapsed, float x, float y, float z, bool emit) override;
  void Emit(int count) override {
    count = std::min(count, emitterDef_.maxParticles);
    for (int i = 0; i < count; ++i) Spawn(0.f, x_, y_);
  }
  void Update(float time, float elapsed) override;
  int ParticleCount() const override { return int(particles_.size()); }
  const Particle* ParticleAt(int i) const override {
    return i >= 0 && i < ParticleCount() ? &particles_[size_t(i)] : nullptr;
  }
  void GetPosition(float& x, float& y, float& z) const override {
    x = x_;
    y = y_;
    z = z_;
  }
  void SetSeed(uint32_t seed) override {
    seed_ = seed;
    rng_.Seed(seed);
  }
  uint32_t Seed() const override { return seed_; }
  void SetScale(float s) override { scale_ = std::isfinite(s) && s > 0 ? s : 0.f; }
  float Scale() const override { return scale_; }
  void SetTint(uint32_t argb) override {
    tint_ = argb;
    for (int k = 0; k < 3; ++k) tintF_[k] = float((argb >> (16 - 8 * k)) & 255) / 255.f;
    tintF_[3] = float(argb >> 24) / 255.f;
  }
  uint32_t Tint() const override { return tint_; }
  int BornCount() const override { return born_; }
  bool IsAlive() const override { return !particles_.empty() || (emitFlag_ && !NothingMoreToEmit()); }
  bool IsEmitting() const override { return time_ >= emitterDef_.delay && !WindowOver(time_); }
  uint32_t ColorOf(const Particle& p) const override {
    float c[4];
    emitterDef_.color.At(p.age / p.life, c);
    const float a = c[3] * emitterDef_.alpha.At(p.age / p.life) * tintF_[3];
    return Channel(a) << 24 | Channel(c[0] * tintF_[0]) << 16 | Channel(c[1] * tintF_[1]) << 8 | Channel(c[2] * tintF_[2]);
  }
  void SetPosition(float x, float y, float z) override {
    x_ = x;
    y_ = y;
    z_ = z;
  }
  float SizeOf(const Particle& p) const override { return emitterDef_.size.At(p.age / p.life) * p.sizeFactor * scale_; }
  void Clear() override { particles_.clear(); }
  void SetRateScale(float s) override { rateScale_ = std::isfinite(s) && s > 0 ? s : 0.f; }
  float RateScale() const override { return rateScale_; }
  const IEmitterDesc* Description() const override { return &data_->descs[size_t(index_)]; }
  int DrawnCount() const override { return drawn_; }
  float Time() const override { return time_; }
  bool IsFinished() const override { return particles_.empty() && NothingMoreToEmit(); }
  void Delete() override { delete this; }

 private:
  bool WindowOver(float t) const { return emitterDef_.duration > 0 && t >= emitterDef_.delay + emitterDef_.duration; }
  // The window has closed, or the burst is out and there is no rate to emit more.
  bool NothingMoreToEmit() const { return WindowOver(time_) || (burstDone_ && emitterDef_.rate * rateScale_ <= 0); }
  // A particle born `age` seconds ago at (bx, by), already moved along for that time.
  void Spawn(float age, float bx, float by);
  void Advance(Particle& p, float dt) const;
  void Quads(const Particle* from, int count, Vertex* out) const;

  std::shared_ptr<const EffectData> data_;
  int index_;
  const EmitterDef& emitterDef_;
  std::shared_ptr<DeviceContext> ctx_;
  std::vector<Particle> particles_;
  Random rng_;
  uint32_t seed_ = 0;
  float x_ = 0, y_ = 0, z_ = 0;
  float time_ = 0;
  float carry_ = 0;  // share of the next particle already due
  bool burstDone_ = false;
  bool emitFlag_ = true;
  int born_ = 0;
  int drawn_ = 0;
  float scale_ = 1, rateScale_ = 1;
  uint32_t tint_ = 0xFFFFFFFFu;
  float tintF_[4] = {1, 1, 1, 1};
};

void CEmitter::Advance(Particle& p, float dt) const {
  // Constant acceleration integrates exactly, so the path does not depend on the step size.
  p.x += (p.vx + 0.5f * emitterDef_.gravityX * dt) * dt;
  p.y += (p.vy + 0.5f * emitterDef_.gravityY * dt) * dt;
  p.vx += emitterDef_.gravityX * dt;
  p.vy += emitterDef_.gravityY * dt;
  if (emitterDef_.drag > 0) {
    const float k = 1.f / (1.f + emitterDef_.drag * dt);
    p.vx *= k;
    p.vy *= k;
  }
  p.angle += p.spin * dt;
  p.age += dt;
}

void CEmitter::Spawn(float age, float bx, float by) {
  // Every birth draws the same numbers in the same order, whether or not it is kept, so a full
  // emitter does not shift the stream of the ones that follow.
  const float life = rng_.Between(emitterDef_.lifeMin, emitterDef_.lifeMax);
  const float dir = emitterDef_.direction + (rng_.Unit() - 0.5f) * emitterDef_.spread;
  const float speed = rng_.Between(emitterDef_.speedMin, emitterDef_.speedMax);
  float ox = rng_.Unit() - 0.5f, oy = rng_.Unit() - 0.5f;
  const float angle = rng_.Between(emitterDef_.angleMin, emitterDef_.angleMax);
  const float spin = rng_.Between(emitterDef_.spinMin, emitterDef_.spinMax);
  const float size = 1.f + (rng_.Unit() * 2.f - 1.f) * emitterDef_.sizeVariation;
  if (int(particles_.size()) >= emitterDef_.maxParticles || age >= life) return;
  if (emitterDef_.round) {
    // Radius and angle from the two numbers: even over the ellipse's area.
    const float r = std::sqrt(ox + 0.5f), a = (oy + 0.5f) * 6.2831853f;
    ox = 0.5f * r * std::cos(a);
    oy = 0.5f * r * std::sin(a);
  }
  Particle p;
  // Attached particles keep only their place in the area: they are drawn around the emitter.
  p.x = ox * emitterDef_.areaWidth + (emitterDef_.attached ? 0.f : bx);
  p.y = oy * emitterDef_.areaHeight + (emitterDef_.attached ? 0.f : by);
  p.vx = std::cos(dir) * speed;
  p.vy = std::sin(dir) * speed;
  p.age = 0;
  p.life = life;
  p.angle = angle;
  p.spin = spin;
  p.sizeFactor = size;
  if (age > 0) Advance(p, age);
  particles_.push_back(p);
  ++born_;
}

void CEmitter::Move(float time, float elapsed, float x, float y, float z, bool emit) {
  const float x0 = x_, y0 = y_;
  x_ = x;
  y_ = y;
  z_ = z;
  time_ = time;
  emitFlag_ = emit;
  if (!emit || !std::isfinite(time)) return;
  if (!std::isfinite(elapsed) || elapsed < 0) elapsed = 0;
  const float from = time - elapsed;
  // Where the emitter was at a moment of the step: births follow its path.
  auto at = [&](float t, float& bx, float& by) {
    const float f = elapsed > 0 ? std::clamp((t - from) / elapsed, 0.f, 1.f) : 1.f;
    bx = x0 + (x - x0) * f;
    by = y0 + (y - y0) * f;
  };
  float bx = 0, by = 0;
  if (!burstDone_ && time >= emitterDef_.delay) {
    burstDone_ = true;
    const float t = std::max(from, emitterDef_.delay);
    at(t, bx, by);
    for (int i = 0; i < emitterDef_.burst; ++i) Spawn(time - t, bx, by);
  }
  const float t0 = std::max(from, emitterDef_.delay);
  const float t1 = emitterDef_.duration > 0 ? std::min(time, emitterDef_.delay + emitterDef_.duration) : time;
  const float rate = emitterDef_.rate * rateScale_;
  if (t1 <= t0 || rate <= 0) return;
  // The j-th particle of this step is born when the running count passes a whole number.
  // A birth due within a millisecond's worth of rounding is counted now, so a window of whole
  // seconds gives whole numbers of particles however its steps fell.
  const float due = carry_ + rate * (t1 - t0);
  const int n = int(std::min(due + 1e-3f, float(kMaxParticlesPerEmitter)));
  for (int j = 1; j <= n; ++j) {
    const float tb = std::min(t0 + (float(j) - carry_) / rate, t1);
    at(tb, bx, by);
    Spawn(time - tb, bx, by);
  }
  carry_ = std::clamp(due - float(n), 0.f, 1.f);
}

void CEmitter::Update(float time, float elapsed) {
  time_ = time;
  if (!std::isfinite(elapsed) || elapsed <= 0) return;
  // Survivors keep their order, so alpha-blended particles keep drawing oldest first.
  size_t keep = 0;
  for (size_t i = 0; i < particles_.size(); ++i) {
    Particle& p = particles_[i];
    if (p.age + elapsed >= p.life) continue;
    Advance(p, elapsed);
    if (keep != i) particles_[keep] = p;
    ++keep;
  }
  particles_.resize(keep);
}

void CEmitter::Quads(const Particle* from, int count, Vertex* out) const {
  const float aspect = size_t(index_) < data_->aspect.size() ? data_->aspect[size_t(index_)] : 1.f;
  const float ox = emitterDef_.attached ? x_ : 0.f, oy = emitterDef_.attached ? y_ : 0.f;
  const bool turns = emitterDef_.angleMin != 0 || emitterDef_.angleMax != 0 || emitterDef_.spinMin != 0 || emitterDef_.spinMax != 0;
  for (int i = 0; i < count; ++i, out += 4) {
    const Particle& p = from[i];
    const float hw = 0.5f * SizeOf(p), hh = hw * aspect;
    const uint32_t c = ColorOf(p);
    const float cx = p.x + ox, cy = p.y + oy;
    // Corner offsets of the quad, turned by the particle's angle.
    float ax = hw, ay = 0, bx = 0, by = hh;
    if (turns) {
      const float cs = std::cos(p.angle), sn = std::sin(p.angle);
      ax = hw * cs;
      ay = hw * sn;
      bx = -hh * sn;
      by = hh * cs;
    }
    out[0] = Vertex{cx - ax - bx, cy - ay - by, 0.f, c, 0.f, 0.f};
    out[1] = Vertex{cx + ax - bx, cy + ay - by, 0.f, c, 1.f, 0.f};
    out[2] = Vertex{cx - ax + bx, cy - ay + by, 0.f, c, 0.f, 1.f};
    out[3] = Vertex{cx + ax + bx, cy + ay + by, 0.f, c, 1.f, 1.f};
  }
}

void CEmitter::Render() {
  drawn_ = 0;
  PyroGraphics::IDevice* dev = ctx_->device;
  if (!dev || particles_.empty() || size_t(index_) >= data_->textures.size()) return;
  PyroGraphics::ITexture* tex = data_->textures[size_t(index_)].get();
  PyroGraphics::IVertexBuffer* vb = tex ? ctx_->Quads() : nullptr;
  if (!vb || vb->QuadCapacity() <= 0) return;
  dev->SetBlend(PyroGraphics::kBlendSrcAlpha, emitterDef_.additive ? PyroGraphics::kBlendOne : PyroGraphics::kBlendInvSrcAlpha);
  dev->SetTexture(tex);
  vb->Clear();
  const int total = int(particles_.size());
  for (int i = 0; i < total;) {
    const int k = std::min(total - i, vb->QuadCapacity());
    Vertex* out = vb->Append(k);
    if (!out) break;
    Quads(&particles_[size_t(i)], k, out);
    dev->DrawQuads(vb);
    vb->Clear();
    i += k;
    drawn_ += k;
  }
}

}  // namespace

IEmitter* pyroNewEmitter(std::shared_ptr<const EffectData> data, int index, std::shared_ptr<DeviceContext> ctx) {
  if (!data || !ctx || index < 0 || size_t(index) >= data->def.emitters.size()) return nullptr;
  return new CEmitter(std::move(data), index, std::move(ctx));
}

}  // namespace Pyro
