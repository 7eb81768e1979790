#pragma once
// Registry paths and values as text, independent of the registry itself.
#include <cstdint>
#include <string>

enum class RegRoot { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig, DynData };

struct RegPath {
  RegRoot root;
  std::string subKey;
};

// "HKEY_LOCAL_MACHINE" or "HKLM" and so on, any case; anything else is the current user's root.
RegRoot RootKeyFromName(const std::string& name);
// "HKLM\Software\A" gives the local machine and "Software\A"; a path that does
// not begin with "HK" is a subkey of the current user's root.
RegPath SplitRegPath(const std::string& path);

const uint32_t kRegDword = 4;     // REG_DWORD
const uint32_t kRegMultiSz = 7;   // REG_MULTI_SZ

// A 4-byte number as unsigned decimal, a multi-string joined by "<0>",
// anything else up to its first NUL.
std::string RegValueToText(uint32_t type, const std::string& bytes);
