// A minimal setup engine. It copies the files unpacked beside it into a target
// folder while its dialog (class ".SDialog_Class_Name." + tag) is shown, takes
// the completion atom away when the copy succeeded, and ends with a result code.
//
// Switches: /TH_ID=tag (from the stub), /target=folder (default: the program
// files folder + "\Kavrix Example"), /exitcode=n, /holdms=n (keep the dialog
// n ms after copying), /keepatom (leave the atom, as a failed setup would).
// It writes its command line and show mode to "_engine_run.txt" in the target.
#include <windows.h>

#include <string>

#include "util/Paths.h"
#include "util/Switches.h"
#include "util/Text.h"

namespace {

std::string OwnPath() {
  char buf[MAX_PATH * 2];
  const DWORD n = GetModuleFileNameA(nullptr, buf, sizeof buf);
  return std::string(buf, n);
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// Copies the tree at from into to, leaving out the engine itself and the target
// (when the target lies inside the source).
bool CopyTree(const std::string& from, const std::string& to, const std::string& self, const std::string& target) {
  if (!CreateDirectoryA(to.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((from + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  do {
    const std::string name = fd.cFileName;
    if (name == "." || name == "..") continue;
    const std::string src = from + "\\" + name, dst = to + "\\" + name;
    if (SameTextCI(src, self) || SameTextCI(src, target)) continue;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      ok = CopyTree(src, dst, self, target) && ok;
    else
      ok = CopyFileA(src.c_str(), dst.c_str(), FALSE) && ok;
    Pump();
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  return ok;
}

std::string DefaultTarget() {
  char buf[MAX_PATH];
  const DWORD n = GetEnvironmentVariableA("ProgramFiles", buf, sizeof buf);
  return (n > 0 && n < sizeof buf ? std::string(buf, n) : std::string("C:\\Program Files")) + "\\Kavrix Example";
}

// The show mode the starter asked for, or -1 when it asked for none.
int StartShowMode() {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  GetStartupInfoA(&si);
  return (si.dwFlags & STARTF_USESHOWWINDOW) ? si.wShowWindow : -1;
}

HWND ShowDialog(const std::string& tag, const std::string& target) {
  const std::string cls = ".SDialog_Class_Name." + tag;
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = HBRUSH(COLOR_BTNFACE + 1);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = cls.c_str();
  RegisterClassA(&wc);
  HWND w = CreateWindowExA(0, cls.c_str(), "Kavrix Example Setup", WS_OVERLAPPED | WS_CAPTION,
                           CW_USEDEFAULT, CW_USEDEFAULT, 420, 120, nullptr, nullptr, wc.hInstance, nullptr);
  CreateWindowExA(0, "STATIC", ("Installing to " + target).c_str(), WS_CHILD | WS_VISIBLE, 12, 20, 390, 40,
                  w, nullptr, wc.hInstance, nullptr);
  const int show = StartShowMode();
  ShowWindow(w, show < 0 ? SW_SHOWNORMAL : show);
  UpdateWindow(w);
  return w;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::string self = OwnPath();
  const std::string raw = GetCommandLineA();
  const std::string tail = CommandLineTailOf(raw, self);
  const std::string tag = GetSwitchIn(tail, "/TH_ID=", "");
  const std::string target = StripTrailingBackslash(GetSwitchIn(tail, "/target=", DefaultTarget()));

  HWND dialog = ShowDialog(tag, target);
  Pump();
  bool ok = CopyTree(ExtractFileDir(self), target, self, target);

  const std::string report = raw + "\r\nshow=" + IntToText(StartShowMode()) + "\r\n";
  HANDLE f = CreateFileA((target + "\\_engine_run.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  ok = f != INVALID_HANDLE_VALUE && WriteFile(f, report.data(), DWORD(report.size()), &written, nullptr) && ok;
  if (f != INVALID_HANDLE_VALUE) CloseHandle(f);

  const int64_t hold = GetSwitchIntIn(tail, "/holdms=", 0);
  // A closed dialog (a close request from outside) ends the wait.
  for (const DWORD start = GetTickCount(); IsWindow(dialog) && int64_t(GetTickCount() - start) < hold;) {
    Pump();
    Sleep(10);
  }
  if (ok && !HasSwitchIn(tail, "/keepatom")) {
    const ATOM atom = GlobalFindAtomA(("UnqqDxvqrjDjqeCsxxtDjHvppje" + tag).c_str());
    if (atom) GlobalDeleteAtom(atom);
  }
  if (IsWindow(dialog)) DestroyWindow(dialog);
  return int(GetSwitchIntIn(tail, "/exitcode=", ok ? 0 : 1));
}
