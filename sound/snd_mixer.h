// The software mixer: sound buffers with volume, pan, frequency, looping and a play position,
// mixed into one 44100 Hz stereo 16-bit stream. Any thread may call it; one lock guards it.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "sound/snd_file.h"

constexpr int kSndMixRate = 44100;
constexpr int kSndVolumeMin = -10000;  // hundredths of a decibel; this and below is silence
constexpr int kSndPanLeft = -10000, kSndPanRight = 10000;
constexpr uint32_t kSndMinFrequency = 100, kSndMaxFrequency = 100000;

// One playable buffer. Static buffers hold a whole sound (copies made by Duplicate share the
// samples); stream buffers are rings that their owner refills while they play.
class CSndBuffer {
 public:
  static std::unique_ptr<CSndBuffer> CreateStatic(const SndFormat& format, std::vector<uint8_t> data);
  static std::unique_ptr<CSndBuffer> CreateStream(const SndFormat& format, uint32_t size);
  ~CSndBuffer();
  CSndBuffer(const CSndBuffer&) = delete;
  CSndBuffer& operator=(const CSndBuffer&) = delete;

  std::unique_ptr<CSndBuffer> Duplicate() const;  // static buffers only; none for a ring
  void Play(bool loop);
  void Stop();  // keeps the position, so playing again resumes
  bool IsPlaying() const;
  uint32_t GetPosition() const;  // bytes from the start
  void SetPosition(uint32_t bytes);
  void SetVolume(int hundredthsDb);
  int GetVolume() const;
  void SetPan(int pan);
  int GetPan() const;
  void SetFrequency(uint32_t hz);
  uint32_t GetFrequency() const;
  // Copies into the ring at `offset`, wrapping at its end.
  void Write(uint32_t offset, const void* src, uint32_t length);
  uint32_t Size() const { return size_; }
  bool IsStream() const { return stream_; }
  const SndFormat& Format() const { return format_; }

 private:
  friend struct SndMixerAccess;
  CSndBuffer(const SndFormat& format, std::shared_ptr<std::vector<uint8_t>> data, bool stream);
  void UpdateGains();
  void MixInto(float* acc, int frames);

  SndFormat format_;
  std::shared_ptr<std::vector<uint8_t>> data_;
  uint32_t size_ = 0;
  uint32_t frameCount_ = 0;
  bool stream_ = false;
  // Guarded by the mixer lock:
  bool playing_ = false;
  bool loop_ = false;
  uint64_t pos_ = 0;    // frames, 32.32 fixed point
  uint64_t step_ = 0;   // advance per output frame, 32.32
  uint32_t frequency_ = 0;
  int volume_ = 0;
  int pan_ = 0;
  float gainL_ = 1.0f, gainR_ = 1.0f;
};

// Renders `frames` stereo frames of everything playing into `out` (2 × int16 per frame) and
// advances the buffers. The audio device calls it; tests call it to hear what would be played.
void sndMix(int16_t* out, int frames);

// What the mixer has produced so far (for tests and the debug dump).
struct SndMixStats {
  uint64_t frames = 0;
  int peak = 0;           // largest absolute sample since the last reset
  uint64_t clipped = 0;   // samples that had to be clamped
};
SndMixStats sndMixStats();
void sndMixResetStats();
int sndMixVoiceCount();  // buffers playing now
