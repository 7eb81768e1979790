#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "package/PackTokens.h"
#include "tools/pack/PackBuild.h"
#include "tools/pack/PackProject.h"
#include "util/Scramble.h"
#include "util/Text.h"

namespace fs = std::filesystem;

TEST(PackProject, ReadsTheIniFileAndOverrides) {
  const fs::path dir = fs::path(::testing::TempDir()) / "packproject";
  fs::create_directories(dir);
  ASSERT_TRUE(WriteWholeFile((dir / "en.txt").string(), "s0=Hello\n"));
  ASSERT_TRUE(WriteWholeFile((dir / "p.ini").string(),
                             "; project\r\n[package]\r\nStub = stub.exe\r\nFiles=payload\r\nLevel=9\r\n"
                             "TellDrive=1\r\nLog=1\r\nAskDownload=1\r\nFileDate=0x1234\r\n"
                             "[Languages]\r\nEnglish=en.txt\r\n[AutoUpdate]\r\nToken=t=1\r\nSilent=1\r\n"));
  PackProject p;
  std::string error;
  ASSERT_TRUE(LoadProject((dir / "p.ini").string(), {"Level=1", "Download.PackageFile=pkg.exe", "Output=/abs/o.exe"},
                          p, error))
      << error;
  EXPECT_EQ(p.stub, (dir / "stub.exe").string());
  EXPECT_EQ(p.output, "/abs/o.exe");
  EXPECT_EQ(p.level, 1);
  EXPECT_EQ(p.flags, 0x01 | 0x10);
  EXPECT_TRUE(p.askDownload);
  EXPECT_FALSE(p.makeAgent);
  EXPECT_FALSE(p.datesFromFiles);
  EXPECT_EQ(p.fixedDate, 0x1234u);
  ASSERT_EQ(p.languages.size(), 1u);
  EXPECT_EQ(p.languages[0].second, "s0=Hello\n");
  EXPECT_EQ(p.updateToken, "t=1");
  EXPECT_TRUE(p.silent);
  EXPECT_EQ(p.packageFile, "pkg.exe");

  const struct {
    const char* option;
    const char* complaint;
  } bad[] = {{"Level=10", "Level"},
             {"RecordSize=5", "RecordSize"},
             {"RecordSize=67108864", "RecordSize"},  // the stub's block bound, no room for the header
             {"FileDate=soon", "FileDate"},
             {"NoEquals", "'='"},
             {"Languages.German=missing.txt", "missing.txt"}};
  for (const auto& b : bad) {
    EXPECT_FALSE(LoadProject((dir / "p.ini").string(), {b.option}, p, error)) << b.option;
    EXPECT_NE(error.find(b.complaint), std::string::npos) << error;
  }
  fs::remove_all(dir);
}

namespace {

// Part n of text cut at "|" characters.
std::string PartOf(const std::string& text, int n) {
  std::string rest = text;
  for (int i = 0; i < n; ++i) rest = RightOf(rest, "|", "");
  return LeftOf(rest, "|", rest);
}

}  // namespace

TEST(PackProject, NoticeFileLayout) {
  const std::string notice = NoticeFileText("tok", "Hello|there", 3, false);
  EXPECT_EQ(DecodeToken(PartOf(notice, 1)), "tok");
  EXPECT_EQ(notice.substr(notice.find("|||") + 3), "Hello|there");
  const std::string scrambled = NoticeFileText("tok", "Hello|there", 3, true);
  EXPECT_EQ(scrambled.compare(0, 12, "Scrambled=01"), 0);
  EXPECT_EQ(ScrambleText(scrambled, false, false), notice);
}
