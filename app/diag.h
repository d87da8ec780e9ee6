// Diagnostics: console messages filtered by verbosity, gerr.log, the game log, the profiler,
// heap statistics, the frame-rate meter and crash reports.
#pragma once
#include <cstddef>
#include <string>

// Prints to standard output when the "verbose" setting is at least `level`. Returns 0 when a
// console message is already being printed (messages do not nest), 1 otherwise.
int consoleMessage(int level, const char* format, ...) __attribute__((format(printf, 2, 3)));

// One line to "gerr.log" in the current folder (the first line of a run replaces the old file and
// writes the two header lines). Messages carry their own line break.
void errorLog(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Closes gerr.log so the next line starts a new file (tests and shutdown).
void errorLogClose();
// Sets the console verbosity instead of reading it from Brevilon.ini (tests).
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
class CSprite;
void profDraw(int x, int y, CSprite* font);
void profReset();
int profSectionCount(const char* name);  // calls of every section with this name (tests)
const char* profCurrentName();

// Frame-rate meter drawn with seven-segment digits by the renderer's present.
void fpsMeter();
// The segment mask of one character of the meter (exposed for tests).
int fpsSegmentMask(char c);
// Draws text with the meter's digits: characters w x h, g pixels apart.
void fpsDrawText(const char* text, int x, int y, int w, int h, int g);

// Crash reports: installs handlers for fatal signals that write a readable report with a
// symbolised backtrace, named base/"dump" suffix ".0" ".txt" in the current folder; the digit before
// the extension counts up to 9 when the name is taken. `folder` is accepted for the callers' sake.
void crashInit(const char* folder, const char* base, const char* suffix);
// Builds the report file name for attempt n (0..9); empty when n is out of range.
std::string crashReportName(const char* folder, const char* base, const char* suffix, int n);
