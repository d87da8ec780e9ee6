// The input journal: while the game log is on, every input message that reaches the game is
// written to "journal.txt" with the number of update steps run before it and the run's random
// seed; with "Game_Playback" the previous run's journal is replayed instead of live input, each
// message before the same update step, so the two runs' logs can be compared line by line.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct JournalEntry {
  int64_t step = 0;
  int message = 0, code = 0, value = 0;
};

// Starts recording into `path` with the seed as its first line.
bool journalRecordStart(const std::string& path, int32_t seed);
// Reads a journal for replay; false (with a gerr.log line) when it cannot be read. Bad lines are
// reported with their number and skipped.
bool journalReplayStart(const std::string& path, int32_t& seed);
// Replays messages given in memory (test scripts); they must be in step order.
void journalReplayEntries(std::vector<JournalEntry> entries);
void journalStop();

bool journalIsReplaying();
// Entries not yet delivered (replay).
size_t journalPending();
void journalRecord(int64_t step, int message, int code, int value);
// Delivers, in order, every replayed entry meant to arrive before update step `step` (that is,
// with at most `step` steps run).
void journalFeed(int64_t step, int (*deliver)(int message, int code, int value));
