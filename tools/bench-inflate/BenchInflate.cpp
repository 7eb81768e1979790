// Baseline for the extraction benchmark: the least work that unpacking a package
// takes. Each block is read whole, inflated in one go into a buffer kept between
// blocks, and its file record appended to its file; no progress, no messages, no
// dates. Built for Windows and natively, so that the same loop measures Wine and
// the host. Prints the time from opening the package to the last file closed.
//
// usage: kavrix-bench-inflate PACKAGE FOLDER
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "package/ByteSource.h"
#include "package/PackFormat.h"
#include "util/KSUB.h"

namespace {

// Inflates a whole zlib stream; out grows by doubling and keeps its size for the
// next block. Returns the content length, or -1 on a damaged stream.
int64_t InflateAll(z_stream& zs, const std::vector<uint8_t>& in, size_t inSize, std::vector<uint8_t>& out) {
  if (out.size() < inSize * 4) out.resize(inSize * 4);
  inflateReset(&zs);
  zs.next_in = const_cast<Bytef*>(in.data());
  zs.avail_in = uInt(inSize);
  size_t done = 0;
  for (;;) {
    zs.next_out = out.data() + done;
    zs.avail_out = uInt(out.size() - done);
    const int rc = inflate(&zs, Z_FINISH);
    done = out.size() - zs.avail_out;
    if (rc == Z_STREAM_END) return int64_t(done);
    if (rc != Z_BUF_ERROR && rc != Z_OK) return -1;
    if (zs.avail_out != 0) return -1;  // input ended before the stream did
    out.resize(out.size() * 2);
  }
}

std::FILE* OpenForAppend(std::string path) {
#ifndef _WIN32
  for (char& c : path)
    if (c == '\\') c = '/';
#endif
  std::FILE* f = std::fopen(path.c_str(), "ab");
  if (f) return f;
  // Only the first file of a folder pays for the folder.
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
  return std::fopen(path.c_str(), "ab");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: kavrix-bench-inflate PACKAGE FOLDER\n");
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();
  const FileSource file(argv[1]);
  TPackTrailer trailer;
  ReadTrailer(file, trailer);
  if (trailer.Magic != kPackMagic) {
    std::fprintf(stderr, "%s: no package\n", argv[1]);
    return 1;
  }
  const std::string folder = argv[2];
  const int64_t limit = PackageEnd(file) - trailer.TrailerSize;

  z_stream zs{};
  inflateInit(&zs);
  std::vector<uint8_t> in, out;
  int64_t pos = trailer.HeaderPos, records = 0, bytes = 0;
  TBlockRef block;
  for (int index = 0; ReadBlockAt(file, pos, limit, block); ++index, pos = block.Next()) {
    if (index < trailer.HeaderCount) continue;
    const size_t size = block.DataSize();
    if (in.size() < size) in.resize(size);
    if (file.ReadAt(block.DataPos, in.data(), size) != size) return 1;
    const uint8_t* content = in.data();
    int64_t length = int64_t(size);
    if (block.Length > 0) {
      length = InflateAll(zs, in, size, out);
      if (length < 0) {
        std::fprintf(stderr, "damaged block at %lld\n", static_cast<long long>(pos));
        return 1;
      }
      content = out.data();
    }
    const uint8_t* nul = static_cast<const uint8_t*>(std::memchr(content, 0, size_t(length)));
    if (!nul || nul == content) continue;
    std::string name = SUB::GetItem(std::string(reinterpret_cast<const char*>(content), size_t(nul - content)), 0);
    name = name.substr(0, name.find('*'));
    std::FILE* f = OpenForAppend(folder + "\\" + name);
    const size_t dataSize = size_t(content + length - (nul + 1));
    if (!f || std::fwrite(nul + 1, 1, dataSize, f) != dataSize || std::fclose(f) != 0) {
      std::fprintf(stderr, "cannot write %s\n", name.c_str());
      return 1;
    }
    ++records;
    bytes += int64_t(dataSize);
  }
  inflateEnd(&zs);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  std::printf("%lld ms, %lld records, %lld bytes\n", static_cast<long long>(ms.count()),
              static_cast<long long>(records), static_cast<long long>(bytes));
  return 0;
}
