#include <gtest/gtest.h>

#include "util/Paths.h"

namespace {

// A double-byte code page where 0x81..0x9F start two-byte characters.
bool TestLead(unsigned char c) { return c >= 0x81 && c <= 0x9F; }

TEST(UtilPaths, TrailingBackslash) {
  EXPECT_EQ(SetTrailingBackslash("C:\\Temp\\", false), "C:\\Temp");
  EXPECT_EQ(SetTrailingBackslash("C:\\Temp\\", true), "C:\\Temp\\");
  EXPECT_EQ(SetTrailingBackslash("C:", true), "C:\\");
  EXPECT_EQ(SetTrailingBackslash("C:\\", false), "C:");
  EXPECT_EQ(SetTrailingBackslash("\\", false), "\\");  // too short to shorten
  EXPECT_EQ(StripTrailingBackslash("\\"), "");
  EXPECT_EQ(StripTrailingBackslash("C:\\"), "C:");
  EXPECT_EQ(StripTrailingBackslash("C:\\x"), "C:\\x");
  // 0x95 0x5C is one character, so its second byte is no separator...
  EXPECT_EQ(StripTrailingBackslash("C:\\\x95\\", TestLead), "C:\\\x95\\");
  // ...but after a complete two-byte character (0x81 0x81) a backslash is one.
  EXPECT_EQ(StripTrailingBackslash("C:\\\x81\x81\\", TestLead), "C:\\\x81\x81");
}

TEST(UtilPaths, CleanPath) {
  const struct {
    const char* path;
    const char* want;
  } cases[] = {
      {"C:\\A\\\\B", "C:\\A\\B"},
      {"C:\\A\\\\\\B", "C:\\A\\B"},
      {"\\\\server\\share", "\\\\server\\share"},
      {"\\\\\\server\\share", "\\\\server\\share"},
      {"C:\\A\\\\", "C:\\A\\\\"},                      // pair in the last two bytes stays
      {"\"\\\\server\\x\"", "\"\\\\server\\x\""},      // quoted network path keeps its pair
      {"\"a\" \"\\\\srv\\x\"", "\"a\" \"\\\\srv\\x\""},  // so does one after an inner quote
      {"\\\\", "\\\\"},
  };
  for (const auto& c : cases) EXPECT_EQ(CleanPath(c.path, false), c.want) << c.path;
  EXPECT_EQ(CleanPath("C:\\A\\\\B\\", true), "C:\\A\\B");
  EXPECT_EQ(CleanPath("C:\\\x95\\\\x", false, TestLead), "C:\\\x95\\\\x");  // trail byte then one backslash
}

TEST(UtilPaths, NameParts) {
  EXPECT_EQ(FileBaseName("C:\\x\\setup.exe", false), "setup");
  EXPECT_EQ(FileBaseName("a.tar.gz", false), "a.tar");
  EXPECT_EQ(FileBaseName("a.tar.gz", true), "a");
  EXPECT_EQ(FileBaseName("C:\\x.y\\name", false), "name");
  EXPECT_EQ(ExtractFileName("C:\\Dl\\setup.exe"), "setup.exe");
  EXPECT_EQ(ExtractFileName("C:setup.exe"), "setup.exe");
  EXPECT_EQ(ExtractFileName("setup.exe"), "setup.exe");
  EXPECT_EQ(ExtractFileDir("C:\\Dl\\setup.exe"), "C:\\Dl");
  EXPECT_EQ(ExtractFileDir("C:\\setup.exe"), "C:");
  EXPECT_EQ(ExtractFileDir("setup.exe"), "");
  EXPECT_EQ(ExtractFileName("C:\\\x95\\name", TestLead), "\x95\\name");
}

}  // namespace
