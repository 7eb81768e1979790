// Moves the PE headers of a freshly linked image from wherever the linker put
// them to file offset 256. The package reader looks for "PE" at 256, and the
// builder stores the end-of-package position in bytes 248..255, which must lie
// in the zero padding of the DOS area.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr uint32_t kTargetOffset = 0x100;
constexpr uint32_t kLfanewOffset = 0x3C;

uint32_t ReadU32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}
uint16_t ReadU16(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }

int Fail(const char* path, const char* why) {
  std::fprintf(stderr, "kavrix-pefix: %s: %s\n", path, why);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: kavrix-pefix IMAGE.exe\n");
    return 2;
  }
  const char* path = argv[1];
  std::vector<uint8_t> image;
  {
    std::ifstream in(path, std::ios::binary);
    if (!in) return Fail(path, "cannot open");
    image.assign(std::istreambuf_iterator<char>(in), {});
  }
  if (image.size() < 0x400 || image[0] != 'M' || image[1] != 'Z') return Fail(path, "not an MZ image");

  const uint32_t from = ReadU32(image, kLfanewOffset);
  if (from == kTargetOffset) return 0;  // already moved (re-run after an up-to-date build)
  if (from > kTargetOffset || from + 24 > image.size() || std::memcmp(&image[from], "PE\0\0", 4) != 0)
    return Fail(path, "unexpected PE header position");

  const uint16_t sections = ReadU16(image, from + 6);
  const uint16_t optionalSize = ReadU16(image, from + 20);
  const uint32_t headerLength = 24 + optionalSize + 40u * sections;
  const uint32_t sizeOfHeaders = ReadU32(image, from + 24 + 60);
  const uint32_t shift = kTargetOffset - from;
  if (kTargetOffset + headerLength > sizeOfHeaders || sizeOfHeaders > image.size())
    return Fail(path, "headers would not fit before the first section");
  for (uint32_t i = from + headerLength; i < kTargetOffset + headerLength; ++i)
    if (image[i] != 0) return Fail(path, "no free padding after the headers");

  std::memmove(&image[kTargetOffset], &image[from], headerLength);
  std::memset(&image[from], 0, shift);  // also clears the end-of-package slot 248..255
  image[kLfanewOffset] = uint8_t(kTargetOffset);
  image[kLfanewOffset + 1] = uint8_t(kTargetOffset >> 8);
  image[kLfanewOffset + 2] = 0;
  image[kLfanewOffset + 3] = 0;

  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(image.data()), std::streamsize(image.size()));
  if (!out) return Fail(path, "cannot write");
  return 0;
}
