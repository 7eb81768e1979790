#include "tools/pack/PackInspect.h"

#include <cstdio>
#include <set>

#include "package/ByteSource.h"
#include "package/PackTokens.h"
#include "package/PackX.h"
#include "package/SetupCommand.h"
#include "package/UnPack.h"
#include "tools/pack/PackBuild.h"
#include "util/KSUB.h"
#include "util/Text.h"

namespace {

std::string Hex(uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08X", v);
  return buf;
}

std::string TokenText(const std::string& encoded) {
  std::string decoded;
  if (encoded.empty()) return "(none)";
  return TryDecodeToken(encoded, decoded) ? encoded + " -> \"" + decoded + "\"" : encoded + " (does not decode)";
}

std::string FlagNames(uint8_t f) {
  std::string s;
  const std::pair<uint8_t, const char*> names[] = {{kFlagTellDrive, "tell-drive"},
                                                   {kFlagFollows, "follows"},
                                                   {kFlagSpanned, "spanned"},
                                                   {kFlagActivityBar, "activity-bar"},
                                                   {kFlagLog, "log"}};
  for (const auto& n : names)
    if (f & n.first) s += std::string(s.empty() ? "" : ", ") + n.second;
  return s.empty() ? "none" : s;
}

struct SetState {
  std::set<std::string> names;  // upper-cased
  std::string report, faults;
  void Fault(const std::string& where, const std::string& what) { faults += where + ": " + what + "\n"; }
};

// One file of a set; first tells whether it carries header strings. Returns
// the trailer read (zero when none).
TPackTrailer InspectVolume(const std::string& path, bool first, SetState& st) {
  TPackTrailer t = TrailerFromBytes("");
  const FileSource file(path);
  if (!file.IsOpen()) {
    st.Fault(path, "cannot be read");
    return t;
  }
  ReadTrailer(file, t);
  const bool exe = IsExecutableImage(file);
  const int64_t end = PackageEnd(file);
  std::string& r = st.report;
  r += "file " + path + "\n";
  r += "  size " + std::to_string(file.Size()) +
       (exe ? ", executable image, end of package " + std::to_string(EndOfPackage(file)) : ", plain volume") + "\n";
  r += "  trailer: " + std::to_string(t.TrailerSize) + " bytes, magic " + Hex(t.Magic) + ", HeaderCount " +
       std::to_string(t.HeaderCount) + ", HeaderPos " + std::to_string(t.HeaderPos) + ", FileCount " +
       std::to_string(t.FileCount) + "\n";
  r += "  flags " + Hex(t.Flags) + " (" + FlagNames(t.Flags) + "), WebInstall " + std::to_string(t.WebInstall) +
       ", AskDownload " + std::to_string(t.AskDownload) + ", MakeAgent " + std::to_string(t.MakeAgent) +
       ", IsAgent " + std::to_string(t.IsAgent) + "\n";
  r += "  SpaceNeeded";
  for (int i = 0; i < kSpaceEntries; ++i) r += " " + std::to_string(t.SpaceNeeded[i]);
  r += "\n";
  if (t.Magic != kPackMagic) {
    st.Fault(path, "no package trailer");
    return t;
  }
  const uint32_t computed = PackageCheckSum(file, t.TrailerSize);
  const bool passes = CheckSumPasses(computed, t.CheckSum);
  r += "  checksum stored " + Hex(t.CheckSum) + ", computed " + Hex(computed) +
       (t.CheckSum == kCheckSumOff || computed == kCheckSumOff ? " (not tested)" : passes ? " (passes)" : " (FAILS)") +
       "\n";
  if (!passes) st.Fault(path, "checksum fails");

  int64_t pos = t.HeaderPos;
  if (first) {
    const TGFileInfo d(file);
    if (d.Trailer().Magic != kPackMagic) {
      st.Fault(path, "header strings do not fit the file");
      return t;
    }
    pos = d.Trailer().HeaderPos;
    const std::string& block = d.LanguageBlock();
    r += "  languages:";
    for (int32_t i = 0; i < SUB::Count(block); ++i) {
      const std::string entry = SUB::GetItem(block, i);
      r += " " + SUB::GetItem(entry, 0) + " (" + std::to_string(SUB::Count(entry) - 1) + " texts)";
    }
    r += SUB::Count(block) ? "\n" : " none\n";
    r += "  auto-update: URL \"" + d.UpdateURL() + "\", info file \"" + d.InfoFileName() + "\" (" +
         d.OriginalFileName() + "), agent \"" + d.AgentFileName() + "\", token " + TokenText(d.UpdateToken(false)) +
         ", silent " + (d.IsSilent() ? "yes" : "no") + "\n";
    if (t.HeaderCount >= 3)
      r += "  download: URL \"" + d.DownloadURL() + "\", package \"" + d.PackageFileName() + "\", always " +
           (d.AlwaysDownload() ? "yes" : "no") + ", token " + TokenText(d.DownloadToken(false)) + ", size " +
           d.PackageSizeText() + "\n";
  }

  std::vector<PackRecord> records;
  std::string fault;
  if (!ReadRecords(file, pos, end - t.TrailerSize, records, fault)) st.Fault(path, fault);
  for (const PackRecord& rec : records) {
    const std::string item = SUB::GetItem(rec.header, 0);
    const std::string name = LeftOf(item, "*", item);
    r += "  record " + item + "  " + std::to_string(rec.data.size()) + " bytes, date " +
         SUB::GetItem(rec.header, 1, "0") + (rec.compressed ? ", zlib " : ", stored ") +
         std::to_string(rec.blockSize) + "\n";
    if (rec.header.empty()) continue;
    if (RecordTargetPath("C:\\Target", name).empty()) st.Fault(path, "record name leaves the folder: " + name);
    st.names.insert(UpperCaseASCII(name));
  }
  r += "  " + std::to_string(records.size()) + " records\n";
  return t;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

}  // namespace

bool ReadRecords(const ByteSource& file, int64_t pos, int64_t limit, std::vector<PackRecord>& records,
                 std::string& fault) {
  records.clear();
  while (pos < limit) {
    TBlockRef b;
    if (!ReadBlockAt(file, pos, limit, b)) return fault = "block at " + std::to_string(pos) + " reaches past the trailer", false;
    PackRecord rec;
    rec.compressed = b.Length > 0;
    rec.blockSize = b.DataSize();
    std::string content = file.Read(b.DataPos, b.DataSize());
    if (rec.compressed) {
      try {
        content = InflateBlock(content);
      } catch (const EZLibError& e) {
        return fault = "block at " + std::to_string(pos) + " does not inflate: " + e.what(), false;
      }
    }
    SplitRecord(content, rec.header, rec.data);
    records.push_back(std::move(rec));
    pos = b.Next();
  }
  return true;
}

bool InspectPackage(const std::string& path, std::string& report, std::string& faults) {
  SetState st;
  const std::string base = VolumeBasePath(path);
  const bool volumeOne = base != path;
  TPackTrailer t = InspectVolume(path, true, st);
  const uint32_t fileCount = t.FileCount;
  const TGFileInfo desc(path);

  if (!volumeOne && (t.Flags & kFlagSpanned)) {
    if (st.names.size()) st.Fault(path, "a span launcher carries records");
    t = InspectVolume(VolumePath(base, 1), true, st);
  }
  for (int n = 2; t.Magic == kPackMagic && (t.Flags & kFlagFollows); ++n) t = InspectVolume(VolumePath(base, n), false, st);

  if (desc.IsWebInstall()) {
    const std::string package = FolderOf(path) + desc.PackageFileName();
    const TGFileInfo pd(package);
    if (pd.Trailer().Magic == kPackMagic) {
      SetState inner;
      InspectVolume(package, true, inner);
      st.report += inner.report;
      st.faults += inner.faults;
      st.names = inner.names;
      const bool sameToken = desc.SameDownloadToken(pd);
      st.report += std::string("  download tokens ") + (sameToken ? "match" : "DIFFER") + "\n";
      if (!sameToken) st.Fault(package, "download token differs from the installer's");
      if (desc.PackageSizeText() != std::to_string(FileSource(package).Size()))
        st.Fault(path, "download record's size differs from the package file's");
    } else {
      st.report += "package file " + package + " not beside the installer\n";
    }
  }
  if (!desc.IsWebInstall() || !st.names.empty())
    if (st.names.size() != fileCount)
      st.Fault(path, "FileCount " + std::to_string(fileCount) + " but " + std::to_string(st.names.size()) + " files");
  report += st.report;
  faults += st.faults;
  return st.faults.empty();
}
