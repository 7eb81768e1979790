#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <fstream>

#include "agent/StubGlob.h"
#include "app/MainWindow.h"
#include "app/StubWin.h"
#include "net/InetHTTP.h"
#include "ui/KMsgBox.h"
#include "util/Files.h"

namespace {

RECT ClientRectOf(HWND child) {
  RECT rc;
  GetWindowRect(child, &rc);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

// Takes the quit request that DestroyMainWindow posts to this thread.
bool TakeQuit() {
  MSG m;
  return PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}

// A setup temp folder with a file in it.
std::string FilledTempFolder() {
  const std::string folder = SetupTempFolder();
  ForceDirectories(folder);
  std::ofstream(folder + "\\file.txt") << "x";
  return folder;
}

// A main window whose work timer is off, so nothing starts behind the test's back.
HWND QuietMainWindow() {
  const HWND w = CreateMainWindow();
  if (w) KillTimer(w, 1);
  return w;
}

DWORD WINAPI QuitAfterAMinute(LPVOID thread) {
  Sleep(60000);
  PostThreadMessageA(static_cast<DWORD>(reinterpret_cast<uintptr_t>(thread)), WM_QUIT, 0, 0);
  return 0;
}

}  // namespace

TEST(MainWindow, LayoutOfWindowAndChildren) {
  const HWND w = QuietMainWindow();
  ASSERT_TRUE(w);
  RECT rc;
  GetWindowRect(w, &rc);
  EXPECT_EQ(rc.right - rc.left, 492);
  EXPECT_EQ(rc.bottom - rc.top, 110);
  EXPECT_FALSE(IsWindowVisible(w));
  char text[128] = {};
  GetWindowTextA(w, text, sizeof text);
  EXPECT_STREQ(text, "Kavrix Installation Suite");
  GetClassNameA(w, text, sizeof text);
  EXPECT_EQ(text, WindowClassName);

  const struct {
    HWND child;
    RECT want;
    bool visible;
  } children[] = {
      {StatusLabelHandle(), {70, 20, 410, 38}, true},
      {MainBarHandle(), {70, 38, 462, 51}, true},
      {ActivityBarHandle(), {416, 20, 462, 33}, false},
  };
  for (const auto& c : children) {
    const RECT got = ClientRectOf(c.child);
    EXPECT_EQ(got.left, c.want.left);
    EXPECT_EQ(got.top, c.want.top);
    EXPECT_EQ(got.right, c.want.right);
    EXPECT_EQ(got.bottom, c.want.bottom);
    EXPECT_EQ((GetWindowLongPtrA(c.child, GWL_STYLE) & WS_VISIBLE) != 0, c.visible);
  }
  ShowActivityBar(true);
  EXPECT_TRUE(GetWindowLongPtrA(ActivityBarHandle(), GWL_STYLE) & WS_VISIBLE);

  SetDownloadAbort(true);
  DestroyWindow(w);
  EXPECT_TRUE(TakeQuit());
}

TEST(MainWindow, StatusTextRightToLeftForHebrewAndArabic) {
  const HWND w = QuietMainWindow();
  ASSERT_TRUE(w);
  const HWND label = StatusLabelHandle();
  for (int charset : {0, 177, 178, 1}) {
    SetStatusText(label, "Extracting", "Tahoma", 8, charset);
    const bool rtl = charset == 177 || charset == 178;
    EXPECT_EQ((GetWindowLongPtrA(label, GWL_EXSTYLE) & WS_EX_RTLREADING) != 0, rtl) << charset;
    EXPECT_EQ((GetWindowLongPtrA(label, GWL_STYLE) & SS_RIGHT) != 0, rtl) << charset;
  }
  char text[64] = {};
  GetWindowTextA(label, text, sizeof text);
  EXPECT_STREQ(text, "Extracting");
  SetDownloadAbort(true);
  DestroyWindow(w);
  TakeQuit();
}

TEST(MainWindow, FirstCloseOnlyAbortsSecondClosesAndDestroyRemovesTempFolder) {
  const HWND w = QuietMainWindow();
  ASSERT_TRUE(w);
  const std::string folder = FilledTempFolder();
  ASSERT_TRUE(DirectoryExists(folder));
  SetDownloadAbort(false);

  SendMessageA(w, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(w));
  EXPECT_TRUE(IsDownloadAborted());
  EXPECT_TRUE(DirectoryExists(folder));

  SendMessageA(w, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(w));
  EXPECT_FALSE(DirectoryExists(folder));
  EXPECT_TRUE(TakeQuit());
}

TEST(MainWindow, MessagesFromOtherCopies) {
  const HWND w = QuietMainWindow();
  ASSERT_TRUE(w);
  // Unknown commands answer 0; the answer of a command is the message result.
  EXPECT_EQ(SendMessageA(w, wm_AgentMsg, 6, 0), 0);
  EXPECT_EQ(SendMessageA(w, wm_AgentMsg, 40, 0), 0);

  // A listener registers and is answered at once with 50 and 51.
  const HWND listener = CreateWindowA("Static", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_TRUE(listener);
  SendMessageA(w, wm_LocalMsg, reinterpret_cast<WPARAM>(listener), 49280);
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, listener, 49280, 49280, PM_REMOVE));
  EXPECT_EQ(m.wParam, 50u);
  EXPECT_EQ(static_cast<intptr_t>(m.lParam), reinterpret_cast<intptr_t>(w));
  ASSERT_TRUE(PeekMessageA(&m, listener, 49280, 49280, PM_REMOVE));
  EXPECT_EQ(m.wParam, 51u);
  EXPECT_EQ(m.lParam, 1125);
  // 0 in either part switches the notifications off.
  SendMessageA(w, wm_LocalMsg, reinterpret_cast<WPARAM>(listener), 0);
  while (PeekMessageA(&m, listener, 0, 0, PM_REMOVE)) {
  }
  Notify(40, 1);
  EXPECT_FALSE(PeekMessageA(&m, listener, 0, 0, PM_REMOVE));
  DestroyWindow(listener);

  // QueryCancelAutoPlay is answered only while registered.
  const UINT autoPlay = RegisterWindowMessageA("QueryCancelAutoPlay");
  SetCancelAutoPlay(false);
  EXPECT_EQ(SendMessageA(w, autoPlay, 0, 0), 0);
  SetCancelAutoPlay(true);
  EXPECT_EQ(SendMessageA(w, autoPlay, 0, 0), 1);
  SetCancelAutoPlay(false);

  SetDownloadAbort(true);
  DestroyWindow(w);
  TakeQuit();
}

// A setup run: the first tick starts the setup flow, which clears the temp
// folder and ends the loop; the loop's end stops transfers.
TEST(MainWindow, FirstTickRunsTheSetupFlowAndEndsTheLoop) {
  const std::string folder = FilledTempFolder();
  SetDownloadAbort(false);
  // Should the loop not end, a quit posted by a watchdog ends it.
  const DWORD thread = GetCurrentThreadId();
  const HANDLE watchdog =
      CreateThread(nullptr, 0, QuitAfterAMinute, reinterpret_cast<LPVOID>(static_cast<uintptr_t>(thread)), 0, nullptr);
  const DWORD start = GetTickCount();
  StubWinMain();
  const DWORD took = GetTickCount() - start;
  TerminateThread(watchdog, 0);
  CloseHandle(watchdog);
  EXPECT_LT(took, 60000u);
  EXPECT_FALSE(DirectoryExists(folder));
  EXPECT_TRUE(IsDownloadAborted());
  DestroyWindow(MainWindowHandle());
  TakeQuit();
}
