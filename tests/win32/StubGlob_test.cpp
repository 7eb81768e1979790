#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "agent/StubGlob.h"
#include "util/Files.h"
#include "util/Utils.h"

// The folder is named after the time of day of the program's file and is
// emptied on first use, read-only leftovers included.
TEST(WorkingFolders, SetupTempFolderIsEmptiedOnceAndKept) {
  const std::string expected = TempDir(true) + "SETUP_" + std::to_string(FileFatDate(ExePath()) & 0xFFFF);
  ASSERT_TRUE(ForceDirectories(expected + "\\old"));
  ASSERT_TRUE(WriteFileData(expected + "\\old\\left.txt", "x", 0, false));
  SetFileAttributesA((expected + "\\old\\left.txt").c_str(), FILE_ATTRIBUTE_READONLY);

  EXPECT_EQ(SetupTempFolder(), expected);
  EXPECT_TRUE(DirectoryExists(expected));
  EXPECT_FALSE(DirectoryExists(expected + "\\old"));

  ASSERT_TRUE(WriteFileData(expected + "\\new.txt", "x", 0, false));
  EXPECT_EQ(SetupTempFolder(), expected);
  EXPECT_TRUE(FileExists(expected + "\\new.txt"));
  DeleteTree(expected, true);
}

// With the temporary folder on the only fixed disk nothing is chosen, and the
// probe leaves the disk as it was.
TEST(WorkingFolders, NoAlternativeDriveBesideTheTempDrive) {
  for (const char* root : {"D:\\", "E:\\"})
    if (GetDriveTypeA(root) == DRIVE_FIXED) GTEST_SKIP() << root << " is a fixed disk here";
  ASSERT_EQ(toupper(TempDir(false)[0]), 'C');
  const bool hadTemp = DirectoryExists("C:\\TEMP");

  EXPECT_FALSE(ChooseAlternativeTempDrive());
  EXPECT_EQ(AlternativeTempFolder(), "");
  RemoveAlternativeTempFolder();
  EXPECT_EQ(DirectoryExists("C:\\TEMP"), hadTemp);
}
