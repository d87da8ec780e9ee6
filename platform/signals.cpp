// SIGINT and SIGTERM close the game the orderly way: the loop sees a quit request and shuts down
// in order, so a killed game still saves its settings.
#include "platform/platform.h"

#include <atomic>
#include <csignal>

namespace {
std::atomic<bool> g_quit{false};
extern "C" void onQuitSignal(int) { g_quit.store(true); }
}  // namespace

void platInstallQuitSignals() {
  struct sigaction sa {};
  sa.sa_handler = onQuitSignal;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
}

bool platQuitRequested() { return g_quit.load(); }
void platClearQuitRequest() { g_quit.store(false); }
