#include <gtest/gtest.h>

#include "ui/Markup.h"
#include "ui/MsgBoxLayout.h"

TEST(MsgBoxLayout, ButtonSets) {
  const std::vector<BoxButton> sets[] = {
      {{0, 1}},                  // OK
      {{0, 1}, {1, 2}},          // OK/Cancel
      {{4, 3}, {5, 4}, {6, 5}},  // Abort/Retry/Ignore
      {{2, 6}, {3, 7}, {1, 2}},  // Yes/No/Cancel
      {{2, 6}, {3, 7}},          // Yes/No
      {{5, 4}, {1, 2}},          // Retry/Cancel
  };
  for (uint32_t set = 0; set < 6; ++set) EXPECT_EQ(ButtonsOfSet(set | 0x230), sets[set]) << set;
  for (uint32_t set = 6; set < 16; ++set) EXPECT_TRUE(ButtonsOfSet(set).empty()) << set;
}

TEST(MsgBoxLayout, IconsAndDefaultIndex) {
  EXPECT_EQ(BoxIconId(0x10), 32513);
  EXPECT_EQ(BoxIconId(0x24), 32514);
  EXPECT_EQ(BoxIconId(0x30), 32515);
  EXPECT_EQ(BoxIconId(0x40), 32516);
  EXPECT_EQ(BoxIconId(0x00), 0);
  EXPECT_EQ(BoxIconId(0x50), 0);
  EXPECT_EQ(DefaultButtonIndex(0x524), 5);
  // Index 5 in a two-button box lands on the second button.
  EXPECT_EQ(WrapButtonIndex(DefaultButtonIndex(0x524), 2), 1);
}

TEST(MsgBoxLayout, WrapButtonIndex) {
  const struct {
    int k, n, want;
  } cases[] = {{0, 3, 0}, {3, 3, 0}, {-1, 3, 2}, {-4, 3, 2}, {5, 2, 1}, {15, 1, 0}, {0, 0, -1}};
  for (const auto& c : cases) EXPECT_EQ(WrapButtonIndex(c.k, c.n), c.want) << c.k << " of " << c.n;
}

TEST(MsgBoxLayout, FlagsFromCharsetAndOwnerMode) {
  EXPECT_EQ(EffectiveBoxFlags(0, 177, 0x24), 0x24u | kBoxRight | kBoxRtlReading);
  EXPECT_EQ(EffectiveBoxFlags(1, 178, 0), kBoxRight | kBoxRtlReading);
  EXPECT_EQ(EffectiveBoxFlags(2, 1, 0x10), 0x10u | kBoxNoClose);
  EXPECT_EQ(EffectiveBoxFlags(0x10000, 1, 0x10), 0x10u);
}

TEST(MsgBoxLayout, OwnerModeZeroAddsABoldHeading) {
  const MarkupText error = ApplyMarkup(EffectiveBoxText(0, "Disk full.", "Error"));
  EXPECT_EQ(error.text, "ERROR\r\n\r\nDisk full.\r\n");
  ASSERT_EQ(error.bold.size(), 1u);
  EXPECT_EQ(error.bold[0].start, 0);
  EXPECT_EQ(error.bold[0].end, 5);

  // Only the stock captions (exact case) are upper-cased.
  EXPECT_EQ(EffectiveBoxText(0, "m", "My Setup"), "<<b>My Setup</b><P><P>m<P>");
  EXPECT_EQ(EffectiveBoxText(0, "m", "confirm"), "<<b>confirm</b><P><P>m<P>");
  EXPECT_EQ(EffectiveBoxText(1, "m", "Error"), "m");
  EXPECT_EQ(EffectiveBoxText(2, "m", "Error"), "m");
}

TEST(MsgBoxLayout, DefaultsForEmptyTexts) {
  EXPECT_EQ(ButtonTextsOrDefault(""), kDefaultButtonTexts);
  EXPECT_EQ(ButtonTextsOrDefault("|Ja|"), "|Ja|");
  EXPECT_EQ(CaptionOrDefault("", 0), "Error");
  EXPECT_EQ(CaptionOrDefault("", 1), "Attention");
  EXPECT_EQ(CaptionOrDefault("", 2), "Confirm");
  EXPECT_EQ(CaptionOrDefault("Mine", 2), "Mine");
}

