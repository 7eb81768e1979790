// Volumes of arbitrary bytes through the block walk: no read outside the
// input, no unbounded allocation, and every written path inside the folder.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "package/ByteSource.h"
#include "package/UnPack.h"

namespace {

struct CheckingSink : TExtractSink {
  bool ForceFolder(const std::string& f) override { return Inside(f); }
  bool AppendFile(const std::string& p, std::string_view, uint32_t, bool& created) override {
    created = true;
    return Inside(p);
  }
  std::string FullPath(const std::string& p) override { return p; }
  void FileStarted() override {}
  static bool Inside(const std::string& p) {
    if (p.compare(0, 5, "D:\\X\\") != 0 || p.find("\\..") != std::string::npos || p.find(':', 2) != std::string::npos)
      std::abort();
    return true;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const MemorySource src(data, size);
  TExtractRun run;
  run.Destination = "D:\\X";
  run.HeaderCount = size > 0 ? data[0] % 4 : 2;
  run.BlockLimit = 1 << 16;
  CheckingSink sink;
  std::string detail;
  ExtractBlocks(src, 1, int64_t(size), run, sink, detail);
  return 0;
}
