#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "tests/win32/DebugCapture.h"
#include "ui/KDebug.h"

TEST(DebugChannel, WithoutViewerLinesAreDropped) {
  ASSERT_EQ(FindWindowA(".KDebug.", nullptr), nullptr);
  DebugLine("nobody listens");
  DebugLine(std::string(1000, 'q'));
}

TEST(DebugChannel, LinesReachTheViewerInPiecesOfAtMost128) {
  DebugCapture capture;
  ASSERT_TRUE(capture.Ready()) << capture.Problem();

  DebugLine("");
  DebugLine("first line");
  std::string longLine;
  for (int i = 0; i < 300; ++i) longLine += static_cast<char>('a' + i % 26);
  DebugLine(longLine);

  const auto pieces = capture.Pieces();
  ASSERT_EQ(pieces.size(), 5u);
  EXPECT_EQ(pieces[0], "\r\n");
  EXPECT_EQ(pieces[1], "first line\r\n");
  EXPECT_EQ(pieces[2], longLine.substr(0, 128));
  EXPECT_EQ(pieces[3], longLine.substr(128, 128));
  EXPECT_EQ(pieces[4], longLine.substr(256) + "\r\n");
}

// Text after a NUL byte never reaches the viewer; the piece ends there.
TEST(DebugChannel, PieceEndsAtNul) {
  DebugCapture capture;
  ASSERT_TRUE(capture.Ready()) << capture.Problem();
  DebugLine(std::string("abc\0def", 7));
  EXPECT_EQ(capture.Text(), "abc");
}

TEST(DebugChannel, TraceExceptionWritesOneLine) {
  DebugCapture capture;
  ASSERT_TRUE(capture.Ready()) << capture.Problem();
  TraceException(std::runtime_error("boom"), "YieldX");
  TraceException(std::runtime_error("bad file"), "Utils.GetExeVersion()", "more");
  EXPECT_EQ(capture.Text(),
            " --- YieldX() --- boom\r\n"
            " --- Utils.GetExeVersion()() --- more --- bad file\r\n");
}

TEST(DebugChannel, PidLineStartsWithProcessId) {
  DebugCapture capture;
  ASSERT_TRUE(capture.Ready()) << capture.Problem();
  DebugPidLine(" ==== hello");
  EXPECT_EQ(capture.Text(), std::to_string(GetCurrentProcessId()) + " ==== hello\r\n");
}

namespace {

// A viewer on a second thread of this process. On the first piece it sends a
// message to a window of the writing thread, whose procedure writes a debug
// line while the writer still waits for its own send to return.
struct NestingViewer {
  static std::vector<std::string> pieces;
  static HWND writerWindow;
  static UINT debugMessage;

  static LRESULT CALLBACK ViewerProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == debugMessage) {
      char text[256] = {};
      GlobalGetAtomNameA(static_cast<ATOM>(lp), text, sizeof text);
      pieces.push_back(text);
      if (pieces.size() == 1) SendMessageA(writerWindow, WM_APP + 7, 0, 0);
      return 0;
    }
    return DefWindowProcA(wnd, msg, wp, lp);
  }
  static LRESULT CALLBACK WriterProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_APP + 7) {
      DebugLine("nested");
      return 0;
    }
    return DefWindowProcA(wnd, msg, wp, lp);
  }
  static DWORD WINAPI Thread(LPVOID ready) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ViewerProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = ".KDebug.";
    RegisterClassA(&wc);
    HWND wnd = CreateWindowA(".KDebug.", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
    SetEvent(static_cast<HANDLE>(ready));
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    DestroyWindow(wnd);
    UnregisterClassA(".KDebug.", wc.hInstance);
    return 0;
  }
};
std::vector<std::string> NestingViewer::pieces;
HWND NestingViewer::writerWindow = nullptr;
UINT NestingViewer::debugMessage = 0;

}  // namespace

// A debug line written while a piece is being handed over is neither lost nor
// mixed with the piece already sent.
TEST(DebugChannel, LineWrittenDuringAHandOverArrivesOnce) {
  ASSERT_EQ(FindWindowA(".KDebug.", nullptr), nullptr);
  NestingViewer::debugMessage = RegisterWindowMessageA(".K_DebugMsg.");
  WNDCLASSA wc{};
  wc.lpfnWndProc = NestingViewer::WriterProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "KavrixNestedWriter";
  RegisterClassA(&wc);
  NestingViewer::writerWindow =
      CreateWindowA("KavrixNestedWriter", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(NestingViewer::writerWindow, nullptr);

  HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  DWORD threadId = 0;
  HANDLE thread = CreateThread(nullptr, 0, NestingViewer::Thread, ready, 0, &threadId);
  ASSERT_EQ(WaitForSingleObject(ready, 10000), WAIT_OBJECT_0);

  NestingViewer::pieces.clear();
  DebugLine("outer");

  PostThreadMessageA(threadId, WM_QUIT, 0, 0);
  WaitForSingleObject(thread, 10000);
  CloseHandle(thread);
  CloseHandle(ready);
  DestroyWindow(NestingViewer::writerWindow);
  EXPECT_EQ(NestingViewer::pieces, (std::vector<std::string>{"outer\r\n", "nested\r\n"}));
}
