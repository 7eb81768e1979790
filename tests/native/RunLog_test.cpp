#include <gtest/gtest.h>

#include "app/CommUtils.h"

TEST(RunLogPath, PrefixesXAndTakesLogExtension) {
  const struct {
    const char* ownName;
    const char* path;
  } cases[] = {
      {"Product_AU.exe", "C:\\P\\X_Product_AU.log"},
      {"X_Product_AU.exe", "C:\\P\\X_Product_AU.log"},
      {"setup.exe", "C:\\P\\X_setup.log"},
      {"x_tool.exe", "C:\\P\\X_x_tool.log"},  // the prefix is compared with case
      {"a.b.exe", "C:\\P\\X_a.b.log"},
      {"noext", "C:\\P\\X_noext.log"},
  };
  for (const auto& c : cases) EXPECT_EQ(RunLogPath("C:\\P\\", c.ownName), c.path) << c.ownName;
}

TEST(RunLogLine, StampThreadPaddedToFiveIndentMessage) {
  EXPECT_EQ(RunLogLine("09/03/14 17:05:22", 2044, "   ", "msg"), "09/03/14 17:05:22  2044   msg\r\n");
  EXPECT_EQ(RunLogLine("09/03/14 17:05:22", 7, " X ", ""), "09/03/14 17:05:22     7 X \r\n");
  EXPECT_EQ(RunLogLine("s", 1234567, "   ", "m"), "s 1234567   m\r\n");
}
