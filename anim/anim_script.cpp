// The animation-script player: loading states with their layers and cues, playing, stepping,
// firing cues at their frames and drawing the layers inside their time windows.
#include "anim/anim_script.h"

#include <cmath>

#include "anim/anim_catalogue.h"
#include "base/diag.h"
#include "files/file.h"
#include "files/ini.h"
#include "files/name_hash.h"
#include "sound/sound.h"

namespace Core {

namespace {

bool SectionExists(const char* file, const char* section) {
  for (const std::string& s : iniSectionList(file)) {
    if (s.size() != std::string_view(section).size()) continue;
    bool same = true;
    for (size_t i = 0; same && i < s.size(); ++i) {
      char a = s[i], b = section[i];
      if (a >= 'A' && a <= 'Z') a = char(a - 'A' + 'a');
      if (b >= 'A' && b <= 'Z') b = char(b - 'A' + 'a');
      same = a == b;
    }
    if (same) return true;
  }
  return false;
}

std::string Key(const char* base, int n) { return base + std::to_string(n); }

}  // namespace

cAnimScript::~cAnimScript() { ReleaseSounds(); }

cAnimScript::cAnimScript(cAnimScript&& o) noexcept { *this = std::move(o); }

cAnimScript& cAnimScript::operator=(cAnimScript&& o) noexcept {
  if (this == &o) return *this;
  ReleaseSounds();
  volume_ = o.volume_;
  fading_ = o.fading_;
  soundX_ = o.soundX_;
  name_ = std::move(o.name_);
  timer_ = o.timer_;
  current_ = o.current_;
  layers_ = std::move(o.layers_);
  states_ = std::move(o.states_);
  scale_ = o.scale_;
  hidden_ = o.hidden_;
  soundsOn_ = o.soundsOn_;
  cueListener_ = std::move(o.cueListener_);
  o.layers_.clear();
  o.states_.clear();  // the cue sounds now belong to this player
  o.current_ = -1;
  return *this;
}

bool cAnimScript::LoadState(const char* file, const char* state) {
  if (!file || !*file || !state || !*state) return false;
  if (!fileExists(file)) {
    errorLog("%s: animation script not found (state \"%s\")\n", file, state);
    return false;
  }
  if (!SectionExists(file, state)) {
    errorLog("%s: animation script has no state \"%s\"\n", file, state);
    return false;
  }
  name_ = file;
  State s;
  s.name = state;
  s.nameHash = NameHash(state);
  s.period = iniGetInt(file, state, "period", kDefaultPeriod);
  if (s.period <= 0) s.period = kDefaultPeriod;
  s.cycle = iniGetInt(file, state, "isCycle", 0) != 0;
  s.x = iniGetInt(file, state, "x", 0);
  s.y = iniGetInt(file, state, "y", 0);
  const int stateIndex = int(states_.size());

  for (int k = 1; k <= kMaxLayersPerState; ++k) {
    const std::string sec = iniGetString(file, state, std::to_string(k).c_str(), "");
    if (sec.empty()) break;
    Layer l;
    l.state = stateIndex;
    l.section = sec;
    const char* ls = l.section.c_str();
    const std::string anim = iniGetString(file, ls, "anim", "");
    l.anim = animManager().GetAnimation(anim);
    if (!anim.empty() && !l.anim.IsValid())
      errorLog("%s: layer \"%s\" of state \"%s\" names the animation \"%s\", not in the catalogue\n", file, ls, state,
               anim.c_str());
    l.x = iniGetInt(file, ls, "x", 0);
    l.y = iniGetInt(file, ls, "y", 0);
    l.xs = iniGetFloat(file, ls, "xs", 0);
    l.ys = iniGetFloat(file, ls, "ys", 0);
    if (l.xs == 0 && l.ys == 0) l.xs = l.ys = 1;
    l.timeMin = iniGetFloat(file, ls, "timeMin", 0);
    l.timeMax = iniGetFloat(file, ls, "timeMax", 1);
    l.drawLayer = iniGetInt(file, ls, "layer", 0);
    l.cycle = iniGetInt(file, ls, "isCycle", 0) != 0;
    s.layers.push_back(int(layers_.size()));
    layers_.push_back(std::move(l));
  }

  const std::string sounds = iniGetString(file, state, "sounds", "");
  if (!sounds.empty()) {
    const char* ss = sounds.c_str();
    for (int n = 0; n < kMaxCuesPerState; ++n) {
      Cue c;
      c.sound = iniGetString(file, ss, Key("sound", n).c_str(), "");
      if (c.sound.empty()) break;
      c.layer = iniGetInt(file, ss, Key("anim", n).c_str(), 0);
      c.frame = iniGetInt(file, ss, Key("frame", n).c_str(), 0);
      c.plays = iniGetInt(file, ss, Key("num", n).c_str(), 1);
      if (c.layer < 0 || size_t(c.layer) >= s.layers.size())
        errorLog("%s: sound cue %d of \"%s\" is tied to layer %d, which state \"%s\" does not have\n", file, n, ss,
                 c.layer, state);
      s.cues.push_back(std::move(c));
    }
  }
  states_.push_back(std::move(s));
  return true;
}

bool cAnimScript::HasState(std::string_view name) const {
  const uint32_t h = NameHash(name);
  for (const State& s : states_)
    if (s.nameHash == h) return true;
  return false;
}

bool cAnimScript::Play(std::string_view state, int32_t duration) {
  const uint32_t h = NameHash(state);
  int found = -1;
  for (size_t i = 0; i < states_.size() && found < 0; ++i)
    if (states_[i].nameHash == h) found = int(i);
  if (found < 0) {
    current_ = -1;
    timer_.Stop();
    return false;
  }
  current_ = found;
  State& s = states_[size_t(found)];
  timer_.SetPeriod(duration > 0 ? duration : s.period);
  uint8_t flags = PeriodTimer::kHoldAtEnd;
  if (duration <= 0) flags |= PeriodTimer::kWrap;
  timer_.SetFlags(flags);
  timer_.Restart();
  ArmCues(s);
  return true;
}

void cAnimScript::ArmCues(State& s) {
  for (Cue& c : s.cues) {
    c.armed = true;
    c.done = 0;
  }
}

bool cAnimScript::Update(int32_t ms) {
  if (fading_) {
    volume_ -= 0.01f;
    if (volume_ < 0) volume_ = 0;
  }
  if (current_ < 0) return false;
  State& s = states_[size_t(current_)];
  if (IsPlaying() && !hidden_ && soundsOn_ && volume_ > 0) ProcessCues();
  if (fading_) {
    for (Cue& c : s.cues)
      if (c.instance && sndIsPlaying(c.instance)) sndSetVolume(c.instance, volume_);
  }
  if (!timer_.Advance(ms)) return false;
  // Every new cycle, whether the timer wrapped by itself or the state cycles, arms the cues and
  // counts their plays from zero again.
  if (s.cycle) timer_.Restart();
  if (!timer_.IsStopped()) ArmCues(s);
  return true;
}

bool cAnimScript::TakesPart(const Layer& l, float t) const { return l.timeMin <= t && t < l.timeMax; }

int cAnimScript::LayerTime(const Layer& l, float t) const {
  const int32_t period = timer_.Period();
  if (l.cycle) return timer_.Time() - int(std::lround(double(period) * l.timeMin));
  // timeMax > timeMin holds for every layer that takes part
  return int(std::lround((t - l.timeMin) / (l.timeMax - l.timeMin) * float(l.anim.Period())));
}

void cAnimScript::ProcessCues() {
  State& s = states_[size_t(current_)];
  const float t = timer_.Period() > 0 ? float(timer_.Time()) / float(timer_.Period()) : 0.f;
  for (size_t j = 0; j < s.layers.size(); ++j) {
    const Layer& l = layers_[size_t(s.layers[j])];
    if (!TakesPart(l, t)) continue;
    const int frame = l.anim.FrameOfTime(LayerTime(l, t));
    for (Cue& c : s.cues) {
      if (c.layer != int(j)) continue;
      if (frame != c.frame) {
        c.armed = true;
      } else if (c.armed && c.done < c.plays) {
        PlayCue(c);
        ++c.done;
        c.armed = false;
      }
    }
  }
}

void cAnimScript::PlayCue(Cue& c) {
  if (cueListener_) cueListener_(c.sound.c_str());
  if (!c.instance) {
    c.instance = sndGet(c.sound.c_str(), SND_SOUND);
    if (!c.instance) return;
    sndHold(c.instance);
  }
  sndSetVolume(c.instance, volume_);
  sndSetPan(c.instance, soundX_ == kNoSoundPosition ? 0.f : sndScreenPan(soundX_));
  sndStart(c.instance, 0);
}

void cAnimScript::SetVolume(float v) {
  volume_ = v < 0 ? 0 : v > 1 ? 1 : v;
  // Cue sounds still playing follow the player's volume.
  for (State& s : states_)
    for (Cue& c : s.cues)
      if (c.instance && sndIsPlaying(c.instance)) sndSetVolume(c.instance, volume_);
}

void cAnimScript::ReleaseSounds() {
  for (State& s : states_)
    for (Cue& c : s.cues)
      if (c.instance) {
        sndRelease(c.instance);
        sndUnhold(c.instance);
        c.instance = nullptr;
      }
}

void cAnimScript::Stop() {
  timer_.Stop();
  ReleaseSounds();
  current_ = -1;
  states_.clear();
  layers_.clear();
}

std::vector<cAnimScript::LayerView> cAnimScript::VisibleLayers() const {
  std::vector<LayerView> out;
  if (!IsPlaying()) return out;
  const State& s = states_[size_t(current_)];
  const float t = timer_.Period() > 0 ? float(timer_.Time()) / float(timer_.Period()) : 0.f;
  for (size_t j = 0; j < s.layers.size(); ++j) {
    const Layer& l = layers_[size_t(s.layers[j])];
    if (!TakesPart(l, t)) continue;
    const int at = LayerTime(l, t);
    out.push_back(LayerView{int(j), l.section, l.drawLayer, at, l.anim.FrameOfTime(at)});
  }
  return out;
}

void cAnimScript::Draw(float x, float y, int layerMin, int layerMax, const Highlight* highlight) const {
  if (hidden_ || !IsPlaying()) return;
  const State& s = states_[size_t(current_)];
  const float t = timer_.Period() > 0 ? float(timer_.Time()) / float(timer_.Period()) : 0.f;
  for (int li : s.layers) {
    const Layer& l = layers_[size_t(li)];
    if (l.drawLayer < layerMin || l.drawLayer > layerMax || !l.anim.Sprite() || !TakesPart(l, t)) continue;
    const int frame = l.anim.FrameOfTime(LayerTime(l, t));
    const float px = float(l.x + s.x) * scale_ + x, py = float(l.y + s.y) * scale_ + y;
    const float sx = scale_ * l.xs, sy = scale_ * l.ys;
    l.anim.DrawFrameScaled(int(std::lround(px)), int(std::lround(py)), sx, sy, frame);
    if (highlight && !l.anim.Has(AnimationState::kAdditive)) {
      // The turned draw centres its quad on the point it is given.
      float cx = px, cy = py;
      if (!l.anim.Has(AnimationState::kCentred)) {
        cx += float(l.anim.Width()) * sx / 2;
        cy += float(l.anim.Height()) * sy / 2;
      }
      l.anim.DrawRotated(cx, cy, 0, highlight->modeWord, highlight->mask, highlight->colour, sx, 0, frame);
    }
  }
}

}  // namespace Core
