#include "package/PackFormat.h"

#include <zlib.h>

#include <cstring>

#include "package/ByteSource.h"
#include "util/KSUB.h"

bool IsExecutableImage(const ByteSource& file) {
  return file.Read(0, 2) == "MZ" && file.Read(256, 2) == "PE";
}

int64_t EndOfPackage(const ByteSource& file) {
  uint32_t high = 0, low = 0;
  if (!file.ReadU32(kEndOfPackageOffset, high) || !file.ReadU32(kEndOfPackageOffset + 4, low)) return 0;
  return int64_t(uint64_t(high) << 32 | low);
}

int64_t EndOfPackage(const std::string& content) {
  const MemorySource source(content);
  return EndOfPackage(source);
}

int64_t PackageEnd(const ByteSource& file) {
  if (IsExecutableImage(file)) {
    const int64_t end = EndOfPackage(file);
    if (end > 0) return end;
  }
  return file.Size();
}

void ReadTrailer(const ByteSource& file, TPackTrailer& trailer) {
  std::memset(&trailer, 0, sizeof trailer);
  const int64_t size = file.Size();
  const int64_t end = PackageEnd(file);
  // A position that lies beyond the file, or a length that does not fit before
  // the end, would read outside the file: treat the file as holding no package.
  if (size < 4 || end < 4 || end > size) return;
  uint32_t length = 0;
  if (!file.ReadU32(end - 4, length) || length < 4 || length > uint64_t(end)) return;
  const uint32_t n = length < kTrailerSize ? length : kTrailerSize;
  const std::string bytes = file.Read(end - length, n - 4);
  std::memcpy(&trailer, bytes.data(), bytes.size());
  trailer.TrailerSize = n;
  if (trailer.HeaderCount == 0) trailer.HeaderCount = 2;
}

void ReadTrailer(const std::string& path, TPackTrailer& trailer) {
  const FileSource file(path);
  ReadTrailer(file, trailer);
}

bool ReadBlockAt(const ByteSource& file, int64_t pos, int64_t limit, TBlockRef& block) {
  uint32_t raw = 0;
  if (pos < 0 || pos > limit - 4 || !file.ReadU32(pos, raw)) return false;
  block.Length = int32_t(raw);
  block.DataPos = pos + 4;
  return block.DataSize() <= uint64_t(limit - block.DataPos);
}

void SplitRecord(const std::string& content, std::string& header, std::string& data) {
  const size_t nul = content.find('\0');
  header = content.substr(0, nul);
  data = nul == std::string::npos ? std::string() : content.substr(nul + 1);
}

std::string TrailerBytes(const TPackTrailer& trailer) {
  return std::string(reinterpret_cast<const char*>(&trailer), sizeof trailer);
}

TPackTrailer TrailerFromBytes(const std::string& bytes) {
  TPackTrailer t;
  std::memset(&t, 0, sizeof t);
  std::memcpy(&t, bytes.data(), bytes.size() < sizeof t ? bytes.size() : sizeof t);
  return t;
}

std::string Uint32Bytes(uint32_t v) {
  const char b[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
  return std::string(b, 4);
}

void SetEndOfPackage(std::string& image, uint64_t position) {
  if (image.size() < uint64_t(kEndOfPackageOffset) + 8) return;
  image.replace(kEndOfPackageOffset, 4, Uint32Bytes(uint32_t(position >> 32)));
  image.replace(kEndOfPackageOffset + 4, 4, Uint32Bytes(uint32_t(position)));
}

std::string HeaderStringBlock(const std::string& text) { return Uint32Bytes(uint32_t(text.size())) + text; }

std::string MakeList(const std::initializer_list<std::string>& items) {
  std::string list(1, '\0');
  for (const std::string& item : items) list += item + '\0';
  return SUB::ChooseSeparator(list);
}

std::string RecordContent(const std::string& name, uint32_t fatDate, const std::string& data) {
  return MakeList({name, std::to_string(fatDate)}) + '\0' + data;
}

std::string RecordBlock(const std::string& content, int level) {
  uLongf packedSize = compressBound(uLong(content.size()));
  std::string packed(packedSize, '\0');
  if (level > 0 &&
      compress2(reinterpret_cast<Bytef*>(&packed[0]), &packedSize,
                reinterpret_cast<const Bytef*>(content.data()), uLong(content.size()), level) == Z_OK &&
      packedSize < content.size()) {
    packed.resize(packedSize);
    return Uint32Bytes(uint32_t(packedSize)) + packed;
  }
  return Uint32Bytes(0u - uint32_t(content.size())) + content;
}
