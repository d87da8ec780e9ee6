// The null device: every call is accepted and nothing is drawn, so headless runs and tests keep
// the renderer's batching, state cache and counters without a GPU.
#include "platform/gpu.h"
#include "platform/platform.h"

namespace {
class NullDevice : public PlatGpu {
 public:
  NullDevice(int w, int h) : w_(w), h_(h) {}
  bool IsReal() const override { return false; }
  bool IsUsable() override { return true; }
  int MaxTextureSize() const override { return 4096; }
  // Follows the window when there is one, so scaling and input mapping work headless too.
  void DrawableSize(int& w, int& h) override {
    w = w_;
    h = h_;
    if (platWindowExists()) platWindowGetClientSize(w, h);
  }
  void BeginFrame() override {}
  void Clear(uint32_t) override {}
  void SetViewport(int, int, int, int) override {}
  void SetMatrix(const float*) override {}
  void SetState(const GpuState&) override {}
  void SetTexture(GpuTexture) override {}
  void Draw(GpuPrim, const GpuVertex*, int, const uint16_t*, int) override {}
  void Present() override { platCountPresent(); }
  GpuTexture CreateTexture(int, int) override { return ++next_; }
  void UploadTexture(GpuTexture, int, int, int, int, const uint8_t*) override {}
  void DeleteTexture(GpuTexture) override {}
  bool ReadPixels(int, int, int, int, std::vector<uint8_t>& rgba) override {
    rgba.clear();
    return false;
  }

 private:
  int w_, h_;
  GpuTexture next_ = 0;
};
}  // namespace

std::unique_ptr<PlatGpu> platGpuCreateNull(int width, int height) {
  return std::make_unique<NullDevice>(width, height);
}
