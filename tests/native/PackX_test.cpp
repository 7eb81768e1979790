#include <gtest/gtest.h>

#include "package/ByteSource.h"
#include "package/PackTokens.h"
#include "package/PackX.h"
#include "tests/native/PackFixture.h"

namespace {

const std::string kLanguages =
    "\x02\x01" "English\x01s0=Setup\x01s1=\x01" "Charset=162\x01" "FontSize=x\x01\x02"
    "\x01Turkish\x01s0=Kurulum\x01\x02";
const std::string kAutoUpdate = "|http://example.test/au|folder\\my.app.info|Product_AU.exe|TOKEN|1|";

TGFileInfo Describe(const std::string& file) { return TGFileInfo(MemorySource(file)); }

bool IsEmpty(const TGFileInfo& d) {
  return TrailerBytes(d.Trailer()) == std::string(kTrailerSize, '\0') && d.LanguageBlock().empty() &&
         d.AutoUpdateRecord().empty() && d.DownloadRecord().empty();
}

}  // namespace

TEST(TGFileInfo, ReadsHeaderStringsAndAdvancesHeaderPos) {
  const std::string download = "|http://example.test/pkg|pkg.exe|1|" + EncodeToken("secret", 7) + "|5242880|";
  const std::string records = RecordBlock(RecordContent("a.txt", 0, "hello"), 6);
  const std::string file = packfixture::Package(packfixture::Image(), kLanguages, kAutoUpdate, &download, records);
  const TGFileInfo d = Describe(file);
  EXPECT_EQ(d.LanguageBlock(), kLanguages);
  EXPECT_EQ(d.AutoUpdateRecord(), kAutoUpdate);
  EXPECT_EQ(d.DownloadRecord(), download);
  EXPECT_EQ(+d.Trailer().HeaderPos, file.size() - kTrailerSize - records.size());

  EXPECT_EQ(d.UpdateURL(), "http://example.test/au");
  EXPECT_EQ(d.InfoFileName(), "my.app.info");
  EXPECT_EQ(d.OriginalFileName(), "my.original");
  EXPECT_EQ(d.AgentFileName(), "Product_AU.exe");
  EXPECT_EQ(d.UpdateToken(false), "TOKEN");
  EXPECT_TRUE(d.IsSilent());
  EXPECT_EQ(d.DownloadURL(), "http://example.test/pkg");
  EXPECT_EQ(d.PackageFileName(), "pkg.exe");
  EXPECT_TRUE(d.AlwaysDownload());
  EXPECT_EQ(d.DownloadToken(true), "secret");
  EXPECT_EQ(d.PackageSizeText(), "5242880");
}

TEST(TGFileInfo, TwoHeaderStringsLeaveTheDownloadRecordEmpty) {
  const TGFileInfo d = Describe(packfixture::Package(packfixture::Image(), kLanguages, "|u|i|a|t|0|"));
  EXPECT_EQ(d.AutoUpdateRecord(), "|u|i|a|t|0|");
  EXPECT_EQ(d.DownloadRecord(), "");
  EXPECT_FALSE(d.IsSilent());
  EXPECT_EQ(d.PackageFileName(), "");
}

TEST(TGFileInfo, FlagGettersFollowTheTrailer) {
  struct Row {
    uint8_t flags;
    bool tell, spanned, bar, log;
  } rows[] = {{kFlagTellDrive, 1, 0, 0, 0},
              {kFlagSpanned, 0, 1, 0, 0},
              {kFlagActivityBar, 0, 0, 1, 0},
              {kFlagLog, 0, 0, 0, 1},
              {kFlagFollows, 0, 0, 0, 0}};
  for (const Row& r : rows) {
    TPackTrailer t = packfixture::Trailer(0);
    t.Flags = r.flags;
    const TGFileInfo d = Describe(HeaderStringBlock("") + HeaderStringBlock("") + TrailerBytes(t));
    EXPECT_EQ(d.TellsTempDrive(), r.tell) << int(r.flags);
    EXPECT_EQ(d.IsSpanned(), r.spanned) << int(r.flags);
    EXPECT_EQ(d.ShowsActivityBar(), r.bar) << int(r.flags);
    EXPECT_EQ(d.WantsLog(), r.log) << int(r.flags);
  }
  TPackTrailer t = packfixture::Trailer(0);
  t.WebInstall = 2;
  t.MakeAgent = 1;
  const TGFileInfo d = Describe(HeaderStringBlock("") + HeaderStringBlock("") + TrailerBytes(t));
  EXPECT_TRUE(d.IsWebInstall());
  EXPECT_FALSE(d.AsksDownload());
  EXPECT_TRUE(d.MakesAgent());
  EXPECT_FALSE(d.IsAgent());
}

