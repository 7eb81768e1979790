#include <windows.h>

#include "app/CommUtils.h"
#include "util/Files.h"
#include "util/Paths.h"
#include "util/Utils.h"

namespace {

bool g_logSwitch = false;
std::string g_indent = "   ";

// Fixed by the first line written.
const std::string& LogPath() {
  static const std::string path = RunLogPath(ExeDir(true), ExtractFileName(ExePath()));
  return path;
}

}  // namespace

void SetLogSwitch(bool on) { g_logSwitch = on; }
bool LogSwitch() { return g_logSwitch; }
void SetLogIndent(const std::string& indent) { g_indent = indent; }

// Write failures are ignored: the log must never stop a run.
void Log(const std::string& message) {
  if (!g_logSwitch) return;
  AppendText(LogPath(), RunLogLine(DateTimeShort(false, NowDateTime()), GetCurrentThreadId(), g_indent, message));
}
