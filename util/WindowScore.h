#pragma once
// Choosing a process's main window from its top-level windows: the window that
// owns most of the others wins; a title and visibility break ties.
#include <cstdint>

struct TWindowTraits {
  int TopOwner;  // index of the window's top owner among the collected ones, -1 when not collected
  bool Titled;
  bool Visible;
};

// Fills scores[0..count) and returns the index of the first window with the
// highest score above 0, or -1.
int ScoreWindows(const TWindowTraits* windows, uint16_t* scores, int count);
