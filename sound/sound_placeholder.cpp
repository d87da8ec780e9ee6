// Placeholder so the engine links before the sound system exists; the sound files replace it.
#include "sound/sound.h"
bool sndInit() { return false; }
void sndDone() {}
bool sndIsInit() { return false; }
void sndLoadScript(const char*) {}
void sndFreeScript(const char*) {}
CSound* sndPlay(const char*, int) { return nullptr; }
void sndSetCategoryVolume(float, int) {}
void sndActivate(bool) {}
void sndUpdate(bool) {}
void sndStopMusic(int) {}
void sndStopMusicNow() {}
