#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/native/PackFixture.h"
#include "tests/win32/DebugCapture.h"
#include "tests/win32/ProcessKit.h"
#include "tests/win32/TempFolder.h"
#include "tests/win32/TestEnv.h"
#include "tools/msgbox-helper/BoxProbe.h"
#include "util/Files.h"
#include "util/Utils.h"

namespace {

struct RunResult {
  bool ended = false;
  DWORD exitCode = 1;
  DWORD processId = 0;
};

RunResult RunAndWait(const std::string& commandLine) {
  RunResult r;
  const kit::Child stub(commandLine);
  if (!stub.Started()) return r;
  r.processId = stub.Id();
  // A file without a package still runs its setup and reports the missing
  // package in a box: answer its boxes with their first button.
  for (const DWORD start = GetTickCount(); !r.ended && GetTickCount() - start < 60000;) {
    r.exitCode = stub.Wait(50);
    r.ended = r.exitCode != STILL_ACTIVE;
    if (const HWND box = boxprobe::WaitForBox(0, r.processId)) {
      boxprobe::Click(boxprobe::Buttons(box).front());
      boxprobe::WaitUntilGone(box, 30000);
    }
  }
  return r;
}

std::string StubExe() { return testenv::BinDir() + "\\kavrix-stub.exe"; }

// The built stub with an agent package for Product_AU.exe appended.
std::string AgentFile(uint8_t flags) {
  const std::string autoUpdate = "|http://127.0.0.1/au|Product.info|Product_AU.exe|TOKEN|0|";
  std::string file = packfixture::Package(ReadFilePart(StubExe(), 0), "", autoUpdate);
  TPackTrailer t = TrailerFromBytes(file.substr(file.size() - kTrailerSize));
  t.IsAgent = 1;
  t.Flags = flags;
  file.replace(file.size() - kTrailerSize, kTrailerSize, TrailerBytes(t));
  return file;
}

// A window of the agent copy's class, as a running copy would have.
class RunningCopyWindow {
 public:
  RunningCopyWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = ".AutoUpdate.X_Product_AU";
    RegisterClassA(&wc);
    wnd_ = CreateWindowA(wc.lpszClassName, "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
  }
  ~RunningCopyWindow() { DestroyWindow(wnd_); }
  bool ok() const { return wnd_ != nullptr; }

 private:
  HWND wnd_;
};

std::vector<std::string> LogMessages(const std::string& text) {
  std::vector<std::string> messages;
  size_t at = 0, end;
  while ((end = text.find("\r\n", at)) != std::string::npos) {
    // stamp (17 characters with one-character separators), blank, thread id, indent
    const std::string line = text.substr(at, end - at);
    const size_t id = line.find_first_not_of(' ', line.find(' ', line.find(' ') + 1));
    const size_t indent = line.find(' ', id);
    messages.push_back(indent == std::string::npos ? "?" + line : line.substr(indent));
    at = end + 2;
  }
  return messages;
}

}  // namespace

TEST(StubStart, WritesStartAndEndDebugLines) {
  DebugCapture capture;
  ASSERT_TRUE(capture.Ready()) << capture.Problem();
  const std::string cmd = "\"" + StubExe() + "\" /X=1 \"/Y=a b\"";
  const RunResult run = RunAndWait(cmd);
  ASSERT_TRUE(run.ended);
  EXPECT_EQ(run.exitCode, 0u);

  const std::string pid = std::to_string(run.processId);
  const std::string text = capture.Text();
  // The setup run's own lines come between the two.
  const size_t start = text.find(pid + " ==== STUB START ====> " + cmd + "<\r\n" + pid +
                                 " ==== ThisIs_AutoUpdateProg=FALSE\r\n");
  ASSERT_NE(start, std::string::npos) << text;
  EXPECT_NE(text.find(pid + " ==== STUB END ====> " + cmd + "<\r\n\r\n", start), std::string::npos) << text;
}

