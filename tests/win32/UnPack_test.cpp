// ExtractPackage on its own: files, dates, the engine mark, the agent file,
// volumes with their prompt, and packages it must refuse. Message boxes are
// answered from a second thread, as a user would.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "package/PackFormat.h"
#include "package/UnPack.h"
#include "tests/win32/PackageKit.h"
#include "tests/win32/ProcessKit.h"
#include "tests/win32/SetupKit.h"
#include "tests/win32/TestEnv.h"
#include "tools/msgbox-helper/BoxProbe.h"
#include "util/Files.h"
#include "util/Text.h"

namespace {

// Answers every box that appears while it lives: button `pick`, after running
// `before` (which may put a missing volume in place).
class BoxAnswerer {
 public:
  BoxAnswerer(size_t pick, std::string (*before)(void*) = nullptr, void* context = nullptr)
      : pick_(pick), before_(before), context_(context) {
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
  }
  ~BoxAnswerer() {
    InterlockedExchange(&stop_, 1);
    WaitForSingleObject(thread_, 30000);
    CloseHandle(thread_);
  }
  std::vector<std::string> texts;

 private:
  static DWORD WINAPI Run(LPVOID p) {
    auto* self = static_cast<BoxAnswerer*>(p);
    while (!InterlockedCompareExchange(&self->stop_, 0, 0)) {
      HWND box = boxprobe::WaitForBox(100, GetCurrentProcessId());
      if (!box) continue;
      self->texts.push_back(boxprobe::PlainText(box));
      if (self->before_) self->before_(self->context_);
      const auto buttons = boxprobe::Buttons(box);
      if (self->pick_ < buttons.size()) boxprobe::Click(buttons[self->pick_]);
      boxprobe::WaitUntilGone(box, 30000);
    }
    return 0;
  }
  size_t pick_;
  std::string (*before_)(void*);
  void* context_;
  HANDLE thread_;
  volatile LONG stop_ = 0;
};

struct Result {
  bool sound = false;
  bool checksumOk = false;
  std::string engine;
};

Result Extract(const std::string& source, const std::string& dest, const std::string& agent = "") {
  Result r;
  r.sound = ExtractPackage(source, dest, agent, r.checksumOk, nullptr, "Insert <b>disk <disk_num></b>", "Attention",
                           "", 1, false, r.engine);
  return r;
}

}  // namespace

TEST(ExtractPackage, WritesFilesDatesEngineAndAgentFile) {
  const std::string dir = kit::TempFolder("unpack_sound");
  DeleteTree(dir + "\\out", true);
  kit::SetupSpec s;
  s.image = kit::StubImage();
  s.autoUpdate = "|http://x|P.info|Prod_AU.exe|tok|0|";
  s.blocks = kit::ZlibBlock(RecordContent("Engine.exe* /q", 0, "MZ")) +
             kit::ZlibBlock(RecordContent("sub\\deep\\a.txt", 0x5A6B3C4D, "first;")) +
             kit::StoredBlock(RecordContent("sub\\deep\\a.txt", 0x5A6B3C4D, "second")) +
             kit::StoredBlock(RecordContent("b.txt", 0, ""));
  s.fileCount = 3;
  const std::string file = kit::Assemble(s);
  for (const char* name : {"setup.exe", "setup.001"}) {
    const std::string src = dir + "\\" + name, out = dir + "\\out";
    ASSERT_TRUE(kit::WriteAll(src, file));
    BoxAnswerer none(0);
    const Result r = Extract(src, out, "Prod_AU.exe");
    EXPECT_TRUE(none.texts.empty());
    EXPECT_TRUE(r.sound);
    EXPECT_TRUE(r.checksumOk);
    EXPECT_EQ(r.engine, "Engine.exe* /q");
    EXPECT_EQ(kit::ReadAll(out + "\\Engine.exe"), "MZ");
    EXPECT_EQ(kit::ReadAll(out + "\\sub\\deep\\a.txt"), "first;second");
    EXPECT_EQ(FileFatDate(out + "\\sub\\deep\\a.txt"), 0x5A6B3C4Du);
    EXPECT_TRUE(kit::Exists(out + "\\b.txt"));
    // Only a source named like a setup program carries the stub for an agent.
    const std::string agent = kit::ReadAll(out + "\\Prod_AU.exe");
    if (std::string(name) == "setup.exe") {
      ASSERT_GT(agent.size(), kTrailerSize);
      const TPackTrailer t = TrailerFromBytes(agent.substr(agent.size() - kTrailerSize));
      EXPECT_EQ(t.IsAgent, 1);
      EXPECT_EQ(agent.size(), s.image.size() + HeaderStringBlock(s.language).size() +
                                  HeaderStringBlock(s.autoUpdate).size() + kTrailerSize);
    } else {
      EXPECT_TRUE(agent.empty());
    }
    DeleteTree(out, true);
  }
}

