#pragma once
// The progress display of the main window: the main bar steps once per file
// or chunk; the small activity bar cycles through six positions on every step
// so that slow progress still shows movement.
#include <windows.h>

#include <cstdint>
#include <string>

#include "package/ProgressSink.h"

// The sink of the main window's two bars.
void MainProgressSink(int32_t kind, int32_t min, int32_t max, int32_t pos, int32_t step, intptr_t context);

// The same on any two progress controls. kind 0 resets (the maximum travels in
// 16 bits, so 70,000 becomes 4,464), kind 1 steps (step > 1: that many steps);
// the activity position lives for the whole process and a reset does not
// restart its cycle.
void DriveProgressBars(HWND mainBar, HWND activityBar, int32_t kind, int32_t min, int32_t max, int32_t pos,
                       int32_t step);

// Wraps a sink for downloads and keeps the thread's messages served around
// every call, so that a close request is noticed between two chunks.
class TProgBar {
 public:
  explicit TProgBar(ProgressSink sink) : sink_(sink) {}
  ~TProgBar() { Finish(0, 0); }
  TProgBar(const TProgBar&) = delete;
  TProgBar& operator=(const TProgBar&) = delete;

  void Start(int32_t pos, int32_t max);
  void Step(const std::string& text);
  // Empties the main bar; waits (serving messages) before and after, in ms.
  void Finish(int32_t waitBefore, int32_t waitAfter);
  // Serves messages only; the text is not shown.
  void Note(const std::string& text);

 private:
  ProgressSink sink_;
};

// Made on first need with MainProgressSink, kept until the process ends.
extern TProgBar* SharedProgBar;
void EnsureSharedProgBar();
