#include <gtest/gtest.h>

#include "package/SetupCommand.h"

TEST(RemoveSwitch, DropsSwitchAndValueUpToNextSlash) {
  const struct {
    const char* command;
    const char* name;
    const char* result;
  } rows[] = {
      {"e.exe /SpanCdLvl=2 /x", "/SpanCdLvl=", "e.exe /x"},
      {"e.exe /a /SpanDiskFName1=\"D:\\my disk\\s.exe.001\" /b", "/SpanDiskFName1=", "e.exe /a /b"},
      {"e.exe /x /SpanCdLvl=2", "/SpanCdLvl=", "e.exe /x "},
      {"e.exe /spancdlvl=2 /x", "/SpanCdLvl=", "e.exe /spancdlvl=2 /x"},  // with case
      {"e.exe /x", "/SpanCdLvl=", "e.exe /x"},
  };
  for (const auto& r : rows) EXPECT_EQ(RemoveSwitch(r.command, r.name), r.result) << r.command;
}

TEST(EngineCommandLine, TailMarkTagOriginAndAgent) {
  const struct {
    const char* destination;
    const char* engine;
    const char* tail;
    bool agent;
    const char* command;
  } rows[] = {
      {"C:\\T\\SETUP_1", "Engine.exe* /silent", "/x", false,
       "C:\\T\\SETUP_1\\Engine.exe /x /silent /TH_ID=_708 /OriginExe=\"D:\\setup.exe\""},
      {"C:\\T\\SETUP_1\\", "Engine.exe*", "/SpanCdLvl=2 /SpanDiskFName1=D:\\setup.exe.001 /OriginExe=D:\\setup.exe",
       false, "C:\\T\\SETUP_1\\Engine.exe /OriginExe=D:\\setup.exe /TH_ID=_708"},
      {"C:\\T\\SETUP_1", "Engine.exe*", "", true,
       "C:\\T\\SETUP_1\\Engine.exe /TH_ID=_708 /OriginExe=\"D:\\setup.exe\" /AutoUpdateProg"},
      // "/originexe=" is another switch to the case-sensitive test.
      {"C:\\T", "e.exe*", "/originexe=x", false, "C:\\T\\e.exe /originexe=x /TH_ID=_708 /OriginExe=\"D:\\setup.exe\""},
      // A temp folder with blanks: the engine path goes in quotes.
      {"C:\\Documents and Settings\\Temp\\SETUP_1", "sub\\Engine.exe* /q", "", false,
       "\"C:\\Documents and Settings\\Temp\\SETUP_1\\sub\\Engine.exe\" /q /TH_ID=_708 /OriginExe=\"D:\\setup.exe\""},
  };
  for (const auto& r : rows)
    EXPECT_EQ(EngineCommandLine(r.destination, r.engine, r.tail, "_708", "D:\\setup.exe", r.agent), r.command)
        << r.engine;
}

TEST(SpanAndVolumes, NamesAndPrompts) {
  EXPECT_EQ(SpanCopySwitches("", "D:\\setup.exe"),
            "/SpanCdLvl=2 /SpanDiskFName1=\"D:\\setup.exe.001\" /OriginExe=\"D:\\setup.exe\"");
  EXPECT_EQ(SpanCopySwitches("/q", "D:\\s.exe"), "/q /SpanCdLvl=2 /SpanDiskFName1=\"D:\\s.exe.001\" /OriginExe=\"D:\\s.exe\"");
  EXPECT_EQ(VolumeBasePath("D:\\setup.exe.001"), "D:\\setup.exe");
  EXPECT_EQ(VolumeBasePath("D:\\setup.exe"), "D:\\setup.exe");
  EXPECT_EQ(VolumeBasePath("D:\\setup.exe.0011"), "D:\\setup.exe.0011");
  EXPECT_EQ(VolumePath("D:\\setup.exe", 2), "D:\\setup.exe.002");
  EXPECT_EQ(VolumePath("D:\\s", 10), "D:\\s.010");
  EXPECT_EQ(VolumePath("D:\\s", 100), "D:\\s.100");
  EXPECT_EQ(VolumePath("D:\\s", 1000), "D:\\s.1000");
  EXPECT_EQ(DiskPromptText("Please insert <B>DISK #<disk_num></B> (<DISK_NUM>)", 12),
            "Please insert <B>DISK #12</B> (12)");
  EXPECT_TRUE(SourceCarriesStub("D:\\SETUP.EXE"));
  EXPECT_TRUE(SourceCarriesStub("D:\\setup.Exe.001"));
  EXPECT_FALSE(SourceCarriesStub("D:\\setup.001"));
  EXPECT_FALSE(SourceCarriesStub("D:\\setup.exe.002"));
}

TEST(FreeSpaceQuestion, ChoosesOpeningAndFillsPlaceholders) {
  const TFreeSpaceTexts t{"s2 <DRIVE>|", "s3 <DRIVE>|", "s4 <SPACE_REQ>|", "s5 <SPACE_AVAIL>|", "s6"};
  EXPECT_EQ(FreeSpaceQuestion("c:\\temp", true, 10, 20, t, "1.00", "2.00"), "s2 C:|s4 1.00|s5 2.00|s6");
  EXPECT_EQ(FreeSpaceQuestion("c:\\temp", true, 20, 20, t, "2.00", "2.00"), "s3 C:|s4 2.00|s5 2.00|s6");
  EXPECT_EQ(FreeSpaceQuestion("d:\\temp", false, 30, 20, t, "3", "2"), "s3 D:|s4 3|s5 2|s6");
  EXPECT_EQ(FreeSpaceQuestion("c:\\temp", false, 10, 20, t, "1", "2"), "");
  EXPECT_EQ(FreeSpaceQuestion("", false, 1, 0, t, "1", "0"), "s3 |s4 1|s5 0|s6");
}
