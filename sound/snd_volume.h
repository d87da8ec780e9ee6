// Volume and pan in buffer units: a linear volume 0–1 becomes an attenuation in hundredths of a
// decibel on a curve that follows loudness more closely than a plain logarithm.
#pragma once

// 0 for full volume, -10000 for silence.
int sndAttenuation(float volume);
// The linear volume an attenuation came from (the inverse of sndAttenuation, to the nearest step).
float sndVolumeFromAttenuation(int hundredthsDb);
// A pan factor -1..1 as a buffer pan: the far side is attenuated as if by volume 1 - |p|.
int sndPanValue(float pan);
