#pragma once
// Assembling setup files, spanned volume sets and web installers.
#include <cstdint>
#include <string>
#include <vector>

#include "package/PackFormat.h"
#include "tools/pack/PackProject.h"

struct PackSource {
  std::string path;  // on disk
  std::string name;  // record name: relative, backslash-separated (engine: "name*args")
  uint64_t size = 0;
  uint32_t date = 0;  // packed FAT date and time, 0 leaves the date alone
};

// The files under project.files in byte order of their names; the engine's
// record carries the engine entry.
bool ScanSources(const PackProject& project, std::vector<PackSource>& sources, std::string& error);

std::string LanguageBlockOf(const std::vector<std::pair<std::string, std::string>>& languages, std::string& error);
std::string AutoUpdateRecordOf(const PackProject& project);
std::string DownloadRecordOf(const PackProject& project, const std::string& sizeText);

// Space the unpacked files take, per trailer entry: entry i >= 1 rounds every
// file up to clusters of 256 << i bytes; entry 0 (unknown drives) to 4,096.
void ComputeSpaceNeeded(const std::vector<PackSource>& sources, uint64_t extraFile, uint32_t (&space)[kSpaceEntries]);

struct PackOutput {
  std::string path;
  std::string bytes;
};

// One setup file with every record.
bool BuildSetup(const PackProject& project, std::vector<PackOutput>& outputs, std::string& error);
// setup.exe (spanned bit, no records) and volumes .001 (image, header strings,
// first records), .002 ... (plain records), none larger than volumeSize.
bool BuildSpanned(const PackProject& project, std::vector<PackOutput>& outputs, std::string& error);
// The web installer (no records, download record, WebInstall) and the package
// file for the server, both with the same download token.
bool BuildWeb(const PackProject& project, std::vector<PackOutput>& outputs, std::string& error);

// A notice file: the encoded token in the second "|" part, the text after the
// fourth; scrambled on request.
std::string NoticeFileText(const std::string& token, const std::string& text, uint32_t seed, bool scramble);
