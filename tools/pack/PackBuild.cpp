#include "tools/pack/PackBuild.h"

#include <sys/stat.h>

#include <algorithm>
#include <ctime>
#include <filesystem>

#include "package/ByteSource.h"
#include "package/PackTokens.h"
#include "package/SetupCommand.h"
#include "package/UnPack.h"
#include "util/Dates.h"
#include "util/Scramble.h"
#include "util/Text.h"

namespace fs = std::filesystem;

namespace {

constexpr uint64_t kMinPiece = 512;  // a volume with less room than this is closed

uint32_t FileDateOf(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return 0;
  const std::time_t t = st.st_mtime;
  const std::tm* tm = std::localtime(&t);
  if (!tm) return 0;
  DateTimeParts parts{tm->tm_year + 1900, tm->tm_mon + 1, tm->tm_mday, tm->tm_hour, tm->tm_min, tm->tm_sec, 0};
  double value = 0;
  return EncodeDateTime(parts, value) ? DateTimeToFat(value) : 0;
}

std::string EngineName(const std::string& engine) { return LeftOf(engine, "*", engine); }

// Files to records, in volumes of at most volumeSize bytes (0: one volume).
// prefixSize is what precedes the records in the first volume.
class RecordPacker {
 public:
  RecordPacker(const PackProject& p, uint64_t prefixSize) : p_(p), used_(prefixSize) { volumes_.emplace_back(); }

  bool Add(const PackSource& src, std::string& error) {
    const FileSource file(src.path);
    if (!file.IsOpen()) return error = "cannot read " + src.path, false;
    const uint64_t headerSize = RecordContent(src.name, src.date, "").size() + 4;
    for (uint64_t offset = 0;;) {
      const uint64_t rest = src.size - offset;
      const uint64_t room = Room();
      if (room < headerSize + std::min(kMinPiece, rest)) {
        if (used_ == 0) return error = "VolumeSize is too small for a record", false;
        volumes_.emplace_back();
        used_ = 0;
        continue;
      }
      uint64_t n = std::min<uint64_t>(p_.recordSize, rest);
      std::string block = Piece(file, src, offset, n);
      if (block.size() > room) {
        // A stored piece that fits bounds the block, whatever zlib makes of it.
        n = room - headerSize;
        block = Piece(file, src, offset, n);
      }
      volumes_.back() += block;
      used_ += block.size();
      offset += n;
      if (offset >= src.size) break;
    }
    return true;
  }

  std::vector<std::string>& Volumes() { return volumes_; }

 private:
  uint64_t Room() const {
    if (!p_.volumeSize) return UINT64_MAX;
    const uint64_t end = used_ + kTrailerSize;
    return p_.volumeSize > end ? p_.volumeSize - end : 0;
  }

  std::string Piece(const ByteSource& file, const PackSource& src, uint64_t offset, uint64_t n) const {
    return RecordBlock(RecordContent(src.name, src.date, file.Read(int64_t(offset), size_t(n))), p_.level);
  }

