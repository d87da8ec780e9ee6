// Writing and replaying the input journal.
#include "game/core/game_journal.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "base/diag.h"
#include "files/file.h"

namespace {
std::FILE* g_out = nullptr;
std::vector<JournalEntry> g_replay;
size_t g_next = 0;
bool g_replaying = false;
}  // namespace

bool journalRecordStart(const std::string& path, int32_t seed) {
  journalStop();
  g_out = std::fopen(path.c_str(), "wb");
  if (!g_out) {
    errorLog("Journal: cannot write \"%s\"\n", path.c_str());
    return false;
  }
  std::fprintf(g_out, "seed %d\n", int(seed));
  return true;
}

bool journalReplayStart(const std::string& path, int32_t& seed) {
  journalStop();
  void* data = nullptr;
  const size_t length = fileLoad(path.c_str(), &data);
  if (!data) {
    errorLog("Journal: cannot read \"%s\"\n", path.c_str());
    return false;
  }
  std::string text(static_cast<const char*>(data), length);
  memFree(data);
  std::vector<JournalEntry> entries;
  size_t pos = 0;
  int line = 0;
  bool haveSeed = false;
  int64_t lastStep = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    const std::string l = text.substr(pos, end - pos);
    pos = end + 1;
    ++line;
    if (l.empty() || l == "\r") continue;
    int s = 0;
    JournalEntry e;
    if (!haveSeed && std::sscanf(l.c_str(), "seed %d", &s) == 1) {
      seed = s;
      haveSeed = true;
    } else if (std::sscanf(l.c_str(), "%" SCNd64 " %d %d %d", &e.step, &e.message, &e.code, &e.value) == 4 &&
               e.step >= lastStep) {
      lastStep = e.step;
      entries.push_back(e);
    } else {
      errorLog("Journal \"%s\": line %d: not understood, skipped\n", path.c_str(), line);
    }
  }
  if (!haveSeed) {
    errorLog("Journal \"%s\": no seed line\n", path.c_str());
    return false;
  }
  journalReplayEntries(std::move(entries));
  return true;
}

void journalReplayEntries(std::vector<JournalEntry> entries) {
  g_replay = std::move(entries);
  g_next = 0;
  g_replaying = true;
}

void journalStop() {
  if (g_out) std::fclose(g_out);
  g_out = nullptr;
  g_replay.clear();
  g_next = 0;
  g_replaying = false;
}

bool journalIsReplaying() { return g_replaying; }
size_t journalPending() { return g_replay.size() - g_next; }

void journalRecord(int64_t step, int message, int code, int value) {
  if (!g_out) return;
  std::fprintf(g_out, "%" PRId64 " %d %d %d\n", step, message, code, value);
  // Flushed at once: the journal of a run that crashes is the one most worth replaying.
  std::fflush(g_out);
}

void journalFeed(int64_t step, int (*deliver)(int, int, int)) {
  if (!g_replaying) return;
  while (g_next < g_replay.size() && g_replay[g_next].step <= step) {
    const JournalEntry e = g_replay[g_next++];
    deliver(e.message, e.code, e.value);
  }
}
