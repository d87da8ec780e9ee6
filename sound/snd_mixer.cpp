// Mixing: every playing buffer is resampled (linear interpolation) to 44100 Hz, scaled by its
// volume and pan gains, summed in floating point and clamped once into 16 bits.
#include "sound/snd_mixer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>

namespace {
struct Mixer {
  std::mutex lock;
  std::vector<CSndBuffer*> buffers;
  std::vector<float> acc;
  SndMixStats stats;
};

// Never destroyed: the device thread may still pull while static objects go away at exit.
Mixer& mixer() {
  static Mixer* m = new Mixer;
  return *m;
}

float attenuationGain(int hundredthsDb) {
  if (hundredthsDb <= kSndVolumeMin) return 0.0f;
  if (hundredthsDb >= 0) return 1.0f;
  return static_cast<float>(std::pow(10.0, hundredthsDb / 2000.0));
}

uint64_t stepFor(uint32_t hz) { return (uint64_t(hz) << 32) / kSndMixRate; }
}  // namespace

CSndBuffer::CSndBuffer(const SndFormat& format, std::shared_ptr<std::vector<uint8_t>> data, bool stream)
    : format_(format), data_(std::move(data)), stream_(stream) {
  uint32_t align = std::max<uint32_t>(format_.blockAlign, 1);
  size_ = static_cast<uint32_t>(data_->size());
  frameCount_ = size_ / align;
  frequency_ = std::clamp(format_.samplesPerSec, kSndMinFrequency, kSndMaxFrequency);
  step_ = stepFor(frequency_);
  Mixer& m = mixer();
  std::lock_guard g(m.lock);
  m.buffers.push_back(this);
}

CSndBuffer::~CSndBuffer() {
  Mixer& m = mixer();
  std::lock_guard g(m.lock);
  m.buffers.erase(std::remove(m.buffers.begin(), m.buffers.end(), this), m.buffers.end());
}

std::unique_ptr<CSndBuffer> CSndBuffer::CreateStatic(const SndFormat& format, std::vector<uint8_t> data) {
  if (format.blockAlign == 0 || data.size() < format.blockAlign) return nullptr;
  data.resize(data.size() - data.size() % format.blockAlign);
  auto shared = std::make_shared<std::vector<uint8_t>>(std::move(data));
  return std::unique_ptr<CSndBuffer>(new CSndBuffer(format, std::move(shared), false));
}

std::unique_ptr<CSndBuffer> CSndBuffer::CreateStream(const SndFormat& format, uint32_t size) {
  if (format.blockAlign == 0 || size < format.blockAlign) return nullptr;
  size -= size % format.blockAlign;
  uint8_t silence = format.bitsPerSample == 8 ? 0x80 : 0x00;
  auto ring = std::make_shared<std::vector<uint8_t>>(size, silence);
  return std::unique_ptr<CSndBuffer>(new CSndBuffer(format, std::move(ring), true));
}

std::unique_ptr<CSndBuffer> CSndBuffer::Duplicate() const {
  if (stream_) return nullptr;
  // The samples never change after creation, so sharing them needs no lock.
  return std::unique_ptr<CSndBuffer>(new CSndBuffer(format_, data_, false));
}

void CSndBuffer::Play(bool loop) {
  std::lock_guard g(mixer().lock);
  loop_ = loop;
  playing_ = frameCount_ > 0;
}

void CSndBuffer::Stop() {
  std::lock_guard g(mixer().lock);
  playing_ = false;
}

bool CSndBuffer::IsPlaying() const {
  std::lock_guard g(mixer().lock);
  return playing_;
}

uint32_t CSndBuffer::GetPosition() const {
  std::lock_guard g(mixer().lock);
  return static_cast<uint32_t>(pos_ >> 32) * format_.blockAlign;
}

void CSndBuffer::SetPosition(uint32_t bytes) {
  std::lock_guard g(mixer().lock);
  uint32_t frame = bytes / std::max<uint32_t>(format_.blockAlign, 1);
  pos_ = uint64_t(frameCount_ ? frame % frameCount_ : 0) << 32;
}

void CSndBuffer::SetVolume(int hundredthsDb) {
  std::lock_guard g(mixer().lock);
  volume_ = std::clamp(hundredthsDb, kSndVolumeMin, 0);
  UpdateGains();
}

int CSndBuffer::GetVolume() const {
  std::lock_guard g(mixer().lock);
  return volume_;
}

void CSndBuffer::SetPan(int pan) {
  std::lock_guard g(mixer().lock);
  pan_ = std::clamp(pan, kSndPanLeft, kSndPanRight);
  UpdateGains();
}

int CSndBuffer::GetPan() const {
  std::lock_guard g(mixer().lock);
  return pan_;
}

