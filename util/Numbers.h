#pragma once
// Digit-string readers for any base up to 16.
#include <cstdint>
#include <string>

// Upper-cased and trimmed text read in `base`: -1 on a byte outside
// "0123456789ABCDEF"; digits are not checked against the base; wraps beyond
// 64 bits; empty text reads 0.
int64_t ParseInBase(const std::string& text, int base);
// ParseInBase(text, 16) after a leading 0x or 0X.
int64_t HexToInt64(const std::string& text);
