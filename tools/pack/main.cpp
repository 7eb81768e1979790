// kavrix-pack: builds setup files, spanned sets and web installers for the
// stub, and reads them back.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "package/PackTokens.h"
#include "tools/pack/PackBuild.h"
#include "tools/pack/PackInspect.h"
#include "tools/pack/PackProject.h"
#include "util/Scramble.h"
#include "util/Text.h"

namespace {

const char kUsage[] =
    "usage: kavrix-pack COMMAND ...\n"
    "  build   [PROJECT.ini] [Section.Key=Value ...]   setup file with every record\n"
    "  spanned [PROJECT.ini] VolumeSize=BYTES [...]    setup file and volumes .001, .002 ...\n"
    "  web     [PROJECT.ini] [...]                     web installer and its package file\n"
    "  token   TEXT [SEED]                             encoded token\n"
    "  scramble IN OUT                                 scrambled copy of a text file\n"
    "  notice  OUT Token=TEXT (Text=TEXT | TextFile=PATH) [Scramble=1] [Seed=N]\n"
    "  inspect FILE                                    describe a package and its set\n"
    "  verify  FILE                                    exit status 0 only for a sound package\n"
    "Keys without a section belong to [Package]; see tools/pack/README.md.\n";

int Fail(const std::string& why) {
  std::fprintf(stderr, "kavrix-pack: %s\n", why.c_str());
  return 1;
}

int Build(const std::string& command, const std::vector<std::string>& args) {
  std::string project;
  std::vector<std::string> overrides;
  for (const std::string& a : args) {
    if (a.find('=') == std::string::npos && project.empty())
      project = a;
    else
      overrides.push_back(a);
  }
  PackProject p;
  std::string error;
  if (!LoadProject(project, overrides, p, error)) return Fail(error);
  std::vector<PackOutput> outputs;
  const bool ok = command == "build"     ? BuildSetup(p, outputs, error)
                  : command == "spanned" ? BuildSpanned(p, outputs, error)
                                         : BuildWeb(p, outputs, error);
  if (!ok) return Fail(error);
  for (const PackOutput& o : outputs) {
    if (!WriteWholeFile(o.path, o.bytes)) return Fail("cannot write " + o.path);
    std::printf("wrote %s (%zu bytes)\n", o.path.c_str(), o.bytes.size());
  }
  return 0;
}

int Notice(const std::vector<std::string>& args) {
  if (args.empty()) return Fail("notice needs an output file");
  IniText opts;
  for (size_t i = 1; i < args.size(); ++i) opts.Set("", LeftOf(args[i], "=", args[i]), RightOf(args[i], "=", ""));
  std::string text = opts.Get("", "Text");
  if (!opts.Get("", "TextFile").empty()) {
    bool ok = false;
    text = ReadWholeFile(opts.Get("", "TextFile"), ok);
    if (!ok) return Fail("cannot read " + opts.Get("", "TextFile"));
  }
  const std::string token = opts.Get("", "Token");
  if (token.empty()) return Fail("notice needs Token=");
  const std::string notice = NoticeFileText(token, text, uint32_t(TextToInt64(opts.Get("", "Seed", "1"), 1)),
                                            TextToInt64(opts.Get("", "Scramble", "0"), 0) != 0);
  if (!WriteWholeFile(args[0], notice)) return Fail("cannot write " + args[0]);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return std::fputs(kUsage, stderr), 2;
  const std::string command = argv[1];
  const std::vector<std::string> args(argv + 2, argv + argc);

  if (command == "build" || command == "spanned" || command == "web") return Build(command, args);
  if (command == "token" && !args.empty()) {
    const uint32_t seed = args.size() > 1 ? uint32_t(TextToInt64(args[1], 1)) : 1;
    std::printf("%s\n", EncodeToken(args[0], seed).c_str());
    return 0;
  }
  if (command == "scramble" && args.size() == 2) {
    bool ok = false;
    const std::string text = ReadWholeFile(args[0], ok);
    if (!ok) return Fail("cannot read " + args[0]);
    return WriteWholeFile(args[1], ScrambleText(text, true, false)) ? 0 : Fail("cannot write " + args[1]);
  }
  if (command == "notice") return Notice(args);
  if ((command == "inspect" || command == "verify") && args.size() == 1) {
    std::string report, faults;
    const bool sound = InspectPackage(args[0], report, faults);
    if (command == "inspect") std::fputs(report.c_str(), stdout);
    std::fputs(faults.c_str(), stderr);
    std::printf("%s\n", sound ? "sound" : "NOT SOUND");
    return sound ? 0 : 1;
  }
  std::fputs(kUsage, stderr);
  return 2;
}
