// The game's music rotation: six tracks "music1" to "music6", three of them in a playlist that is
// played in turn and reshuffled at each level; F8 moves on to the next track on any screen. And the
// music a level starts with.
#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace Game {

// Requests the next track of the playlist (fading over 2 s); when it ends the one after follows.
// With `reshuffle` the playlist is drawn anew first.
void PlayNextMusic(bool reshuffle);

// The music of the level that starts: the last ordinary level of an episode (15, 31, 47) plays
// "musicLastLevel", asked for again each time it ends; every other level plays the rotation,
// reshuffled.
void StartLevelMusic(int32_t level);

// The rotation's state, for tests: the playlist (track numbers 0 to 5), the place of the next
// track, and the name last requested.
struct MusicRotation {
  std::array<int, 3> playlist{0, 1, 2};
  int position = 0;
  bool first = true;
};
const MusicRotation& musicRotation();
void musicRotationReset();
// The first reshuffle draws three of all six tracks; later ones keep the track in place 2 and
// add two of the three that were left out, then shuffle the playlist.
void musicReshuffle();
const std::string& musicLastRequested();

}  // namespace Game
