#include "util/ProcessViewer.h"

#include <tlhelp32.h>

#include <memory>
#include <unordered_map>

#include "ui/KDebug.h"
#include "util/Files.h"
#include "util/KSUB.h"
#include "util/Paths.h"
#include "util/Process.h"
#include "util/Text.h"
#include "util/Utils.h"
#include "util/WindowScore.h"

namespace {

const char kNoShortForm[] = "*XX*";

std::string ShortForm(const std::string& path, const std::string& failed) {
  char buf[MAX_PATH * 2];
  const DWORD n = GetShortPathNameA(path.c_str(), buf, sizeof buf);
  return n > 0 && n < sizeof buf ? std::string(buf, n) : failed;
}

bool SameExe(const std::string& a, const std::string& b) { return SameTextCI(Trim(a), Trim(b)); }

std::string Unquoted(const std::string& exe) {
  std::string s = Trim(exe);
  while (!s.empty() && s.front() == '"') s.erase(0, 1);
  while (!s.empty() && s.back() == '"') s.pop_back();
  return s;
}

DWORD FindProcess(const std::string& exe, bool fullPathOnly) {
  return IsWinNT() ? FindProcessByWindows(exe, fullPathOnly) : FindProcessBySnapshot(exe, fullPathOnly);
}

BOOL CALLBACK CollectWindow(HWND w, LPARAM param) {
  auto& a = *reinterpret_cast<TAnalizer*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid == a.ProcessId && a.Count < TAnalizer::kSlots) a.Windows[a.Count++] = w;
  return TRUE;
}

}  // namespace

DWORD FindProcessByWindows(const std::string& exe, bool /*fullPathOnly*/) {
  if (exe.empty()) return 0;
  const std::string name = ExtractFileName(exe);
  const std::string shortName = ShortForm(name, kNoShortForm);
  std::string keys, values;
  SUB::Split(SUB::Reverse(ProcessList()), keys, values);
  for (int32_t i = 0, n = SUB::Count(keys); i < n; ++i) {
    const std::string key = SUB::GetItem(keys, i, "");
    if (SameExe(key, name) || SameExe(ShortForm(key, ""), shortName)) return DWORD(SUB::GetItemInt(values, i, 0));
  }
  return 0;
}

DWORD FindProcessBySnapshot(const std::string& exe, bool fullPathOnly) {
  if (exe.empty()) return 0;
  const std::string shortExe = ShortForm(exe, kNoShortForm);
  DWORD found = 0;
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snap == INVALID_HANDLE_VALUE) return 0;
  PROCESSENTRY32 pe{};
  pe.dwSize = sizeof pe;
  for (BOOL more = Process32First(snap, &pe); more; more = Process32Next(snap, &pe)) {
    const std::string path = pe.szExeFile;
    const std::string name = fullPathOnly ? "*X*" : ExtractFileName(path);
    if (SameExe(path, exe) || SameExe(name, exe) || SameExe(ShortForm(path, ""), shortExe))
      found = pe.th32ProcessID;
  }
  CloseHandle(snap);
  return found;
}

std::vector<DWORD> ProcessIdList() {
  using EnumProcessesProc = BOOL(WINAPI*)(DWORD*, DWORD, DWORD*);
  auto enumProcesses = ProcAs<EnumProcessesProc>(GetLibraryProc("psapi.dll", "EnumProcesses"));
  std::vector<DWORD> ids;
  if (!enumProcesses) return ids;
  // A full buffer may mean that more ids were left out: grow and ask again.
  for (DWORD bytes = 1024;; bytes += 1024) {
    ids.resize(bytes / sizeof(DWORD));
    DWORD filled = 0;
    if (!enumProcesses(ids.data(), bytes, &filled)) return {};
    if (filled < bytes) {
      ids.resize(filled / sizeof(DWORD));
      return ids;
    }
  }
}

bool IsProcessAlive(DWORD pid) {
  for (DWORD id : ProcessIdList())
    if (id == pid) return true;
  return false;
}

bool IsProgramRunning(const std::string& exe) { return FindProcess(Unquoted(exe), false) != 0; }

void WaitProgramGone(const std::string& exe, int64_t timeoutMs) {
  const std::string file = Unquoted(exe);
  const int64_t start = NowMs();
  auto timeUp = [&] { return timeoutMs != 0 && NowMs() - start > timeoutMs; };
  Delay(0, 1000);
  if (IsWinNT()) {
    const DWORD pid = FindProcessByWindows(file, false);
    if (!pid) return;
    do Delay(0, 1000);
    while (!timeUp() && IsProcessAlive(pid));
  } else {
    do Delay(0, 1000);
    while (!timeUp() && FindProcessBySnapshot(file, false) != 0);
  }
}

void WaitWindowGone(const std::string& className, const char* title) {
  while (FindWindowA(className.c_str(), title)) {
    YieldX(0);
    Sleep(100);
  }
}

HWND FindMainWindow(const std::string& exe, bool fullPathOnly) {
  const DWORD pid = FindProcess(exe, fullPathOnly);
  if (!pid) return nullptr;
  auto a = std::make_unique<TAnalizer>();
  a->ProcessId = pid;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(a.get()));

  std::unordered_map<HWND, int> index;
  for (int i = 0; i < a->Count; ++i) index[a->Windows[i]] = i;
  auto traits = std::make_unique<TWindowTraits[]>(TAnalizer::kSlots);
  for (int i = 0; i < a->Count; ++i) {
    const auto owner = index.find(TopOwner(a->Windows[i]));
    traits[i] = TWindowTraits{owner == index.end() ? -1 : owner->second, !WindowTitle(a->Windows[i]).empty(),
                              IsWindowVisible(a->Windows[i]) != FALSE};
  }
  const int best = ScoreWindows(traits.get(), a->Scores, a->Count);
  return best < 0 ? nullptr : a->Windows[best];
}

bool PostProcessMessage(const std::string& exe, bool fullPathOnly, UINT message, WPARAM wParam,
                        LPARAM lParam) {
  HWND w = FindMainWindow(exe, fullPathOnly);
  if (w) PostMessageA(w, message, wParam, lParam);
  return w != nullptr;
}

bool CloseProgram(const std::string& exe, bool fullPathOnly) {
  return PostProcessMessage(exe, fullPathOnly, WM_CLOSE, 15, 255);
}

bool QuitProgram(const std::string& exe, bool fullPathOnly) {
  return PostProcessMessage(exe, fullPathOnly, WM_QUIT, 15, 255);
}

bool KillProgram(const std::string& exe, bool fullPathOnly) {
  const DWORD pid = FindProcess(exe, fullPathOnly);
  DebugLine("PID=" + IntToText(pid) + "\t   Exists=" + BoolText(FileExists(exe)) + "\t  >" + exe + "<");
  if (!pid) return false;
  HANDLE h = OpenProcess(PROCESS_TERMINATE, FALSE, pid);
  if (!h) return false;
  const bool ok = TerminateProcess(h, 0) != FALSE;
  CloseHandle(h);
  return ok;
}
