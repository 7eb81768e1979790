// Message serving, the millisecond clock, dates with the user's separators and
// clock-seeded random numbers.
#include <cmath>
#include <exception>

#include "ui/KDebug.h"
#include "util/Dates.h"
#include "util/Text.h"
#include "util/Timing.h"
#include "util/Utils.h"

// --- Message serving and timing ----------------------------------------------

void YieldX(DWORD ms) {
  try {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(ms);
  } catch (const std::exception& e) {
    TraceException(e, "YieldX");
  }
}

void Delay(uint32_t step, int64_t duration) {
  const DWORD ms = static_cast<DWORD>(DelayStep(step, duration));
  const int64_t end = NowMs() + duration;
  do {
    YieldX(ms);
  } while (NowMs() < end);
}

int64_t NowMs() {
  static long double factor = 0;
  if (factor == 0) {
    LARGE_INTEGER freq;
    if (!QueryPerformanceFrequency(&freq) || freq.QuadPart == 0) return GetTickCount();
    factor = 1000.0L / freq.QuadPart;
  }
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<int64_t>(std::llround(now.QuadPart * factor));
}

// --- Dates ---------------------------------------------------------------------

namespace {

// The user's regional separators, read afresh: the user may change them.
std::string LocaleText(LCTYPE type, const char* def) {
  char buf[8] = {};
  return GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buf, sizeof buf) > 1 ? std::string(buf) : def;
}

}  // namespace

double NowDateTime() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  double value = 0;
  EncodeDateTime({t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds}, value);
  return value;
}

std::string DateTimeStamp(double value) { return DateTimeStampWith(value, LocaleText(LOCALE_STIME, ":")); }

std::string DateTimeShort(bool fourDigitYear, double value) {
  return DateTimeShortWith(fourDigitYear, value, LocaleText(LOCALE_SDATE, "/"), LocaleText(LOCALE_STIME, ":"));
}

// --- Random numbers ------------------------------------------------------------

int64_t RandomInRange(int64_t lowest, int64_t highest) {
  LARGE_INTEGER counter;
  const uint32_t seed = QueryPerformanceCounter(&counter) ? static_cast<uint32_t>(counter.QuadPart) : GetTickCount();
  return RandomFromSeed(seed, lowest, highest);
}

std::string RandomText(int64_t lowest, int64_t highest) { return IntToText(RandomInRange(lowest, highest)); }
