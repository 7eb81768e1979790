#include "util/Numbers.h"

#include "util/Text.h"

int64_t ParseInBase(const std::string& text, int base) {
  static const std::string kDigits = "0123456789ABCDEF";
  const std::string t = UpperCaseASCII(Trim(text));
  // Unsigned arithmetic: wrapping is the intended overflow behaviour.
  uint64_t value = 0, weight = 1;
  for (size_t i = t.size(); i-- > 0;) {
    size_t digit = kDigits.find(t[i]);
    if (digit == std::string::npos) return -1;
    value += digit * weight;
    weight *= uint64_t(int64_t(base));
  }
  return int64_t(value);
}

int64_t HexToInt64(const std::string& text) {
  std::string t = Trim(text);
  if (t.size() >= 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) t.erase(0, 2);
  return ParseInBase(t, 16);
}
