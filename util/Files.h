#pragma once
// File and folder operations on which extraction, the setup flow, the run log
// and the agent rest. None raises an error: failures are result values.
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "package/ProgressSink.h"

int64_t FileSeek64(HANDLE file, int origin, int64_t offset);
// Size from a directory listing of the path; 0 when nothing matches.
int64_t FileSizeByName(const std::string& path);
int64_t FileSizeOf(HANDLE file);

// The first maxBytes bytes (0 = the whole file); empty on any failure.
std::string ReadFilePart(const std::string& path, uint32_t maxBytes);
// fatDate 0 leaves the file's date alone. With a sink (or more than 1 MiB) the
// data goes out in chunks; the sink gets the address of a cancel flag
// (int32_t) in its context argument and may set it to non-zero to stop the write.
// created, when given, tells whether the file was new (so callers need not look first).
bool WriteFileData(const std::string& path, std::string_view data, uint32_t fatDate, bool append,
                   ProgressSink sink = nullptr, bool* created = nullptr);
bool AppendText(const std::string& path, const std::string& text);

// Bytes free to the caller on the drive of path; -1.0 when unknown.
double DiskFree(const std::string& path);
// True when at least one file matched the mask.
bool DeleteFiles(const std::string& mask, bool clearAttributes);
// True when the folder existed and is gone.
bool DeleteTree(const std::string& folder, bool clearAttributes);
// Starts a batch that deletes the program's file once it has ended.
void DeleteMySelf(bool removeFolder);
bool EjectCD(const std::string& path);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// Creates the folder and every missing parent; true when it exists afterwards.
bool ForceDirectories(const std::string& path);
// The packed FAT date and time (local) of a file's last write; 0 when unknown.
uint32_t FileFatDate(const std::string& path);