TEST(TGFileInfo, WrongMagicKeepsTheTrailerButNoStrings) {
  TPackTrailer t = packfixture::Trailer(0);
  t.Magic = 0x12345678;
  t.IsAgent = 1;
  const TGFileInfo d = Describe(HeaderStringBlock("lang") + HeaderStringBlock("au") + TrailerBytes(t));
  EXPECT_TRUE(d.IsAgent());
  EXPECT_EQ(d.LanguageBlock(), "");
  EXPECT_EQ(+d.Trailer().HeaderPos, 0u);
}

TEST(TGFileInfo, MissingFileGivesEmptyDescription) {
  const TGFileInfo d("/nonexistent/folder/setup.exe");
  EXPECT_TRUE(IsEmpty(d));
  EXPECT_EQ(+d.Trailer().HeaderCount, 0);
  EXPECT_EQ(d.UpdateURL(), "");
}

// Header strings whose position or length lies about the file: no package, and
// no read outside the file or past the trailer.
TEST(TGFileInfo, LyingHeaderLengthsGiveNoPackage) {
  auto withHeader = [](const std::string& headerBytes, uint32_t headerPos, uint8_t count) {
    return headerBytes + TrailerBytes(packfixture::Trailer(headerPos, count));
  };
  const std::string two = HeaderStringBlock("lang") + HeaderStringBlock("au");
  struct Row {
    const char* what;
    std::string file;
  } rows[] = {
      {"HeaderPos past the file", withHeader(two, 5000, 2)},
      {"HeaderPos inside the trailer", withHeader(two, uint32_t(two.size()) + 10, 2)},
      {"length past the trailer", withHeader(HeaderStringBlock("lang") + Uint32Bytes(100) + "au", 0, 2)},
      {"negative length", withHeader(HeaderStringBlock("lang") + Uint32Bytes(uint32_t(-2)) + "au", 0, 2)},
      {"huge length", withHeader(Uint32Bytes(0x7FFFFFFF) + "lang", 0, 2)},
      {"length 0xFFFFFFFF", withHeader(Uint32Bytes(0xFFFFFFFF) + "lang", 0, 2)},
      {"three strings announced, two present", withHeader(two, 0, 3)},
      {"length field cut by the trailer", withHeader(HeaderStringBlock("lang") + "au", 0, 2)},
  };
  for (const Row& row : rows) EXPECT_TRUE(IsEmpty(Describe(row.file))) << row.what;
}

TEST(TGFileInfo, FileNameGettersOfTheInfoItem) {
  struct Row {
    const char* item;
    const char* info;
    const char* original;
  } rows[] = {{"folder\\Product.info", "Product.info", "Product.original"},
              {"my.app.info", "my.app.info", "my.original"},
              {"Product", "Product", "Product.original"},
              {"", "", ".original"}};
  for (const Row& r : rows) {
    const TGFileInfo d = Describe(packfixture::Package("", "", std::string("|u|") + r.item + "|a|t|0|"));
    EXPECT_EQ(d.InfoFileName(), r.info) << r.item;
    EXPECT_EQ(d.OriginalFileName(), r.original) << r.item;
  }
}

TEST(SpaceRequired, EntryByClusterSize) {
  TPackTrailer t = TrailerFromBytes("");
  for (int i = 0; i < kSpaceEntries; ++i) t.SpaceNeeded[i] = 100u + i;
  const struct {
    uint32_t cluster;
    uint32_t entry;
  } rows[] = {{0, 0}, {256, 0}, {511, 0}, {512, 1}, {1024, 2}, {3000, 3}, {4096, 4},
              {32768, 7}, {65536, 8}, {1u << 20, 8}};
  for (const auto& r : rows) EXPECT_EQ(SpaceNeededEntry(t, r.cluster), 100u + r.entry) << r.cluster;
  // Hosts without drives answer 0: entry 0.
  TPackTrailer p = packfixture::Trailer(0);
  p.SpaceNeeded[0] = 4242;
  p.SpaceNeeded[4] = 1;
  EXPECT_EQ(Describe(HeaderStringBlock("") + HeaderStringBlock("") + TrailerBytes(p)).SpaceRequired("/tmp"), 4242.0);
}

