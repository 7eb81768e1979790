#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>

#include "package/ByteSource.h"
#include "package/PackTokens.h"
#include "package/PackX.h"
#include "tests/native/PackFixture.h"
#include "tools/pack/PackBuild.h"
#include "tools/pack/PackInspect.h"
#include "util/KSUB.h"

namespace fs = std::filesystem;

namespace {

std::string RandomBytes(size_t n, uint32_t seed) {
  std::mt19937 gen(seed);
  std::string s(n, '\0');
  for (char& c : s) c = char(gen());
  return s;
}

std::string TextBytes(size_t n) {
  std::string s;
  for (int i = 0; s.size() < n; ++i) s += "line " + std::to_string(i) + " of a setup text file\r\n";
  return s.substr(0, n);
}

// A project folder with a stub image, a payload tree and two languages.
class PackBuildTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(::testing::TempDir()) / ("packbuild_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "payload" / "sub");
    Write("stub.exe", packfixture::Image(4096));
    files_ = {{"Setup.exe", "engine"},
              {"big.bin", RandomBytes(300000, 1)},
              {"empty.txt", ""},
              {"sub\\notes.txt", TextBytes(200000)}};
    for (const auto& f : files_) {
      std::string rel = f.first;
      std::replace(rel.begin(), rel.end(), '\\', '/');
      Write("payload/" + rel, f.second);
    }
    Write("en.txt", "s0=Install Me\r\n; comment\r\ns1=\r\nFontName=Arial\r\n");
    Write("tr.txt", "s0=Kurulum\nCharset=162\n");
    p_.stub = Path("stub.exe");
    p_.files = Path("payload");
    p_.engine = "Setup.exe*/S /x";
    p_.output = Path("setup.exe");
    p_.recordSize = 65536;
    p_.datesFromFiles = false;
    p_.fixedDate = 0x5A2B1C3D;
    p_.languages = {{"English", "s0=Install Me\r\ns1=\r\n"}, {"Turkish", "s0=Kurulum\nCharset=162\n"}};
    p_.updateURL = "http://example.test/au";
    p_.infoFile = "Product.info";
    p_.agentName = "Product_AU.exe";
    p_.updateToken = "update-secret";
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& rel) const { return (dir_ / rel).string(); }
  void Write(const std::string& rel, const std::string& bytes) const { ASSERT_TRUE(WriteWholeFile(Path(rel), bytes)); }

  std::vector<PackOutput> Build(bool (*how)(const PackProject&, std::vector<PackOutput>&, std::string&)) {
    std::vector<PackOutput> out;
    std::string error;
    EXPECT_TRUE(how(p_, out, error)) << error;
    for (const PackOutput& o : out) Write(fs::path(o.path).filename().string(), o.bytes);
    return out;
  }

  // File contents rebuilt from the records of a set of volumes, in order.
  static std::map<std::string, std::string> Unpack(const std::vector<PackOutput>& volumes,
                                                   std::vector<PackRecord>* all = nullptr) {
    std::map<std::string, std::string> files;
    for (const PackOutput& v : volumes) {
      const MemorySource src(v.bytes);
      TPackTrailer t;
      ReadTrailer(src, t);
      int64_t pos = t.HeaderPos;
      if (IsExecutableImage(src)) pos = TGFileInfo(src).Trailer().HeaderPos;
      std::vector<PackRecord> records;
      std::string fault;
      EXPECT_TRUE(ReadRecords(src, pos, PackageEnd(src) - kTrailerSize, records, fault)) << fault;
      for (const PackRecord& r : records) {
        files[SUB::GetItem(r.header, 0)] += r.data;
        if (all) all->push_back(r);
      }
    }
    return files;
  }

  fs::path dir_;
  std::vector<std::pair<std::string, std::string>> files_;
  PackProject p_;
};

}  // namespace

