// A setup spread over three volumes: the launcher hands over to its copy in
// the temp folder, which unpacks every volume, asks for a missing one, and
// deletes itself at the end.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/win32/SetupKit.h"
#include "util/Text.h"

namespace {

struct SpanSet {
  std::string dir, exe, target;
  std::string v3;  // bytes of the third volume
};

// setup.exe: stub + header strings, spanned; .001: stub + header strings + the
// engine, follows; .002 and .003: plain records.
SpanSet MakeSet(const std::string& name) {
  SpanSet set;
  set.dir = kit::FreshFolder(name);
  set.exe = set.dir + "\\setup.exe";
  set.target = set.dir + "\\installed";
  kit::SetupSpec launcher;
  launcher.image = kit::StubImage();
  launcher.flags = kFlagSpanned;
  launcher.fileCount = 3;
  kit::SetupSpec v1 = launcher;
  v1.flags = kFlagSpanned | kFlagFollows;
  v1.blocks = kit::EngineRecord(set.target);
  kit::SetupSpec v2;
  v2.headers = false;
  v2.flags = kFlagFollows;
  v2.blocks = kit::FileRecord("part\\one.txt", "volume two");
  kit::SetupSpec v3;
  v3.headers = false;
  v3.blocks = kit::FileRecord("part\\two.txt", "volume three, first piece;") +
              kit::FileRecord("part\\two.txt", " second piece");
  set.v3 = kit::Assemble(v3);
  kit::WriteAll(set.exe, kit::Assemble(launcher));
  kit::WriteAll(set.exe + ".001", kit::Assemble(v1));
  kit::WriteAll(set.exe + ".002", kit::Assemble(v2));
  return set;
}

// The launcher ends at once; the copy Y_setup.exe runs the setup.
kit::Outcome RunSpan(const SpanSet& set, const kit::Answerer& answer) {
  const std::string copy = kit::SetupTempOf(set.exe) + "\\Y_setup.exe";
  kit::Outcome launcher = kit::RunSetup("\"" + set.exe + "\"", set.exe, answer, 60000);
  EXPECT_EQ(launcher.exitCode, 0u);
  EXPECT_TRUE(launcher.boxes.empty());
  kit::Outcome out;
  // Answer the copy's boxes until its file is gone (it deletes itself).
  EXPECT_TRUE(kit::WaitUntil([&] { return kit::Exists(copy); }, 30000)) << copy;
  kit::WaitUntil(
      [&] {
        kit::AnswerOpenBox(answer, out);
        return !kit::Exists(copy);
      },
      180000);
  EXPECT_FALSE(kit::Exists(copy));
  return out;
}

}  // namespace

TEST(SetupSpanned, CopyUnpacksAllVolumesAndDeletesItself) {
  SpanSet set = MakeSet("e2e_span");
  ASSERT_TRUE(kit::WriteAll(set.exe + ".003", set.v3));
  const kit::Outcome run = RunSpan(set, kit::FirstButton);
  EXPECT_TRUE(run.boxes.empty());
  const kit::EngineReport engine = kit::ReadEngineReport(set.target);
  ASSERT_TRUE(engine.ran);
  EXPECT_EQ(PosCI("/SpanCdLvl", engine.commandLine), 0) << engine.commandLine;
  EXPECT_EQ(PosCI("/SpanDiskFName1", engine.commandLine), 0) << engine.commandLine;
  EXPECT_GT(PosCI("/OriginExe=\"" + set.exe + "\"", engine.commandLine), 0) << engine.commandLine;
  EXPECT_EQ(kit::ReadAll(set.target + "\\part\\one.txt"), "volume two");
  EXPECT_EQ(kit::ReadAll(set.target + "\\part\\two.txt"), "volume three, first piece; second piece");
}

TEST(SetupSpanned, MissingVolumeBringsTheDiskPrompt) {
  // OK after the volume has been put in place: the setup goes on.
  {
    SpanSet set = MakeSet("e2e_span_prompt");
    const kit::Outcome run = RunSpan(set, [&](const std::string& text) {
      EXPECT_GT(PosCI("DISK #3", text), 0) << text;
      kit::WriteAll(set.exe + ".003", set.v3);
      return size_t(0);
    });
    EXPECT_EQ(run.boxes.size(), 1u);
    EXPECT_TRUE(kit::ReadEngineReport(set.target).ran);
    EXPECT_EQ(kit::ReadAll(set.target + "\\part\\two.txt"), "volume three, first piece; second piece");
  }
  // Cancel: no engine, no error.
  {
    SpanSet set = MakeSet("e2e_span_cancel");
    const kit::Outcome run = RunSpan(set, [](const std::string&) { return size_t(1); });
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_GT(PosCI("DISK #3", run.boxes[0]), 0) << run.boxes[0];
    EXPECT_FALSE(kit::ReadEngineReport(set.target).ran);
  }
}