TEST(SameDownloadToken, NeedsTwoTokensThatDecodeAlike) {
  auto withToken = [](const std::string& token) {
    const std::string download = "|u|p.exe|0|" + token + "|1|";
    return Describe(packfixture::Package("", "", "|u|i|a|t|0|", &download));
  };
  EXPECT_TRUE(withToken(EncodeToken("k3y", 1)).SameDownloadToken(withToken(EncodeToken("k3y", 2))));
  EXPECT_FALSE(withToken(EncodeToken("k3y", 1)).SameDownloadToken(withToken(EncodeToken("K3Y", 1))));
  const TGFileInfo none = Describe(packfixture::Package("", "", "|u|i|a|t|0|"));
  EXPECT_FALSE(none.SameDownloadToken(none)) << "each empty token matches nothing";
  EXPECT_FALSE(withToken("zzzz").SameDownloadToken(withToken("zzzz")));
}

TEST(Languages, SelectEntryFallbacks) {
  const std::string turkishOnly = "\x02\x01Turkish\x01s0=T\x01\x02";
  const std::string germanFrench = "\x02\x01German\x01s0=G\x01\x02\x01" "French\x01s0=F\x01\x02";
  const std::string turkishEnglish = "\x02\x01 turkish \x01s0=T\x01\x02\x01" "English\x01s0=E\x01\x02";
  struct Row {
    const char* what;
    std::string block, user, expectS0;
  } rows[] = {
      {"single entry on an English system", turkishOnly, "ENGLISH", "T"},
      {"no fit and no English", germanFrench, "TURKISH", "default"},
      {"English when the user's is missing", turkishEnglish, "GERMAN", "E"},
      {"names match ignoring case and blanks", turkishEnglish, "TURKISH", "T"},
      {"no block", "", "ENGLISH", "default"},
  };
  for (const Row& r : rows)
    EXPECT_EQ(EntryText(ChooseLanguageEntry(r.block, r.user), "s0", "default"), r.expectS0) << r.what;
  EXPECT_EQ(SelectEntry(germanFrench, "TURKISH"), "*");
  EXPECT_EQ(SelectEntry(turkishEnglish, "  english"), "\x01" "English\x01s0=E\x01");
}

TEST(Languages, EntryTextKeepsEmptyValues) {
  const std::string entry = "\x01" "English\x01s1=\x01s2=a=b <P>\x01";
  EXPECT_EQ(EntryText(entry, "s1", "Extracting Files..."), "");
  EXPECT_EQ(EntryText(entry, "S2", "x"), "a=b <P>");
  EXPECT_EQ(EntryText(entry, "s3", "x"), "x");
  EXPECT_EQ(EntryText("*", "s1", "x"), "x");
}

// The selected entry is process-wide, so these run in fresh processes.
class LanguageProcessTest : public ::testing::Test {
 protected:
  void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(LanguageProcessTest, FirstLookupFixesTheEntry) {
  EXPECT_EXIT(
      {
        const TGFileInfo first = Describe(packfixture::Package("", kLanguages, kAutoUpdate));
        const TGFileInfo other = Describe(packfixture::Package("", "\x02\x01" "English\x01s0=Other\x01\x02", ""));
        const bool ok = first.LangText("s0", "d") == "Setup" && first.LangText("s1", "d").empty() &&
                        other.LangText("s0", "d") == "Setup" && first.Charset() == 162 &&
                        first.FontSize() == 8 && first.FontName() == "Tahoma";
        std::exit(ok ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(LanguageProcessTest, FirstLookupWithoutBlockKeepsDefaultsForever) {
  EXPECT_EXIT(
      {
        const TGFileInfo bare("/nonexistent/setup.exe");
        const TGFileInfo rich = Describe(packfixture::Package("", kLanguages, kAutoUpdate));
        const bool ok = bare.LangText("s0", "d") == "d" && rich.LangText("s0", "d") == "d" &&
                        rich.Charset() == 0 && rich.FontSize() == 8;
        std::exit(ok ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}
