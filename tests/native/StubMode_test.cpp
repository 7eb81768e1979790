#include <gtest/gtest.h>

#include "agent/StubGlob.h"
#include "app/StubMode.h"

TEST(StubMode, AgentNamesCompareTrimmedWithoutCase) {
  EXPECT_TRUE(IsPlainAgentName("product_au.EXE", " Product_AU.exe "));
  EXPECT_FALSE(IsPlainAgentName("X_Product_AU.exe", "Product_AU.exe"));
  EXPECT_TRUE(IsXAgentName("x_product_au.exe", "Product_AU.exe"));
  EXPECT_FALSE(IsXAgentName("Product_AU.exe", "Product_AU.exe"));
  EXPECT_FALSE(IsPlainAgentName("setup.exe", ""));
}

TEST(StubMode, WindowClasses) {
  EXPECT_EQ(StubWindowClass(true, "C:\\P\\X_Product_AU.exe"), ".AutoUpdate.X_Product_AU");
  EXPECT_EQ(StubWindowClass(false, "C:\\Dl\\setup.exe"), "C:\\Dl\\setup.exe");
  EXPECT_EQ(AgentCopyWindowClass("Product_AU.exe"), ".AutoUpdate.X_Product_AU");
}

TEST(StubMode, SpanLevels) {
  EXPECT_TRUE(IsSpanLevel1(true, 1));
  EXPECT_FALSE(IsSpanLevel1(false, 1));
  EXPECT_FALSE(IsSpanLevel1(true, 3));
  EXPECT_TRUE(IsSpanLevel2(2));
  EXPECT_FALSE(IsSpanLevel2(1));
}

TEST(StubMode, FirstMatchingRowWins) {
  EXPECT_EQ(ChooseStubMode(true, true, false, true), StubMode::None);
  EXPECT_EQ(ChooseStubMode(false, true, false, true), StubMode::AgentStarter);
  EXPECT_EQ(ChooseStubMode(false, false, true, true), StubMode::AgentCopy);
  EXPECT_EQ(ChooseStubMode(false, false, false, true), StubMode::SpanLauncher);
  EXPECT_EQ(ChooseStubMode(false, false, false, false), StubMode::MainWindow);
}

TEST(AlternativeTempDrive, MostSpaceWinsEarlierAmongEqualsNoneWithoutSpace) {
  EXPECT_EQ(BestTempDrive({{'C', 10}, {'D', 30}, {'E', 20}}), 'D');
  EXPECT_EQ(BestTempDrive({{'C', 30}, {'D', 30}}), 'C');
  EXPECT_EQ(BestTempDrive({{'C', -1}, {'D', 0}}), 0);
  EXPECT_EQ(BestTempDrive({}), 0);
  EXPECT_TRUE(IsOtherDrive('d', "C:\\Temp"));
  EXPECT_FALSE(IsOtherDrive('C', "c:\\temp"));
  EXPECT_FALSE(IsOtherDrive(0, "C:\\Temp"));
}