TEST_F(PackBuildTest, SetupFileReadsBackWhole) {
  p_.flags = kFlagTellDrive | kFlagActivityBar | kFlagLog;
  p_.makeAgent = true;
  p_.silent = true;
  const std::vector<PackOutput> out = Build(BuildSetup);
  ASSERT_EQ(out.size(), 1u);
  const std::string& file = out[0].bytes;
  const TGFileInfo d(out[0].path);

  const TPackTrailer& t = d.Trailer();
  EXPECT_EQ(+t.Magic, kPackMagic);
  EXPECT_EQ(t.HeaderCount, 2);
  EXPECT_EQ(+t.FileCount, 4u);
  EXPECT_EQ(+t.TrailerSize, kTrailerSize);
  EXPECT_EQ(t.Reserved0, 1);
  EXPECT_EQ(EndOfPackage(file), int64_t(file.size()));
  EXPECT_TRUE(d.TellsTempDrive() && d.ShowsActivityBar() && d.WantsLog() && d.MakesAgent());
  EXPECT_FALSE(d.IsSpanned() || d.IsWebInstall() || d.AsksDownload() || d.IsAgent());
  EXPECT_TRUE(CheckSumPasses(PackageCheckSum(out[0].path, kTrailerSize), t.CheckSum));
  EXPECT_NE(+t.CheckSum, kCheckSumOff);

  EXPECT_EQ(d.UpdateURL(), "http://example.test/au");
  EXPECT_EQ(d.InfoFileName(), "Product.info");
  EXPECT_EQ(d.AgentFileName(), "Product_AU.exe");
  EXPECT_EQ(d.UpdateToken(true), "update-secret");
  EXPECT_TRUE(d.IsSilent());
  EXPECT_EQ(d.DownloadRecord(), "");
  EXPECT_EQ(EntryText(ChooseLanguageEntry(d.LanguageBlock(), "TURKISH"), "Charset", "0"), "162");
  EXPECT_EQ(EntryText(ChooseLanguageEntry(d.LanguageBlock(), "GERMAN"), "s0", ""), "Install Me");
  EXPECT_EQ(EntryText(ChooseLanguageEntry(d.LanguageBlock(), "GERMAN"), "s1", "default"), "");

  std::vector<PackRecord> records;
  std::map<std::string, std::string> unpacked = Unpack(out, &records);
  std::map<std::string, std::string> expected(files_.begin(), files_.end());
  expected["Setup.exe*/S /x"] = expected["Setup.exe"];
  expected.erase("Setup.exe");
  EXPECT_EQ(unpacked, expected);
  for (const PackRecord& r : records) {
    EXPECT_EQ(SUB::GetItem(r.header, 1), std::to_string(0x5A2B1C3D));
    EXPECT_LE(r.data.size(), p_.recordSize) << "large files are split";
    // Stored exactly when zlib would not make the record smaller.
    if (SUB::GetItem(r.header, 0) == "big.bin") EXPECT_FALSE(r.compressed);
    if (SUB::GetItem(r.header, 0) == "sub\\notes.txt") EXPECT_TRUE(r.compressed);
  }
  std::string report, faults;
  EXPECT_TRUE(InspectPackage(out[0].path, report, faults)) << faults;
}

TEST_F(PackBuildTest, SpaceNeededRoundsEachFileToTheClusterSize) {
  const std::vector<PackSource> sources = {{"", "a", 1, 0}, {"", "b", 4096, 0}, {"", "c", 0, 0}};
  uint32_t space[kSpaceEntries];
  ComputeSpaceNeeded(sources, 0, space);
  EXPECT_EQ(space[1], 512u + 4096u);
  EXPECT_EQ(space[4], 4096u + 4096u);
  EXPECT_EQ(space[8], 65536u + 65536u);
  EXPECT_EQ(space[0], 4096u + 4096u);
  ComputeSpaceNeeded(sources, 100, space);
  EXPECT_EQ(space[1], 512u + 4096u + 512u) << "the agent file counts too";
}

TEST_F(PackBuildTest, OutputIsReproducible) {
  const std::string first = Build(BuildSetup)[0].bytes;
  EXPECT_EQ(Build(BuildSetup)[0].bytes, first);
  p_.seed = 2;
  EXPECT_NE(Build(BuildSetup)[0].bytes, first) << "the seed changes only the token padding";
}

TEST_F(PackBuildTest, CheckSumCanBeSwitchedOff) {
  p_.checkSum = false;
  const TGFileInfo d(Build(BuildSetup)[0].path);
  EXPECT_EQ(+d.Trailer().CheckSum, kCheckSumOff);
}