void CSndBuffer::SetFrequency(uint32_t hz) {
  std::lock_guard g(mixer().lock);
  frequency_ = std::clamp(hz, kSndMinFrequency, kSndMaxFrequency);
  step_ = stepFor(frequency_);
}

uint32_t CSndBuffer::GetFrequency() const {
  std::lock_guard g(mixer().lock);
  return frequency_;
}

void CSndBuffer::Write(uint32_t offset, const void* src, uint32_t length) {
  if (!stream_ || size_ == 0) return;
  std::lock_guard g(mixer().lock);
  const auto* s = static_cast<const uint8_t*>(src);
  length = std::min(length, size_);
  offset %= size_;
  uint32_t first = std::min(length, size_ - offset);
  std::memcpy(data_->data() + offset, s, first);
  std::memcpy(data_->data(), s + first, length - first);
}

// Pan attenuates only the far side, as the volume units of the classic sound APIs did.
void CSndBuffer::UpdateGains() {
  float g = attenuationGain(volume_);
  gainL_ = g * (pan_ > 0 ? attenuationGain(-pan_) : 1.0f);
  gainR_ = g * (pan_ < 0 ? attenuationGain(pan_) : 1.0f);
}

void CSndBuffer::MixInto(float* acc, int frames) {
  const uint8_t* d = data_->data();
  const bool wide = format_.bitsPerSample == 16;
  const bool stereo = format_.channels == 2;
  const bool wraps = loop_ || stream_;
  auto sample = [&](uint32_t frame, int ch) -> float {
    const uint8_t* p = d + size_t(frame) * format_.blockAlign;
    if (stereo) p += wide ? 2 * ch : ch;
    int v = wide ? int(int16_t(uint16_t(p[0] | p[1] << 8))) : (int(p[0]) - 128) * 256;
    return static_cast<float>(v) * (1.0f / 32768.0f);
  };
  const bool silent = gainL_ == 0.0f && gainR_ == 0.0f;
  for (int i = 0; i < frames; ++i) {
    uint32_t idx = static_cast<uint32_t>(pos_ >> 32);
    if (idx >= frameCount_) {
      if (!wraps) {
        playing_ = false;
        pos_ = 0;  // a finished buffer rewinds, so playing it again starts over
        return;
      }
      idx %= frameCount_;
      pos_ = (uint64_t(idx) << 32) | (pos_ & 0xFFFFFFFFu);
    }
    if (!silent) {
      uint32_t next = idx + 1 < frameCount_ ? idx + 1 : (wraps ? 0 : idx);
      float frac = static_cast<float>(pos_ & 0xFFFFFFFFu) * (1.0f / 4294967296.0f);
      float l0 = sample(idx, 0), l1 = sample(next, 0);
      float r0 = stereo ? sample(idx, 1) : l0, r1 = stereo ? sample(next, 1) : l1;
      acc[2 * i] += (l0 + (l1 - l0) * frac) * gainL_;
      acc[2 * i + 1] += (r0 + (r1 - r0) * frac) * gainR_;
    }
    pos_ += step_;
  }
  if (!wraps && (pos_ >> 32) >= frameCount_) {
    playing_ = false;
    pos_ = 0;
  }
}

struct SndMixerAccess {
  static void Mix(CSndBuffer* b, float* acc, int frames) { b->MixInto(acc, frames); }
  static bool Playing(const CSndBuffer* b) { return b->playing_; }
};

void sndMix(int16_t* out, int frames) {
  if (frames <= 0) return;
  Mixer& m = mixer();
  std::lock_guard g(m.lock);
  m.acc.assign(size_t(frames) * 2, 0.0f);
  for (CSndBuffer* b : m.buffers)
    if (SndMixerAccess::Playing(b)) SndMixerAccess::Mix(b, m.acc.data(), frames);
  for (size_t i = 0; i < m.acc.size(); ++i) {
    long v = std::lrint(m.acc[i] * 32768.0f);
    if (v > 32767 || v < -32768) {
      ++m.stats.clipped;
      v = std::clamp(v, -32768L, 32767L);
    }
    m.stats.peak = std::max(m.stats.peak, static_cast<int>(std::labs(v)));
    out[i] = static_cast<int16_t>(v);
  }
  m.stats.frames += static_cast<uint64_t>(frames);
}

SndMixStats sndMixStats() {
  std::lock_guard g(mixer().lock);
  return mixer().stats;
}

void sndMixResetStats() {
  std::lock_guard g(mixer().lock);
  mixer().stats = SndMixStats{};
}

int sndMixVoiceCount() {
  std::lock_guard g(mixer().lock);
  int n = 0;
  for (CSndBuffer* b : mixer().buffers) n += SndMixerAccess::Playing(b) ? 1 : 0;
  return n;
}
