// Crash reports: fatal signals write a readable report with a symbolised backtrace, then the
// process dies the way it would have.
#include "base/diag.h"

// A browser has neither signals nor backtraces: there a fault stops the page's program and the
// browser's console reports it, so only the report names are kept.
#if __has_include(<execinfo.h>)
#include <execinfo.h>
#define MM_CRASH_SIGNALS 1
#endif
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstring>
#include <string>

namespace {
// Built at start-up: nothing may allocate inside the handler.
char g_names[10][512];
int g_kind = 0;
#if MM_CRASH_SIGNALS
bool g_installed = false;
char g_altStack[64 * 1024];

void writeText(int fd, const char* s) {
  size_t n = std::strlen(s);
  while (n > 0) {
    ssize_t w = write(fd, s, n);
    if (w <= 0) return;
    s += w;
    n -= size_t(w);
  }
}

void writeNumber(int fd, long v) {
  char buf[24];
  int i = sizeof buf - 1;
  buf[i] = 0;
  bool neg = v < 0;
  unsigned long u = neg ? 0UL - (unsigned long)v : (unsigned long)v;
  do {
    buf[--i] = char('0' + u % 10);
    u /= 10;
  } while (u && i > 1);
  if (neg) buf[--i] = '-';
  writeText(fd, buf + i);
}

const char* signalName(int sig) {
  switch (sig) {
    case SIGSEGV: return "SIGSEGV (invalid memory access)";
    case SIGABRT: return "SIGABRT (abort)";
    case SIGFPE: return "SIGFPE (arithmetic fault)";
    case SIGILL: return "SIGILL (illegal instruction)";
    case SIGBUS: return "SIGBUS (bus error)";
    default: return "signal";
  }
}

void onFatal(int sig, siginfo_t* info, void*) {
  int fd = -1;
  for (int i = 0; i < 10 && fd < 0; ++i)
    if (g_names[i][0]) fd = open(g_names[i], O_WRONLY | O_CREAT | O_EXCL, 0644);
  if (fd >= 0) {
    writeText(fd, "Crash report\nSignal: ");
    writeText(fd, signalName(sig));
    writeText(fd, " (");
    writeNumber(fd, sig);
    writeText(fd, ")\nAddress: ");
    writeNumber(fd, long(reinterpret_cast<intptr_t>(info ? info->si_addr : nullptr)));
    writeText(fd, "\nProcess: ");
    writeNumber(fd, long(getpid()));
    writeText(fd, "\nReport kind: ");
    writeNumber(fd, g_kind);
    writeText(fd, "\nBacktrace:\n");
    void* frames[64];
    int n = backtrace(frames, 64);
    backtrace_symbols_fd(frames, n, fd);
    close(fd);
  }
  // Die the way the fault would have, so the exit status and a core dump stay as they were.
  signal(sig, SIG_DFL);
  raise(sig);
}
#endif
}  // namespace

std::string crashReportName(const char* folder, const char* base, const char* suffix, int n) {
  (void)folder;
  if (n < 0 || n > 9) return {};
  std::string name;
  if (base && *base) name = std::string(base) + "/";
  name += "dump";
  name += suffix ? suffix : "";
  name += ".";
  name += char('0' + n);
  name += ".txt";
  return name;
}

void crashSetKind(int kind) { g_kind = kind; }

void crashInit(const char* folder, const char* base, const char* suffix) {
  // Reports go to the current folder with an absolute name, in case the game changes folder.
  char cwd[400];
  std::string prefix = getcwd(cwd, sizeof cwd) ? std::string(cwd) + "/" : std::string();
  for (int i = 0; i < 10; ++i) {
    std::string name = prefix + crashReportName(folder, base, suffix, i);
    std::strncpy(g_names[i], name.size() < sizeof g_names[i] ? name.c_str() : "", sizeof g_names[i] - 1);
  }
#if MM_CRASH_SIGNALS
  if (g_installed) return;
  stack_t ss{};
  ss.ss_sp = g_altStack;
  ss.ss_size = sizeof g_altStack;
  sigaltstack(&ss, nullptr);  // a stack overflow must still be reported
  struct sigaction sa{};
  sa.sa_sigaction = onFatal;
  sa.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_RESETHAND;
  sigemptyset(&sa.sa_mask);
  for (int sig : {SIGSEGV, SIGABRT, SIGFPE, SIGILL, SIGBUS}) sigaction(sig, &sa, nullptr);
  // backtrace() loads its unwinder on first use; do it now, not inside the handler.
  void* warm[2];
  backtrace(warm, 2);
  g_installed = true;
#endif
}
