// Program entry: module initialisation and the start-up sequence.
#include <windows.h>

#include <string>

#include "app/CommUtils.h"
#include "app/StubWin.h"
#include "ui/KDebug.h"
#include "util/Utils.h"

namespace {

// Loaded for the whole run, as the rich-edit and text-layout code expects;
// failures are ignored. By full path from the system folder only.
void LoadStartupModules() {
  for (const char* name : {"shell32.dll", "USP10.dll", "MSLS31.dll", "RICHED32.DLL"}) LoadSystemLibrary(name);
}

}  // namespace

int main() {
  // Before anything can load a DLL by name.
  RestrictDllSearch();
  LoadStartupModules();
  InitDebugChannel();

  const std::string commandLine = GetCommandLineA();
  DebugPidLine(" ==== STUB START ====> " + commandLine + "<");

  OpenStubInfo();
  if (ThisIs_X_AutoUpdate_Exe()) SetLogIndent(" X ");
  if (LogSwitch()) {
    Log("");
    Log("");
    Log("=== START === " + ExePath());
    Log("CommandLine=" + commandLine);
    Log("Agent Version=" + GetExeVersion(""));
  }
  DebugPidLine(" ==== ThisIs_AutoUpdateProg=" + BoolText(ThisIs_AutoUpdateProg));

  DoRunStubWin();
  CloseStubInfo();

  DebugPidLine(" ==== STUB END ====> " + commandLine + "<");
  DebugLine("");
  Log("=== EXIT === " + ExePath());
  Log("");
  return StubExitCode;
}
