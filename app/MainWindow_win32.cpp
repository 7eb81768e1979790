#include "app/MainWindow.h"

#include <commctrl.h>

#include "agent/StubGlob.h"
#include "app/AgentLink.h"
#include "app/CommUtils.h"
#include "app/StubWin.h"
#include "net/InetHTTP.h"
#include "package/PackX.h"
#include "package/StubSetup.h"
#include "ui/KDebug.h"
#include "ui/KMsgBox.h"
#include "util/Files.h"
#include "ui/MsgBoxLayout.h"
#include "util/Utils.h"

namespace {

constexpr UINT_PTR kWorkTimer = 1;
constexpr int kWidth = 492, kHeight = 110;

HWND g_main = nullptr;
HWND g_label = nullptr;
HWND g_mainBar = nullptr;
HWND g_activityBar = nullptr;
HFONT g_labelFont = nullptr;
bool g_loopEnd = false;
HWND g_replyWindow = nullptr;
UINT g_replyMessage = 0;

void SetLabelFont(HFONT font) {
  SendMessageA(g_label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  // The label holds only the latest font.
  if (g_labelFont) DeleteObject(g_labelFont);
  g_labelFont = font;
}

HWND Child(HWND parent, const char* cls, DWORD style, int x, int y, int w, int h) {
  return CreateWindowExA(0, cls, "", WS_CHILD | style, x, y, w, h, parent, nullptr, GetModuleHandleA(nullptr),
                         nullptr);
}

// Window procedure: one handler per message; `pass` asks for default processing.
using Handler = LRESULT (*)(HWND, WPARAM, LPARAM, bool& pass);

LRESULT OnCreate(HWND hwnd, WPARAM, LPARAM, bool&) {
  const bool rtl = IsRtlCharset(TGFileInfo(ExePath()).Charset());
  g_label = Child(hwnd, "Static", WS_VISIBLE, rtl ? 122 : 70, 20, 340, 18);
  g_mainBar = Child(hwnd, PROGRESS_CLASSA, WS_VISIBLE, 70, 38, 392, 13);
  g_activityBar = Child(hwnd, PROGRESS_CLASSA, 0, rtl ? 70 : 416, 20, 46, 13);
  SetTimer(hwnd, kWorkTimer, 1000, nullptr);
  SetLabelFont(CreateFontA(-11, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Tahoma"));
  return 0;
}

LRESULT OnPaint(HWND hwnd, WPARAM, LPARAM, bool&) {
  const HDC dc = GetDC(hwnd);
  RECT rc;
  GetClientRect(hwnd, &rc);
  const HBRUSH face = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
  FillRect(dc, &rc, face);
  DeleteObject(face);
  if (const HICON icon = LoadIconA(GetModuleHandleA(nullptr), "MainIcon")) DrawIcon(dc, 18, 20, icon);
  ReleaseDC(hwnd, dc);
  return 0;  // default processing validates the area
}

LRESULT OnClose(HWND, WPARAM, LPARAM, bool& pass) {
  pass = CloseMainWindow();
  return 0;
}

LRESULT OnDestroy(HWND, WPARAM, LPARAM, bool&) {
  DebugLine("- wm_Destroy -");
  DestroyMainWindow();
  return 0;
}

LRESULT OnQuit(HWND, WPARAM, LPARAM, bool&) {
  DebugLine("- wm_Quit -");
  DestroyMainWindow();
  return 0;
}

LRESULT OnTimer(HWND hwnd, WPARAM, LPARAM, bool&) {
  if (ThisIs_AutoUpdateProg)
    AutoUpdateTimerTick();
  else
    StartSetupFlow(hwnd);
  return 0;
}

LRESULT OnShutDown(HWND, WPARAM wp, LPARAM, bool&) {
  SetAgentQuitCountdown(static_cast<int32_t>(wp));
  return 0;
}

LRESULT OnLocalMsg(HWND hwnd, WPARAM wp, LPARAM lp, bool&) {
  g_replyWindow = reinterpret_cast<HWND>(wp);
  g_replyMessage = static_cast<UINT>(lp);
  Notify(50, static_cast<int32_t>(reinterpret_cast<intptr_t>(hwnd)));
  Notify(51, wm_AgentMsg);
  return 0;
}

LRESULT OnAgentMsg(HWND, WPARAM wp, LPARAM lp, bool& pass) {
  pass = false;
  return AgentCommand(static_cast<int32_t>(wp), static_cast<int32_t>(lp));
}

struct Route {
  UINT message;
  Handler handler;
};
const Route kRoutes[] = {
    {WM_CREATE, OnCreate},     {WM_PAINT, OnPaint},       {WM_CLOSE, OnClose},
    {WM_DESTROY, OnDestroy},   {WM_QUIT, OnQuit},         {WM_TIMER, OnTimer},
    {wm_ShutDown, OnShutDown}, {wm_LocalMsg, OnLocalMsg}, {wm_AgentMsg, OnAgentMsg},
};

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  bool pass = true;
  LRESULT result = 0;
  for (const Route& r : kRoutes) {
    if (r.message != msg) continue;
    result = r.handler(hwnd, wp, lp, pass);
    break;
  }
  if (pass) result = DefWindowProcA(hwnd, msg, wp, lp);
  // Checked last: a disk prompt's AutoPlay answer overrides everything else.
  const UINT autoPlay = CancelAutoPlayMessage();
  if (autoPlay != 0 && msg == autoPlay) return 1;
  return result;
}

}  // namespace

HWND MainWindowHandle() { return g_main; }
HWND StatusLabelHandle() { return g_label; }
HWND MainBarHandle() { return g_mainBar; }
HWND ActivityBarHandle() { return g_activityBar; }

void ShowActivityBar(bool show) { ShowWindow(g_activityBar, show ? SW_SHOW : SW_HIDE); }

HWND CreateMainWindow() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&icc);

