#include "util/Scramble.h"

#include <cstdint>

#include "util/Numbers.h"

namespace {

const std::string kMarker = "Scrambled=01";

// The transformation is its own inverse.
std::string Transform(const std::string& bytes, uint8_t key) {
  std::string r(bytes);
  for (size_t i = 1; i <= r.size(); ++i) {
    uint8_t k = (i % 2) ? uint8_t(i + key) : uint8_t(i - key);
    r[i - 1] = char(uint8_t(r[i - 1]) ^ k);
  }
  return r;
}

std::string ToHex(const std::string& bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string r;
  for (char c : bytes) {
    r += kHex[uint8_t(c) >> 4];
    r += kHex[uint8_t(c) & 15];
  }
  return r;
}

// Pairs of hex digits to bytes; false on an odd length or a non-hex digit.
bool FromHex(const std::string& hex, std::string& out) {
  if (hex.size() % 2 || hex.find_first_not_of("0123456789ABCDEFabcdef") != std::string::npos) return false;
  std::string bytes;
  for (size_t i = 0; i < hex.size(); i += 2) bytes += char(ParseInBase(hex.substr(i, 2), 16));
  out = bytes;
  return true;
}

}  // namespace

std::string ScrambleWithKey(const std::string& plain, char key) {
  return kMarker + key + Transform(plain, uint8_t(key));
}

std::string ScrambleText(const std::string& text, bool scramble, bool hexForm) {
  if (scramble) {
    // A printable key from 33 to 122, varying with the text.
    unsigned sum = 0;
    for (char c : text) sum += uint8_t(c);
    const std::string s = ScrambleWithKey(text, char(33 + sum % 90));
    return hexForm ? s.substr(0, kMarker.size() + 1) + ToHex(s.substr(kMarker.size() + 1)) : s;
  }
  // The marker alone carries no key: nothing to unscramble with.
  if (text.size() <= kMarker.size() || text.compare(0, kMarker.size(), kMarker) != 0) return text;
  std::string body = text.substr(kMarker.size() + 1);
  if (hexForm && !FromHex(body, body)) return text;
  return Transform(body, uint8_t(text[kMarker.size()]));
}
