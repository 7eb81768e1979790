#include <gtest/gtest.h>

#include "tests/win32/MsgBoxHelper.h"
#include "ui/KMsgBox.h"

// The helper runs in its own process, as it will against the stub. Each box
// has a long time-out whose answer differs from the expected one, so a helper
// that fails shows as a wrong answer rather than a hung test.
const int kFallback = 60000;

TEST(MsgBoxHelper, RecordsAndPressesByIndexOrCaption) {
  {
    MsgBoxHelper helper("/PRESS=1");
    EXPECT_FALSE(ConfirmYesNo(0, "Install <b>now</b>?", "", "", 1, kFallback));
    const SeenBox seen = helper.Finish();
    EXPECT_EQ(seen.exitCode, 0);
    EXPECT_EQ(seen.caption, "Confirm");
    EXPECT_EQ(seen.buttons, "|&Yes|&No|");
    EXPECT_EQ(seen.text, "CONFIRM\r\n\r\nInstall now?\r\n");
  }
  {
    MsgBoxHelper helper("/PRESS=cancel");
    EXPECT_EQ(ShowMsgBox(1, "Go", "", "|&OK|&Cancel|", 1, 0x1, kFallback), 2);
    EXPECT_EQ(helper.Finish().exitCode, 0);
  }
}

TEST(MsgBoxHelper, ClosesWithCloseBoxOrAltF4) {
  for (const char* action : {"/CLOSE", "/ALTF4"}) {
    MsgBoxHelper helper(action);
    ASSERT_TRUE(helper.Started());
    EXPECT_EQ(ShowMsgBox(1, "x", "c", "", 1, 0x4, kFallback), 0) << action;
    EXPECT_EQ(helper.Finish().exitCode, 0) << action;
  }
}

TEST(MsgBoxHelper, ReportsAMissingButtonOrBox) {
  {
    MsgBoxHelper helper("/PRESS=&Maybe");
    // The helper leaves the box alone; its time-out answers.
    EXPECT_TRUE(ConfirmYesNo(1, "x", "", "", 1, 3000));
    EXPECT_EQ(helper.Finish().exitCode, 2);
  }
  MsgBoxHelper helper("/CLOSE", 200);
  EXPECT_EQ(helper.Finish().exitCode, 1);
}
