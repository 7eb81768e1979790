// Baseline for the extraction benchmark: the least loop that unpacks a setup
// file's records (read a block, inflate it, write its data to the named file,
// appending), built natively and with MinGW from this one source.
// usage: inflate_loop SETUP_FILE OUT_FOLDER   prints "ms=<milliseconds>"
#include <zlib.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#ifdef _WIN32
#include <direct.h>
#else
#include <sys/stat.h>
#endif

namespace {

uint32_t U32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }

bool ReadAt(FILE* f, int64_t pos, void* buf, size_t n) {
#ifdef _WIN32
  if (_fseeki64(f, pos, SEEK_SET) != 0) return false;
#else
  if (fseeko(f, pos, SEEK_SET) != 0) return false;
#endif
  return fread(buf, 1, n, f) == n;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  FILE* f = std::fopen(argv[1], "rb");
  if (!f) return 1;
  const auto start = std::chrono::steady_clock::now();
#ifdef _WIN32
  _fseeki64(f, 0, SEEK_END);
  const int64_t size = _ftelli64(f);
#else
  fseeko(f, 0, SEEK_END);
  const int64_t size = ftello(f);
#endif
  // End of package at 252 (the builder writes no appended data), trailer before it.
  unsigned char t[74];
  unsigned char eop[4];
  ReadAt(f, 252, eop, 4);
  const int64_t end = U32(eop) ? int64_t(U32(eop)) : size;
  ReadAt(f, end - 74, t, 74);
  int64_t pos = U32(t + 4);
  int headers = t[1] ? t[1] : 2;
  std::vector<unsigned char> in, out(1 << 20);
  const std::string folder = argv[2];
  while (pos < end - 74) {
    unsigned char lb[4];
    ReadAt(f, pos, lb, 4);
    const int32_t n = int32_t(U32(lb));
    const uint32_t len = n < 0 ? 0u - uint32_t(n) : uint32_t(n);
    in.resize(len);
    if (len) ReadAt(f, pos + 4, in.data(), len);
    pos += 4 + len;
    if (headers > 0) {
      --headers;
      continue;
    }
    std::string content;
    if (n > 0) {
      z_stream z{};
      inflateInit(&z);
      z.next_in = in.data();
      z.avail_in = len;
      int rc = Z_OK;
      while (rc == Z_OK) {
        z.next_out = out.data();
        z.avail_out = uInt(out.size());
        rc = inflate(&z, Z_NO_FLUSH);
        content.append(reinterpret_cast<char*>(out.data()), out.size() - z.avail_out);
      }
      inflateEnd(&z);
    } else {
      content.assign(reinterpret_cast<char*>(in.data()), len);
    }
    const size_t nul = content.find('\0');
    if (nul == std::string::npos || nul < 3) continue;
    const std::string name = content.substr(1, content.find(content[0], 1) - 1);
    std::string path = folder + "/" + name.substr(0, name.find('*'));
    for (char& c : path)
      if (c == '\\') c = '/';
    FILE* o = std::fopen(path.c_str(), "ab");
    if (!o) {
      // Make the record's folders, then try again.
      for (size_t i = folder.size() + 1; i < path.size(); ++i)
        if (path[i] == '/') {
          const std::string dir = path.substr(0, i);
#ifdef _WIN32
          _mkdir(dir.c_str());
#else
          mkdir(dir.c_str(), 0755);
#endif
        }
      o = std::fopen(path.c_str(), "ab");
    }
    if (o) {
      std::fwrite(content.data() + nul + 1, 1, content.size() - nul - 1, o);
      std::fclose(o);
    }
  }
  std::fclose(f);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  std::printf("ms=%lld\n", static_cast<long long>(ms));
  return 0;
}
