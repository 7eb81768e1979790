#pragma once
// A fresh folder under the temporary folder for one test, removed with its
// contents at the end.
#include <windows.h>

#include <string>

#include "util/Files.h"
#include "util/Utils.h"

class TempFolder {
 public:
  TempFolder() {
    static int serial = 0;
    path_ = TempDir(true) + "kvx_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++serial);
    DeleteTree(path_, true);
    ForceDirectories(path_);
  }
  ~TempFolder() { DeleteTree(path_, true); }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};
