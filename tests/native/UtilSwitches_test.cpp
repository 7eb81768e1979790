#include <gtest/gtest.h>

#include "util/KSUB.h"
#include "util/Switches.h"

namespace {

TEST(UtilSwitches, CommandLineTail) {
  const struct {
    const char* raw;
    const char* exe;
    const char* want;
  } cases[] = {
      {"\"C:\\Dl\\setup.exe\" /X=1", "C:\\Dl\\setup.exe", "/X=1"},
      {"\"C:\\Dl\\setup.exe\"", "C:\\Dl\\setup.exe", ""},
      {"C:\\Dl\\SETUP.EXE  /a /b ", "C:\\Dl\\setup.exe", "/a /b"},
      {"C:\\Dl\\setup.exe \"a b\"", "C:\\Dl\\setup.exe", "\"a b\""},  // argument quotes kept
      // Another form of the name: nothing is dropped, the switches are still there.
      {"C:\\DL\\SETUP~1.EXE /X=1", "C:\\Dl\\setup.exe", "C:\\DL\\SETUP~1.EXE /X=1"},
      {"setup.exe \"", "C:\\setup.exe", ""},  // a lone leftover byte
  };
  for (const auto& c : cases) EXPECT_EQ(CommandLineTailOf(c.raw, c.exe), c.want) << c.raw;
}

TEST(UtilSwitches, SwitchListHasOneItemPerSwitch) {
  std::string list = SwitchListOf("/OriginExe=\"C:\\My Dir\\a.exe\" /TH_ID=5", '/', '\x01');
  EXPECT_EQ(SUB::Count(list), 3);
  EXPECT_EQ(SUB::GetItem(list, 0, "none"), "none");
  EXPECT_EQ(SUB::GetItem(list, 1), "OriginExe=C:\\My Dir\\a.exe");
  EXPECT_EQ(SUB::GetItem(list, 2), "TH_ID=5");
}

TEST(UtilSwitches, GetSwitchForms) {
  const struct {
    const char* tail;
    const char* name;
    const char* want;
  } cases[] = {
      {"/th_id=7", "/TH_ID=", "7"},
      {"/TH_ID", "/TH_ID=", "DEF"},
      {"/TH_ID=", "/TH_ID=", ""},
      {"/TH_ID= 7", "/TH_ID=", "7"},
      {"/TH_ID=7", "TH_ID", "7"},                      // slash and '=' optional in the name
      {"/OriginExe=\"C:\\A B\\s.exe\" /X", "/OriginExe", "C:\\A B\\s.exe"},
      {"/A=1/B=2", "/A=", "1/B=2"},                    // needs a blank before the next switch
      {"/A=1/B=2", "/B=", "DEF"},
      {"/A=1 /A=2", "/A=", "1"},                       // first occurrence counts
      {"/ A =1", "/A=", "1"},                          // one blank tolerated each side
      {"/  A=1", "/A=", "DEF"},                        // but not two
      {"/P=x y z /Q=1", "/P=", "x y z"},
      {"/X=1", "   ", "DEF"},
      {"", "/X=", "DEF"},
      {"/XY=1", "/X=", "DEF"},
  };
  for (const auto& c : cases) EXPECT_EQ(GetSwitchIn(c.tail, c.name, "DEF"), c.want) << c.tail << " " << c.name;
}

TEST(UtilSwitches, GetSwitchIntAndHasSwitch) {
  EXPECT_EQ(GetSwitchIntIn("/WAIT=0x10", "/WAIT=", -1), 16);
  EXPECT_EQ(GetSwitchIntIn("/WAIT=ten", "/WAIT=", -1), -1);
  EXPECT_EQ(GetSwitchIntIn("/WAIT=", "/WAIT=", -1), -1);
  EXPECT_EQ(GetSwitchIntIn("/STOP=-3 /x", "/STOP=", -1), -3);
  EXPECT_EQ(GetSwitchIntIn("/T=9223372036854775808", "/T=", 1), 1);

  const std::pair<const char*, bool> hide[] = {
      {"/HIDE", true}, {"/x /hide /y", true}, {"/hidden", false}, {"\"/hide\"", false}, {"", false}};
  for (const auto& c : hide) EXPECT_EQ(HasSwitchIn(c.first, "/hide"), c.second) << c.first;
  EXPECT_FALSE(HasSwitchIn("/a /b", "  "));  // an empty name is no switch
}

}  // namespace
