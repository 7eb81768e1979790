#pragma once
#include <cstdint>

// The one procedure through which extraction, file writes and downloads report
// progress. kind 0 resets the main bar to (max, pos, step), kind 1 steps it
// (step > 1 there: that many steps at once, painted once); other kinds do
// nothing. context is the caller's (a text, or a cancel flag).
using ProgressSink = void (*)(int32_t kind, int32_t min, int32_t max, int32_t pos, int32_t step,
                              intptr_t context);
