#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "package/ByteSource.h"
#include "package/PackTokens.h"
#include "package/PackX.h"
#include "tests/win32/DebugCapture.h"
#include "tests/win32/ProcessKit.h"
#include "tests/win32/TempFolder.h"
#include "tests/win32/TestEnv.h"
#include "ui/SLangId.h"
#include "util/Files.h"

namespace {

// Runs a command line to its end; the exit code, or -1 when it did not start or end.
long RunToEnd(const std::string& commandLine, DWORD* processId = nullptr) {
  const kit::Child child(commandLine);
  if (processId) *processId = child.Id();
  const DWORD code = child.Started() ? child.Wait() : STILL_ACTIVE;
  return code == STILL_ACTIVE ? -1 : long(code);
}

// The Windows build of the builder makes a setup file from the built stub.
std::string BuildSetup(const TempFolder& dir, const std::string& options) {
  ForceDirectories(dir / "payload\\sub");
  EXPECT_TRUE(WriteFileData(dir / "payload\\Setup.exe", "engine bytes", 0, false));
  EXPECT_TRUE(WriteFileData(dir / "payload\\sub\\notes.txt", std::string(100000, 'n'), 0, false));
  EXPECT_TRUE(WriteFileData(dir / "en.txt", "s0=Read Under Wine\r\nCharset=0\r\n", 0, false));
  const std::string setup = dir / "setup.exe";
  const std::string cmd = "\"" + testenv::BinDir() + "\\kavrix-pack.exe\" build \"Stub=" + testenv::BinDir() +
                          "\\kavrix-stub.exe\" \"Files=" + (dir / "payload") + "\" \"Engine=Setup.exe*/Q\" \"Output=" +
                          setup + "\" \"Languages.English=" + (dir / "en.txt") + "\" " + options;
  EXPECT_EQ(RunToEnd(cmd), 0) << cmd;
  return setup;
}

}  // namespace

TEST(PackageRead, StubCodeReadsWhatTheBuilderMade) {
  TempFolder dir;
  const std::string setup =
      BuildSetup(dir, "ActivityBar=1 MakeAgent=1 AutoUpdate.AgentName=Product_AU.exe AutoUpdate.Token=tok "
                      "AutoUpdate.InfoFile=web\\Product.info");
  const TGFileInfo d(setup);
  ASSERT_EQ(+d.Trailer().Magic, kPackMagic);
  EXPECT_EQ(+d.Trailer().FileCount, 2u);
  EXPECT_TRUE(d.ShowsActivityBar());
  EXPECT_TRUE(d.MakesAgent());
  EXPECT_FALSE(d.IsAgent());
  EXPECT_EQ(d.AgentFileName(), "Product_AU.exe");
  EXPECT_EQ(d.InfoFileName(), "Product.info");
  EXPECT_EQ(d.UpdateToken(true), "tok");
  EXPECT_EQ(EntryText(ChooseLanguageEntry(d.LanguageBlock(), CurrentLanguageName()), "s0", ""), "Read Under Wine");
  EXPECT_TRUE(CheckSumPasses(PackageCheckSum(setup, d.Trailer().TrailerSize), d.Trailer().CheckSum));
  EXPECT_NE(+d.Trailer().CheckSum, kCheckSumOff);

  // The drive is asked for its cluster size, which picks the space entry.
  const uint32_t cluster = ClusterSize(dir.path());
  EXPECT_GE(cluster, 512u);
  EXPECT_EQ(d.SpaceRequired(dir.path()), double(SpaceNeededEntry(d.Trailer(), cluster)));
  EXPECT_GT(d.SpaceRequired(dir.path()), 100000.0);
}

// The stub itself finds the agent flag in the trailer of a builder-made file.
// A window of the agent copy's class is there, so it ends without a mode.
TEST(PackageRead, StubStartedOnBuiltAgentReportsIt) {
  TempFolder dir;
  const std::string built = BuildSetup(dir, "IsAgent=1 AutoUpdate.AgentName=Product_AU.exe");
  const std::string copy = dir / "X_Product_AU.exe";
  ASSERT_TRUE(MoveFileA(built.c_str(), copy.c_str()));

  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = ".AutoUpdate.X_Product_AU";
  RegisterClassA(&wc);
  HWND running = CreateWindowA(wc.lpszClassName, "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                               nullptr);
  ASSERT_NE(running, nullptr);

  DebugCapture capture;
  ASSERT_TRUE(capture.Ready()) << capture.Problem();
  DWORD pid = 0;
  EXPECT_EQ(RunToEnd("\"" + copy + "\"", &pid), 0);
  const std::string line = std::to_string(pid) + " ==== ThisIs_AutoUpdateProg=TRUE";
  EXPECT_TRUE(capture.WaitFor(line)) << capture.Text();
  DestroyWindow(running);
  UnregisterClassA(wc.lpszClassName, wc.hInstance);
}

// Agent files written from a built package and from a web installer read back
// as agents with the package's header strings.
TEST(PackageRead, AgentFilesWrittenFromBuiltFiles) {
  TempFolder dir;
  const std::string setup = BuildSetup(dir, "MakeAgent=1 AutoUpdate.AgentName=Product_AU.exe AutoUpdate.Token=tok");
  const TGFileInfo d(setup);
  const FileSource package(setup);
  ASSERT_TRUE(WriteAgentFromPackage(package, d.Trailer().HeaderPos, dir / "Product_AU.exe", 0x5A2B1C3D));
  const TGFileInfo agent(dir / "Product_AU.exe");
  EXPECT_TRUE(agent.IsAgent());
  EXPECT_EQ(agent.AutoUpdateRecord(), d.AutoUpdateRecord());
  EXPECT_EQ(+agent.Trailer().HeaderPos, FileSizeByName(dir / "Product_AU.exe") - kTrailerSize) << "no records";

  ASSERT_TRUE(WriteAgentFromWebInstaller(ReadFilePart(setup, 0), dir / "Web_AU.exe", 0));
  EXPECT_TRUE(TGFileInfo(dir / "Web_AU.exe").IsAgent());
}
