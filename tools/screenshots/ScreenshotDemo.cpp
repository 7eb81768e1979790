// Shows one window of the program for a screenshot:
//
//   kavrix-screenshot-demo /SHOW=main|error|question|rtl /READY=file /DONE=file
//
// Once the window is drawn its screen rectangle ("x y width height") goes to
// the ready file; the window stays until the done file exists (or a minute
// has passed).
#include <windows.h>

#include <fstream>
#include <string>

#include "app/MainWindow.h"
#include "package/KProgBar.h"
#include "tools/msgbox-helper/BoxProbe.h"
#include "ui/KMsgBox.h"
#include "util/Utils.h"

namespace {

const DWORD kMaxShow = 60000;

void WriteRect(HWND hwnd) {
  RECT rc{};
  GetWindowRect(hwnd, &rc);
  std::ofstream(GetSwitch("/READY=")) << rc.left << " " << rc.top << " " << rc.right - rc.left << " "
                                      << rc.bottom - rc.top << "\n";
}

bool DoneRequested() { return GetFileAttributesA(GetSwitch("/DONE=").c_str()) != INVALID_FILE_ATTRIBUTES; }

void WaitForDone() {
  const DWORD start = GetTickCount();
  while (!DoneRequested() && GetTickCount() - start < kMaxShow) Delay(0, 50);
}

void ShowMainWindow() {
  const HWND w = CreateMainWindow();
  KillTimer(w, 1);
  ShowWindow(w, SW_SHOW);
  SetStatusText(StatusLabelHandle(), "Extracting: Program Files\\Kavrix\\data2.cab", "Tahoma", 8, 1);
  ShowActivityBar(true);
  MainProgressSink(0, 0, 100, 0, 1, 0);
  for (int i = 0; i < 62; ++i) MainProgressSink(1, 0, 0, 0, 0, 0);
  UpdateWindow(w);
  Delay(0, 500);
  WriteRect(w);
  WaitForDone();
}

// The box is modal on this thread; a second thread reports it and ends it.
DWORD WINAPI ReportBox(LPVOID) {
  const HWND box = boxprobe::WaitForBox(kMaxShow);
  if (!box) return 0;
  Sleep(300);  // let it paint
  WriteRect(box);
  WaitForDone();
  PostMessageA(box, WM_CLOSE, 0, 0);
  return 0;
}

void ShowBox(const std::string& which) {
  CloseHandle(CreateThread(nullptr, 0, ReportBox, nullptr, 0, nullptr));
  if (which == "error") {
    ErrorBox(0, "There is not enough space on drive C: to extract this package.<P>"
                "Space required: <b>48.2 MB</b><P>Space available: 12.7 MB");
  } else if (which == "question") {
    ConfirmYesNo(1,
                 "Setup will now install <b>Kavrix Demo 2.4</b> on this computer.<P><P>"
                 "Close all other programs before you continue.<P>"
                 "Do you want to continue?",
                 "Kavrix Demo Setup");
  } else {
    AttentionBox(0, "The download was interrupted.<P>Please check your connection and try again.",
                 "Attention", "", 177);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::string which = GetSwitch("/SHOW=", "main");
  if (which == "main")
    ShowMainWindow();
  else
    ShowBox(which);
  return 0;
}
