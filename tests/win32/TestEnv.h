#pragma once
// Paths handed to the Windows tests by CTest are Unix paths; under Wine the
// root of the Unix file system is drive Z:.
#include <cstdlib>
#include <string>

namespace testenv {

inline std::string WinPath(const std::string& unixPath) {
  if (unixPath.empty() || unixPath[0] != '/') return unixPath;
  std::string p = "Z:" + unixPath;
  for (char& c : p)
    if (c == '/') c = '\\';
  return p;
}

inline std::string EnvPath(const char* name) {
  const char* v = std::getenv(name);
  return v ? WinPath(v) : std::string();
}

// Folder of the built Windows programs.
inline std::string BinDir() { return EnvPath("KAVRIX_BIN"); }

}  // namespace testenv