TEST_F(PackBuildTest, EngineMustBeAmongTheFiles) {
  p_.engine = "Missing.exe*";
  std::vector<PackOutput> out;
  std::string error;
  EXPECT_FALSE(BuildSetup(p_, out, error));
  EXPECT_NE(error.find("Missing.exe"), std::string::npos);
}

TEST_F(PackBuildTest, SpannedSetFitsTheVolumesAndReadsBack) {
  p_.volumeSize = 120000;
  const std::vector<PackOutput> out = Build(BuildSpanned);
  ASSERT_EQ(out.size(), 4u) << "launcher and three volumes";
  EXPECT_EQ(out[1].path, p_.output + ".001");
  EXPECT_EQ(out[2].path, p_.output + ".002");

  const TGFileInfo launcher(out[0].path);
  EXPECT_TRUE(launcher.IsSpanned());
  EXPECT_EQ(launcher.UpdateToken(true), "update-secret");
  EXPECT_EQ(+launcher.Trailer().HeaderPos, out[0].bytes.size() - kTrailerSize) << "no records";
  EXPECT_EQ(+launcher.Trailer().FileCount, 4u);

  for (size_t i = 1; i < out.size(); ++i) {
    const MemorySource src(out[i].bytes);
    TPackTrailer t;
    ReadTrailer(src, t);
    EXPECT_LE(out[i].bytes.size(), p_.volumeSize) << out[i].path;
    EXPECT_EQ(IsExecutableImage(src), i == 1) << out[i].path;
    EXPECT_EQ(t.Flags & kFlagFollows, i + 1 < out.size() ? kFlagFollows : 0) << out[i].path;
    EXPECT_EQ(t.Flags & kFlagSpanned, 0) << out[i].path;
    EXPECT_EQ(+t.HeaderPos, i == 1 ? 4096u : 0u) << out[i].path;
    EXPECT_TRUE(CheckSumPasses(PackageCheckSum(src, kTrailerSize), t.CheckSum)) << out[i].path;
  }
  const std::map<std::string, std::string> unpacked = Unpack({out.begin() + 1, out.end()});
  EXPECT_EQ(unpacked.at("big.bin"), files_[1].second);
  EXPECT_EQ(unpacked.at("sub\\notes.txt"), files_[3].second);

  std::string report, faults;
  EXPECT_TRUE(InspectPackage(out[0].path, report, faults)) << faults;
  fs::remove(Path("setup.exe.003"));
  EXPECT_FALSE(InspectPackage(out[0].path, report, faults)) << "a missing volume";
}

TEST_F(PackBuildTest, VolumeTooSmallForTheStubIsRefused) {
  p_.volumeSize = 4000;
  std::vector<PackOutput> out;
  std::string error;
  EXPECT_FALSE(BuildSpanned(p_, out, error));
  EXPECT_FALSE(error.empty());
}

TEST_F(PackBuildTest, WebInstallerAndPackageShareTheirToken) {
  p_.downloadURL = "http://example.test/pkg";
  p_.packageFile = "setup_pkg.exe";
  p_.downloadToken = "dl-secret";
  p_.askDownload = true;
  const std::vector<PackOutput> out = Build(BuildWeb);
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(fs::path(out[1].path).filename(), "setup_pkg.exe");
  const TGFileInfo installer(out[0].path), package(out[1].path);
  EXPECT_TRUE(installer.IsWebInstall());
  EXPECT_TRUE(installer.AsksDownload());
  EXPECT_FALSE(package.IsWebInstall());
  EXPECT_EQ(installer.Trailer().HeaderCount, 3);
  EXPECT_EQ(+installer.Trailer().HeaderPos, out[0].bytes.size() - kTrailerSize);
  EXPECT_EQ(installer.PackageSizeText(), std::to_string(out[1].bytes.size()));
  EXPECT_EQ(package.PackageSizeText(), std::to_string(out[1].bytes.size()));
  EXPECT_EQ(installer.DownloadURL(), "http://example.test/pkg");
  EXPECT_TRUE(installer.SameDownloadToken(package));
  EXPECT_EQ(installer.DownloadToken(true), "dl-secret");

  std::string report, faults;
  EXPECT_TRUE(InspectPackage(out[0].path, report, faults)) << faults;
  EXPECT_NE(report.find("download tokens match"), std::string::npos);
}

