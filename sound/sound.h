// The sound system: sound scripts with variants, categories with master volumes, the music
// player with fades, and a thread that refills streams.
#pragma once
#include <cstdint>
#include <functional>

class CSound;

// Categories of sounds; each has its own master volume.
enum SoundCategory { SND_SOUND = 0, SND_MUSIC = 1 };

// Fade flags of sndFade, combinable.
constexpr int SND_FADE_IN_START = 1;     // fade in over the first fade time of the data
constexpr int SND_FADE_OUT_END = 2;      // fade out over the last fade time of the data
constexpr int SND_FADE_IN_NOW = 4;       // fade in now over the fade time
constexpr int SND_FADE_OUT_NOW = 8;      // fade out now over the fade time, then stop
constexpr int SND_FADE_FINISH = 16;      // finish (and call back) when the fade time has run out
constexpr int SND_FADE_CALL_AT_END = 32; // call back when the data ends

// Music request flags. A request with SND_MUSIC_FADE cross-fades; SND_FADE_IN_START (1) asks for
// the same, as does SND_FADE_OUT_NOW (8) or SND_MUSIC_STOP_FADE (256) when stopping.
constexpr int SND_MUSIC_FADE = 2;
constexpr int SND_MUSIC_STOP_FADE = 256;

// Called when a fade or the data of a sound ends. Always called on the thread that calls
// sndUpdate(false), never on the sound thread, so it may use the game freely.
using SndCallback = void (*)(CSound*);

// Where the mixed samples go. Auto: the audio device (SDL's dummy driver when there is no sound
// card); under the manual clock, Clock. Clock: no device; sndUpdate advances the mixer by the
// time passed. Manual: nothing drives the mixer but calls of sndMix (tests).
enum class SndOutput { Auto, Device, Clock, Manual };
struct SndConfig {
  SndOutput output = SndOutput::Auto;
  bool thread = true;  // the sound thread; never started under the manual clock
};

bool sndInit();
bool sndInit(const SndConfig& config);
void sndDone();
bool sndIsInit();
SndOutput sndOutput();  // the output in use after sndInit

void sndLoadScript(const char* file);
void sndFreeScript(const char* file);

// Instances: sndGet gives one ready to play (the caller starts and releases it); sndPlay and
// sndPlayEx start one that is collected after it ends. Keep a pointer past the current call only
// with sndHold; sndUnhold lets it go.
CSound* sndGet(const char* name, int category);
CSound* sndPlay(const char* name, int category = SND_SOUND);
// volume < 0 and frequency < 0 keep the sound's own.
CSound* sndPlayEx(const char* name, int category, float volume, float pan, float frequency);
void sndHold(CSound* sound);
void sndUnhold(CSound* sound);

// Told of every sound started by name: each sndPlay / sndPlayEx that found its sound, and each
// track the music player starts. It lets a test, a tool or a debug overlay hear what the game
// plays even with no device behind the mixer. Called under the library lock: it must not keep
// `name` past the call. An empty listener turns it off.
struct SndStarted {
  const char* name;  // as the sound library knows it
  int category;
  float volume;      // the sound's requested volume
  float pan;         // the requested pan, before the variant's own factor
  bool audible;      // its data was read: it is heard when the device plays
};
using SndStartListener = std::function<void(const SndStarted&)>;
void sndSetStartListener(SndStartListener listener);

void sndStart(CSound* sound, int loop = -1);  // loop -1 keeps the sound's flag
void sndStop(CSound* sound);                  // stops and rewinds
void sndRelease(CSound* sound);               // stops and collects it (a once sound stays)
bool sndIsPlaying(CSound* sound);
void sndStopCategory(int category);
void sndSetCategoryVolume(float volume, int category);
float sndGetCategoryVolume(int category);
void sndSetFadeTime(int ms);  // multiples of 50; 0 or less means 1000
int sndGetFadeTime();
void sndSetVolume(CSound* sound, float volume);
float sndGetVolume(CSound* sound);
void sndSetPan(CSound* sound, float pan);
void sndSetFrequency(CSound* sound, float factor);  // of the file's own rate
float sndGetLength(CSound* sound);                   // seconds of the current variant
const char* sndGetName(CSound* sound);
void sndFade(CSound* sound, int flags, SndCallback callback);
int sndGetFade(CSound* sound);

void sndActivate(bool active);
// Refills streams and runs fades; at most every 50 ms (100 ms from the sound thread).
void sndUpdate(bool fromThread);

void sndPlayMusic(const char* name, int flags, int loop, SndCallback callback);
void sndStopMusic(int flags);
void sndStopMusicNow();
bool sndIsMusicPlaying();
CSound* sndCurrentMusic();

// The pan of a point on the logical screen: (x - 512) / 512 × "pan_factor" of sounds.ini.
float sndScreenPan(int x);
// Master volumes from "data/snd/sounds.ini" ("defaultSoundVolume", "defaultMusicVolume"), or 0
// for both when the game runs without sound.
void sndApplyDefaultVolumes(bool mute);
void sndDBGOut();
int sndLibrarySize();
void sndSeedRandom(uint32_t seed);
