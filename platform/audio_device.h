// The audio output: one stereo, signed 16-bit, 44100 Hz stream that pulls its samples from a
// callback on the device's own thread. Keeps SDL out of the sound system.
#pragma once
#include <cstdint>
#include <string>

constexpr int kPlatAudioRate = 44100;

// Fills `frames` stereo frames (2 × int16 each) at `out`. Runs on the device thread.
using PlatAudioPull = void (*)(void* user, int16_t* out, int frames);

// Opens the default device, or SDL's dummy driver when no device opens (no sound card, headless),
// and starts pulling. False when not even the dummy driver works.
bool platAudioOpen(PlatAudioPull pull, void* user);
void platAudioClose();
bool platAudioIsOpen();
// The SDL driver in use ("pulseaudio", "dummy", "disk", ...), empty when closed.
std::string platAudioDriver();