  const PackProject& p_;
  uint64_t used_;
  std::vector<std::string> volumes_;
};

// What every output of a project shares.
struct Common {
  std::string image;
  std::vector<PackSource> sources;
  TPackTrailer trailer;  // everything but positions, counts of headers and checksum
};

bool Prepare(const PackProject& p, Common& c, std::string& error) {
  bool ok = false;
  c.image = ReadWholeFile(p.stub, ok);
  if (!ok) return error = "cannot read stub image " + p.stub, false;
  if (!IsExecutableImage(MemorySource(c.image)))
    return error = "stub image lacks \"MZ\" at 0 and \"PE\" at 256: " + p.stub, false;
  if (!ScanSources(p, c.sources, error)) return false;
  c.trailer = TrailerFromBytes("");
  c.trailer.Reserved0 = 1;
  c.trailer.FileCount = uint32_t(c.sources.size());
  c.trailer.Magic = kPackMagic;
  c.trailer.Flags = p.flags;
  c.trailer.AskDownload = p.askDownload;
  c.trailer.MakeAgent = p.makeAgent;
  c.trailer.IsAgent = p.isAgent;
  c.trailer.TrailerSize = kTrailerSize;
  return true;
}

std::string HeaderStrings(const std::vector<std::string>& strings) {
  std::string out;
  for (const std::string& s : strings) out += HeaderStringBlock(s);
  return out;
}

// body + trailer, with the end-of-package position (executables) and checksum.
std::string Finish(std::string body, TPackTrailer t, bool checkSum) {
  t.CheckSum = 0;
  std::string file = body + TrailerBytes(t);
  const MemorySource view(file);
  if (IsExecutableImage(view)) SetEndOfPackage(file, file.size());
  t.CheckSum = checkSum ? PackageCheckSum(MemorySource(file), kTrailerSize) : kCheckSumOff;
  file.replace(file.size() - kTrailerSize + offsetof(TPackTrailer, CheckSum), 4, Uint32Bytes(t.CheckSum));
  return file;
}

bool HeaderStringsOf(const PackProject& p, bool withDownload, const std::string& sizeText,
                     std::vector<std::string>& strings, std::string& error) {
  const std::string language = LanguageBlockOf(p.languages, error);
  if (!error.empty()) return false;
  strings = {language, AutoUpdateRecordOf(p)};
  if (withDownload) strings.push_back(DownloadRecordOf(p, sizeText));
  return true;
}

// The trailer every file of a build starts from: header strings right after the
// image, and the room the files (and the agent, when one is made) need.
TPackTrailer TrailerFor(const PackProject& p, const Common& c, const std::vector<std::string>& strings) {
  TPackTrailer t = c.trailer;
  t.HeaderCount = uint8_t(strings.size());
  t.HeaderPos = uint32_t(c.image.size());
  const uint64_t agentSize = c.image.size() + HeaderStrings(strings).size() + kTrailerSize;
  ComputeSpaceNeeded(c.sources, p.makeAgent ? agentSize : 0, t.SpaceNeeded);
  return t;
}

// A single-file package: image, header strings, every record, trailer.
bool SinglePackage(const PackProject& p, const Common& c, bool withDownload, std::string& file,
                   std::string& error) {
  std::vector<std::string> strings;
  if (!HeaderStringsOf(p, withDownload, "0", strings, error)) return false;
  PackProject one = p;
  one.volumeSize = 0;
  RecordPacker packer(one, 0);
  for (const PackSource& src : c.sources)
    if (!packer.Add(src, error)) return false;
  const std::string& records = packer.Volumes().front();

  TPackTrailer t = TrailerFor(p, c, strings);
  // The package's own download record names its size; a few rounds settle the
  // digits, since the size text is part of the file.
  std::string sizeText = "0";
  for (int round = 0; round < 4; ++round) {
    if (withDownload) strings.back() = DownloadRecordOf(p, sizeText);
    file = Finish(c.image + HeaderStrings(strings) + records, t, p.checkSum);
    if (!withDownload || std::to_string(file.size()) == sizeText) break;
    sizeText = std::to_string(file.size());
  }
  return true;
}

}  // namespace

bool ScanSources(const PackProject& p, std::vector<PackSource>& sources, std::string& error) {
  sources.clear();
  std::error_code ec;
  if (p.files.empty()) return error = "no Files folder given", false;
  const fs::path root(p.files);
  if (fs::is_regular_file(root, ec)) {
    sources.push_back({p.files, root.filename().string(), fs::file_size(root, ec), 0});
  } else if (fs::is_directory(root, ec)) {
    for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
      if (!it->is_regular_file(ec)) continue;
      std::string name = it->path().lexically_relative(root).generic_string();
      std::replace(name.begin(), name.end(), '/', '\\');
      sources.push_back({it->path().string(), name, it->file_size(ec), 0});
    }
    if (ec) return error = "cannot list " + p.files + ": " + ec.message(), false;
  } else {
    return error = "Files is neither a file nor a folder: " + p.files, false;
  }
  std::sort(sources.begin(), sources.end(), [](const PackSource& a, const PackSource& b) { return a.name < b.name; });
  for (PackSource& s : sources) {
    // The stub refuses names that are not plain relative Windows paths.
    if (RecordTargetPath("C:\\Target", s.name).empty()) return error = "file name the stub cannot write: " + s.name, false;
    s.date = p.datesFromFiles ? FileDateOf(s.path) : p.fixedDate;
  }

  if (!p.engine.empty()) {
    const std::string engine = p.engine.find('*') == std::string::npos ? p.engine + "*" : p.engine;
    auto it = std::find_if(sources.begin(), sources.end(),
                           [&](const PackSource& s) { return SameTextCI(s.name, EngineName(engine)); });
    if (it == sources.end()) return error = "engine " + EngineName(engine) + " is not among the files", false;
    it->name = engine;
  }
  return true;
}

std::string LanguageBlockOf(const std::vector<std::pair<std::string, std::string>>& languages, std::string& error) {
  if (languages.empty()) return "";
  std::string block = "\x02";
  for (const auto& lang : languages) {
    std::string entry = "\x01" + lang.first + "\x01";
    size_t start = 0;
    while (start <= lang.second.size()) {
      size_t end = lang.second.find('\n', start);
      if (end == std::string::npos) end = lang.second.size();
      std::string line = lang.second.substr(start, end - start);
      start = end + 1;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (Trim(line).empty() || line[0] == ';' || line[0] == '#') continue;
      if (line.find('=') == std::string::npos) {
        error = lang.first + ": line without '=': " + line;
        return "";
      }
      entry += line + "\x01";
    }
    if (entry.find_first_of(std::string("\x02\0", 2), 1) != std::string::npos) {
      error = lang.first + ": texts must not hold the bytes 0 or 2";
      return "";
    }
    block += entry + "\x02";
  }
  return block;
}

