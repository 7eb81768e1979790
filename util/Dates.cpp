#include "util/Dates.h"

#include <cmath>
#include <cstdio>

#include "util/KSUB.h"

namespace {

const int64_t kMsPerDay = 86400000;
// Day numbers of 1 Jan 0001 and 31 Dec 9999.
const double kMinDay = -693593, kMaxDay = 2958465;

// Days since 1 January 1970 of a proleptic Gregorian date.
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = int(doy - (153 * mp + 2) / 5 + 1);
  m = int(mp < 10 ? mp + 3 : mp - 9);
  y = int(yoe + era * 400 + (m <= 2));
}

const int64_t kEpochTo1970 = 25569;  // 30 Dec 1899 to 1 Jan 1970

std::string Two(int v) {
  char b[8];
  std::snprintf(b, sizeof b, "%02d", v % 100);
  return b;
}

std::string Four(int v) {
  char b[8];
  std::snprintf(b, sizeof b, "%04d", v);
  return b;
}

std::string TimeText(const DateTimeParts& p, const std::string& sep) {
  return Two(p.hour) + sep + Two(p.minute) + sep + Two(p.second);
}

}  // namespace

bool DecodeDateTime(double value, DateTimeParts& p) {
  if (!(value > kMinDay - 1 && value < kMaxDay + 1)) return false;  // NaN fails too
  int64_t days = int64_t(value);                                  // toward zero
  int64_t ms = std::llround(std::fabs(value - double(days)) * kMsPerDay);
  if (ms >= kMsPerDay) {  // rounds up to the next midnight
    ms -= kMsPerDay;
    days += value < 0 ? -1 : 1;
  }
  if (days < kMinDay || days > kMaxDay) return false;
  CivilFromDays(days - kEpochTo1970, p.year, p.month, p.day);
  p.hour = int(ms / 3600000);
  p.minute = int(ms / 60000 % 60);
  p.second = int(ms / 1000 % 60);
  p.millisecond = int(ms % 1000);
  return true;
}

bool EncodeDateTime(const DateTimeParts& p, double& value) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (p.year < 1 || p.year > 9999 || p.month < 1 || p.month > 12 || p.day < 1) return false;
  const bool leap = p.year % 4 == 0 && (p.year % 100 != 0 || p.year % 400 == 0);
  if (p.day > kDays[p.month - 1] + (p.month == 2 && leap)) return false;
  if (p.hour < 0 || p.hour > 23 || p.minute < 0 || p.minute > 59 || p.second < 0 || p.second > 59 ||
      p.millisecond < 0 || p.millisecond > 999)
    return false;
  const double days = double(DaysFromCivil(p.year, p.month, p.day) + kEpochTo1970);
  const double time = double(((p.hour * 60 + p.minute) * 60 + p.second) * 1000 + p.millisecond) / kMsPerDay;
  value = days < 0 ? days - time : days + time;
  return true;
}

std::string DateToDMY(double value) {
  static const std::string kMonths = "||JAN|FEB|MAR|APR|MAY|JUN|JUL|AUG|SEP|OCT|NOV|DEC|";
  DateTimeParts p;
  if (!DecodeDateTime(value, p)) return std::string();
  return Two(p.day) + "-" + SUB::GetItem(kMonths, p.month) + "-" + Four(p.year);
}

std::string DateTimeStampWith(double value, const std::string& timeSep) {
  DateTimeParts p;
  if (!DecodeDateTime(value, p)) return std::string();
  return DateToDMY(value) + " " + TimeText(p, timeSep);
}

std::string DateTimeShortWith(bool fourDigitYear, double value, const std::string& dateSep,
                              const std::string& timeSep) {
  DateTimeParts p;
  if (!DecodeDateTime(value, p)) return std::string();
  return Two(p.day) + dateSep + Two(p.month) + dateSep + (fourDigitYear ? Four(p.year) : Two(p.year)) + " " +
         TimeText(p, timeSep);
}

int64_t AgentSeconds(double value) {
  const double s = value * 86400.0;
  return std::fabs(s) < 9.0e18 ? std::llround(s) : 0;  // NaN fails the test too
}

uint32_t DateTimeToFat(double value) {
  DateTimeParts p;
  if (!DecodeDateTime(value, p) || p.year < 1980 || p.year > 2107) return 0;
  const uint32_t date = uint32_t(p.year - 1980) << 9 | uint32_t(p.month) << 5 | uint32_t(p.day);
  const uint32_t time = uint32_t(p.hour) << 11 | uint32_t(p.minute) << 5 | uint32_t(p.second / 2);
  return date << 16 | time;
}

bool FatToDateTime(uint32_t fat, double& value) {
  const uint32_t date = fat >> 16, time = fat & 0xFFFF;
  DateTimeParts p{int(date >> 9) + 1980, int(date >> 5 & 15), int(date & 31),
                  int(time >> 11),       int(time >> 5 & 63), int(time & 31) * 2, 0};
  return EncodeDateTime(p, value);
}
