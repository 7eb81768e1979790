#pragma once
// English language names from Windows language identifiers.
#include <cstdint>
#include <string>

// The name of the first table item whose number contains the identifier written
// with at least two digits; empty when none does.
std::string LanguageNameFromId(int32_t primaryLangId);
// The primary language of a locale identifier: its low 10 bits, English for 0.
int32_t PrimaryLanguageOf(uint32_t localeId);
// The user's language name in capitals, such as TURKISH; fixed at first use.
std::string CurrentLanguageName();
