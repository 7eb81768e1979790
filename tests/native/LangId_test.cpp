#include <gtest/gtest.h>

#include "ui/SLangId.h"

TEST(LanguageNameFromId, TableLookup) {
  const struct {
    int id;
    const char* name;
  } rows[] = {{9, "ENGLISH"},
              {31, "TURKISH"},
              {7, "GERMAN"},
              {10, "SPANISH"},
              {26, "CROATIAN"},
              {54, "AFRIKAANS"},
              {1, "ARABIC"},
              {52, "CHINESE(SIMPLIFIED)"},
              {43, "DUTCH(STANDARD)"},
              {46, "PORTUGUESE(BRAZIL)"},
              {67, "DUTCH(FLEMISH)"},
              {70, "PORTUGUESE(PORTUGAL)"},
              {74, "SERBIAN(LATIN)"},
              {98, "SERBIAN(CYRILIC)"},
              {2052, "CHINESE(SIMPLIFIED)"},
              {32, ""},
              {64, ""},
              {0, ""},
              {100, ""},
              {-9, ""}};
  for (const auto& r : rows) EXPECT_EQ(LanguageNameFromId(r.id), r.name) << r.id;
}

TEST(LanguageNameFromId, LocaleToPrimaryLanguage) {
  EXPECT_EQ(PrimaryLanguageOf(0), 9);
  EXPECT_EQ(PrimaryLanguageOf(0x041F), 31);  // Turkish (Turkey)
  EXPECT_EQ(PrimaryLanguageOf(0x0C07), 7);   // German (Austria)
  EXPECT_EQ(LanguageNameFromId(PrimaryLanguageOf(0)), "ENGLISH");
}
