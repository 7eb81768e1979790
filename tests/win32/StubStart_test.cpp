#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/win32/DebugCapture.h"
#include "tests/win32/TempFolder.h"
#include "tests/win32/TestEnv.h"
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
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::string cmd = commandLine;
  if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return r;
  r.processId = pi.dwProcessId;
  r.ended = WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0;
  if (!r.ended) TerminateProcess(pi.hProcess, 1);
  GetExitCodeProcess(pi.hProcess, &r.exitCode);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return r;
}

std::string StubExe() { return testenv::BinDir() + "\\kavrix-stub.exe"; }

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
  const std::string expected = pid + " ==== STUB START ====> " + cmd + "<\r\n" +
                               pid + " ==== ThisIs_AutoUpdateProg=FALSE\r\n" +
                               pid + " ==== STUB END ====> " + cmd + "<\r\n\r\n";
  EXPECT_NE(text.find(expected), std::string::npos) << text;
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
