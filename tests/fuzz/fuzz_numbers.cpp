// Number reading, list operations and switch reading on arbitrary bytes.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "util/KSUB.h"
#include "util/Numbers.h"
#include "util/Switches.h"
#include "util/Text.h"

namespace {

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

// Straight transcription of the mask-byte replacement, for small inputs.
std::string MaskReplace(const std::string& text, const std::string& find, const std::string& repl, bool ci) {
  std::string result = text, search = ci ? UpperCaseASCII(text) : text;
  const std::string f = ci ? UpperCaseASCII(find) : find;
  if (f.empty() || search.find(f) == std::string::npos) return text;
  int mask = 0;
  while (f.find(char(mask)) != std::string::npos) ++mask;
  for (size_t at; (at = search.find(f)) != std::string::npos;) {
    search.replace(at, f.size(), std::string(repl.size(), char(mask)));
    result.replace(at, f.size(), repl);
  }
  return result;
}

bool IsTrimmed(const std::string& s) { return Trim(s) == s; }

// Plain decimal text in the form IntToText writes it: no blanks, '+' or leading zeros.
std::string CanonicalDecimal(const std::string& text) {
  std::string t = text.substr(std::min(text.find_first_not_of(' '), text.size()));
  bool negative = !t.empty() && t[0] == '-';
  if (!t.empty() && (t[0] == '-' || t[0] == '+')) t.erase(0, 1);
  t.erase(0, std::min(t.find_first_not_of('0'), t.size() - 1));
  return (negative && t != "0" ? "-" : "") + t;
}

void Numbers(const std::string& text, uint8_t selector) {
  ParseInBase(text, selector % 18);
  int64_t v;
  if (ReadInt64(text, v)) {
    int64_t back;
    Check(ReadInt64(IntToText(v), back) && back == v, "decimal round trip");
    if (text.find_first_of("$xX") == std::string::npos)
      Check(CanonicalDecimal(text) == IntToText(v), "decimal value is exact");
    Check(TextToInt32(text, 7) == ((v >= INT32_MIN && v <= INT32_MAX) ? v : 7), "32-bit range");
  } else {
    Check(TextToInt64(text, 7) == 7 && TextToInt32(text, 7) == 7, "failure gives the default");
  }
  // Up to 15 hex digits: both readers agree.
  if (!text.empty() && text.size() < 16 && text.find_first_not_of("0123456789ABCDEFabcdef") == std::string::npos)
    Check(ReadInt64("$" + text, v) && HexToInt64(text) == v, "hex readers agree");
}

void Lists(const std::string& list, const std::string& value, uint8_t selector) {
  const int32_t n = SUB::Count(list);
  Check(n >= 0, "count");
  const int32_t index = int32_t(selector % 40) - 4;
  SUB::GetValue(list, value, "m", "e");
  SUB::Contains(list, value);
  SUB::GetItemInt(list, index, 0);
  std::string k, v;
  SUB::Split(list, k, v);
  SUB::Join(k, v);
  Check(SUB::Count(SUB::TrimEmpty(list)) <= n, "trim shrinks");
  if (n > 0) {
    Check(SUB::Reverse(SUB::Reverse(list)) == list, "reverse twice");
    if (index >= 0 && index < n) Check(SUB::Count(SUB::DeleteItem(list, index)) == n - 1, "delete one");
  }
  if (list.find('\0') == std::string::npos && value.find('\0') == std::string::npos && index >= 0) {
    std::string set = SUB::SetItem(list, index, value);
    Check(SUB::Count(set) == std::max(n, index + 1), "set count");
    Check(SUB::GetItem(set, index, "\x02") == (value.empty() ? "\x02" : value), "set then get");
  }
}

void Switches(const std::string& tail, const std::string& name) {
  const std::string got = GetSwitchIn(tail, name, "\x02");
  if (got != "\x02") Check(IsTrimmed(got) && got.find('"') == std::string::npos, "switch value");
  GetSwitchIntIn(tail, name, -1);
  HasSwitchIn(tail, name);
  Check(IsTrimmed(CommandLineTailOf(tail, name)), "tail trimmed");
}

// Bytes 1, 2 and 3 of the text stand for find, its first half and its second
// half, so that occurrences and near-occurrences are common.
void Replace(const std::string& raw, const std::string& find, const std::string& repl, bool ci) {
  if (raw.size() > 64 || find.size() > 64 || repl.size() > 16) return;
  std::string text;
  for (char c : raw) {
    if (c == 1) text += find;
    else if (c == 2) text += find.substr(0, find.size() / 2);
    else if (c == 3) text += find.substr(find.size() / 2);
    else text += c;
  }
  const std::string got = ci ? ReplaceTextCI(text, find, repl) : ReplaceText(text, find, repl);
  Check(got == MaskReplace(text, find, repl, ci), "replace matches the mask algorithm");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t selector = data[0];
  const std::string in(reinterpret_cast<const char*>(data) + 1, size - 1);
  // Up to three arguments, split at the first two newlines.
  std::string part[3];
  size_t k = 0;
  for (char c : in) {
    if (c == '\n' && k < 2) ++k;
    else part[k] += c;
  }
  Numbers(in, selector);
  // Long numbers near the 64-bit limits: a value written out, then a few more bytes.
  uint64_t bits = 0;
  for (size_t i = 0; i < 8 && i < in.size(); ++i) bits = bits << 8 | uint8_t(in[i]);
  Numbers(IntToText(int64_t(bits)) + in.substr(std::min<size_t>(8, in.size()), 2), selector);
  Lists(part[0], part[1], selector);
  Switches(part[0], part[1]);
  Replace(part[0], part[1], part[2], selector & 1);
  return 0;
}
