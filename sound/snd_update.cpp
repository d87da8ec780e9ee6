// The periodic update: streams refilled, fades advanced, variants changed at the end of their
// data, and fade callbacks handed to the UI thread.
#include <algorithm>
#include <climits>

#include "platform/platform.h"
#include "sound/snd_sound.h"

namespace {
void setGain(CSound* s, float g) {
  s->fadeGain = std::clamp(g, 0.0f, 1.0f);
  sndApplyVolume(s);
}
}  // namespace

void sndFinish(CSound* s) {
  CSoundVariant* v = s->Current();
  if (!v || !v->Streams()) s->Set(SNDF_UPDATE, false);
  s->SetFade(s->Fade() & ~(SND_FADE_IN_NOW | SND_FADE_OUT_NOW | SND_FADE_FINISH | SND_FADE_CALL_AT_END));
  s->fadeLeft = 0;
  SndCallback cb = s->callback;
  bool internal = s->internalCallback;
  s->callback = nullptr;
  s->internalCallback = false;
  if (!cb) return;
  if (internal) {
    cb(s);
  } else {
    // Game code never runs on the sound thread: the call waits for the UI thread's update.
    ++s->holders;
    snd().due.emplace_back(s, cb);
  }
}

void sndFadeLocked(CSound* s, int flags, SndCallback callback, bool internal) {
  s->SetFade(flags);
  s->Set(SNDF_UPDATE, true);
  s->fadeLeft = snd().fadeTime;
  s->callback = callback;
  s->internalCallback = internal && callback;
  if (flags & (SND_FADE_IN_START | SND_FADE_IN_NOW)) setGain(s, 0.0f);
}

void sndFade(CSound* s, int flags, SndCallback callback) {
  SndLock l(snd().lock);
  if (sndOwns(s)) sndFadeLocked(s, flags, callback, false);
}

int sndGetFade(CSound* s) {
  SndLock l(snd().lock);
  return sndOwns(s) ? s->Fade() : 0;
}

void sndControlStep(CSound* s, int elapsed) {
  s->fadeLeft = std::max(s->fadeLeft - elapsed, INT_MIN / 2);
  CSoundVariant* v = s->Current();
  if (!v) return;
  const int F = s->Fade();
  const int T = snd().fadeTime;
  const int64_t L = v->DataSize();
  const double B = v->format.avgBytesPerSec;
  const bool loop = s->Has(SNDF_LOOP);

  if (L > 0 && v->bytesPlayed >= L) {
    if (!loop) sndStopLocked(s);
    if (s->variants.size() > 1) {
      sndStopLocked(s);
      sndApplyVolume(s);
      sndPickVariant(s);
      if (loop) sndStartLocked(s, -1);
    }
    if (F & SND_FADE_CALL_AT_END) {
      sndFinish(s);
      return;
    }
    if (!loop) {
      // The data ended under a running fade: finish it, or its callback would never come.
      s->fadeGain = 1.0f;
      if ((F & ~(SND_FADE_IN_START | SND_FADE_OUT_END)) || s->callback) sndFinish(s);
      return;
    }
    v = s->Current();
  }

  if ((F & SND_FADE_FINISH) && s->fadeLeft < 0) {
    sndFinish(s);
    return;
  }
  if (F & SND_FADE_IN_NOW) {
    if (s->fadeLeft > 0) {
      setGain(s, float(T - std::min(s->fadeLeft, T)) / float(T));
    } else {
      setGain(s, 1.0f);
      sndFinish(s);
    }
  } else if (F & SND_FADE_OUT_NOW) {
    if (s->fadeLeft > 0) {
      setGain(s, float(std::min(s->fadeLeft, T)) / float(T));
    } else {
      sndStopLocked(s);
      setGain(s, 1.0f);
      sndFinish(s);
    }
  } else if ((F & (SND_FADE_IN_START | SND_FADE_OUT_END)) && L > 0 && B > 0) {
    const int64_t played = v->bytesPlayed;
    const double s0 = double(played % L) / B, g = T / 1000.0, total = double(L) / B;
    // The fade-in belongs to the first pass only and the fade-out to the last, so a looping
    // track does not dip at every turn.
    if ((F & SND_FADE_IN_START) && played < L && s0 < g) setGain(s, float(s0 / g));
    else if ((F & SND_FADE_OUT_END) && !loop && s0 > total - g) setGain(s, float((total - s0) / g));
    else if (s->fadeGain != 1.0f) setGain(s, 1.0f);
  }
}

void sndDeliverCallbacks() {
  std::vector<std::pair<CSound*, SndCallback>> due;
  {
    SndLock l(snd().lock);
    due.swap(snd().due);
  }
  // Outside the lock: a callback may take as long as it likes without holding up the mixer.
  for (auto& [s, cb] : due) cb(s);
  for (auto& d : due) sndUnhold(d.first);
}

namespace {
// Refill and count every sound that needs it; held while visited, since a step may release
// other sounds (the music player does).
void updateAll(int elapsed, bool control) {
  std::vector<CSound*> list;
  for (CSound* s : snd().library)
    if (s && s->Has(SNDF_UPDATE)) {
      ++s->holders;
      list.push_back(s);
    }
  for (CSound* s : list) {
    if (s->Has(SNDF_UPDATE))
      if (CSoundVariant* v = s->Current()) sndRefill(s, *v);
    if (control && s->Has(SNDF_UPDATE)) sndControlStep(s, elapsed);
  }
  for (CSound* s : list) sndUnhold(s);
}

// Without a device, the mixer plays the time that passed, in slices short enough for the rings.
void pump(uint32_t now) {
  SndState& st = snd();
  uint32_t ms = std::min<uint32_t>(now - st.lastPump, 60000);
  st.lastPump = now;
  st.pumpCarry += int64_t(ms) * kSndMixRate;  // thousandths of a frame
  int64_t frames = st.pumpCarry / 1000;
  st.pumpCarry %= 1000;
  static int16_t slice[2 * 2205];
  while (frames > 0) {
    int n = static_cast<int>(std::min<int64_t>(frames, 2205));
    sndMix(slice, n);
    updateAll(0, false);
    frames -= n;
  }
}
}  // namespace

void sndUpdate(bool fromThread) {
  {
    SndLock l(snd().lock);
    SndState& st = snd();
    if (st.on) {
      uint32_t now = platTicks();
      uint32_t gap = now - st.lastUpdate;
      if (gap >= (fromThread ? 100u : 50u)) {
        st.lastUpdate = now;
        if (st.output == SndOutput::Clock) pump(now);
        updateAll(static_cast<int>(std::min<uint32_t>(gap, 60000)), true);
      }
    }
  }
  if (!fromThread) sndDeliverCallbacks();
}
