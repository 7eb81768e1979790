#include "package/StubSetup.h"

#include "agent/StubGlob.h"
#include "util/Files.h"

void StartSetupFlow(HWND mainWindow) {
  KillTimer(mainWindow, 1);
  DeleteTree(SetupTempFolder(), false);
  PostQuitMessage(0);
}
