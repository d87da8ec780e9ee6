// Keyframe playback for one viewer: object evaluation with cached matrices, loop markers, drawing
// pictures and texts, and sound keys.
#include <algorithm>
#include <cmath>

#include "anim/kf_library.h"
#include "anim/kf_track.h"
#include "gfx/font.h"
#include "gfx/render_device.h"
#include "gfx/sprite.h"
#include "sound/sound.h"

namespace {

constexpr uint32_t kModeNormal = kModeTintFade;                   // 4, 4, 1, 0x65
constexpr uint32_t kModeAdditive = grModeWord(2, 4, 1, 2, 2);     // 2, 4, 1, 0x22

KfSoundObserver g_observer = nullptr;

struct DrawCtx {
  C_AnimationPlayback& p;
  float t;
  float alpha;
  bool wrapped;     // this draw jumped back to the start of a loop
  float loopEnd;    // the loop's end when wrapped
};

void Compute(const C_AnimationObject& o, float t, C_ObjectState& st, const C_ObjectState* ps) {
  float x = 0, y = 0;
  kfEvalVector(o.position, t, x, y);
  const float r = kfEvalFloat(o.rotation, t, 0.0f);
  // Without keys scale and opacity are whole: 0 would hide the object and all its children.
  const float s = std::max(0.0f, kfEvalFloat(o.scale, t, 1.0f)) * st.globalScale;
  float alpha = std::clamp(kfEvalFloat(o.alpha, t, 1.0f), 0.0f, 1.0f);
  int cr = 255, cg = 255, cb = 255;
  kfEvalColour(o.colour, t, cr, cg, cb);
  Matrix3f parent;
  float us = s;
  if (ps) {
    parent = ps->world;
    us = s * ps->uniformScale;
    alpha *= ps->alpha;
    cr = int(cr / 255.0f * (ps->red / 255.0f) * 255.0f);
    cg = int(cg / 255.0f * (ps->green / 255.0f) * 255.0f);
    cb = int(cb / 255.0f * (ps->blue / 255.0f) * 255.0f);
  }
  float w = 0, h = 0;
  kfEvalVector(o.size, t, w, h);
  st.uniformScale = us;
  st.alpha = alpha;
  st.red = cr;
  st.green = cg;
  st.blue = cb;
  st.width = us * w;
  st.height = us * h;
  st.phase = kfEvalFloat(o.phase, t, 0.0f);
  st.world = Matrix3f::Rotation(r) * Matrix3f::Scale(s) *
             Matrix3f::Translation(st.globalScale * x, st.globalScale * y) * Matrix3f::Rotation(st.globalRotation) *
             parent * Matrix3f::Translation(st.offsetX, st.offsetY);
  st.invertible = st.world.Inverse(st.inverse);
  st.cachedTime = t;
}

uint32_t ColourWord(const C_AnimationObject& o, const C_ObjectState& st, float a) {
  auto byte = [](float v) { return uint32_t(std::clamp(int(v), 0, 255)); };
  if (o.normalBlend == 0)
    return 0xFF000000u | byte(st.red * a) << 16 | byte(st.green * a) << 8 | byte(st.blue * a);
  return byte(a * 255.0f) << 24 | uint32_t(st.red) << 16 | uint32_t(st.green) << 8 | uint32_t(st.blue);
}

void DrawPicture(const C_AnimationObject& o, const C_ObjectState& st, float px, float py, float c, float s,
                 uint32_t word) {
  if (!o.picture) return;
  int frame = 0;
  if (o.frameCount >= 2) frame = int((st.phase - std::floor(st.phase)) * 1000.0f);
  const float w = st.width, h = st.height;  // a negative size mirrors
  const float dx[4] = {-w / 2, w / 2, w / 2, -w / 2}, dy[4] = {-h / 2, -h / 2, h / 2, h / 2};
  float xy[8];
  for (int i = 0; i < 4; ++i) {
    xy[2 * i] = px + dx[i] * c - dy[i] * s;
    xy[2 * i + 1] = py + dx[i] * s + dy[i] * c;
  }
  const float sw = float(sprWidth(o.picture)), sh = float(sprHeight(o.picture));
  const float src[8] = {0, 0, sw, 0, sw, sh, 0, sh};
  const uint32_t colours[4] = {word, word, word, word};
  const uint32_t added[4] = {0xFF000000u, 0xFF000000u, 0xFF000000u, 0xFF000000u};
  grDrawSpriteQuad(o.normalBlend == 0 ? kModeAdditive : kModeNormal, 15, xy, o.picture, src, colours, added, frame);
}

void DrawText(const C_AnimationObject& o, const C_ObjectState& st, float px, float py, uint32_t word) {
  if (!o.font || o.textKey.empty() || o.lines.empty()) return;
  const float S = st.uniformScale * o.fitScale;
  if (!(S > 0)) return;
  const float bw = st.uniformScale * o.textBoxWidth, bh = st.uniformScale * o.textBoxHeight;
  const float L = float(fontLineHeight(o.font)) * S;
  const float total = L * float(o.lines.size());
  float top = o.textVAlign < 0 ? py - bh / 2 : o.textVAlign == 0 ? py - total / 2 : py - total + bh / 2;
  const uint32_t mode = o.textNormalBlend == 1 ? kModeNormal : kModeAdditive;
  for (const std::u16string& line : o.lines) {
    const float W = float(fontTextWidth(o.font, line.c_str())) * S;
    const float left = o.textHAlign < 0 ? px - bw / 2 : o.textHAlign == 0 ? px - W / 2 : px + bw / 2 - W;
    if (std::fabs(left) < 1e6f && std::fabs(top) < 1e6f)
      fontDrawText(mode, 15, S, S, o.font, left, int(std::lround(top)), line.c_str(), 0, -1, -1, word);
    top += L;
  }
}

void Play(DrawCtx& ctx, const C_AnimationObject& o, const C_SoundKey& k, float px) {
  const float x = std::clamp(px, -100000.0f, 100000.0f);
  const float pan = sndScreenPan(int(std::lround(x)));
  if (g_observer) g_observer(k.name.c_str(), pan);
  CSound* s = sndPlayEx(k.name.c_str(), SND_SOUND, 1.0f, pan, -1.0f);
  if (!k.keep || !s) return;
  auto& held = ctx.p.held;
  // The key's earlier instance is stopped before it is replaced, or it would play on unheld.
  for (auto it = held.begin(); it != held.end();) {
    if (it->object == o.index && it->keyTime == k.time) {
      sndStop(it->sound);
      sndUnhold(it->sound);
      it = held.erase(it);
    } else {
      ++it;
    }
  }
  sndHold(s);
  held.push_back({o.index, k.time, s});
}

void PlaySounds(DrawCtx& ctx, const C_AnimationObject& o, float from, float px) {
  const float t = ctx.t;
  for (const C_SoundKey& k : o.sounds) {
    bool due;
    // A jump back (loop or restart) begins a new pass: the keys left before the loop's end, and
    // those at the time jumped to, sound again.
    if (ctx.wrapped) due = (k.time > from && k.time < ctx.loopEnd) || k.time == t;
    else if (t < from) due = k.time == t;
    else due = k.time > from && k.time <= t;
    if (due) Play(ctx, o, k, px);
  }
}

void DrawObject(DrawCtx& ctx, const C_AnimationObject& o, float gs, float gr, float x, float y) {
  C_AnimationPlayback& p = ctx.p;
  if (size_t(o.index) >= p.objects.size()) return;
  {
    C_ObjectState& st = p.objects[size_t(o.index)];
    if (st.globalScale != gs || st.globalRotation != gr || std::fabs(st.offsetX - x) > 0.00001f ||
        std::fabs(st.offsetY - y) > 0.00001f) {
      st.globalScale = gs;
      st.globalRotation = gr;
      st.offsetX = x;
      st.offsetY = y;
      st.cachedTime = -1.0f;
    }
  }
  const float soundFrom = p.objects[size_t(o.index)].soundTime;
  const C_ObjectState& st = kfEvaluate(o, p, ctx.t);
  const float px = st.world.m[2][0], py = st.world.m[2][1];
  const float a = st.alpha * ctx.alpha;
  if (a > 0.00001f) {
    float ux = st.world.m[0][0], uy = st.world.m[0][1];
    const float len = std::sqrt(ux * ux + uy * uy);
    float c = 1, s = 0;
    if (len > 0 && std::isfinite(len)) {
      c = ux / len;
      s = uy / len;
    }
    const uint32_t word = ColourWord(o, st, a);
    DrawPicture(o, st, px, py, c, s, word);
    DrawText(o, st, px, py, word);
  }
  // Children go on even under an invisible parent: their own sound keys must still play.
  for (const auto& child : o.children) DrawObject(ctx, *child, 1.0f, 0.0f, 0.0f, 0.0f);
  PlaySounds(ctx, o, soundFrom, px);
  p.objects[size_t(o.index)].soundTime = ctx.t;
}

}  // namespace

