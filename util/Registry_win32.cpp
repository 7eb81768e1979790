// INI files through the system's private-profile functions; registry reads.
#include <vector>

#include "ui/KDebug.h"
#include "util/RegistryText.h"
#include "util/Text.h"
#include "util/Utils.h"

namespace {

constexpr DWORD kValueBuffer = 10241;

}  // namespace

std::string ReadIniString(const std::string& file, const std::string& section, const std::string& key,
                          const std::string& def) {
  if (section.empty()) return def;
  try {
    std::vector<char> buf(kValueBuffer);
    DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buf.data(), kValueBuffer,
                                       file.c_str());
    return n > 0 ? std::string(buf.data(), n) : def;
  } catch (...) {
    DebugLine("EXCEPTION --- Utils.ReadIniString()  " + LastErrorText());
    return def;
  }
}

int64_t ReadIniInt(const std::string& file, const std::string& section, const std::string& key, int64_t def) {
  return TextToInt64(ReadIniString(file, section, key, IntToText(def)), def);
}

bool WriteIniString(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& value) {
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != FALSE;
}

bool WriteIniInt(const std::string& file, const std::string& section, const std::string& key, int64_t value) {
  return WriteIniString(file, section, key, IntToText(value));
}

std::string ReadRegString(const std::string& path, const std::string& valueName, const std::string& def) {
  const RegPath split = SplitRegPath(path);
  HKEY root = HKEY_CURRENT_USER;
  switch (split.root) {
    case RegRoot::ClassesRoot: root = HKEY_CLASSES_ROOT; break;
    case RegRoot::CurrentUser: root = HKEY_CURRENT_USER; break;
    case RegRoot::LocalMachine: root = HKEY_LOCAL_MACHINE; break;
    case RegRoot::Users: root = HKEY_USERS; break;
    case RegRoot::CurrentConfig: root = HKEY_CURRENT_CONFIG; break;
    case RegRoot::DynData: root = HKEY_DYN_DATA; break;
  }
  HKEY key;
  if (RegOpenKeyExA(root, split.subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return def;
  std::vector<char> buf(kValueBuffer);
  DWORD type = 0, size = kValueBuffer;
  std::string result = def;
  if (RegQueryValueExA(key, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &size) ==
      ERROR_SUCCESS)
    result = RegValueToText(type, std::string(buf.data(), size));
  RegCloseKey(key);
  return result;
}

std::string CurrentVersionKey() {
  return IsWinNT() ? "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion"
                   : "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
}

std::string RegisteredOwner() {
  const std::string owner = Trim(ReadRegString(CurrentVersionKey(), "RegisteredOwner", ""));
  return owner.empty() ? UserName() : owner;
}

std::string RegisteredOrganization() { return Trim(ReadRegString(CurrentVersionKey(), "RegisteredOrganization", "")); }
