#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <vector>

#include "tests/win32/ProcessKit.h"
#include "tests/win32/TestEnv.h"
#include "util/Process.h"
#include "util/ProcessViewer.h"
#include "util/Text.h"
#include "util/Utils.h"

namespace {

// A copy of the sample engine in a folder of its own (it copies its folder),
// holding its dialog open for a minute.
struct Holder {
  std::string folder;
  std::string exe;
  std::string tag;
  std::unique_ptr<kit::Child> child;
  Holder(const std::string& name, const std::string& t, WORD show = SW_SHOWNORMAL)
      : folder(kit::TempFolder(name)), tag(t) {
    exe = folder + "\\" + name + ".exe";
    CopyFileA((testenv::BinDir() + "\\kavrix-sample-engine.exe").c_str(), exe.c_str(), FALSE);
    child = std::make_unique<kit::Child>("\"" + exe + "\" /TH_ID=" + tag + " /holdms=60000 /target=\"" + folder +
                                         "\\out\"",
                                         show);
  }
  HWND Dialog() const { return kit::WaitWindow(".SDialog_Class_Name." + tag); }
};

}  // namespace

TEST(ProcessViewer, FindsWaitsForAndClosesAProgramByItsExecutable) {
  Holder h("proc_holder", "_p1");
  ASSERT_TRUE(h.child->Started());
  HWND dialog = h.Dialog();
  ASSERT_NE(dialog, nullptr);

  // Found by its file name whatever the folder given, quoted or not.
  EXPECT_TRUE(IsProgramRunning("\"" + h.exe + "\""));
  EXPECT_TRUE(IsProgramRunning("C:\\elsewhere\\PROC_HOLDER.EXE"));
  EXPECT_EQ(FindProcessByWindows(h.exe, true), h.child->Id());
  EXPECT_GT(PosCI("proc_holder.exe=" + IntToText(h.child->Id()), ProcessList()), 0);
  EXPECT_EQ(FindMainWindow(h.exe, false), dialog);

  // A time-out bounds the wait for a program that keeps running.
  int64_t t0 = NowMs();
  WaitProgramGone(h.exe, 3000);
  EXPECT_GE(NowMs() - t0, 3000);
  EXPECT_LT(NowMs() - t0, 5500);

  // The close request reaches the dialog, which ends the program.
  EXPECT_TRUE(CloseProgram(h.exe, false));
  EXPECT_EQ(h.child->Wait(30000), 0u);
  t0 = NowMs();
  WaitProgramGone(h.exe, 0);
  EXPECT_LT(NowMs() - t0, 2500);  // gone: one look after the first second
  EXPECT_FALSE(IsProgramRunning(h.exe));
  EXPECT_FALSE(CloseProgram(h.exe, false));
}

TEST(ProcessViewer, KillsARunningProgramOnly) {
  EXPECT_FALSE(KillProgram("C:\\nowhere\\not-running-here.exe", false));
  // Hidden: a killed program's window must not stay the active window, which
  // later boxes of this process would take as their owner.
  Holder h("proc_victim", "_p2", SW_HIDE);
  ASSERT_NE(h.Dialog(), nullptr);
  EXPECT_TRUE(KillProgram(h.exe, false));
  EXPECT_EQ(h.child->Wait(30000), 0u);
}

TEST(ProcessViewer, MoreTopLevelWindowsThanTheTableHolds) {
  // This process with 2,010 titled top-level windows: the analyser keeps the
  // first 2,001 and still names one of them.
  std::vector<HWND> mine;
  for (int i = 0; i < 2010; ++i)
    mine.push_back(CreateWindowExA(0, "STATIC", "many", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, sizeof self);
  HWND main = FindMainWindow(self, false);
  EXPECT_NE(main, nullptr);
  if (main) {
    EXPECT_EQ(WindowTitle(main), "many");
  }
  for (HWND w : mine) DestroyWindow(w);
}
