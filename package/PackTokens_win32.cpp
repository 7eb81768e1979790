#include "package/ByteSource.h"
#include "package/PackTokens.h"
#include "util/Files.h"

bool WriteAgentFromPackage(const ByteSource& package, int64_t dataStart, const std::string& target,
                           uint32_t fileDate) {
  TPackTrailer trailer;
  ReadTrailer(package, trailer);
  if (dataStart <= 0 || dataStart > package.Size()) return false;
  const std::string head = package.Read(0, size_t(dataStart));
  if (head.size() != size_t(dataStart)) return false;
  return WriteFileData(target, AgentFromPackage(head, trailer), fileDate, false);
}

bool WriteAgentFromWebInstaller(const std::string& content, const std::string& target, uint32_t fileDate) {
  return WriteFileData(target, AgentFromWebInstaller(content), fileDate, false);
}
