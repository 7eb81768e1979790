#include "package/ByteSource.h"

#include <cstring>

namespace {

bool SeekTo(std::FILE* f, int64_t offset) {
#ifdef _WIN32
  return _fseeki64(f, offset, SEEK_SET) == 0;
#else
  return fseeko(f, off_t(offset), SEEK_SET) == 0;
#endif
}

int64_t MeasureFile(std::FILE* f) {
#ifdef _WIN32
  if (_fseeki64(f, 0, SEEK_END) != 0) return -1;
  return _ftelli64(f);
#else
  if (fseeko(f, 0, SEEK_END) != 0) return -1;
  return int64_t(ftello(f));
#endif
}

}  // namespace

std::string ByteSource::Read(int64_t offset, size_t count) const {
  std::string out(count, '\0');
  out.resize(count ? ReadAt(offset, &out[0], count) : 0);
  return out;
}

bool ByteSource::ReadU32(int64_t offset, uint32_t& value) const {
  uint8_t b[4];
  if (ReadAt(offset, b, 4) != 4) return false;
  value = b[0] | b[1] << 8 | b[2] << 16 | uint32_t(b[3]) << 24;
  return true;
}

// The C runtime's fopen shares the file for reading and writing on Windows too.
FileSource::FileSource(const std::string& path) : file_(std::fopen(path.c_str(), "rb")) {
  if (file_) size_ = MeasureFile(file_);
}

FileSource::~FileSource() {
  if (file_) std::fclose(file_);
}

int64_t FileSource::Size() const { return size_; }

size_t FileSource::ReadAt(int64_t offset, void* buffer, size_t count) const {
  if (!file_ || offset < 0 || !SeekTo(file_, offset)) return 0;
  return std::fread(buffer, 1, count, file_);
}

size_t MemorySource::ReadAt(int64_t offset, void* buffer, size_t count) const {
  if (offset < 0 || uint64_t(offset) >= size_) return 0;
  const size_t n = count < size_ - size_t(offset) ? count : size_ - size_t(offset);
  if (n) std::memcpy(buffer, data_ + offset, n);
  return n;
}
