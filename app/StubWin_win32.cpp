#include "app/StubWin.h"

#include <windows.h>

#include "app/CommUtils.h"
#include "app/StubMode.h"
#include "util/Paths.h"
#include "util/Utils.h"

bool ThisIs_AutoUpdateProg = false;
std::string WindowClassName = "KavrixStub";
int32_t StubExitCode = 0;

namespace {

// What the mode tests need from the package trailer. Filled from the package
// description of the running file once its reader is part of the program; a
// file without a readable package has all flags clear.
struct StubFacts {
  bool agentFlag = false;
  bool logFlag = false;
  bool spannedFlag = false;
  std::string agentName;
};
StubFacts g_facts;

std::string OwnName() { return ExtractFileName(ExePath()); }

bool TopWindowOfClass(const std::string& className) { return FindWindowA(className.c_str(), nullptr) != nullptr; }

}  // namespace

void OpenStubInfo() {
  g_facts = StubFacts{};
  ThisIs_AutoUpdateProg = g_facts.agentFlag;
  SetLogSwitch(g_facts.agentFlag && g_facts.logFlag);
}

void CloseStubInfo() {}

bool X_ExeIsRunning() { return TopWindowOfClass(AgentCopyWindowClass(g_facts.agentName)); }

bool ThisIs_Plain_AutoUpdate_Exe() { return ThisIs_AutoUpdateProg && IsPlainAgentName(OwnName(), g_facts.agentName); }

bool ThisIs_X_AutoUpdate_Exe() { return ThisIs_AutoUpdateProg && IsXAgentName(OwnName(), g_facts.agentName); }

bool SpanLevel1() { return IsSpanLevel1(g_facts.spannedFlag, GetSwitchInt("/SpanCdLvl=", 1)); }

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

  switch (ChooseStubMode(TopWindowOfClass(WindowClassName), plainAgent, xAgent, SpanLevel1())) {
    case StubMode::None:
      break;
    // The modes themselves join here as the main window, the agent copies
    // and the span launcher become part of the program.
    case StubMode::AgentStarter:
    case StubMode::AgentCopy:
    case StubMode::SpanLauncher:
    case StubMode::MainWindow:
      break;
  }
  (void)copyWasRunning;  // for HandleParamOK of the agent starter
  Log("DoRunStubWin() --- End");
}