std::string AutoUpdateRecordOf(const PackProject& p) {
  const std::string token = p.updateToken.empty() ? "" : EncodeToken(p.updateToken, p.seed);
  return MakeList({p.updateURL, p.infoFile, p.agentName, token, p.silent ? "1" : "0"});
}

std::string DownloadRecordOf(const PackProject& p, const std::string& sizeText) {
  const std::string token = p.downloadToken.empty() ? "" : EncodeToken(p.downloadToken, p.seed + 1);
  return MakeList({p.downloadURL, p.packageFile, p.alwaysDownload ? "1" : "0", token, sizeText});
}

void ComputeSpaceNeeded(const std::vector<PackSource>& sources, uint64_t extraFile,
                        uint32_t (&space)[kSpaceEntries]) {
  for (int i = 0; i < kSpaceEntries; ++i) {
    const uint64_t cluster = i == 0 ? 4096 : uint64_t(256) << i;
    auto rounded = [cluster](uint64_t size) { return (size + cluster - 1) / cluster * cluster; };
    uint64_t total = rounded(extraFile);
    for (const PackSource& s : sources) total += rounded(s.size);
    space[i] = uint32_t(std::min<uint64_t>(total, 0xFFFFFFFFu));
  }
}

bool BuildSetup(const PackProject& p, std::vector<PackOutput>& outputs, std::string& error) {
  Common c;
  if (!Prepare(p, c, error)) return false;
  std::string file;
  const bool withDownload = !p.downloadURL.empty() || !p.packageFile.empty() || !p.downloadToken.empty();
  if (!SinglePackage(p, c, withDownload, file, error)) return false;
  outputs = {{p.output, file}};
  return true;
}

bool BuildSpanned(const PackProject& p, std::vector<PackOutput>& outputs, std::string& error) {
  if (p.volumeSize == 0) return error = "spanned sets need VolumeSize", false;
  Common c;
  if (!Prepare(p, c, error)) return false;
  std::vector<std::string> strings;
  if (!HeaderStringsOf(p, false, "", strings, error)) return false;
  const std::string prefix = c.image + HeaderStrings(strings);
  if (prefix.size() + kTrailerSize > p.volumeSize)
    return error = "VolumeSize is too small for the stub and header strings", false;

  RecordPacker packer(p, prefix.size());
  for (const PackSource& src : c.sources)
    if (!packer.Add(src, error)) return false;
  std::vector<std::string>& volumes = packer.Volumes();

  const TPackTrailer t = TrailerFor(p, c, strings);

  outputs.clear();
  TPackTrailer launcher = t;
  launcher.Flags |= kFlagSpanned;
  outputs.push_back({p.output, Finish(prefix, launcher, p.checkSum)});
  for (size_t i = 0; i < volumes.size(); ++i) {
    TPackTrailer v = t;
    if (i > 0) v.HeaderPos = 0;  // only the first volume carries the header strings
    if (i + 1 < volumes.size()) v.Flags |= kFlagFollows;
    outputs.push_back({VolumePath(p.output, int(i + 1)), Finish((i == 0 ? prefix : "") + volumes[i], v, p.checkSum)});
  }
  return true;
}

bool BuildWeb(const PackProject& p, std::vector<PackOutput>& outputs, std::string& error) {
  if (p.packageFile.empty() || p.downloadToken.empty())
    return error = "web installers need [Download] PackageFile and Token", false;
  Common c;
  if (!Prepare(p, c, error)) return false;
  std::string package;
  if (!SinglePackage(p, c, true, package, error)) return false;

  std::vector<std::string> strings;
  if (!HeaderStringsOf(p, true, std::to_string(package.size()), strings, error)) return false;
  TPackTrailer t = TrailerFor(p, c, strings);
  t.WebInstall = 1;
  const std::string prefix = c.image + HeaderStrings(strings);

  const size_t slash = p.output.find_last_of("/\\");
  const std::string folder = slash == std::string::npos ? "" : p.output.substr(0, slash + 1);
  outputs = {{p.output, Finish(prefix, t, p.checkSum)}, {folder + p.packageFile, package}};
  return true;
}

std::string NoticeFileText(const std::string& token, const std::string& text, uint32_t seed, bool scramble) {
  const std::string notice = "NOTICE|" + EncodeToken(token, seed) + "|||" + text;
  return scramble ? ScrambleText(notice, true, false) : notice;
}
