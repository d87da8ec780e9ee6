// Fuzz target of input journals: any bytes as "journal.txt" must be read or refused with a line
// naming it, and whatever reads is replayed the way the game replays it, message by message at its
// update step, into a screen of the standard widgets (button, switch, slider, name field) that must
// take any key code, character, wheel turn and position without fault.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_util.h"
#include "game/core/game_journal.h"
#include "game/core/game_main.h"
#include "ui/wnd.h"
#include "ui/wnd_create.h"

namespace {
constexpr const char* kScreen = "fuzz/screen.ini";
constexpr const char* kWindows[] = {"Button", "Switch", "Slider", "Name", "Label"};

bool Setup() {
  static const bool ok = [] {
    if (!fuzzkit::NullRenderer() || !platMakeDirs("fuzz")) return false;
    if (!fuzzkit::WriteCheckerPng("fuzz/w.png", 64, 32)) return false;
    const char* ini =
        "[Button]\ntype=ieButton\nx=10\ny=10\nxs=200\nys=40\nname=Play\nstage=1\nnormal=fuzz/w.png\n"
        "active=fuzz/w.png\npress=fuzz/w.png\nleftnormal=fuzz/w.png\nrightnormal=fuzz/w.png\n\n"
        "[Switch]\ntype=switchselect\nx=10\ny=60\nxs=300\nys=40\nstage=1\nnormal=fuzz/w.png\n"
        "0=One\n1=Two\n2=Three\n[left]\nnormal=fuzz/w.png\n[right]\nnormal=fuzz/w.png\n"
        "[One]\nname=1\n[Two]\nname=2\n[Three]\nname=3\n\n"
        "[Slider]\ntype=progress2\nx=10\ny=120\nxs=300\nys=36\nstage=1\n0=Track\n1=Fill\n2=Thumb\n"
        "[Track]\ny=8\nxs=300\nys=16\nnormal=fuzz/w.png\n[Fill]\ny=8\nxs=300\nys=16\nnormal=fuzz/w.png\n"
        "[Thumb]\nx=-13\nnormal=fuzz/w.png\n\n"
        "[Name]\ntype=ieEdit\nx=10\ny=180\nxs=300\nys=44\nname=\nstrsize=24\nstage=1\nnormal=fuzz/w.png\n\n"
        "[Label]\ntype=text\nx=10\ny=240\nxs=300\nys=24\nname=Label\n";
    if (!fuzzkit::WriteText(kScreen, ini)) return false;
    wndSetRoot(new UIWnd());
    return true;
  }();
  return ok;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!Setup() || !fuzzkit::WriteFile("journal.txt", data, size)) return 0;
  // A fresh screen for every journal, so one input's widget states do not leak into the next.
  auto* screen = new UIWnd();
  for (const char* w : kWindows) wndCreate(kScreen, w, screen);
  gameShowScreen(screen);
  gameResetSteps();
  int32_t seed = 0;
  if (journalReplayStart("journal.txt", seed)) {
    // Ten seconds of play at one step a frame, drawing every frame; then whatever is stamped
    // later arrives at once.
    for (int frame = 0; frame < 400 && journalPending() > 0; ++frame) {
      gameAdvance(float(kStepMs));
      grBeginScene();
      wndRoot()->Draw();
      grFlip(nullptr, nullptr);
    }
    journalFeed(INT64_MAX, gameDeliverInput);
    if (journalPending() != 0) __builtin_trap();
    gameAdvance(float(kStepMs));
  }
  journalStop();
  gameShowScreen(nullptr);
  wndCollectGarbage();
  return 0;
}