TEST_F(PackBuildTest, AgentFileFromABuiltPackage) {
  p_.makeAgent = true;
  const std::vector<PackOutput> out = Build(BuildSetup);
  const TGFileInfo d(out[0].path);
  TPackTrailer t;
  ReadTrailer(MemorySource(out[0].bytes), t);
  const std::string agent = AgentFromPackage(out[0].bytes.substr(0, d.Trailer().HeaderPos), t);
  const TGFileInfo a{MemorySource(agent)};
  EXPECT_TRUE(a.IsAgent());
  EXPECT_TRUE(a.MakesAgent());
  EXPECT_EQ(a.AutoUpdateRecord(), d.AutoUpdateRecord());
  EXPECT_EQ(a.LanguageBlock(), d.LanguageBlock());
  EXPECT_EQ(+a.Trailer().HeaderPos, agent.size() - kTrailerSize) << "no file records";
}

// verify must refuse what the stub would trip over.
TEST_F(PackBuildTest, VerifyFindsDamage) {
  const std::vector<PackOutput> out = Build(BuildSetup);
  std::string report, faults;
  auto verdict = [&](const std::string& bytes) {
    Write("damaged.exe", bytes);
    report.clear();
    faults.clear();
    return InspectPackage(Path("damaged.exe"), report, faults);
  };
  std::string flipped = out[0].bytes;
  flipped[5000] ^= 1;
  EXPECT_FALSE(verdict(flipped));
  EXPECT_NE(faults.find("checksum"), std::string::npos);

  // A broken zlib stream in a package whose checksum is off.
  p_.checkSum = false;
  std::string unsummed = Build(BuildSetup)[0].bytes;
  const TGFileInfo d{MemorySource(unsummed)};
  std::vector<PackRecord> recs;
  std::string fault;
  ASSERT_TRUE(ReadRecords(MemorySource(unsummed), d.Trailer().HeaderPos, int64_t(unsummed.size()) - kTrailerSize,
                          recs, fault));
  int64_t pos = d.Trailer().HeaderPos;
  for (const PackRecord& r : recs) {
    if (r.compressed) break;
    pos += 4 + r.blockSize;
  }
  unsummed[size_t(pos) + 10] ^= 0x55;
  EXPECT_FALSE(verdict(unsummed));
  EXPECT_NE(faults.find("does not inflate"), std::string::npos) << faults;

  // A record name that would leave the receiving folder.
  const std::string evil = packfixture::Package(packfixture::Image(), "", "|||||",
                                                nullptr, RecordBlock(RecordContent("..\\evil.dll", 0, "x"), 0));
  EXPECT_FALSE(verdict(evil));
  EXPECT_NE(faults.find("leaves the folder"), std::string::npos) << faults;
}

// The command line: verify's exit status, and a token printed by the tool.
TEST_F(PackBuildTest, CommandLineVerifyAndToken) {
  const std::string tool = (fs::current_path() / "kavrix-pack").string();
  ASSERT_TRUE(fs::exists(tool)) << "tests run in the build folder";
  const std::string setup = Path("cli.exe");
  const std::string build = tool + " build Stub=" + p_.stub + " Files=" + p_.files + " Engine=Setup.exe Output=" + setup +
                            " >/dev/null";
  ASSERT_EQ(std::system(build.c_str()), 0);
  EXPECT_EQ(std::system((tool + " verify " + setup + " >/dev/null 2>&1").c_str()), 0);
  bool ok = false;
  std::string bytes = ReadWholeFile(setup, ok);
  bytes[bytes.size() / 2] ^= 0x40;
  Write("cli.exe", bytes);
  EXPECT_NE(std::system((tool + " verify " + setup + " >/dev/null 2>&1").c_str()), 0);

  const std::string tokenFile = Path("token.txt");
  ASSERT_EQ(std::system((tool + " token 'a b' 7 >" + tokenFile).c_str()), 0);
  std::string encoded = ReadWholeFile(tokenFile, ok);
  ASSERT_FALSE(encoded.empty());
  encoded.pop_back();  // newline
  EXPECT_EQ(DecodeToken(encoded), "a b");
  EXPECT_EQ(encoded, EncodeToken("a b", 7));
}
