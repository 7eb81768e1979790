#include <windows.h>

#include "ui/SLangId.h"

std::string CurrentLanguageName() {
  static const std::string name = LanguageNameFromId(PrimaryLanguageOf(GetThreadLocale()));
  return name;
}
