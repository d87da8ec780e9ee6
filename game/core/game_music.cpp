// The music rotation.
#include "game/core/game_music.h"

#include <algorithm>
#include <utility>

#include "files/text.h"
#include "game/core/random.h"
#include "sound/sound.h"

namespace Game {

namespace {
constexpr int kTracks = 6;
constexpr int kFadeMs = 2000;
// Fade in at the start, cross-fade from what plays, call back when the data ends.
constexpr int kRotationFlags = SND_FADE_IN_START | SND_MUSIC_FADE | SND_FADE_CALL_AT_END;

MusicRotation g_rotation;
std::string g_last;

// Music is cosmetic: its draws come from the unlogged generator, so pressing F8 never changes a
// replayed game.
int draw() { return RandomValue(true); }

// Asking the music player for the track that plays keeps it playing but drops what was to follow
// its end. A track that already plays with its follow-up in place is left as it is, so a level
// restarted on its own track (or a reshuffle that puts the playing one first) keeps the music going.
void request(const char* name, SndCallback next) {
  CSound* current = sndCurrentMusic();
  if (current && sndIsPlaying(current) && textEqualNoCase(sndGetName(current), name) &&
      (sndGetFade(current) & SND_FADE_CALL_AT_END))
    return;
  sndPlayMusic(name, kRotationFlags, 0, next);
}

void onTrackEnded(CSound*) { PlayNextMusic(false); }
void lastLevelTrackEnded(CSound*) { request("musicLastLevel", lastLevelTrackEnded); }
}  // namespace

const MusicRotation& musicRotation() { return g_rotation; }
void musicRotationReset() {
  g_rotation = MusicRotation{};
  g_last.clear();
}
const std::string& musicLastRequested() { return g_last; }

void musicReshuffle() {
  auto& list = g_rotation.playlist;
  if (g_rotation.first) {
    std::array<int, kTracks> all{0, 1, 2, 3, 4, 5};
    for (int i = 0; i < kTracks; ++i) std::swap(all[i], all[kTracks * draw() / 32768]);
    std::copy_n(all.begin(), 3, list.begin());
    g_rotation.first = false;
  } else {
    std::array<int, 3> rest{};
    int n = 0;
    for (int t = 0; t < kTracks && n < 3; ++t)
      if (std::find(list.begin(), list.end(), t) == list.end()) rest[n++] = t;
    for (int i = 0; i < 3; ++i) std::swap(rest[i], rest[3 * draw() / 32768]);
    list[0] = rest[0];
    list[1] = rest[1];
    for (int i = 0; i < 3; ++i) std::swap(list[i], list[std::min(2, draw() / 10923)]);
  }
  g_rotation.position = 0;
}

void PlayNextMusic(bool reshuffle) {
  sndSetFadeTime(kFadeMs);
  if (reshuffle) musicReshuffle();
  const int track = std::clamp(g_rotation.playlist[g_rotation.position], 0, kTracks - 1);
  g_last = "music" + std::to_string(track + 1);
  g_rotation.position = (g_rotation.position + 1) % 3;
  request(g_last.c_str(), onTrackEnded);
}

void StartLevelMusic(int32_t level) {
  if ((level + 1) % 16 == 0)
    lastLevelTrackEnded(nullptr);
  else
    PlayNextMusic(true);
}

}  // namespace Game
