#pragma once
// Path decisions of the file operations, apart from the file system.
#include <string>

// The drive form of a path: its first byte upper-cased + ":\".
std::string DriveRootOf(const std::string& path);
// The folder to ask the free-space query about: with the extended query, the
// path cut before its first backslash at position 4 or later; otherwise (or
// for paths under 3 bytes) the drive form. '/' counts as '\'.
std::string DiskFreeQueryDir(const std::string& path, bool extendedQuery);
