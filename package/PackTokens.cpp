#include "package/PackTokens.h"

#include <chrono>
#include <random>
#include <vector>

#include "package/ByteSource.h"

uint32_t PackageCheckSum(const ByteSource& file, uint32_t trailerLength) {
  int64_t size = file.Size();
  if (size > kCheckSumSizeLimit) return kCheckSumOff;
  uint32_t p = 0;
  if (IsExecutableImage(file)) file.ReadU32(kEndOfPackageOffset + 4, p);
  if (p > 0) size = p;
  int64_t remaining = size - int64_t(trailerLength);
  int64_t pos = 0;
  if (p > 0) {
    remaining -= 512;
    pos = 512;
  }
  uint32_t sum = 0;
  uint8_t buf[4096];
  for (;;) {
    const size_t got = file.ReadAt(pos, buf, sizeof buf);
    pos += int64_t(got);
    for (size_t i = 0; i + 4 <= got; i += 4) {
      remaining -= 4;
      if (remaining > 4) sum += buf[i] | buf[i + 1] << 8 | buf[i + 2] << 16 | uint32_t(buf[i + 3]) << 24;
    }
    if (remaining > 4) sum += kCheckSumOff;
    if (got < sizeof buf) break;
  }
  return sum;
}

uint32_t PackageCheckSum(const std::string& path, uint32_t trailerLength) {
  const FileSource file(path);
  return PackageCheckSum(file, trailerLength);
}

bool CheckSumPasses(uint32_t computed, uint32_t stored) {
  return computed == stored || computed == kCheckSumOff || stored == kCheckSumOff;
}

namespace {

int HexDigit(uint8_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// One process-wide generator, seeded from the clock once: reseeding on every
// call would give two failed decodings within one tick the same number.
std::string RandomNumberText() {
  static std::mt19937 gen(uint32_t(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                          std::random_device{}());
  return std::to_string(std::uniform_int_distribution<int>(0, 99998)(gen));
}

}  // namespace

bool TryDecodeToken(const std::string& text, std::string& decoded) {
  decoded.clear();
  // Bytes shifted down by 50, read as hexadecimal pairs (the last may be single).
  std::vector<uint8_t> b(1);  // b[0] unused: positions are 1-based
  for (size_t i = 0; i < text.size(); i += 2) {
    int value = 0;
    for (size_t j = i; j < i + 2 && j < text.size(); ++j) {
      const int d = HexDigit(uint8_t(uint8_t(text[j]) - 50));
      if (d < 0) return false;
      value = value * 16 + d;
    }
    b.push_back(uint8_t(value));
  }
  const size_t n = b.size() - 1;
  if (n <= 4) return false;
  uint8_t sum = 0;
  for (size_t i = 1; i <= n; ++i)
    if (i != n - 1) sum = uint8_t(sum + b[i]);
  if (sum != b[n - 1]) return false;
  const uint8_t key = b[1] ^ b[n];
  for (size_t i = 2; i <= n - 1; ++i) b[i] ^= key;
  const int64_t lead = b[2], count = int64_t(n) - b[2] - b[3] - 4;
  const int64_t first = lead + 4;
  for (int64_t i = 0; i < count && first + i <= int64_t(n); ++i) decoded += char(b[size_t(first + i)]);
  return true;
}

std::string DecodeToken(const std::string& text) {
  std::string decoded;
  return TryDecodeToken(text, decoded) ? decoded : RandomNumberText();
}

std::string EncodeToken(const std::string& token, uint32_t seed) {
  std::mt19937 gen(seed);
  auto randomByte = [&gen] { return uint8_t(std::uniform_int_distribution<int>(0, 255)(gen)); };
  const uint8_t lead = uint8_t(std::uniform_int_distribution<int>(0, 7)(gen));
  // The decoder skips tail + 1 bytes after the token: padding, check byte, key byte.
  const uint8_t tail = uint8_t(1 + std::uniform_int_distribution<int>(0, 7)(gen));
  std::vector<uint8_t> plain = {randomByte(), lead, tail};
  for (int i = 0; i < lead; ++i) plain.push_back(randomByte());
  plain.insert(plain.end(), token.begin(), token.end());
  for (int i = 0; i < tail - 1; ++i) plain.push_back(randomByte());
  const uint8_t last = randomByte();
  const uint8_t key = plain[0] ^ last;
  std::vector<uint8_t> b = plain;
  for (size_t i = 1; i < b.size(); ++i) b[i] ^= key;
  uint8_t sum = last;
  for (uint8_t v : b) sum = uint8_t(sum + v);
  b.push_back(sum);
  b.push_back(last);

  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (uint8_t v : b) {
    out += char(digits[v >> 4] + 50);
    out += char(digits[v & 15] + 50);
  }
  return out;
}

std::string AgentFromPackage(std::string head, const TPackTrailer& trailer) {
  // The agent carries no appended data, so it must not point past its trailer.
  SetEndOfPackage(head, 0);
  TPackTrailer agent = trailer;
  agent.IsAgent = 1;
  agent.TrailerSize = kTrailerSize;
  return head + TrailerBytes(agent);
}

std::string AgentFromWebInstaller(std::string content) {
  uint32_t p = 0;
  MemorySource(content).ReadU32(kEndOfPackageOffset + 4, p);
  // Without a position (0) nothing was appended; cutting there would lose the file.
  if (p > 0 && p < content.size() && content.size() - p < 10000) content.resize(p);
  if (content.size() >= 5) content[content.size() - 5] = 1;
  return content;
}
