#include "util/RegistryText.h"

#include "util/Text.h"

RegRoot RootKeyFromName(const std::string& name) {
  static const struct {
    const char* full;
    const char* shortName;
    RegRoot root;
  } kRoots[] = {
      {"HKEY_CLASSES_ROOT", "HKCR", RegRoot::ClassesRoot},
      {"HKEY_CURRENT_USER", "HKCU", RegRoot::CurrentUser},
      {"HKEY_LOCAL_MACHINE", "HKLM", RegRoot::LocalMachine},
      {"HKEY_USERS", "HKU", RegRoot::Users},
      {"HKEY_CURRENT_CONFIG", "HKCC", RegRoot::CurrentConfig},
      {"HKEY_DYN_DATA", "HKDD", RegRoot::DynData},
  };
  for (const auto& r : kRoots)
    if (SameTextCI(name, r.full) || SameTextCI(name, r.shortName)) return r.root;
  return RegRoot::CurrentUser;
}

RegPath SplitRegPath(const std::string& path) {
  const std::string p = Trim(path);
  if (!StartsWithCI(p, "HK")) return {RegRoot::CurrentUser, p};
  size_t slash = p.find('\\');
  if (slash == std::string::npos) return {RootKeyFromName(p), ""};
  return {RootKeyFromName(p.substr(0, slash)), p.substr(slash + 1)};
}

std::string RegValueToText(uint32_t type, const std::string& bytes) {
  if (type == kRegDword && bytes.size() == 4) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | uint8_t(bytes[i]);  // little-endian
    return std::to_string(v);
  }
  if (type == kRegMultiSz && bytes.size() > 2) {
    std::string s = bytes;
    while (!s.empty() && s.back() == '\0') s.pop_back();
    return ReplaceText(s, std::string(1, '\0'), "<0>");
  }
  return bytes.substr(0, bytes.find('\0'));
}
