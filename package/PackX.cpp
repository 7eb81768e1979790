#include "package/PackX.h"

#include <cstring>

#include "package/ByteSource.h"
#include "package/PackTokens.h"
#include "ui/SLangId.h"
#include "util/KSUB.h"
#include "util/Paths.h"
#include "util/Text.h"

TGFileInfo::TGFileInfo(const std::string& path) {
  const FileSource file(path);
  Read(file);
}

TGFileInfo::TGFileInfo(const ByteSource& file) { Read(file); }

void TGFileInfo::Read(const ByteSource& file) {
  ReadTrailer(file, trailer_);
  if (trailer_.Magic != kPackMagic) return;

  // Header strings must lie whole between HeaderPos and the trailer; anything
  // else is a damaged package and the description stays empty.
  const int64_t limit = PackageEnd(file) - trailer_.TrailerSize;
  std::string* const strings[] = {&language_, &autoUpdate_, &download_};
  const int count = trailer_.HeaderCount >= 3 ? 3 : 2;
  int64_t pos = trailer_.HeaderPos;
  for (int i = 0; i < count; ++i) {
    TBlockRef block;
    if (!ReadBlockAt(file, pos, limit, block) || block.Length < 0 ||
        (*strings[i] = file.Read(block.DataPos, block.DataSize())).size() != block.DataSize()) {
      std::memset(&trailer_, 0, sizeof trailer_);
      language_.clear();
      autoUpdate_.clear();
      download_.clear();
      return;
    }
    pos = block.Next();
  }
  trailer_.HeaderPos = uint32_t(pos);
}

uint32_t SpaceNeededEntry(const TPackTrailer& trailer, uint32_t clusterSize) {
  uint32_t result = trailer.SpaceNeeded[0];
  for (int i = 1; i < kSpaceEntries; ++i)
    if (clusterSize >= (256u << i)) result = trailer.SpaceNeeded[i];
  return result;
}

double TGFileInfo::SpaceRequired(const std::string& folder) const {
  return SpaceNeededEntry(trailer_, ClusterSize(folder));
}

#ifndef _WIN32
uint32_t ClusterSize(const std::string&) { return 0; }
#endif

std::string TGFileInfo::UpdateURL() const { return SUB::GetItem(autoUpdate_, 0, ""); }
std::string TGFileInfo::InfoFileName() const { return ExtractFileName(SUB::GetItem(autoUpdate_, 1, "")); }
std::string TGFileInfo::OriginalFileName() const {
  return FileBaseName(SUB::GetItem(autoUpdate_, 1, ""), true) + ".original";
}
std::string TGFileInfo::AgentFileName() const { return SUB::GetItem(autoUpdate_, 2, ""); }
std::string TGFileInfo::UpdateToken(bool decode) const {
  const std::string token = SUB::GetItem(autoUpdate_, 3, "");
  return decode ? DecodeToken(token) : token;
}
bool TGFileInfo::IsSilent() const { return SUB::GetItem(autoUpdate_, 4, "") == "1"; }

std::string TGFileInfo::DownloadURL() const { return SUB::GetItem(download_, 0, ""); }
std::string TGFileInfo::PackageFileName() const { return SUB::GetItem(download_, 1, ""); }
bool TGFileInfo::AlwaysDownload() const { return SUB::GetItem(download_, 2, "") == "1"; }
std::string TGFileInfo::DownloadToken(bool decode) const {
  const std::string token = SUB::GetItem(download_, 3, "");
  return decode ? DecodeToken(token) : token;
}
std::string TGFileInfo::PackageSizeText() const { return SUB::GetItem(download_, 4, ""); }

// A token that does not decode matches nothing, not even another such token.
bool TGFileInfo::SameDownloadToken(const TGFileInfo& other) const {
  std::string mine, theirs;
  return TryDecodeToken(DownloadToken(false), mine) && TryDecodeToken(other.DownloadToken(false), theirs) &&
         mine == theirs;
}

std::string SelectEntry(const std::string& block, const std::string& name) {
  const int32_t n = SUB::Count(block);
  const std::string wanted = Trim(name);
  for (int32_t i = 0; i < n; ++i) {
    const std::string entry = SUB::GetItem(block, i, "");
    if (SameTextCI(Trim(SUB::GetItem(entry, 0, "")), wanted)) return entry;
  }
  const std::string only = n == 1 ? SUB::GetItem(block, 0, "") : "";
  return only.empty() ? "*" : only;
}

std::string ChooseLanguageEntry(const std::string& block, const std::string& userLanguage) {
  const std::string entry = SelectEntry(block, userLanguage);
  return entry == "*" ? SelectEntry(block, "English") : entry;
}

std::string EntryText(const std::string& entry, const std::string& key, const std::string& def) {
  return entry.size() > 1 ? SUB::GetValue(entry, key, def, "") : def;
}

std::string TGFileInfo::LangText(const std::string& key, const std::string& def) const {
  static std::string selected;  // one entry for the whole process
  if (selected.empty()) selected = ChooseLanguageEntry(language_, CurrentLanguageName());
  return EntryText(selected, key, def);
}

int32_t TGFileInfo::Charset() const { return TextToInt32(LangText("Charset", "0"), 0); }
int32_t TGFileInfo::FontSize() const { return TextToInt32(LangText("FontSize", "8"), 8); }
std::string TGFileInfo::FontName() const { return LangText("FontName", "Tahoma"); }
