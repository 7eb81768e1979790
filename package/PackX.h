#pragma once
// The description of a package file: its trailer and header strings, the
// questions the run modes ask about them, and the package's language texts.
#include <cstdint>
#include <string>

#include "package/PackFormat.h"

class ByteSource;

class TGFileInfo {
 public:
  // Reads the package at path; a missing file or an invalid package gives an
  // empty description (trailer zero, strings empty).
  explicit TGFileInfo(const std::string& path);
  explicit TGFileInfo(const ByteSource& file);

  const TPackTrailer& Trailer() const { return trailer_; }
  const std::string& LanguageBlock() const { return language_; }
  const std::string& AutoUpdateRecord() const { return autoUpdate_; }
  const std::string& DownloadRecord() const { return download_; }

  // The space the unpacked files take on the drive of folder, in bytes.
  double SpaceRequired(const std::string& folder) const;

  bool TellsTempDrive() const { return trailer_.Flags & kFlagTellDrive; }
  bool IsSpanned() const { return trailer_.Flags & kFlagSpanned; }
  bool ShowsActivityBar() const { return trailer_.Flags & kFlagActivityBar; }
  bool WantsLog() const { return trailer_.Flags & kFlagLog; }
  bool IsWebInstall() const { return trailer_.WebInstall != 0; }
  bool AsksDownload() const { return trailer_.AskDownload != 0; }
  bool MakesAgent() const { return trailer_.MakeAgent != 0; }
  bool IsAgent() const { return trailer_.IsAgent != 0; }

  std::string UpdateURL() const;
  std::string InfoFileName() const;
  std::string OriginalFileName() const;
  std::string AgentFileName() const;
  std::string UpdateToken(bool decode) const;
  bool IsSilent() const;

  std::string DownloadURL() const;
  std::string PackageFileName() const;
  bool AlwaysDownload() const;
  std::string DownloadToken(bool decode) const;
  std::string PackageSizeText() const;
  // Both download tokens decode, and to the same bytes.
  bool SameDownloadToken(const TGFileInfo& other) const;

  // Texts of the process-wide language entry, chosen by the first lookup of the
  // process from the block of the description it is made on.
  std::string LangText(const std::string& key, const std::string& def) const;
  int32_t Charset() const;
  int32_t FontSize() const;
  std::string FontName() const;

 private:
  void Read(const ByteSource& file);

  TPackTrailer trailer_;
  std::string language_;
  std::string autoUpdate_;
  std::string download_;
};

// Bytes per cluster of the drive named by folder's first three characters; 0
// when the system cannot tell (and always on hosts without drives).
uint32_t ClusterSize(const std::string& folder);
// The SpaceNeeded entry that serves drives of clusterSize bytes per cluster.
uint32_t SpaceNeededEntry(const TPackTrailer& trailer, uint32_t clusterSize);

// The entry of the language block whose name matches (trimmed, ignoring case);
// the only entry when none matches and there is just one; else "*".
std::string SelectEntry(const std::string& block, const std::string& name);
// The entry a process takes for the user's language: that language's, else
// English, else the only one, else "*".
std::string ChooseLanguageEntry(const std::string& block, const std::string& userLanguage);
// The value of key in a chosen entry: def when missing, empty when empty; def
// for every key when no entry was chosen.
std::string EntryText(const std::string& entry, const std::string& key, const std::string& def);
