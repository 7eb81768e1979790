// Bounded stand-in for a coverage-guided fuzzer: feeds the target seed inputs,
// random inputs and mutations of earlier inputs, all from a fixed seed so that
// a failure repeats. Usage: fuzz_<name> [iterations] [seed files...]
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

uint64_t rngState = 0x4B617672697821ULL;

uint64_t Next() {  // xorshift64*
  rngState ^= rngState >> 12;
  rngState ^= rngState << 25;
  rngState ^= rngState >> 27;
  return rngState * 2685821657736338717ULL;
}

size_t Below(size_t n) { return n ? size_t(Next() % n) : 0; }

// Bytes with a meaning to the parsers of this program; random inputs lean on them.
const std::string kInteresting = std::string("|*^!~@#$&=/\\\" :.-+0x19AFafzZ<>\r\n\t") +
                                 std::string("\0\x01\x02\x03\x7F\x80\x81\xFF", 8);

char RandomByte() {
  return Below(2) ? kInteresting[Below(kInteresting.size())] : char(Below(256));
}

std::string RandomInput() {
  std::string s;
  for (size_t n = Below(Below(4) == 0 ? 512 : 48); n > 0; --n) s += RandomByte();
  return s;
}

std::string Mutate(std::string s, const std::vector<std::string>& pool) {
  const size_t kMax = 8192;
  for (size_t rounds = 1 + Below(4); rounds > 0; --rounds) {
    switch (Below(7)) {
      case 0:
        if (!s.empty()) s[Below(s.size())] ^= char(1u << Below(8));
        break;
      case 1:
        if (!s.empty()) s[Below(s.size())] = RandomByte();
        break;
      case 2:
        s.insert(Below(s.size() + 1), 1, RandomByte());
        break;
      case 3:
        if (!s.empty()) {
          size_t at = Below(s.size());
          s.erase(at, 1 + Below(s.size() - at));
        }
        break;
      case 4:
        if (!s.empty()) {  // duplicate a stretch
          size_t at = Below(s.size()), len = 1 + Below(s.size() - at);
          s.insert(Below(s.size() + 1), s.substr(at, len));
        }
        break;
      case 5: {  // splice in part of another input
        const std::string& other = pool[Below(pool.size())];
        if (!other.empty()) {
          size_t at = Below(other.size());
          s.insert(Below(s.size() + 1), other.substr(at, 1 + Below(other.size() - at)));
        }
        break;
      }
      default:
        s.resize(Below(s.size() + 1));
        break;
    }
    if (s.size() > kMax) s.resize(kMax);
  }
  return s;
}

void Run(const std::string& input) {
  // A copy of exactly the input's size, so that reads past its end are caught.
  std::vector<uint8_t> buf(input.begin(), input.end());
  LLVMFuzzerTestOneInput(buf.empty() ? nullptr : buf.data(), buf.size());
}

}  // namespace

int main(int argc, char** argv) {
  long iterations = argc > 1 ? std::atol(argv[1]) : 100000;
  std::vector<std::string> pool = {"", "0", "-1", "$FF", "0x7FFFFFFFFFFFFFFF", "|a|b|", "|k=v|K2= x|",
                                   "/A=1 /B=\"x y\" /hide", "C:\\Dir\\\\Sub\\", "\\\\\\server\\share"};
  for (int i = 2; i < argc; ++i) {
    std::ifstream f(argv[i], std::ios::binary);
    pool.emplace_back(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
  }
  long count = 0;
  for (const std::string& seed : pool) Run(seed), ++count;
  const size_t kPoolMax = 512;
  for (long i = 0; i < iterations; ++i, ++count) {
    std::string input = Below(4) == 0 ? RandomInput() : Mutate(pool[Below(pool.size())], pool);
    Run(input);
    // Keep some inputs to mutate further, replacing old ones once the pool is full.
    if (Below(16) == 0) {
      if (pool.size() < kPoolMax) pool.push_back(input);
      else pool[Below(pool.size())] = input;
    }
  }
  std::printf("%ld inputs ok\n", count);
  return 0;
}
