#include "app/StubWin.h"

#include <windows.h>

#include "app/CommUtils.h"
#include "app/MainWindow.h"
#include "app/SpanLauncher.h"
#include "app/StubMode.h"
#include "package/PackX.h"
#include "util/Files.h"
#include "util/Paths.h"
#include "util/Utils.h"

TGFileInfo* StubInfo = nullptr;
bool ThisIs_AutoUpdateProg = false;
std::string WindowClassName = "KavrixStub";
int32_t StubExitCode = 0;

namespace {

std::string OwnName() { return ExtractFileName(ExePath()); }

std::string AgentName() { return StubInfo ? StubInfo->AgentFileName() : ""; }

bool TopWindowOfClass(const std::string& className) { return FindWindowA(className.c_str(), nullptr) != nullptr; }

}  // namespace

void OpenStubInfo() {
  StubInfo = new TGFileInfo(ExePath());
  ThisIs_AutoUpdateProg = StubInfo->IsAgent();
  SetLogSwitch(ThisIs_AutoUpdateProg && StubInfo->WantsLog());
}

void CloseStubInfo() {
  delete StubInfo;
  StubInfo = nullptr;
}

bool X_ExeIsRunning() { return TopWindowOfClass(AgentCopyWindowClass(AgentName())); }

bool ThisIs_Plain_AutoUpdate_Exe() { return ThisIs_AutoUpdateProg && IsPlainAgentName(OwnName(), AgentName()); }

bool ThisIs_X_AutoUpdate_Exe() { return ThisIs_AutoUpdateProg && IsXAgentName(OwnName(), AgentName()); }

bool SpanLevel1() { return IsSpanLevel1(StubInfo && StubInfo->IsSpanned(), GetSwitchInt("/SpanCdLvl=", 1)); }

bool SpanLevel2() { return IsSpanLevel2(GetSwitchInt("/SpanCdLvl=", 1)); }

void DoRunStubWin() {
  Log("DoRunStubWin() --- Start");
  WindowClassName = StubWindowClass(ThisIs_AutoUpdateProg, ExePath());
  const bool copyWasRunning = X_ExeIsRunning();
  const bool plainAgent = ThisIs_Plain_AutoUpdate_Exe();
  const bool xAgent = ThisIs_X_AutoUpdate_Exe();
  Log("X_ExeIsRunning=" + BoolText(copyWasRunning));
  Log("ThisIs_Plain_AutoUpdate_Exe=" + BoolText(plainAgent));
  Log("ThisIs_X_AutoUpdate_Exe=" + BoolText(xAgent));

  // Each mode's work joins its case as the main window, the agent copies and
  // the span launcher become part of the program.
  switch (ChooseStubMode(TopWindowOfClass(WindowClassName), plainAgent, xAgent, SpanLevel1())) {
    case StubMode::None:  // a second start of the same file ends here
      break;
    case StubMode::AgentStarter:  // CreateAndRun_X_Exe
      break;
    case StubMode::AgentCopy:  // CheckTestMode(true), WinMain, DeleteMySelf(false), each logged first
      break;
    case StubMode::SpanLauncher:
      RunSpanLauncher();
      break;
    case StubMode::MainWindow:
      StubWinMain();
      if (SpanLevel2()) DeleteMySelf(true);  // the span copy removes itself and its folder
      break;
  }
  // The agent starter relays its switches even after a second start:
  // HandleParamOK(copyWasRunning) when plainAgent.
  (void)copyWasRunning;
  Log("DoRunStubWin() --- End");
}
