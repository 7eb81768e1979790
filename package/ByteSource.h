#pragma once
// Random-access reading of a package file or of bytes in memory. Readers take a
// ByteSource so that the same code serves the stub, the builder and the tests.
#include <cstdint>
#include <cstdio>
#include <string>

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Length in bytes; -1 when the source could not be measured.
  virtual int64_t Size() const = 0;
  // Reads up to count bytes at offset; returns how many were read (short at the end).
  virtual size_t ReadAt(int64_t offset, void* buffer, size_t count) const = 0;

  // count bytes at offset, or fewer when the source ends sooner.
  std::string Read(int64_t offset, size_t count) const;
  // The little-endian 32-bit value at offset; false when the 4 bytes are not all there.
  bool ReadU32(int64_t offset, uint32_t& value) const;
};

// A file opened for reading (others may keep reading and writing it).
class FileSource : public ByteSource {
 public:
  explicit FileSource(const std::string& path);
  ~FileSource() override;
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  bool IsOpen() const { return file_ != nullptr; }
  int64_t Size() const override;
  size_t ReadAt(int64_t offset, void* buffer, size_t count) const override;

 private:
  std::FILE* file_ = nullptr;
  int64_t size_ = -1;
};

// Bytes held by the caller; the source does not copy them.
class MemorySource : public ByteSource {
 public:
  MemorySource(const void* data, size_t size) : data_(static_cast<const uint8_t*>(data)), size_(size) {}
  explicit MemorySource(const std::string& bytes) : MemorySource(bytes.data(), bytes.size()) {}
  int64_t Size() const override { return int64_t(size_); }
  size_t ReadAt(int64_t offset, void* buffer, size_t count) const override;

 private:
  const uint8_t* data_;
  size_t size_;
};
