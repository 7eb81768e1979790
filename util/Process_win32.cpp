#include "util/Process.h"

#include <shellapi.h>
#include <tlhelp32.h>

#include <map>

#include "util/KSUB.h"
#include "util/Text.h"

namespace {

using TExeNames = std::map<DWORD, std::string>;

// One snapshot serves a whole pass over the windows.
TExeNames SnapshotExeNames() {
  TExeNames names;
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snap == INVALID_HANDLE_VALUE) return names;
  PROCESSENTRY32 pe{};
  pe.dwSize = sizeof pe;
  for (BOOL more = Process32First(snap, &pe); more; more = Process32Next(snap, &pe))
    names[pe.th32ProcessID] = std::string(pe.szExeFile).substr(0, MAX_PATH);
  CloseHandle(snap);
  return names;
}

std::string ExeNameOf(DWORD pid, const TExeNames& names) {
  const auto it = names.find(pid);
  return it == names.end() ? std::string() : it->second;
}

BOOL CALLBACK AddTopWindow(HWND w, LPARAM param) {
  auto* ctx = reinterpret_cast<std::pair<TProcessData*, const TExeNames*>*>(param);
  TProcessData& d = *ctx->first;
  DWORD pid = 0;
  const DWORD thread = GetWindowThreadProcessId(w, &pid);
  const std::string exe = ExeNameOf(pid, *ctx->second);
  if (SUB::Contains(d.Exes, exe)) return TRUE;
  d.Pids += IntToText(pid) + "|";
  d.Exes += exe + "|";
  d.Classes += WindowClassName(w) + "|";
  d.Handles += IntToText(int64_t(reinterpret_cast<intptr_t>(w))) + "|";
  d.Threads += IntToText(thread) + "|";
  d.Titles += WindowTitle(w) + "|";
  d.Visible += std::string(IsWindowVisible(w) ? "1" : "0") + "|";
  return TRUE;
}

}  // namespace

std::string WindowClassName(HWND window) {
  if (!window) return "";
  char buf[1024];
  const int n = GetClassNameA(window, buf, sizeof buf);
  return std::string(buf, n > 0 ? n : 0);
}

std::string WindowTitle(HWND window) {
  if (!window) return "";
  // Read without a message: asking a window of a thread that does not serve
  // its queue would hang the caller.
  wchar_t wide[1024];
  const int n = InternalGetWindowText(window, wide, 1024);
  if (n <= 0) return "";
  char buf[2048];
  const int m = WideCharToMultiByte(CP_ACP, 0, wide, n, buf, sizeof buf, nullptr, nullptr);
  return std::string(buf, m > 0 ? m : 0);
}

HWND TopOwner(HWND window) {
  // Owner chains are short; the bound only guards against a chain that changes under us.
  for (int i = 0; window && i < 1000; ++i) {
    HWND owner = GetWindow(window, GW_OWNER);
    if (!owner) break;
    window = owner;
  }
  return window;
}

bool ShellOpen(const std::string& file, const std::string& parameters, int showMode) {
  const HINSTANCE r = ShellExecuteA(GetDesktopWindow(), nullptr, file.c_str(),
                                    parameters.empty() ? nullptr : parameters.c_str(), nullptr, showMode);
  return reinterpret_cast<intptr_t>(r) > 32;
}

std::string WindowExeName(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  return ExeNameOf(pid, SnapshotExeNames());
}

void EnumTopWindows(TProcessData& data) {
  data = TProcessData{"|", "|", "|", "|", "|", "|", "|"};
  const TExeNames names = SnapshotExeNames();
  std::pair<TProcessData*, const TExeNames*> ctx(&data, &names);
  EnumWindows(AddTopWindow, reinterpret_cast<LPARAM>(&ctx));
}

std::string ProcessList() {
  TProcessData d;
  EnumTopWindows(d);
  return SUB::Join(d.Exes, d.Pids);
}
