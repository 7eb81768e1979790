#pragma once
// Path text helpers (backslash-separated ANSI paths). The optional predicate
// tells double-byte lead bytes, so that a backslash that is the second byte of
// a double-byte character is not taken for a separator.
#include <string>

using LeadBytePredicate = bool (*)(unsigned char);

// Removes one trailing backslash (paths of 3 bytes or more), then adds one if asked.
std::string SetTrailingBackslash(const std::string& path, bool add, LeadBytePredicate isLead = nullptr);
// "\" becomes empty; otherwise a trailing backslash of a path of 2+ bytes goes.
std::string StripTrailingBackslash(const std::string& path, LeadBytePredicate isLead = nullptr);
// Collapses doubled backslashes; a leading "\\" (network path) stays.
std::string CleanPath(const std::string& path, bool stripTrailing, LeadBytePredicate isLead = nullptr);
// File-name part without its last extension, or without every extension.
std::string FileBaseName(const std::string& path, bool allExtensions, LeadBytePredicate isLead = nullptr);
std::string ExtractFileName(const std::string& path, LeadBytePredicate isLead = nullptr);
// Folder part without a trailing backslash ("C:\x\a.exe" gives "C:\x").
std::string ExtractFileDir(const std::string& path, LeadBytePredicate isLead = nullptr);
