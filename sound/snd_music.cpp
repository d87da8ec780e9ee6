// The music player: one current track (held), at most one request waiting for the current track
// to fade out, cross-fades and fading stops.
#include <string>

#include "files/ini.h"
#include "sound/snd_sound.h"

namespace {
constexpr const char* kMusicScript = "data/snd/music.ini";

struct Request {
  std::string name;
  int flags = 0;
  int loop = 0;
  SndCallback callback = nullptr;
};

struct MusicPlayer {
  CSound* current = nullptr;
  std::string currentName;
  bool hasPending = false;
  Request pending;
};
MusicPlayer& player() {
  static MusicPlayer p;
  return p;
}

bool wantsFade(int flags) { return (flags & (SND_MUSIC_FADE | SND_FADE_IN_START)) != 0; }
bool fadingOut(CSound* s) { return (s->Fade() & (SND_FADE_OUT_END | SND_FADE_OUT_NOW)) != 0; }

CSound* lookup(const std::string& name) {
  if (CSound* s = sndGet(name.c_str(), SND_MUSIC)) return s;
  if (!sndTemplateFromSection(kMusicScript, name)) return nullptr;
  return sndGet(name.c_str(), SND_MUSIC);
}

void releaseCurrent() {
  MusicPlayer& p = player();
  if (!p.current) return;
  CSound* s = p.current;
  p.current = nullptr;
  sndStopLocked(s);
  if (!s->Has(SNDF_ONCE)) s->Set(SNDF_AUTO, true);
  sndUnhold(s);
  sndCollect();
}

void startRequest(const Request& r) {
  MusicPlayer& p = player();
  CSound* s = lookup(r.name);
  if (!s) return;
  ++s->holders;
  p.current = s;
  p.currentName = r.name;
  if (wantsFade(r.flags)) {
    int F = ((r.flags & SND_FADE_CALL_AT_END) && r.callback) ? (r.flags & 63) : SND_FADE_IN_START;
    sndFadeLocked(s, F, F == SND_FADE_IN_START ? nullptr : r.callback, false);
  } else if ((r.flags & SND_FADE_CALL_AT_END) && r.callback) {
    sndFadeLocked(s, SND_FADE_CALL_AT_END, r.callback, false);
  } else {
    s->SetFade(0);
    s->fadeGain = 1.0f;
  }
  sndStartLocked(s, r.loop);
  sndNotifyStarted(s);
}

// Runs in place (even on the sound thread): it only touches the sound library.
void fadedOutThenNext(CSound* s) {
  MusicPlayer& p = player();
  if (s != p.current) return;
  releaseCurrent();
  if (p.hasPending) {
    Request r = p.pending;
    p.hasPending = false;
    startRequest(r);
  }
}
}  // namespace

void sndPlayMusic(const char* name, int flags, int loop, SndCallback callback) {
  SndLock l(snd().lock);
  MusicPlayer& p = player();
  Request r{name ? name : "", flags, loop, callback};
  bool playing = p.current && sndIsPlayingLocked(p.current);
  if (r.name.empty()) {
    if (!p.current || playing) return;
    r.name = p.currentName;
  }
  if (!playing) {
    p.hasPending = false;
    releaseCurrent();
    startRequest(r);
    return;
  }
  CSound* cur = p.current;
  if (sndNamesEqual(r.name, p.currentName)) {
    p.hasPending = false;
    if (wantsFade(flags) && fadingOut(cur)) {
      sndFadeLocked(cur, SND_FADE_IN_NOW, nullptr, false);
    } else {
      cur->SetFade(0);
      cur->callback = nullptr;
      cur->internalCallback = false;
      cur->fadeGain = 1.0f;
      sndApplyVolume(cur);
    }
    return;
  }
  if (wantsFade(flags)) {
    // Already fading out towards a request: only the request changes, the fade goes on.
    bool alreadyLeaving = cur->callback == fadedOutThenNext && (cur->Fade() & SND_FADE_OUT_NOW);
    p.pending = r;
    p.hasPending = true;
    if (!alreadyLeaving) sndFadeLocked(cur, SND_FADE_OUT_NOW | SND_FADE_FINISH, fadedOutThenNext, true);
    return;
  }
  p.hasPending = false;
  releaseCurrent();
  startRequest(r);
}

void sndStopMusic(int flags) {
  SndLock l(snd().lock);
  MusicPlayer& p = player();
  p.hasPending = false;
  if (p.current && sndIsPlayingLocked(p.current) && (flags & (SND_FADE_OUT_NOW | SND_MUSIC_STOP_FADE))) {
    sndFadeLocked(p.current, SND_FADE_OUT_NOW | SND_FADE_FINISH, fadedOutThenNext, true);
    return;
  }
  releaseCurrent();
}

void sndStopMusicNow() {
  SndLock l(snd().lock);
  player().hasPending = false;
  releaseCurrent();
}

bool sndIsMusicPlaying() {
  SndLock l(snd().lock);
  return player().current && sndIsPlayingLocked(player().current);
}

CSound* sndCurrentMusic() {
  SndLock l(snd().lock);
  return player().current;
}

void sndMusicReset() {
  player().hasPending = false;
  releaseCurrent();
  player().currentName.clear();
}
