#include <gtest/gtest.h>

#include "util/Numbers.h"
#include "util/Text.h"

namespace {

struct ReplaceCase {
  const char* text;
  const char* find;
  const char* repl;
  const char* want;
};

TEST(UtilText, ReplaceTextDoesNotRescanReplacedText) {
  const ReplaceCase cases[] = {
      {"aaa", "aa", "b", "ba"},
      {"aaa", "a", "aa", "aaaaaa"},          // growing replacement is not searched again
      {"abab", "ab", "b", "bb"},             // would become "b" if re-scanned
      {"xyz", "q", "r", "xyz"},
      {"aabb", "ab", "", ""},                // removal joins a new occurrence, removed too
      {"aaabbb", "ab", "", ""},
      {"xabyabz", "ab", "", "xyz"},
      {"abc", "", "x", "abc"},               // nothing to find
      {"", "a", "b", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ReplaceText(c.text, c.find, c.repl), c.want) << c.text << " / " << c.find;
}

TEST(UtilText, ReplaceTextCIFindsAnyCaseAndKeepsTheRest) {
  EXPECT_EQ(ReplaceTextCI("Hello hELLo World", "hello", "x"), "x x World");
  EXPECT_EQ(ReplaceTextCI("AaBb", "ab", ""), "");
  EXPECT_EQ(ReplaceText("Hello", "hello", "x"), "Hello");
  // Only ASCII letters fold: the bytes 0xE4 and 0xC4 are different.
  EXPECT_EQ(ReplaceTextCI("\xE4", "\xC4", "x"), "\xE4");
}

TEST(UtilText, ReplaceTextWithAFindOfEveryByteValue) {
  // No byte is free to mask the replaced spans with; the result must still be right.
  std::string all;
  for (int i = 0; i < 256; ++i) all += char(i);
  EXPECT_EQ(ReplaceText("<" + all + all + ">", all, "#"), "<##>");
}

TEST(UtilText, PositionsAndDelimiters) {
  EXPECT_EQ(PosCI("B", "aabb"), 3);
  EXPECT_EQ(PosCI("x", "aabb"), 0);
  EXPECT_EQ(PosCI("", "aabb"), 0);
  EXPECT_EQ(LeftOf("key=a=b", "=", "d"), "key");
  EXPECT_EQ(RightOf("key=a=b", "=", "d"), "a=b");
  EXPECT_EQ(LeftOf("key", "=", "d"), "d");
  EXPECT_EQ(RightOf("key", "=", "d"), "d");
  EXPECT_EQ(Trim(std::string("\0\t a b \r\n", 9)), "a b");
  EXPECT_EQ(ReplaceChar("a|b|c", '|', '*'), "a*b*c");
  EXPECT_TRUE(SameTextCI("Setup.EXE", "setup.exe"));
  EXPECT_FALSE(SameTextCI("setup", "setup.exe"));
  EXPECT_TRUE(StartsWithCI("C:\\TEMP\\x", "c:\\temp\\"));
  EXPECT_FALSE(StartsWithCI("C:\\T", "c:\\temp\\"));
  EXPECT_TRUE(EndsWithCI("SETUP.EXE.001", ".exe.001"));
  EXPECT_FALSE(EndsWithCI("exe", ".exe"));
}

TEST(UtilText, NumberRule) {
  struct {
    const char* text;
    bool ok;
    int64_t value;
  } cases[] = {
      {"10", true, 10},
      {"  -42", true, -42},
      {"+7", true, 7},
      {"$1F", true, 31},
      {"x1f", true, 31},
      {"X10", true, 16},
      {"0x10", true, 16},
      {"-0X10", true, -16},
      {"-$10", true, -16},
      {"007", true, 7},
      {"9223372036854775807", true, INT64_MAX},
      {"-9223372036854775808", true, INT64_MIN},
      {"$7FFFFFFFFFFFFFFF", true, INT64_MAX},
      {"9223372036854775808", false, 0},   // overflow
      {"$8000000000000000", false, 0},
      {"99999999999999999999999", false, 0},
      {"12 ", false, 0},                   // trailing blank
      {"12abc", false, 0},
      {"ten", false, 0},
      {"", false, 0},
      {"   ", false, 0},
      {"-", false, 0},
      {"$", false, 0},
      {"0x", false, 0},
      {"1F", false, 0},                    // hex digits need the prefix
      {"\t5", false, 0},                   // only blanks are skipped
  };
  for (const auto& c : cases) {
    int64_t v = -999;
    EXPECT_EQ(ReadInt64(c.text, v), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(v, c.value) << c.text;
    }
    EXPECT_EQ(TextToInt64(c.text, -999), c.ok ? c.value : -999) << c.text;
  }
}

TEST(UtilText, Int32ReadFailsOutsideItsRange) {
  EXPECT_EQ(TextToInt32("2147483647", 5), INT32_MAX);
  EXPECT_EQ(TextToInt32("-2147483648", 5), INT32_MIN);
  EXPECT_EQ(TextToInt32("2147483648", 5), 5);
  EXPECT_EQ(TextToInt32("$FFFFFFFF", 5), 5);
  EXPECT_EQ(IntToText(INT64_MIN), "-9223372036854775808");
}

TEST(UtilNumbers, ParseInBase) {
  struct {
    const char* text;
    int base;
    int64_t want;
  } cases[] = {
      {"1f", 16, 31},      {" 1F ", 16, 31}, {"", 16, 0},    {"1G", 16, -1},
      {"-5", 10, -1},      {"19", 8, 17},     // 9 accepted in base 8
      {"101", 2, 5},
      {"FFFFFFFFFFFFFFFF", 16, -1},             // 64 bits wrap
      {"10000000000000000", 16, 0},              // beyond 64 bits wraps
  };
  for (const auto& c : cases) EXPECT_EQ(ParseInBase(c.text, c.base), c.want) << c.text;
  EXPECT_EQ(HexToInt64("0x1f"), 31);
  EXPECT_EQ(HexToInt64("1F"), 31);
  EXPECT_EQ(HexToInt64("0X1F"), 31);
  EXPECT_EQ(HexToInt64("1G"), -1);
  EXPECT_EQ(HexToInt64(""), 0);
}

}  // namespace
