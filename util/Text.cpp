#include "util/Text.h"

#include <limits>

namespace {

char UpperByte(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

// Finds in `search` (already case-folded when needed) and edits `result` at the
// same spans; both stay aligned because every edit is applied to both.
std::string ReplaceAligned(std::string search, const std::string& text, const std::string& find,
                           const std::string& repl) {
  if (find.empty() || search.find(find) == std::string::npos) return text;
  std::string result;
  result.reserve(text.size());
  if (!repl.empty()) {
    // Equivalent to masking each replaced span with a byte absent from `find`:
    // the next search simply resumes after the previous occurrence.
    size_t from = 0;
    for (size_t at; (at = search.find(find, from)) != std::string::npos; from = at + find.size()) {
      result.append(text, from, at - from);
      result += repl;
    }
    result.append(text, from, std::string::npos);
    return result;
  }
  // Removal: the leftmost occurrence of the text as it now stands is also the
  // first to complete when the kept bytes are stacked, so one pass suffices.
  std::string kept;
  kept.reserve(search.size());
  for (size_t i = 0; i < search.size(); ++i) {
    kept += search[i];
    result += text[i];
    if (kept.size() >= find.size() && kept.compare(kept.size() - find.size(), find.size(), find) == 0) {
      kept.resize(kept.size() - find.size());
      result.resize(result.size() - find.size());
    }
  }
  return result;
}

}  // namespace

std::string UpperCaseASCII(const std::string& s) {
  std::string r(s);
  for (char& c : r) c = UpperByte(c);
  return r;
}

bool SameTextCI(const std::string& a, const std::string& b) {
  return a.size() == b.size() && UpperCaseASCII(a) == UpperCaseASCII(b);
}

bool StartsWithCI(const std::string& text, const std::string& prefix) {
  return text.size() >= prefix.size() && SameTextCI(text.substr(0, prefix.size()), prefix);
}

bool EndsWithCI(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() && SameTextCI(text.substr(text.size() - suffix.size()), suffix);
}

int PosCI(const std::string& needle, const std::string& haystack) {
  if (needle.empty()) return 0;
  size_t at = UpperCaseASCII(haystack).find(UpperCaseASCII(needle));
  return at == std::string::npos ? 0 : int(at + 1);
}

std::string ReplaceText(const std::string& text, const std::string& find, const std::string& repl) {
  return ReplaceAligned(text, text, find, repl);
}

std::string ReplaceTextCI(const std::string& text, const std::string& find, const std::string& repl) {
  return ReplaceAligned(UpperCaseASCII(text), text, UpperCaseASCII(find), repl);
}

std::string ReplaceChar(const std::string& text, char a, char b) {
  std::string r(text);
  for (char& c : r)
    if (c == a) c = b;
  return r;
}

std::string LeftOf(const std::string& text, const std::string& delim, const std::string& def) {
  size_t at = delim.empty() ? std::string::npos : text.find(delim);
  return at == std::string::npos ? def : text.substr(0, at);
}

std::string RightOf(const std::string& text, const std::string& delim, const std::string& def) {
  size_t at = delim.empty() ? std::string::npos : text.find(delim);
  return at == std::string::npos ? def : text.substr(at + delim.size());
}

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && (unsigned char)s[b] <= 32) ++b;
  while (e > b && (unsigned char)s[e - 1] <= 32) --e;
  return s.substr(b, e - b);
}

bool ReadInt64(const std::string& text, int64_t& out) {
  size_t i = 0, n = text.size();
  while (i < n && text[i] == ' ') ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  unsigned base = 10;
  if (i < n && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    base = 16;
    ++i;
  } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i == n) return false;
  // Magnitude limit: one more for the negative side.
  const uint64_t limit = uint64_t(std::numeric_limits<int64_t>::max()) + (negative ? 1 : 0);
  uint64_t value = 0;
  for (; i < n; ++i) {
    char c = UpperByte(text[i]);
    unsigned digit;
    if (c >= '0' && c <= '9') digit = unsigned(c - '0');
    else if (base == 16 && c >= 'A' && c <= 'F') digit = unsigned(c - 'A' + 10);
    else return false;
    if (value > (limit - digit) / base) return false;
    value = value * base + digit;
  }
  out = negative ? int64_t(0 - value) : int64_t(value);
  return true;
}

int64_t TextToInt64(const std::string& text, int64_t def) {
  int64_t v;
  return ReadInt64(text, v) ? v : def;
}

int32_t TextToInt32(const std::string& text, int32_t def) {
  int64_t v;
  if (!ReadInt64(text, v) || v < std::numeric_limits<int32_t>::min() ||
      v > std::numeric_limits<int32_t>::max())
    return def;
  return int32_t(v);
}

std::string IntToText(int64_t value) { return std::to_string(value); }
