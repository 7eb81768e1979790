// Path helpers, scrambled texts, registry value texts, dates and the random
// and chunk arithmetic on arbitrary bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "util/Dates.h"
#include "util/FilePlan.h"
#include "util/Paths.h"
#include "util/RegistryText.h"
#include "util/Scramble.h"
#include "util/Timing.h"

namespace {

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

bool Lead(unsigned char c) { return c >= 0x81 && c <= 0x9F; }

bool StartsWith(const std::string& s, const std::string& p) { return s.compare(0, p.size(), p) == 0; }
bool EndsWith(const std::string& s, const std::string& p) {
  return s.size() >= p.size() && s.compare(s.size() - p.size(), p.size(), p) == 0;
}

void Paths(const std::string& path, uint8_t selector) {
  const LeadBytePredicate lead = (selector & 1) ? Lead : nullptr;
  Check(CleanPath(path, selector & 2, lead).size() <= path.size(), "clean never grows");
  Check(EndsWith(SetTrailingBackslash(path, true, lead), "\\"), "backslash added");
  StripTrailingBackslash(path, lead);
  const std::string name = ExtractFileName(path, lead), dir = ExtractFileDir(path, lead);
  Check(EndsWith(path, name) && StartsWith(path, dir), "name and folder are parts of the path");
  const std::string base = FileBaseName(path, false, lead), bare = FileBaseName(path, true, lead);
  Check(StartsWith(name, base) && StartsWith(base, bare), "extensions come off the end");
}

uint64_t Bits(const std::string& in, size_t at) {
  uint64_t v = 0;
  for (size_t i = at; i < at + 8 && i < in.size(); ++i) v = v << 8 | uint8_t(in[i]);
  return v;
}

void Numbers(const std::string& in, uint8_t selector) {
  const uint64_t bits = Bits(in, 0);
  double value;
  std::memcpy(&value, &bits, sizeof value);
  DateTimeParts p;
  if (DecodeDateTime(value, p)) {
    double again;
    DateTimeParts q;
    Check(EncodeDateTime(p, again) && DecodeDateTime(again, q) && q.year == p.year && q.month == p.month &&
              q.day == p.day && q.hour == p.hour && q.minute == p.minute && q.second == p.second,
          "date round trip");
    Check(DateToDMY(value).size() == 11, "DMY length");
  } else {
    Check(DateToDMY(value).empty(), "no text for no date");
  }
  AgentSeconds(value);
  double fatValue;
  if (FatToDateTime(uint32_t(bits), fatValue)) Check(DateTimeToFat(fatValue) == uint32_t(bits), "FAT round trip");

  const int64_t lo = int64_t(Bits(in, 8)), hi = (selector & 1) ? int64_t(uint64_t(lo) + bits % 1000) : int64_t(bits);
  const int64_t r = RandomFromSeed(uint32_t(bits >> 7), lo, hi);
  Check(hi <= lo ? r == lo : (r >= lo && r <= hi), "random within range");
  const uint64_t size = Bits(in, 16) >> (selector % 64);
  const uint64_t chunk = ChunkSize(size);
  Check(chunk <= size && chunk <= 1048576 && (size == 0 || chunk > 0), "chunk size");
  DelayStep(int64_t(Bits(in, 24)), int64_t(bits));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t selector = data[0];
  const std::string in(reinterpret_cast<const char*>(data) + 1, size - 1);
  Paths(in, selector);
  Numbers(in, selector);
  Check(ScrambleText(ScrambleWithKey(in, char(selector)), false, false) == in, "unscramble");
  Check(ScrambleText(ScrambleText(in, true, true), false, true) == in, "hex form");
  ScrambleText(in, false, selector & 1);
  RegValueToText(selector % 9, in);
  SplitRegPath(in);
  return 0;
}
