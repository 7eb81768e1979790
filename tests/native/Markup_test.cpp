#include <gtest/gtest.h>

#include "ui/Markup.h"

namespace {

struct MarkupCase {
  const char* name;
  const char* input;
  const char* text;
  std::vector<BoldRange> bold;
};

}  // namespace

TEST(Markup, TextAndBoldRanges) {
  const MarkupCase cases[] = {
      {"word in bold", "x <b>word</b> y", "x word y", {{2, 6}}},
      {"tag case ignored", "<B>Up</B> and <b>low</B>", "Up and low", {{0, 2}, {7, 10}}},
      {"paragraphs any case", "a<P>b<p><P>c", "a\r\nb\r\n\r\nc", {}},
      {"tabs any case", "a<T>b<t>c", "a\tb\tc", {}},
      {"escaped breaks", "a\\\\nb\\\\tc", "a\r\nb\tc", {}},
      {"single backslash is text", "a\\nb", "a\\nb", {}},
      {"escapes are exact case", "a\\\\Nb\\\\Tc", "a\\\\Nb\\\\Tc", {}},
      {"leading <<b> heading", "<<b>Head</b> rest", "Head rest", {{0, 4}}},
      {"<<B> is not the heading form", "<<B>x", "<x", {}},
      {"close before open: no bold", "</b>one <b>two</b>", "one two", {}},
      {"open without close", "open <b>never closed", "open never closed", {}},
      {"stray close removed", "a</B>b</b>c", "abc", {}},
      {"offsets count CR LF as two", "line<P><b>bold</b>", "line\r\nbold", {{6, 10}}},
      {"other tags untouched", "<DRIVE> <b>C:</b>", "<DRIVE> C:", {{8, 10}}},
      {"replaced text not rescanned", "<<P>P>", "<\r\nP>", {}},
      {"nested ranges kept inside the text", "<b>a<b>b</b>c</b>", "abc", {{0, 3}, {1, 3}}},
      {"empty", "", "", {}},
  };
  for (const MarkupCase& c : cases) {
    const MarkupText m = ApplyMarkup(c.input);
    EXPECT_EQ(m.text, c.text) << c.name;
    EXPECT_EQ(m.bold, c.bold) << c.name;
  }
}

TEST(Markup, BreaksAloneKeepBoldTags) {
  EXPECT_EQ(ConvertMarkupBreaks("a\\\\nb<P>c<t><b>d</B>"), "a\r\nb\r\nc\t<b>d</B>");
}

TEST(MarkupSize, LinesWidthAndWrapping) {
  const auto fivePerChar = [](const std::string& line) { return 5 * static_cast<int>(line.size()); };
  struct Case {
    const char* name;
    std::string text;
    int width, lines;
  } cases[] = {
      {"empty measured as a blank", "", 15, 1},
      {"empty last line not counted", "abc\r\n", 25, 1},
      {"empty first line counted", "\r\nabc", 25, 2},
      {"widest line wins", "ab\r\nabcdef\r\na", 40, 3},
      {"2,000 pixels: 600 wide, four lines", std::string(400, 'W'), 600, 4},
      {"exactly 600 pixels starts a second line", std::string(120, 'W'), 600, 2},
  };
  for (const Case& c : cases) {
    const TextSize s = MeasureMarkupText(c.text, 14, fivePerChar);
    EXPECT_EQ(s.width, c.width) << c.name;
    EXPECT_EQ(s.height, c.lines * 14) << c.name;
  }
}

TEST(MarkupSize, LineHeightAddsOneForPGothic) {
  EXPECT_EQ(MarkupLineHeight(13, 0, "Tahoma"), 13);
  EXPECT_EQ(MarkupLineHeight(13, 2, "  ms pgothic "), 16);
  EXPECT_EQ(MarkupLineHeight(13, 0, "MS Gothic"), 13);
}

TEST(MarkupSize, BoldWidthGrowsUntilTheControlStopsWrapping) {
  std::vector<int> tried;
  // The control wraps (asks for two lines) until it is 25 pixels wider.
  const auto control = [&](int w) {
    tried.push_back(w);
    return TextSize{w, w >= 125 ? 20 : 40};
  };
  EXPECT_EQ(FitBoldWidth(100, 20, control), 130);
  EXPECT_EQ(tried, (std::vector<int>{100, 110, 120, 130}));
}

TEST(MarkupSize, BoldWidthGivesUpAfterTwentyOneTries) {
  std::vector<int> tried;
  const auto alwaysWraps = [&](int w) {
    tried.push_back(w);
    return TextSize{w, 40};
  };
  EXPECT_EQ(FitBoldWidth(100, 20, alwaysWraps), 310);
  ASSERT_EQ(tried.size(), 22u);
  EXPECT_EQ(tried[20], 300);
  EXPECT_EQ(tried.back(), 310);
}
