#include "util/FileRules.h"

#include <cctype>

#include "util/Text.h"

std::string DriveRootOf(const std::string& path) {
  const unsigned char first = path.empty() ? 0 : static_cast<unsigned char>(path[0]);
  return std::string(1, static_cast<char>(std::toupper(first))) + ":\\";
}

std::string DiskFreeQueryDir(const std::string& path, bool extendedQuery) {
  const std::string dir = ReplaceChar(path, '/', '\\');
  if (!extendedQuery || dir.size() < 3) return DriveRootOf(dir);
  const size_t cut = dir.find('\\', 3);
  return cut == std::string::npos ? dir : dir.substr(0, cut);
}