// A setup file never writes a run log, and DLLs planted beside it under the
// names of the system DLLs it loads by name are not picked up.
TEST(StubStart, SetupFileLoadsNoPlantedDllAndWritesNoLog) {
  TempFolder dir;
  const std::string setup = dir.path() + "\\setup.exe";
  ASSERT_TRUE(CopyFileA(StubExe().c_str(), setup.c_str(), FALSE));
  const std::string plant = testenv::BinDir() + "\\kavrix-plant.dll";
  const char* planted[] = {"usp10.dll", "msls31.dll", "riched32.dll", "version.dll"};
  for (const char* name : planted) ASSERT_TRUE(CopyFileA(plant.c_str(), (dir.path() + "\\" + name).c_str(), FALSE));

  // The fixture works: loading the planted file leaves its marker.
  const std::string probe = dir.path() + "\\probe.dll";
  ASSERT_TRUE(CopyFileA(plant.c_str(), probe.c_str(), FALSE));
  HMODULE loaded = LoadLibraryA(probe.c_str());
  ASSERT_NE(loaded, nullptr);
  FreeLibrary(loaded);
  EXPECT_TRUE(FileExists(probe + ".loaded"));

  const RunResult run = RunAndWait("\"" + setup + "\"");
  ASSERT_TRUE(run.ended);
  EXPECT_EQ(run.exitCode, 0u);
  for (const char* name : planted)
    EXPECT_FALSE(FileExists(dir.path() + "\\" + name + ".loaded")) << name << " was loaded from the setup's folder";
  EXPECT_FALSE(DeleteFiles(dir.path() + "\\*.log", false)) << "a setup file wrote a run log";
}

// An agent copy whose package asks for a log records its start, its decisions
// and its end with the indent " X ". A window of its class exists, so it ends
// without running a mode.
TEST(StubStart, AgentCopyWithLogFlagWritesRunLog) {
  TempFolder dir;
  RunningCopyWindow running;
  ASSERT_TRUE(running.ok());
  const std::string copy = dir / "X_Product_AU.exe";
  ASSERT_TRUE(WriteFileData(copy, AgentFile(kFlagLog), 0, false));
  // The version of the own file is read through version.dll from the system folder.
  ASSERT_TRUE(CopyFileA((testenv::BinDir() + "\\kavrix-plant.dll").c_str(), (dir / "version.dll").c_str(), FALSE));

  DebugCapture capture;
  ASSERT_TRUE(capture.Ready()) << capture.Problem();
  const std::string cmd = "\"" + copy + "\" /TEST=1";
  const RunResult run = RunAndWait(cmd);
  ASSERT_TRUE(run.ended);
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_NE(capture.Text().find(std::to_string(run.processId) + " ==== ThisIs_AutoUpdateProg=TRUE\r\n"),
            std::string::npos);

  const std::vector<std::string> expected = {
      " X ",
      " X ",
      " X === START === " + copy,
      " X CommandLine=" + cmd,
      " X Agent Version=" + GetExeVersion(StubExe()),
      " X DoRunStubWin() --- Start",
      " X X_ExeIsRunning=TRUE",
      " X ThisIs_Plain_AutoUpdate_Exe=FALSE",
      " X ThisIs_X_AutoUpdate_Exe=TRUE",
      " X DoRunStubWin() --- End",
      " X === EXIT === " + copy,
      " X ",
  };
  EXPECT_EQ(LogMessages(ReadFilePart(dir / "X_Product_AU.log", 0)), expected);
  EXPECT_FALSE(FileExists(dir / "version.dll.loaded"));
}

TEST(StubStart, AgentWithoutLogFlagWritesNoLog) {
  TempFolder dir;
  RunningCopyWindow running;
  ASSERT_TRUE(running.ok());
  ASSERT_TRUE(WriteFileData(dir / "X_Product_AU.exe", AgentFile(0), 0, false));
  const RunResult run = RunAndWait("\"" + (dir / "X_Product_AU.exe") + "\"");
  ASSERT_TRUE(run.ended);
  EXPECT_FALSE(DeleteFiles(dir / "*.log", false));
}
