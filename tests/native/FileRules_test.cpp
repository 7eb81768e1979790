#include <gtest/gtest.h>

#include "util/FileRules.h"

TEST(DiskFreeQueryDir, CutsAfterTheFirstFolderOrFallsBackToTheDrive) {
  const struct {
    const char* path;
    bool extended;
    const char* dir;
  } cases[] = {
      {"C:\\Users\\me\\Temp", true, "C:\\Users"},
      {"c:/users/me", true, "c:\\users"},
      {"C:\\Temp", true, "C:\\Temp"},
      {"C:\\", true, "C:\\"},
      {"d:", true, "D:\\"},
      {"c:\\Users\\me", false, "C:\\"},
      {"\\\\server\\share\\x", true, "\\\\server"},  // not a drive: the query fails
  };
  for (const auto& c : cases) EXPECT_EQ(DiskFreeQueryDir(c.path, c.extended), c.dir) << c.path;
}
