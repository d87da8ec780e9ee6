// Diagnostics the renderer draws: the seven-segment frame-rate meter of the present and the
// profiler's report (the profiler itself keeps its sections in base/diag.h).
#pragma once

class CSprite;

// Frame-rate meter drawn with seven-segment digits by the renderer's present.
void fpsMeter();
// The segment mask of one character of the meter (exposed for tests).
int fpsSegmentMask(char c);
// Draws text with the meter's digits: characters w x h, g pixels apart.
void fpsDrawText(const char* text, int x, int y, int w, int h, int g);

// The profiler's report: one row per section, each 40 pixels right of and below the one before.
void profDraw(int x, int y, CSprite* font);
