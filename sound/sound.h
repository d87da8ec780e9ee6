// The sound system: sound scripts with variants, categories with master volumes, the music
// player with fades, and a thread that refills streams.
#pragma once

class CSound;

// Categories of sounds; each has its own master volume.
enum SoundCategory { SND_SOUND = 0, SND_MUSIC = 1 };

bool sndInit();
void sndDone();
bool sndIsInit();
void sndLoadScript(const char* file);
void sndFreeScript(const char* file);
CSound* sndPlay(const char* name, int category = SND_SOUND);
void sndSetCategoryVolume(float volume, int category);
void sndActivate(bool active);
void sndUpdate(bool fromThread);
void sndStopMusic(int flags);
void sndStopMusicNow();
