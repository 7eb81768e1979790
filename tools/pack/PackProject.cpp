#include "tools/pack/PackProject.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include "package/PackFormat.h"
#include "package/UnPack.h"
#include "util/Text.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::string Resolve(const std::string& base, const std::string& path) {
  if (path.empty() || base.empty() || path[0] == '/' || path[0] == '\\' || (path.size() > 1 && path[1] == ':'))
    return path;
  return base + "/" + path;
}

bool Flag(const IniText& ini, const char* key, bool def) {
  return TextToInt64(ini.Get("Package", key, def ? "1" : "0"), 0) != 0;
}

}  // namespace

void IniText::Parse(const std::string& text) {
  std::string section;
  for (const std::string& raw : Lines(text)) {
    const std::string line = Trim(raw);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line[0] == '[' && line.back() == ']') {
      section = Trim(line.substr(1, line.size() - 2));
      continue;
    }
    const size_t eq = line.find('=');
    if (eq != std::string::npos) Set(section, Trim(line.substr(0, eq)), Trim(line.substr(eq + 1)));
  }
}

void IniText::Set(const std::string& section, const std::string& key, const std::string& value) {
  for (auto& s : sections_)
    if (SameTextCI(s.first, section)) {
      for (auto& kv : s.second)
        if (SameTextCI(kv.first, key)) {
          kv.second = value;
          return;
        }
      s.second.emplace_back(key, value);
      return;
    }
  sections_.push_back({section, {{key, value}}});
}

std::string IniText::Get(const std::string& section, const std::string& key, const std::string& def) const {
  for (const auto& kv : Section(section))
    if (SameTextCI(kv.first, key)) return kv.second;
  return def;
}

std::vector<std::pair<std::string, std::string>> IniText::Section(const std::string& section) const {
  for (const auto& s : sections_)
    if (SameTextCI(s.first, section)) return s.second;
  return {};
}

std::string ReadWholeFile(const std::string& path, bool& ok) {
  std::ifstream in(path, std::ios::binary);
  ok = bool(in);
  return ok ? std::string(std::istreambuf_iterator<char>(in), {}) : std::string();
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  return bool(out.flush());
}

bool LoadProject(const std::string& path, const std::vector<std::string>& overrides, PackProject& p,
                 std::string& error) {
  IniText ini;
  std::string base;
  if (!path.empty()) {
    bool ok = false;
    ini.Parse(ReadWholeFile(path, ok));
    if (!ok) return error = "cannot read project file " + path, false;
    const size_t slash = path.find_last_of("/\\");
    base = slash == std::string::npos ? "." : path.substr(0, slash);
  }
  for (const std::string& o : overrides) {
    const size_t eq = o.find('='), dot = o.find('.');
    if (eq == std::string::npos) return error = "option without '=': " + o, false;
    const bool sectioned = dot != std::string::npos && dot < eq;
    ini.Set(sectioned ? o.substr(0, dot) : "Package", o.substr(sectioned ? dot + 1 : 0, eq - (sectioned ? dot + 1 : 0)),
            o.substr(eq + 1));
  }

  p.stub = Resolve(base, ini.Get("Package", "Stub"));
  p.files = Resolve(base, ini.Get("Package", "Files"));
  p.engine = ini.Get("Package", "Engine");
  p.output = Resolve(base, ini.Get("Package", "Output", "setup.exe"));
  p.level = int(TextToInt32(ini.Get("Package", "Level", "6"), -1));
  if (p.level < 0 || p.level > 9) return error = "Level must be 0 to 9", false;
  // A record's block holds its header too, and the stub refuses blocks above its
  // bound: leave the header room below it.
  const int64_t largest = kMaxBlockBytes - 65536;
  const int64_t record = TextToInt64(ini.Get("Package", "RecordSize", "4194304"), 0);
  if (record < 1024 || record > largest)
    return error = "RecordSize must be 1024 to " + IntToText(largest), false;
  p.recordSize = uint32_t(record);
  p.volumeSize = uint64_t(TextToInt64(ini.Get("Package", "VolumeSize", "0"), 0));
  const std::string date = ini.Get("Package", "FileDate", "file");
  p.datesFromFiles = SameTextCI(date, "file");
  if (!p.datesFromFiles) {
    int64_t fixed = 0;
    if (!ReadInt64(date, fixed) || fixed < 0 || fixed > 0xFFFFFFFFll)
      return error = "FileDate must be 'file' or a packed FAT date", false;
    p.fixedDate = uint32_t(fixed);
  }
  p.checkSum = Flag(ini, "CheckSum", true);
  p.seed = uint32_t(TextToInt64(ini.Get("Package", "Seed", "1"), 1));
  p.flags = uint8_t((Flag(ini, "TellDrive", false) ? kFlagTellDrive : 0) |
                    (Flag(ini, "ActivityBar", false) ? kFlagActivityBar : 0) | (Flag(ini, "Log", false) ? kFlagLog : 0));
  p.makeAgent = Flag(ini, "MakeAgent", false);
  p.isAgent = Flag(ini, "IsAgent", false);
  p.askDownload = Flag(ini, "AskDownload", false);

  p.languages.clear();
  for (const auto& kv : ini.Section("Languages")) {
    bool ok = false;
    const std::string file = Resolve(base, kv.second);
    const std::string text = ReadWholeFile(file, ok);
    if (!ok) return error = "cannot read language file " + file, false;
    p.languages.emplace_back(kv.first, text);
  }

  p.updateURL = ini.Get("AutoUpdate", "URL");
  p.infoFile = ini.Get("AutoUpdate", "InfoFile");
  p.agentName = ini.Get("AutoUpdate", "AgentName");
  p.updateToken = ini.Get("AutoUpdate", "Token");
  p.silent = TextToInt64(ini.Get("AutoUpdate", "Silent", "0"), 0) != 0;

  p.downloadURL = ini.Get("Download", "URL");
  p.packageFile = ini.Get("Download", "PackageFile");
  p.downloadToken = ini.Get("Download", "Token");
  p.alwaysDownload = TextToInt64(ini.Get("Download", "Always", "0"), 0) != 0;
  return true;
}
