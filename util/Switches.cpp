#include "util/Switches.h"

#include "util/KSUB.h"
#include "util/Text.h"

std::string CommandLineTailOf(const std::string& rawCommandLine, const std::string& exePath,
                              LeadBytePredicate isLead) {
  const std::string name = ExtractFileName(exePath, isLead);
  std::string rest = rawCommandLine;
  if (!name.empty()) {
    if (int at = PosCI(name + "\"", rest)) rest = rest.substr(at - 1 + name.size() + 1);
    else if (int at2 = PosCI(name, rest)) rest = rest.substr(at2 - 1 + name.size());
  }
  rest = Trim(rest);
  return rest.size() == 1 ? std::string() : rest;  // a stray closing quote
}

std::string SwitchListOf(const std::string& tail, char switchChar, char separator) {
  std::string s = ReplaceText(" " + tail, "\"", "");
  s = ReplaceText(s, std::string(" ") + switchChar, std::string(1, separator));
  return separator + s + separator;
}

std::string GetSwitchIn(const std::string& tail, const std::string& name, const std::string& def) {
  const std::string trimmed = Trim(name);
  if (trimmed.empty()) return def;
  const std::string list = SwitchListOf(tail, '/', '\x01');
  return Trim(SUB::GetValue(list, ReplaceText(trimmed, "/", ""), def, ""));
}

int64_t GetSwitchIntIn(const std::string& tail, const std::string& name, int64_t def) {
  return TextToInt64(GetSwitchIn(tail, name, ""), def);
}

bool HasSwitchIn(const std::string& tail, const std::string& name) {
  // An empty name would match any blank; it names no switch.
  const std::string n = Trim(name);
  return !n.empty() && PosCI(n + " ", tail + " ") > 0;
}
