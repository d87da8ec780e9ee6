// Diagnostics at the bottom of the engine: console messages filtered by verbosity, gerr.log, the
// game log, the profiler, heap statistics and crash reports. Nothing here reads files or draws:
// the shell hands down what it reads at start-up (verbosity, report kind), and the renderer draws
// the profiler's report and the frame-rate meter (gfx/diag_draw.h).
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// Prints to standard output when the "verbose" setting is at least `level`. Returns 0 when a
// console message is already being printed (messages do not nest), 1 otherwise.
int consoleMessage(int level, const char* format, ...) __attribute__((format(printf, 2, 3)));

// One line to "gerr.log" in the current folder (the first line of a run replaces the old file and
// writes the two header lines). Messages carry their own line break.
void errorLog(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Closes gerr.log so the next line starts a new file (tests and shutdown).
void errorLogClose();
// The console verbosity; the shell sets it from Brevilon.ini once the user folder is known. Until
// then only level-0 messages are printed.
void consoleSetVerbosity(int level);

// The game log: lines are buffered and reach the file in blocks of whole lines.
bool gameLogOpen(const char* path);  // "wb"; empties the buffer and turns logging on
void gameLog(const char* format, ...) __attribute__((format(printf, 1, 2)));
void gameLogFlush();                  // writes what is buffered
void gameLogClose();                  // flushes, closes, turns logging off
bool gameLogIsOn();

// Heap statistics line in the game log: "[Heap][ label ][Total] blocks: ..".
void heapStatistics(const char* label, bool difference);

// Profiler sections; `name` is identified by the pointer, as callers pass literals.
void profEnter(const char* name);
void profLeave();
void profReset();
int profSectionCount(const char* name);  // calls of every section with this name (tests)
const char* profCurrentName();
// One section as the report shows it; `depth` is 0 for the root "Main".
struct ProfSectionInfo {
  const char* name;
  int depth;
  int32_t count;
  double mean, longest;
};
// Walks the sections depth first from the root: `enter` before a section's children, `leave` after.
void profWalk(const std::function<void(const ProfSectionInfo&)>& enter,
              const std::function<void(const ProfSectionInfo&)>& leave);

// Crash reports: installs handlers for fatal signals that write a readable report with a
// symbolised backtrace, named base/"dump" suffix ".0" ".txt" in the current folder; the digit before
// the extension counts up to 9 when the name is taken. `folder` is accepted for the callers' sake.
void crashInit(const char* folder, const char* base, const char* suffix);
// The report kind written into reports (game.ini [main] "crash", read by the shell).
void crashSetKind(int kind);
// Builds the report file name for attempt n (0..9); empty when n is out of range.
std::string crashReportName(const char* folder, const char* base, const char* suffix, int n);
