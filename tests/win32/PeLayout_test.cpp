#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/win32/SetupKit.h"
#include "tests/win32/TestEnv.h"

// The stub's image must carry its PE header at 256 and still start.
TEST(StubImage, PeHeaderAt256AndStillRuns) {
  const std::string exe = testenv::BinDir() + "\\kavrix-stub.exe";
  const std::string image = kit::StubImage();
  const std::vector<unsigned char> b(image.begin(), image.end());
  ASSERT_GT(b.size(), 0x200u);
  EXPECT_EQ(b[0x3C] | b[0x3D] << 8, 0x100);
  EXPECT_EQ(b[256], 'P');
  EXPECT_EQ(b[257], 'E');
  for (int i = 248; i < 256; ++i) EXPECT_EQ(b[i], 0) << "end-of-package slot byte " << i;

  // Without a package the run still starts and reports the missing package;
  // once its boxes are answered it ends with code 0.
  const kit::Outcome run = kit::RunSetup("\"" + exe + "\" /pe-layout-check", exe, kit::FirstButton, 60000);
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_FALSE(run.boxes.empty());
}