TEST(MsgBoxKeys, KeyDown) {
  const std::vector<std::string> yesNo = {"&Yes", "&No"};
  const std::vector<std::string> three = {"&Abort", "&Retry", "&Ignore"};
  const struct {
    const char* name;
    const std::vector<std::string>& captions;
    int vk, focused;
    BoxKeyAction action;
    int index;
  } cases[] = {
      {"Left on first wraps to last", three, 0x25, 0, BoxKeyAction::Focus, 2},
      {"Up moves back", three, 0x26, 2, BoxKeyAction::Focus, 1},
      {"Tab on last wraps to first", three, 0x09, 2, BoxKeyAction::Focus, 0},
      {"Right moves on", yesNo, 0x27, 0, BoxKeyAction::Focus, 1},
      {"Down from nothing focuses first", yesNo, 0x28, -1, BoxKeyAction::Focus, 0},
      {"Left from nothing focuses last", three, 0x25, -1, BoxKeyAction::Focus, 2},
      {"Enter chooses focused", yesNo, 0x0D, 1, BoxKeyAction::Choose, 1},
      {"Enter without focus", yesNo, 0x0D, -1, BoxKeyAction::None, -1},
      {"letter chooses its button", yesNo, 'N', 0, BoxKeyAction::Choose, 1},
      {"letter of another button", three, 'I', 0, BoxKeyAction::Choose, 2},
      {"unknown letter", yesNo, 'Q', 0, BoxKeyAction::None, -1},
      {"Escape does nothing", yesNo, 0x1B, 0, BoxKeyAction::None, -1},
      {"keypad 1 is not A", three, 0x61, 0, BoxKeyAction::None, -1},
      {"F3 is not R", three, 0x72, 0, BoxKeyAction::None, -1},
  };
  for (const auto& c : cases) {
    const BoxKeyDecision d = DecideKeyDown(c.vk, c.focused, c.captions);
    EXPECT_EQ(d.action, c.action) << c.name;
    EXPECT_EQ(d.index, c.index) << c.name;
  }
}

TEST(MsgBoxKeys, LetterMatchesAcceleratorOrFirstCharacter) {
  // Several matches: the rightmost button wins.
  EXPECT_EQ(DecideKeyDown('Y', 0, {"&Yes", "&yikes"}).index, 1);
  // No "&": the first character is the accelerator.
  EXPECT_EQ(DecideKeyDown('O', -1, {"Ok", "Cancel"}).index, 0);
  // "&" in the middle marks the letter after it.
  EXPECT_EQ(DecideKeyDown('T', -1, {"Re&try", "&Cancel"}).index, 0);
  // Empty captions and a trailing "&" match nothing.
  EXPECT_EQ(DecideKeyDown('A', -1, {"", "Caption&"}).action, BoxKeyAction::None);
  EXPECT_EQ(DecideKeyDown(0x09, -1, {}).action, BoxKeyAction::None);
}

TEST(MsgBoxKeys, AltCharacterChoosesLowestMatch) {
  const std::vector<std::string> captions = {"&Yes", "&Yikes", "&no"};
  EXPECT_EQ(DecideSysChar('y', captions).index, 0);
  EXPECT_EQ(DecideSysChar('Y', captions).index, 0);
  EXPECT_EQ(DecideSysChar('n', captions).index, 2);
  EXPECT_EQ(DecideSysChar('x', captions).action, BoxKeyAction::None);
  EXPECT_EQ(DecideSysChar('&', {"&", ""}).action, BoxKeyAction::None);
}

TEST(MsgBoxLayout, Geometry) {
  const BoxRect wide = BoxOuterSize(610, 52, 4, 4, 19);
  EXPECT_EQ(wide.width, 610 + 54 + 64 + 8);
  EXPECT_EQ(wide.height, 52 + 36 + 64 + 8 + 19);
  // Small text: wider margins, and never narrower than 360.
  const BoxRect small = BoxOuterSize(100, 13, 4, 4, 19);
  EXPECT_EQ(small.width, 360);
  EXPECT_EQ(small.height, 13 + 36 + 90 + 8 + 19);

  const BoxRect text = BoxTextRect(400, 150, 200, 40);
  EXPECT_EQ(text.x, 127);
  EXPECT_EQ(text.y, 37);
  EXPECT_EQ(text.width, 200);
  EXPECT_EQ(text.height, 150 - 37 - 39);

  const int xs[] = {180, 250, 320};
  for (int i = 0; i < 3; ++i) {
    const BoxRect b = BoxButtonRect(400, 150, i, 3);
    EXPECT_EQ(b.x, xs[i]);
    EXPECT_EQ(b.y, 121);
    EXPECT_EQ(b.width, 70);
    EXPECT_EQ(b.height, 23);
  }
  EXPECT_EQ(BoxButtonRect(400, 150, 0, 1).x, 320);
}