void kfSetSoundObserver(KfSoundObserver observer) { g_observer = observer; }

const C_ObjectState& kfEvaluate(const C_AnimationObject& o, C_AnimationPlayback& p, float t) {
  static const C_ObjectState none;
  if (size_t(o.index) >= p.objects.size()) return none;
  const C_ObjectState* ps = nullptr;
  unsigned parentSerial = 0;
  if (o.parent) {
    ps = &kfEvaluate(*o.parent, p, t);
    parentSerial = ps->serial;
  }
  C_ObjectState& st = p.objects[size_t(o.index)];
  // A parent evaluated again since (moved, or another time) invalidates the child's matrices.
  if (st.serial != 0 && st.cachedTime == t && st.parentSerial == parentSerial) return st;
  Compute(o, t, st, ps == &none ? nullptr : ps);
  st.parentSerial = parentSerial;
  st.serial = ++p.serials;
  if (st.serial == 0) st.serial = ++p.serials;
  return st;
}

void kfAdvance(const C_Animation& a, C_AnimationPlayback& p, int ms) {
  p.time = std::min(p.time + float(ms) / 1000.0f, a.Length());
}

float kfDraw(const C_Animation& a, C_AnimationPlayback& p, float t, float alpha, float scale, float rotation, float x,
             float y) {
  p.Bind(a);
  DrawCtx ctx{p, t, alpha, false, 0.0f};
  // The first loop (smallest start) that is still armed decides.
  for (const C_StopKey& m : a.markers) {
    if (m.markerType != 2 || m.flag != 0) continue;
    if (t >= m.endTime) {
      ctx.wrapped = m.endTime > m.time;  // a loop of no length only holds its time
      ctx.loopEnd = m.endTime;
      ctx.t = t = m.time;
    }
    break;
  }
  if (p.previousTime < 0 || p.previousTime > t) p.previousTime = t;
  // Reaching a held sound's key ends the held sounds keyed before now.
  bool newHeld = false;
  for (const C_AnimationObject* o : a.flat)
    for (const C_SoundKey& k : o->sounds)
      if (k.keep && k.time > p.previousTime && k.time <= t) newHeld = true;
  for (auto it = p.held.begin(); it != p.held.end();) {
    const bool stop = newHeld && it->keyTime < t;
    if (stop || !sndIsPlaying(it->sound)) {
      sndStop(it->sound);
      sndUnhold(it->sound);
      it = p.held.erase(it);
    } else {
      ++it;
    }
  }
  for (const auto& o : a.objects) DrawObject(ctx, *o, scale, rotation, x, y);
  p.previousTime = t;
  return t;
}
