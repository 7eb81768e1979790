#include <gtest/gtest.h>

#include "util/RegistryText.h"
#include "util/Scramble.h"

namespace {

TEST(UtilRegistry, ValueText) {
  using namespace std::string_literals;
  const struct {
    uint32_t type;
    std::string bytes;
    const char* want;
  } cases[] = {
      {kRegDword, "\xFF\xFF\xFF\xFF"s, "4294967295"},      // unsigned, not -1
      {kRegDword, "\x01\x02\x00\x00"s, "513"},             // little-endian
      {kRegDword, "\x05\x00\x00"s, "\x05"},                // not 4 bytes: up to the first NUL
      {kRegMultiSz, "a\0b\0\0"s, "a<0>b"},
      {kRegMultiSz, "a\0\0b\0"s, "a<0><0>b"},              // an inner empty string stays
      {kRegMultiSz, "\0\0"s, ""},
      {1, "text\0junk"s, "text"},
      {3, "\x01\x02\0\x03"s, "\x01\x02"},
      {1, ""s, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(RegValueToText(c.type, c.bytes), c.want) << c.type;
}

TEST(UtilRegistry, SplitPath) {
  const struct {
    const char* path;
    RegRoot root;
    const char* subKey;
  } cases[] = {
      {"HKLM\\Software\\A", RegRoot::LocalMachine, "Software\\A"},
      {"hklm", RegRoot::LocalMachine, ""},
      {"Software\\A", RegRoot::CurrentUser, "Software\\A"},
      {"HKXY\\A", RegRoot::CurrentUser, "A"},
      {" HKEY_CLASSES_ROOT\\.exe ", RegRoot::ClassesRoot, ".exe"},
      {"HKU\\S-1", RegRoot::Users, "S-1"},
      {"hkcc\\x", RegRoot::CurrentConfig, "x"},
      {"HKEY_DYN_DATA\\x", RegRoot::DynData, "x"},
      {"", RegRoot::CurrentUser, ""},
  };
  for (const auto& c : cases) {
    RegPath p = SplitRegPath(c.path);
    EXPECT_EQ(p.root, c.root) << c.path;
    EXPECT_EQ(p.subKey, c.subKey) << c.path;
  }
}

TEST(UtilScramble, Unscramble) {
  std::string plain = "[Info]\r\nVersion=2.4.0.117\r\n";
  std::string all;
  for (int i = 0; i < 256; ++i) all += char(i);
  for (const std::string& text : {plain, all, std::string()}) {
    for (char key : {'A', '!', 'z', char(0xF0)}) {
      std::string s = ScrambleWithKey(text, key);
      EXPECT_EQ(s.substr(0, 13), std::string("Scrambled=01") + key);
      EXPECT_EQ(ScrambleText(s, false, false), text);
    }
  }
  // Key 65, plain "AB": byte 1 XOR (1 + 65), byte 2 XOR (2 - 65) & 0xFF.
  EXPECT_EQ(ScrambleWithKey("AB", 'A'), std::string("Scrambled=01A") + char('A' ^ 66) + char('B' ^ 0xC1));
  EXPECT_EQ(ScrambleText("plain text", false, false), "plain text");
  EXPECT_EQ(ScrambleText("Scrambled=01", false, false), "Scrambled=01");  // no key byte
  EXPECT_EQ(ScrambleText("", false, false), "");
}

TEST(UtilScramble, ScrambleAndHexFormRoundTrip) {
  for (const std::string text : {"abc", "", "x=1\r\ny=2"}) {
    std::string s = ScrambleText(text, true, false);
    char key = s[12];
    EXPECT_TRUE(key >= 33 && key <= 122);
    EXPECT_EQ(ScrambleText(s, false, false), text);
    std::string hex = ScrambleText(text, true, true);
    EXPECT_EQ(hex.find_first_not_of("0123456789ABCDEF", 13), std::string::npos);
    EXPECT_EQ(ScrambleText(hex, false, true), text);
  }
  EXPECT_EQ(ScrambleText("Scrambled=01AZZ", false, true), "Scrambled=01AZZ");  // not hex: unchanged
}

}  // namespace
