#include "ui/SLangId.h"

#include "util/KSUB.h"
#include "util/Text.h"

namespace {

// The sublanguage numbers at the end are reached only through the substring rule.
const char kLanguageTable[] =
    "|AFRIKAANS    = 54|ALBANIAN     = 28|ARABIC       = 01|BASQUE       = 45|BELARUSIAN   = 35"
    "|BULGARIAN    = 02|CATALAN      = 03|CHINESE      = 04|CROATIAN     = 26|CZECH        = 05"
    "|DANISH       = 06|DUTCH        = 19|ENGLISH      = 09|ESTONIAN     = 37|FAEROESE     = 56"
    "|FARSI        = 41|FINNISH      = 11|FRENCH       = 12|GERMAN       = 07|GREEK        = 08"
    "|HEBREW       = 13|HUNGARIAN    = 14|ICELANDIC    = 15|INDONESIAN   = 33|ITALIAN      = 16"
    "|JAPANESE     = 17|KOREAN       = 18|LATVIAN      = 38|LITHUANIAN   = 39|NORWEGIAN    = 20"
    "|POLISH       = 21|PORTUGUESE   = 22|ROMANIAN     = 24|RUSSIAN      = 25|SERBIAN      = 26"
    "|SLOVAK       = 27|SLOVENIAN    = 36|SPANISH      = 10|SWEDISH      = 29|THAI         = 30"
    "|TURKISH      = 31|UKRAINIAN    = 34|VIETNAMESE   = 42|CHINESE(SIMPLIFIED)  = 2052"
    "|CHINESE(TRADITIONAL) = 1028|DUTCH(FLEMISH)       = 2067|DUTCH(STANDARD)      = 1043"
    "|PORTUGUESE(PORTUGAL) = 2070|PORTUGUESE(BRAZIL)   = 1046|SERBIAN(LATIN)       = 2074"
    "|SERBIAN(CYRILIC)     = 3098|";

}  // namespace

std::string LanguageNameFromId(int32_t primaryLangId) {
  std::string number = std::to_string(primaryLangId);
  if (number.size() < 2) number.insert(0, 2 - number.size(), '0');
  const std::string table = kLanguageTable;
  const int32_t n = SUB::Count(table);
  for (int32_t i = 0; i < n; ++i) {
    const std::string item = SUB::GetItem(table, i, "");
    if (item.find(number) != std::string::npos) return Trim(LeftOf(item, "=", item));
  }
  return "";
}

int32_t PrimaryLanguageOf(uint32_t localeId) { return localeId == 0 ? 9 : int32_t(localeId & 0x3FF); }

#ifndef _WIN32
// Hosts without Windows locales read as English.
std::string CurrentLanguageName() { return LanguageNameFromId(PrimaryLanguageOf(0)); }
#endif