TEST(ExtractPackage, BadChecksumAndMissingSourceReportNotOk) {
  const std::string dir = kit::TempFolder("unpack_crc");
  kit::SetupSpec s;
  s.image = kit::StubImage();
  s.blocks = kit::StoredBlock(RecordContent("e.exe*", 0, "payload-A, followed by more bytes"));
  std::string file = kit::Assemble(s);
  file[file.find("payload-A") + 8] = 'B';
  ASSERT_TRUE(kit::WriteAll(dir + "\\setup.exe", file));
  BoxAnswerer none(0);
  Result r = Extract(dir + "\\setup.exe", dir + "\\out");
  EXPECT_FALSE(r.checksumOk);
  EXPECT_FALSE(kit::Exists(dir + "\\out\\e.exe"));
  r = Extract(dir + "\\missing.exe", dir + "\\out");
  EXPECT_FALSE(r.checksumOk);
  EXPECT_TRUE(r.engine.empty());
  EXPECT_TRUE(none.texts.empty());
}

TEST(ExtractPackage, DamagedPackageShowsOneBoxAndNoEngine) {
  const std::string dir = kit::TempFolder("unpack_damaged");
  for (const std::string& bad : {kit::StoredBlock(RecordContent("..\\escape.txt", 0, "x")),
                                 kit::Block(0x7FFF0000, "lying length")}) {
    DeleteTree(dir + "\\out", true);
    kit::SetupSpec s;
    s.image = kit::StubImage();
    s.blocks = kit::ZlibBlock(RecordContent("e.exe*", 0, "MZ")) + bad;
    s.checkSumOff = true;
    ASSERT_TRUE(kit::WriteAll(dir + "\\setup.exe", kit::Assemble(s)));
    BoxAnswerer ok(0);
    const Result r = Extract(dir + "\\setup.exe", dir + "\\out");
    EXPECT_FALSE(r.sound);
    EXPECT_TRUE(r.engine.empty());
    ASSERT_EQ(ok.texts.size(), 1u);
    EXPECT_GT(PosCI("damaged", ok.texts[0]), 0) << ok.texts[0];
    EXPECT_FALSE(kit::Exists(dir + "\\escape.txt"));
  }
}

namespace {

struct VolumeSet {
  std::string dir, v2;
};

std::string PutSecondVolume(void* p) {
  auto* set = static_cast<VolumeSet*>(p);
  kit::WriteAll(set->dir + "\\setup.exe.002", set->v2);
  return "";
}

}  // namespace

TEST(ExtractPackage, MissingVolumeIsAskedForAndCancelGivesNoEngine) {
  for (size_t answer : {size_t(0), size_t(1)}) {
    VolumeSet set{kit::TempFolder(answer ? "unpack_vol_cancel" : "unpack_vol_ok"), ""};
    DeleteTree(set.dir + "\\out", true);
    DeleteFileA((set.dir + "\\setup.exe.002").c_str());
    kit::SetupSpec v1;
    v1.image = kit::StubImage();
    v1.flags = kFlagFollows;
    v1.blocks = kit::ZlibBlock(RecordContent("e.exe*", 0, "MZ")) + kit::ZlibBlock(RecordContent("a.txt", 0, "one"));
    kit::SetupSpec v2;
    v2.headers = false;
    v2.blocks = kit::ZlibBlock(RecordContent("a.txt", 0, " two"));
    set.v2 = kit::Assemble(v2);
    ASSERT_TRUE(kit::WriteAll(set.dir + "\\setup.exe.001", kit::Assemble(v1)));
    BoxAnswerer prompt(answer, answer ? nullptr : PutSecondVolume, &set);
    const Result r = Extract(set.dir + "\\setup.exe.001", set.dir + "\\out");
    ASSERT_EQ(prompt.texts.size(), 1u);
    EXPECT_GT(PosCI("disk 2", prompt.texts[0]), 0) << prompt.texts[0];
    EXPECT_TRUE(r.checksumOk);
    if (answer == 0) {
      EXPECT_EQ(r.engine, "e.exe*");
      EXPECT_EQ(kit::ReadAll(set.dir + "\\out\\a.txt"), "one two");
    } else {
      EXPECT_TRUE(r.engine.empty());
      EXPECT_EQ(kit::ReadAll(set.dir + "\\out\\a.txt"), "one");  // earlier volumes stay
    }
  }
}
