#pragma once
// Date-time values: days since 30 December 1899 (proleptic Gregorian), the
// fraction being the time of day. Before that day the integral part still
// counts the days and the fraction's magnitude is the time of day.
#include <cstdint>
#include <string>

struct DateTimeParts {
  int year, month, day, hour, minute, second, millisecond;
};

// Years 1 to 9999; false for anything outside that or not a number.
bool DecodeDateTime(double value, DateTimeParts& parts);
bool EncodeDateTime(const DateTimeParts& parts, double& value);

// "05-JAN-2024". Texts of values that cannot be decoded are empty.
std::string DateToDMY(double value);
// DateToDMY, a blank, then hours, minutes and seconds joined by timeSep.
std::string DateTimeStampWith(double value, const std::string& timeSep);
// "dd/mm/yy HH:NN:SS" (or "yyyy") with the given separators.
std::string DateTimeShortWith(bool fourDigitYear, double value, const std::string& dateSep,
                              const std::string& timeSep);
// Value x 86,400, rounded; 0 for a value that is not a date.
int64_t AgentSeconds(double value);

// Packed FAT date and time: date in the high word, time (2-second steps) in
// the low word. 0 for values outside 1980..2107, which means "no date".
uint32_t DateTimeToFat(double value);
bool FatToDateTime(uint32_t fat, double& value);
