#include "util/FilePlan.h"

#include <algorithm>

#include "util/Text.h"

namespace {

const uint64_t kMiB = 1048576;

// Quoted for the batch; '%' is doubled so that the command processor does
// not expand a name such as "100%x%" into another path.
std::string BatchQuoted(const std::string& path) { return "\"" + ReplaceText(path, "%", "%%") + "\""; }

}  // namespace

bool WritesInChunks(uint64_t size, bool hasSink) { return hasSink || size > kMiB; }

uint64_t ChunkSize(uint64_t size) {
  const uint64_t tenth = size / 10;
  if (tenth <= 1024) return std::min<uint64_t>(1024, size);
  return std::min(tenth, kMiB);
}

std::string SelfDeleteBatchText(const std::string& exePath, const std::string& exeDirNoBackslash,
                                const std::string& batchPath, bool removeFolder) {
  const std::string exe = BatchQuoted(exePath);
  std::string text = ":START\r\nDEL " + exe + "\r\nIF exist " + exe + " GOTO START\r\n";
  if (removeFolder) text += "RD " + BatchQuoted(exeDirNoBackslash) + "\r\n";
  return text + "DEL " + BatchQuoted(batchPath) + "\r\n";
}
