// Debug viewer: owns a window of class ".KDebug." and appends every piece of
// text it is sent to the file named by /out=<file>, or to the parent's console.
// With /framed each piece is written as its length, ':' and its bytes, so that
// a reader can tell the pieces apart. Ends on WM_CLOSE.
#include <windows.h>

#include <cstring>
#include <string>

namespace {

HANDLE g_out = INVALID_HANDLE_VALUE;
UINT g_message = 0;
bool g_framed = false;

// One write per piece, so that a reader never sees half of one.
void Append(const std::string& piece) {
  DWORD written = 0;
  WriteFile(g_out, piece.data(), static_cast<DWORD>(piece.size()), &written, nullptr);
}

LRESULT CALLBACK ViewerProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == g_message && g_message != 0) {
    // The sender deletes the atom as soon as this returns: read it now.
    char text[256];
    UINT n = lp ? GlobalGetAtomNameA(static_cast<ATOM>(lp), text, sizeof text) : 0;
    if (n > 0) {
      std::string piece(text, n);
      if (g_framed) piece = std::to_string(n) + ":" + piece;
      Append(piece);
    }
    return 0;
  }
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(wnd, msg, wp, lp);
}

std::string OutSwitch(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (_strnicmp(argv[i], "/out=", 5) == 0) return argv[i] + 5;
  return "";
}

bool HasFramedSwitch(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (_stricmp(argv[i], "/framed") == 0) return true;
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  // The output is ready before the window exists, so that nothing sent to the
  // window is lost; a caller that waits for the window may write at once.
  const std::string path = OutSwitch(argc, argv);
  g_framed = HasFramedSwitch(argc, argv);
  if (!path.empty()) {
    g_out = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (g_out == INVALID_HANDLE_VALUE) return 3;
  } else if (AttachConsole(ATTACH_PARENT_PROCESS)) {
    g_out = GetStdHandle(STD_OUTPUT_HANDLE);
  }

  g_message = RegisterWindowMessageA(".K_DebugMsg.");
  WNDCLASSA wc{};
  wc.lpfnWndProc = ViewerProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = ".KDebug.";
  if (!RegisterClassA(&wc)) return 2;
  // Top-level but never shown: writers find it with FindWindow.
  HWND wnd = CreateWindowA(".KDebug.", "Kavrix debug viewer", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                           nullptr, nullptr, wc.hInstance, nullptr);
  if (!wnd) return 2;

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (!path.empty() && g_out != INVALID_HANDLE_VALUE) CloseHandle(g_out);
  return 0;
}
