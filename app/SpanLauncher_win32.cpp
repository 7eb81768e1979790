#include "app/SpanLauncher.h"

#include <windows.h>

#include "agent/StubGlob.h"
#include "package/SetupCommand.h"
#include "util/Paths.h"
#include "util/Utils.h"

void RunSpanLauncher() {
  const std::string copy = SetupTempFolder() + "\\Y_" + ExtractFileName(ExePath());
  CopyFileA(ExePath().c_str(), copy.c_str(), FALSE);
  // Quoted: a temp folder with blanks must not make the system try its prefixes.
  const std::string command = "\"" + copy + "\" " + SpanCopySwitches(CommandLineTail(), ExePath());
  WinExec(command.c_str(), SW_HIDE);
}
