#include "app/CommUtils.h"

std::string RunLogPath(const std::string& exeDirWithBackslash, const std::string& ownName) {
  std::string name = ownName.compare(0, 2, "X_") == 0 ? ownName : "X_" + ownName;
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return exeDirWithBackslash + name + ".log";
}

std::string RunLogLine(const std::string& stamp, uint32_t threadId, const std::string& indent,
                       const std::string& message) {
  std::string id = std::to_string(threadId);
  if (id.size() < 5) id.insert(0, 5 - id.size(), ' ');
  return stamp + " " + id + indent + message + "\r\n";
}
