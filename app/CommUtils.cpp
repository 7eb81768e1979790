#include "app/CommUtils.h"

#include "util/Paths.h"

std::string RunLogPath(const std::string& exeDirWithBackslash, const std::string& ownName) {
  const std::string name = ownName.compare(0, 2, "X_") == 0 ? ownName : "X_" + ownName;
  return exeDirWithBackslash + FileBaseName(name, false) + ".log";
}

std::string RunLogLine(const std::string& stamp, uint32_t threadId, const std::string& indent,
                       const std::string& message) {
  std::string id = std::to_string(threadId);
  if (id.size() < 5) id.insert(0, 5 - id.size(), ' ');
  return stamp + " " + id + indent + message + "\r\n";
}
