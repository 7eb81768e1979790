#pragma once
// The builder's project: what goes into a package and how it is packed. Read
// from an INI-style file; "Section.Key=Value" arguments override its keys.
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

// Sections of key=value lines; section and key names ignore case.
class IniText {
 public:
  void Parse(const std::string& text);
  void Set(const std::string& section, const std::string& key, const std::string& value);
  std::string Get(const std::string& section, const std::string& key, const std::string& def = "") const;
  // The keys of a section in file order, with their values.
  std::vector<std::pair<std::string, std::string>> Section(const std::string& section) const;

 private:
  std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>> sections_;
};

struct PackProject {
  std::string stub;       // stub image
  std::string files;      // folder whose tree becomes file records
  std::string engine;     // "name*arguments": the record the stub starts
  std::string output;
  int level = 6;
  uint32_t recordSize = 4u << 20;  // largest file piece per record
  uint64_t volumeSize = 0;         // spanned sets
  bool datesFromFiles = true;      // else fixedDate for every record
  uint32_t fixedDate = 0;
  bool checkSum = true;
  uint32_t seed = 1;  // token padding
  uint8_t flags = 0;  // tell-drive, activity bar, log
  bool makeAgent = false, isAgent = false, askDownload = false;

  std::vector<std::pair<std::string, std::string>> languages;  // name, key=value text

  std::string updateURL, infoFile, agentName, updateToken;
  bool silent = false;

  std::string downloadURL, packageFile, downloadToken;
  bool alwaysDownload = false;
};

// Reads the project file (may be empty: options only) and applies overrides.
// Relative paths count from the project file's folder. False with a reason.
bool LoadProject(const std::string& path, const std::vector<std::string>& overrides, PackProject& project,
                 std::string& error);

std::string ReadWholeFile(const std::string& path, bool& ok);
bool WriteWholeFile(const std::string& path, const std::string& bytes);
