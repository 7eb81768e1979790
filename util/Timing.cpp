#include "util/Timing.h"

#include <algorithm>

int64_t DelayStep(int64_t step, int64_t duration) {
  // A negative step would become an endless sleep of the system's unsigned wait.
  if (step > 0) return step;
  return std::min<int64_t>(std::max<int64_t>(duration / 10, 1), 25);
}

int64_t RandomFromSeed(uint32_t seed, int64_t lo, int64_t hi) {
  if (hi <= lo) return lo;
  seed = seed * 134775813u + 1u;
  const uint64_t kFull = uint64_t(1) << 32;
  const uint64_t diff = uint64_t(hi) - uint64_t(lo);  // exact, as hi > lo
  const uint64_t span = diff < kFull ? diff + 1 : kFull;
  return int64_t(uint64_t(lo) + ((uint64_t(seed) * span) >> 32));
}
