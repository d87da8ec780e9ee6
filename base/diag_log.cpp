// Console messages filtered by verbosity, the timestamped gerr.log, and the buffered game log.
#include "base/diag.h"

#include <sys/time.h>

#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <string>

namespace {
// Until the shell has read Brevilon.ini the marker stands; it filters like verbosity 0.
constexpr int kUnread = -12345;
int g_verbose = kUnread;
bool g_printing = false;
std::FILE* g_errorLog = nullptr;

std::FILE* g_gameLog = nullptr;
bool g_gameLogOn = false;
constexpr size_t kGameLogBuffer = 10000;
std::string g_gameBuffer;

std::string vformat(const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (n <= 0) return {};
  std::string out(size_t(n), '\0');
  std::vsnprintf(out.data(), size_t(n) + 1, format, args);
  return out;
}

void writeGameLog(const std::string& text) {
  if (g_gameLog && !text.empty()) {
    std::fwrite(text.data(), 1, text.size(), g_gameLog);
    std::fflush(g_gameLog);
  }
}
}  // namespace

int consoleMessage(int level, const char* format, ...) {
  if (g_printing) return 0;
  g_printing = true;
  if ((g_verbose == kUnread ? 0 : g_verbose) >= level) {
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::fflush(stdout);
  }
  g_printing = false;
  return 1;
}

void consoleSetVerbosity(int level) { g_verbose = level; }

void errorLog(const char* format, ...) {
  timeval tv{};
  gettimeofday(&tv, nullptr);
  std::tm t{};
  time_t secs = tv.tv_sec;
  localtime_r(&secs, &t);
  if (!g_errorLog) {
    g_errorLog = std::fopen("gerr.log", "wb");
    if (!g_errorLog) return;  // lines are dropped when the log cannot be created
    std::fprintf(g_errorLog, "------------------- Compilation data: %s time: %s -------------------\n", __DATE__, __TIME__);
    std::fprintf(g_errorLog, "------------------- Run data: %d:%d:%d time: %d:%d:%d -------------------\n", t.tm_mday,
                 t.tm_mon + 1, t.tm_year + 1900, t.tm_hour, t.tm_min, t.tm_sec);
  }
  std::fprintf(g_errorLog, "%02d-%02d-%02d %02d:%02d:%02d.%03d -> ", t.tm_mday, t.tm_mon + 1, t.tm_year % 100,
               t.tm_hour, t.tm_min, t.tm_sec, int(tv.tv_usec / 1000));
  char line[4096];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  std::fputs(line, g_errorLog);
  std::fflush(g_errorLog);
}

void errorLogClose() {
  if (g_errorLog) std::fclose(g_errorLog);
  g_errorLog = nullptr;
}

bool gameLogOpen(const char* path) {
  gameLogClose();
  g_gameLog = path && *path ? std::fopen(path, "wb") : nullptr;
  g_gameBuffer.clear();
  g_gameBuffer.reserve(kGameLogBuffer);
  g_gameLogOn = true;
  return g_gameLog != nullptr;
}

void gameLog(const char* format, ...) {
  if (!g_gameLogOn) return;
  va_list args;
  va_start(args, format);
  std::string line = vformat(format, args);
  va_end(args);
  line += '\n';
  if (g_gameBuffer.size() + line.size() > kGameLogBuffer - 1) {
    writeGameLog(g_gameBuffer);
    g_gameBuffer.clear();
  }
  if (line.size() > kGameLogBuffer - 1) {
    // A line longer than the whole buffer goes straight to the file, whole, in its turn.
    writeGameLog(line);
    return;
  }
  g_gameBuffer += line;
}

void gameLogFlush() {
  writeGameLog(g_gameBuffer);
  g_gameBuffer.clear();
}

void gameLogClose() {
  gameLogFlush();
  if (g_gameLog) std::fclose(g_gameLog);
  g_gameLog = nullptr;
  g_gameLogOn = false;
}

bool gameLogIsOn() { return g_gameLogOn; }
