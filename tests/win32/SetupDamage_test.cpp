// Packages that would write outside the setup folder, or that do not inflate,
// end with one error box and no engine; folder trees and a temp folder with
// blanks work.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/win32/SetupKit.h"
#include "util/Files.h"
#include "util/Text.h"

namespace {

struct Damaged {
  kit::Outcome run;
  std::string target;
};

// A setup whose first record is sound and whose second is the given block,
// followed by the engine. The checksum is off: these packages must be caught
// by the extraction itself, as a checksum is not computed above 50 MiB.
Damaged RunWith(const std::string& name, const std::string& block) {
  Damaged d;
  const std::string dir = kit::FreshFolder(name);
  const std::string exe = dir + "\\setup.exe";
  d.target = dir + "\\installed";
  kit::SetupSpec s;
  s.image = kit::StubImage();
  s.blocks = kit::FileRecord("first.txt", "sound") + block + kit::EngineRecord(d.target);
  s.fileCount = 3;
  s.checkSumOff = true;
  kit::WriteAll(exe, kit::Assemble(s));
  d.run = kit::RunSetup("\"" + exe + "\"", exe);
  EXPECT_FALSE(kit::Exists(kit::SetupTempOf(exe))) << name;
  return d;
}

}  // namespace

TEST(SetupDamage, HostileRecordNamesWriteNothingAndStartNoEngine) {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  const std::string outside = std::string(temp) + "kavrix_escaped.txt";
  DeleteFileA(outside.c_str());
  const std::string names[] = {
      "..\\kavrix_escaped.txt", "\\kavrix_escaped.txt", std::string(temp) + "kavrix_escaped.txt",
      "C:kavrix_escaped.txt", "first.txt:stream", "sub\\..\\..\\kavrix_escaped.txt", "NUL.txt", "COM1",
      "trailing.", "trailing ", "\\\\?\\" + std::string(temp) + "kavrix_escaped.txt",
  };
  int i = 0;
  for (const std::string& name : names) {
    const Damaged d = RunWith("e2e_name" + IntToText(i++), kit::StoredBlock(RecordContent(name, 0, "evil")));
    EXPECT_EQ(d.run.exitCode, 0u) << name;
    ASSERT_EQ(d.run.boxes.size(), 1u) << name;
    EXPECT_GT(PosCI("damaged", d.run.boxes[0]), 0) << d.run.boxes[0];
    EXPECT_FALSE(kit::ReadEngineReport(d.target).ran) << name;
    EXPECT_FALSE(kit::Exists(outside)) << name;
  }
}

TEST(SetupDamage, BlocksThatDoNotInflateOrDoNotFitEndTheRun) {
  std::string corrupt = kit::Deflate(RecordContent("x.txt", 0, std::string(100000, 'x')), 6);
  corrupt[corrupt.size() / 2] ^= 0x5A;
  // 100 MiB of zeros in ~100 KiB: more than any block may inflate to.
  const std::string bomb = kit::Deflate(RecordContent("bomb.bin", 0, std::string(100u << 20, '\0')), 9);
  const struct {
    const char* what;
    std::string block;
  } rows[] = {
      {"corrupt stream", kit::Block(int32_t(corrupt.size()), corrupt)},
      {"inflate bomb", kit::Block(int32_t(bomb.size()), bomb)},
      {"length beyond the volume", kit::Block(0x10000000, "short")},
      {"negative length beyond the volume", kit::Block(-0x10000000, "short")},
  };
  for (const auto& r : rows) {
    const Damaged d = RunWith(std::string("e2e_block_") + char('a' + (&r - rows)), r.block);
    EXPECT_EQ(d.run.exitCode, 0u) << r.what;
    ASSERT_EQ(d.run.boxes.size(), 1u) << r.what;
    EXPECT_GT(PosCI("damaged", d.run.boxes[0]), 0) << d.run.boxes[0];
    EXPECT_FALSE(kit::ReadEngineReport(d.target).ran) << r.what;
  }
}

TEST(SetupDamage, SaveErrorIsShownOncePerRunAndTheSetupGoesOn) {
  // "sub" is a folder once sub\a.txt is written: both writes to it fail.
  const Damaged d = RunWith("e2e_save", kit::FileRecord("sub\\a.txt", "a") + kit::FileRecord("sub", "1") +
                                            kit::FileRecord("sub", "2"));
  ASSERT_EQ(d.run.boxes.size(), 1u);
  EXPECT_GT(PosCI("Unable to save Extracted File!", d.run.boxes[0]), 0) << d.run.boxes[0];
  EXPECT_GT(PosCI("Data Size:", d.run.boxes[0]), 0) << d.run.boxes[0];
  EXPECT_TRUE(kit::ReadEngineReport(d.target).ran);
  EXPECT_EQ(kit::ReadAll(d.target + "\\sub\\a.txt"), "a");
}

TEST(SetupDamage, TempFolderWithBlanksStartsTheEngine) {
  char saved[MAX_PATH] = {};
  GetEnvironmentVariableA("TEMP", saved, sizeof saved);
  char savedTmp[MAX_PATH] = {};
  GetEnvironmentVariableA("TMP", savedTmp, sizeof savedTmp);
  const std::string blanks = kit::FreshFolder("e2e temp with blanks");
  SetEnvironmentVariableA("TEMP", blanks.c_str());
  SetEnvironmentVariableA("TMP", blanks.c_str());
  const Damaged d = RunWith("e2e_blanks", "");
  SetEnvironmentVariableA("TEMP", saved);
  SetEnvironmentVariableA("TMP", savedTmp);
  EXPECT_EQ(d.run.exitCode, 0u);
  EXPECT_TRUE(d.run.boxes.empty());
  const kit::EngineReport engine = kit::ReadEngineReport(d.target);
  ASSERT_TRUE(engine.ran);
  EXPECT_EQ(engine.commandLine.rfind("\"" + blanks + "\\SETUP_", 0), 0u) << engine.commandLine;
}
