#include "util/WindowScore.h"

int ScoreWindows(const TWindowTraits* windows, uint16_t* scores, int count) {
  for (int i = 0; i < count; ++i) scores[i] = 0;
  for (int i = 0; i < count; ++i) {
    const int owner = windows[i].TopOwner;
    if (owner >= 0 && owner < count) ++scores[owner];
  }
  int best = -1;
  for (int i = 0; i < count; ++i) {
    scores[i] = uint16_t(scores[i] * 4 + (windows[i].Titled ? 2 : 0) + (windows[i].Visible ? 1 : 0));
    if (scores[i] > 0 && (best < 0 || scores[i] > scores[best])) best = i;
  }
  return best;
}
