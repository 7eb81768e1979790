#pragma once
// The arithmetic of waits and pseudo-random numbers, apart from the clock.
#include <cstdint>

// Step of a message-serving wait: an automatic step (0, or a negative one) is
// a tenth of the duration, kept within 1..25 ms.
int64_t DelayStep(int64_t step, int64_t duration);

// One step of seed = seed * 134775813 + 1 (mod 2^32), then
// lo + floor(seed * (hi - lo + 1) / 2^32). hi <= lo gives lo; a span beyond
// 32 bits is cut to 2^32 so that the result stays within lo..hi.
int64_t RandomFromSeed(uint32_t seed, int64_t lo, int64_t hi);