  const HINSTANCE inst = GetModuleHandleA(nullptr);
  WNDCLASSA wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = MainProc;
  wc.hInstance = inst;
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  wc.hIcon = LoadIconA(inst, "MainIcon");
  wc.lpszClassName = WindowClassName.c_str();
  RegisterClassA(&wc);

  const ScreenPoint at = CenterInWorkArea(kWidth, kHeight);
  // Normally the first language lookup of the process, which fixes its language.
  const TGFileInfo own(ExePath());
  const std::string caption = own.LangText("s0", "Kavrix Installation Suite");
  g_loopEnd = false;
  g_main = CreateWindowExA(0, WindowClassName.c_str(), caption.c_str(), WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                           at.x, at.y, kWidth, kHeight, nullptr, nullptr, inst, nullptr);
  SetMsgBoxFont(own.FontName(), own.FontSize(), own.Charset());
  return g_main;
}

void StubWinMain() {
  const int64_t sleep = GetSwitchInt("/SleepX=", -1);
  if (sleep >= 0) SetAgentTimerCount(static_cast<int32_t>(-sleep));
  if (CreateMainWindow()) {
    ShowWindow(g_main, SW_HIDE);
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
      if (g_loopEnd) break;
    }
  }
  if (g_main) KillTimer(g_main, kWorkTimer);
  SetDownloadAbort(true);
  Notify(43, 0);
}

void SetStatusText(HWND label, const std::string& text, const std::string& face, int sizePoints, int charset) {
  const bool rtl = IsRtlCharset(charset);
  SetWindowLongPtrA(label, GWL_EXSTYLE, rtl ? WS_EX_RTLREADING : 0);
  SetWindowLongPtrA(label, GWL_STYLE, WS_CHILD | WS_VISIBLE | (rtl ? SS_RIGHT : 0));
  const HFONT font = CreateFontA(-PointsToPixels(sizePoints), 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE,
                                 static_cast<BYTE>(charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                 DEFAULT_QUALITY, DEFAULT_PITCH, face.c_str());
  if (label == g_label) {
    SetLabelFont(font);
  } else {
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  SetWindowTextA(label, text.c_str());
}

bool CloseMainWindow() {
  Log(".. CloseMainWindow() - Start");
  const bool result = IsDownloadAborted();
  if (!result) SetDownloadAbort(true);
  Log(".. CloseMainWindow() - End");
  return result;
}

void DestroyMainWindow() {
  Log(".. DestroyMainWindow() - Start");
  SetDownloadAbort(true);
  DeleteTree(SetupTempFolder(), false);
  PostQuitMessage(0);
  g_loopEnd = true;
  Log(".. DestroyMainWindow() - End");
}

void Notify(int32_t code, int32_t detail) {
  if (g_replyWindow && g_replyMessage) PostMessageA(g_replyWindow, g_replyMessage, code, detail);
}
