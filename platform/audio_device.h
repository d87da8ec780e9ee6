// The audio output: one stereo, signed 16-bit, 44100 Hz stream that pulls its samples from a
// callback on the device's own thread. Keeps SDL out of the sound system.
#pragma once
#include <cstdint>
#include <string>

constexpr int kPlatAudioRate = 44100;

// Fills `frames` stereo frames (2 × int16 each) at `out`. Runs on the device thread.
using PlatAudioPull = void (*)(void* user, int16_t* out, int frames);

// Opens the first sound device that works, or SDL's dummy driver when none does (no sound card,
// headless), and starts pulling. The devices are tried quietly; platAudioFellBack() then tells
// that sound is silent for want of a device and platAudioError() why. SDL_AUDIODRIVER, when set,
// is used as it is. False when not even the dummy driver works.
bool platAudioOpen(PlatAudioPull pull, void* user);
bool platAudioFellBack();
const std::string& platAudioError();
void platAudioClose();
bool platAudioIsOpen();
// The SDL driver in use ("pulseaudio", "dummy", "disk", ...), empty when closed.
std::string platAudioDriver();
