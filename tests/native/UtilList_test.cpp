#include <gtest/gtest.h>

#include "util/KSUB.h"

namespace {

TEST(UtilList, CountNeedsBothSeparators) {
  const std::pair<const char*, int> cases[] = {
      {"", 0}, {"|", 0}, {"||", 1}, {"|a|b|", 2}, {"|a|b", 0}, {"|a||", 2}, {"*a|b*", 1}};
  for (const auto& c : cases) EXPECT_EQ(SUB::Count(c.first), c.second) << c.first;
}

TEST(UtilList, GetItemReadsEmptyAndMissingAsDefault) {
  const struct {
    const char* list;
    int index;
    const char* want;
  } cases[] = {
      {"|a||c|", 0, "a"},  {"|a||c|", 1, "def"}, {"|a||c|", 2, "c"},  {"|a||c|", 3, "def"},
      {"|a||c|", -1, "def"}, {"|a|b", 0, "a"},    {"|a|b", 1, "def"}, {"", 0, "def"},
      {"#x#y#", 1, "y"},
  };
  for (const auto& c : cases) EXPECT_EQ(SUB::GetItem(c.list, c.index, "def"), c.want) << c.list << c.index;
  EXPECT_EQ(SUB::GetItem(std::string(1, '\0'), 0, "def"), "def");
  EXPECT_EQ(SUB::GetItemInt("|10|$1F|x|99999999999|", 0, -1), 10);
  EXPECT_EQ(SUB::GetItemInt("|10|$1F|x|99999999999|", 1, -1), 31);
  EXPECT_EQ(SUB::GetItemInt("|10|$1F|x|99999999999|", 2, -1), -1);
  EXPECT_EQ(SUB::GetItemInt("|10|$1F|x|99999999999|", 3, -1), -1);  // beyond 32 bits
}

TEST(UtilList, GetValue) {
  const struct {
    const char* list;
    const char* key;
    const char* want;
  } cases[] = {
      {"|Name=Value|Other=1|", "name", "Value"},
      {"|Name=Value|Other=1|", "Other=", "1"},
      {"|Name=Value|Other=1|", "none", "MISSING"},
      {"|Name=|", "Name", "EMPTY"},
      {"|a=b=c|", "a", "b=c"},
      {"|a=1|b=2", "a", "MISSING"},      // not closed by its separator
      {"||", "a", "MISSING"},
      {"| A =1|", "A", "1"},              // blank after separator and before '='
      {"|x=a =b|", "x", "a=b"},          // normalisation reaches into the value
      {"|k=1|K=2|", "k", "1"},            // first match wins
      {"|ab=1|b=2|", "b", "2"},           // key must start an item
  };
  for (const auto& c : cases)
    EXPECT_EQ(SUB::GetValue(c.list, c.key, "MISSING", "EMPTY"), c.want) << c.list << " " << c.key;
}

TEST(UtilList, Contains) {
  EXPECT_TRUE(SUB::Contains("|Alpha|Beta|", "beta"));
  EXPECT_TRUE(SUB::Contains(" |Alpha|Beta| ", " alpha "));
  EXPECT_FALSE(SUB::Contains("|Alpha|Beta|", "Alp"));
  EXPECT_FALSE(SUB::Contains("|Alpha||Beta|", ""));
  EXPECT_FALSE(SUB::Contains("", "x"));
}

TEST(UtilList, KeysValuesSplitJoin) {
  EXPECT_EQ(SUB::Keys("|a=1|b=2|"), "|a|b|");
  EXPECT_EQ(SUB::Values("|a=1|b=2|"), "|1|2|");
  EXPECT_EQ(SUB::Keys(""), "");
  EXPECT_EQ(SUB::Values(""), "");
  EXPECT_EQ(SUB::Keys("|noeq|c=3|"), "||c|");
  std::string k, v;
  SUB::Split("*a=x|y*b=2*", k, v);
  EXPECT_EQ(k, "|a|b|");
  EXPECT_EQ(v, "*x|y*2*");  // '|' occurs in a value, so this list uses '*'
  EXPECT_EQ(SUB::Join("|a|b|", "|1|"), "|a=1|b=|");
  EXPECT_EQ(SUB::Join("|a||", "|1|2|"), "|a=1|=2|");
  EXPECT_EQ(SUB::Join("", ""), "");
  EXPECT_EQ(SUB::Join(k, v), "*a=x|y*b=2*");
}

TEST(UtilList, SetItem) {
  const struct {
    const char* list;
    int index;
    const char* value;
    const char* want;
  } cases[] = {
      {"", 0, "v", "|v|"},
      {"", 2, "v", "|||v|"},
      {"|a|b|", 3, "z", "|a|b||z|"},
      {"|a|b|", 1, "", "|a||"},
      {"|a|b|", 0, "x|y", "*x|y*b*"},
      {"|a*|b|", 1, "x|y", "^a*^x|y^"},     // '*' taken as well
      {"|a|b|", -1, "x", "|a|b|"},
      {"#a#b#", 1, "c", "#a#c#"},           // keeps its own separator
  };
  for (const auto& c : cases) EXPECT_EQ(SUB::SetItem(c.list, c.index, c.value), c.want) << c.list;
}

TEST(UtilList, DeleteReverseTrim) {
  EXPECT_EQ(SUB::DeleteItem("|a|b|c|", 1), "|a|c|");
  EXPECT_EQ(SUB::DeleteItem("|a|b|c|", 3), "|a|b|c|");
  EXPECT_EQ(SUB::DeleteItem("|a|", 0), "|");
  EXPECT_EQ(SUB::DeleteItem("|a|b|", -1), "|a|b|");
  EXPECT_EQ(SUB::DeleteItem("|a|b", 0), "|a|b");
  EXPECT_EQ(SUB::Reverse("|a|b|c|"), "|c|b|a|");
  EXPECT_EQ(SUB::Reverse("|"), "|");
  EXPECT_EQ(SUB::Reverse("|a||"), "||a|");
  EXPECT_EQ(SUB::TrimEmpty("|a||b|||"), "|a||b|");
  EXPECT_EQ(SUB::TrimEmpty("|||"), "|");
  EXPECT_EQ(SUB::TrimEmpty("|a||b"), "|a||b");  // not a list with items: unchanged
}

TEST(UtilList, ChooseSeparator) {
  EXPECT_EQ(SUB::ChooseSeparator("|a|b|"), "*a*b*");
  EXPECT_EQ(SUB::ChooseSeparator("|"), "");
  EXPECT_EQ(SUB::ChooseSeparator(std::string("\0a\0", 3)), "|a|");
  EXPECT_EQ(SUB::ChooseSeparator(std::string("\0|*^!~@#$&\xFF\0", 12)).size(), 12u);
}

TEST(UtilList, AllCandidatesTakenKeepsTheProvisionalSeparator) {
  // The built list stays readable instead of being lost.
  const std::string value = "|*^!~@#$&\xFF";
  std::string list = SUB::SetItem("|a|b|", 1, value);
  EXPECT_EQ(list[0], '\0');
  EXPECT_EQ(SUB::Count(list), 2);
  EXPECT_EQ(SUB::GetItem(list, 0), "a");
  EXPECT_EQ(SUB::GetItem(list, 1), value);
}

}  // namespace
