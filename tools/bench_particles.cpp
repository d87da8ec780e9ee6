// Measures the particle library: an emitter kept at about 2,000 live particles (turning, curves of
// colour and size) is updated and drawn through the game's particle device every 25 ms step, and
// the median and slowest times per update are printed. Runs on the null renderer unless
// MEADOWMARK_HEADLESS says otherwise. "--shot FILE [DIR]" instead draws the demo effects of DIR
// (default demo) after a few seconds and saves the picture (needs MEADOWMARK_HEADLESS=gl).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "anim/pyro_device.h"
#include "anim/pyro_library.h"
#include "gfx/render.h"
#include "platform/platform.h"

namespace {
using Clock = std::chrono::steady_clock;

const char kBenchEffect[] = R"(
[emitter swarm]
rate = 1000
maxParticles = 2500
life = 1.6 2.4
speed = 20 120
spread = 360
gravity = 4 30
drag = 0.2
area = 200 120
angle = 0 360
spin = -180 180
sizeVariation = 0.3
size = 0 4, 0.3 16, 1 8
color = 0 #FFFFFF, 0.5 #FFC060C0, 1 #80200000
alpha = 0 0, 0.1 1, 1 0
)";

struct LibraryDeleter {
  void operator()(Pyro::ILibrary* l) const { delete l; }
};
struct FileDeleter {
  void operator()(Pyro::IEffectFile* f) const { f->Delete(); }
};
struct EmitterDeleter {
  void operator()(Pyro::IEmitter* e) const { e->Delete(); }
};
using Emitter = std::unique_ptr<Pyro::IEmitter, EmitterDeleter>;
using File = std::unique_ptr<Pyro::IEffectFile, FileDeleter>;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

int Bench(Pyro::ILibrary& lib) {
  File file(lib.LoadEffectText("bench", kBenchEffect, sizeof kBenchEffect - 1));
  if (!file || !file->Prepare()) {
    std::fprintf(stderr, "bench_particles: the bench effect did not load\n");
    return 1;
  }
  Emitter e(file->CreateEmitter("swarm"));
  const float dt = 0.025f;
  float t = 0;
  auto step = [&] {
    t += dt;
    e->Update(t, dt);
    e->Move(t, dt, 512, 384, 0, true);
  };
  for (int i = 0; i < 160; ++i) step();  // four seconds: births and deaths in balance

  std::vector<double> update, draw, total;
  int minLive = 1 << 30, maxLive = 0;
  for (int frame = 0; frame < 600; ++frame) {
    const auto a = Clock::now();
    step();
    const auto b = Clock::now();
    grBeginScene();
    e->Render();
    grFlip(nullptr, nullptr);
    const auto c = Clock::now();
    update.push_back(Ms(b - a));
    draw.push_back(Ms(c - b));
    total.push_back(Ms(c - a));
    minLive = std::min(minLive, e->ParticleCount());
    maxLive = std::max(maxLive, e->ParticleCount());
  }
  std::printf("live particles: %d .. %d, %d quads in the last frame\n", minLive, maxLive, e->DrawnCount());
  std::printf("%-34s %8s %8s %8s\n", "per 25 ms update (ms)", "median", "p95", "max");
  auto row = [](const char* what, const std::vector<double>& v) {
    std::printf("%-34s %8.3f %8.3f %8.3f\n", what, Percentile(v, 0.5), Percentile(v, 0.95), Percentile(v, 1.0));
  };
  row("simulate (update + move/emit)", update);
  row("vertices + device + frame", draw);
  row("whole update", total);
  const double median = Percentile(total, 0.5);
  std::printf("%s: median whole update %.3f ms for about 2,000 particles (budget 1 ms)\n",
              median < 1.0 ? "ok" : "SLOW", median);
  return 0;
}

// The demo effects side by side over a dusk-coloured ground, saved as a picture.
int Shot(Pyro::ILibrary& lib, const char* out, const std::string& demo) {
  const char* names[] = {"data/fx/sparkles.pfx", "data/fx/chimney_smoke.pfx"};
  const float at[][2] = {{300, 420}, {720, 560}};
  std::vector<File> files;
  std::vector<std::pair<Emitter, int>> emitters;
  for (int i = 0; i < 2; ++i) {
    File f(lib.LoadEffectFile((demo + "/" + names[i]).c_str()));
    if (!f || !f->Prepare()) {
      std::fprintf(stderr, "bench_particles: %s did not load (see gerr.log)\n", names[i]);
      return 1;
    }
    for (int k = 0; k < f->EmitterCount(); ++k) emitters.emplace_back(Emitter(f->CreateEmitter(f->Emitter(k)->Id())), i);
    files.push_back(std::move(f));
  }
  const float dt = 0.025f;
  for (int frame = 1; frame <= 200; ++frame)
    for (auto& [e, i] : emitters) {
      e->Update(frame * dt, dt);
      e->Move(frame * dt, dt, at[i][0], at[i][1], 0, true);
    }
  grBeginScene();
  for (int y = 0; y < kLogicalHeight; y += 8) {
    const int k = y * 255 / kLogicalHeight;
    grFillRect(0, y, kLogicalWidth, y + 8, grColor(40 + k / 4, 60 + k / 3, 90 - k / 6));
  }
  grFillRect(680, 560, 760, 768, grColor(90, 50, 40));  // the chimney
  for (auto& [e, i] : emitters) e->Render();
  const bool saved = grSaveScreenshot(out);
  grFlip(nullptr, nullptr);
  if (!saved) {
    std::fprintf(stderr, "bench_particles: no picture to save (MEADOWMARK_HEADLESS=gl draws one)\n");
    return 1;
  }
  std::printf("saved %s\n", out);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const bool shot = argc >= 3 && std::strcmp(argv[1], "--shot") == 0;
  if (!std::getenv("MEADOWMARK_HEADLESS")) platSetMode(shot ? PlatMode::HeadlessGL : PlatMode::HeadlessNull);
  if (!platVideoInit() || !platWindowCreate("bench_particles", 0, 0, kLogicalWidth, kLogicalHeight, false) ||
      grInit(kLogicalWidth, kLogicalHeight, 32, false) != 0) {
    std::fprintf(stderr, "bench_particles: no renderer\n");
    return 1;
  }
  int rc = 0;
  {
    PyroParticles::CPyroGraphics device;
    std::unique_ptr<Pyro::ILibrary, LibraryDeleter> lib(pyroCreateLibrary(Pyro::kLibraryVersion, 2));
    lib->SetSeed(2024);
    lib->SetDevice(&device);
    rc = shot ? Shot(*lib, argv[2], argc >= 4 ? argv[3] : "demo") : Bench(*lib);
    lib->SetDevice(nullptr);
  }
  grDone(false);
  platVideoDone();
  return rc;
}
