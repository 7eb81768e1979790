#pragma once
// Starting and watching programs from the Windows tests: every process a test
// starts is ended by that test, by handle.
#include <windows.h>

#include <string>

namespace kit {

class Child {
 public:
  // command: the whole command line; show: the start-up show mode.
  explicit Child(const std::string& command, WORD show = SW_SHOWNORMAL) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = show;
    std::string cmd = command;
    if (CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_))
      CloseHandle(pi_.hThread);
    else
      pi_ = PROCESS_INFORMATION{};
  }
  ~Child() {
    if (!pi_.hProcess) return;
    if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi_.hProcess, 99);
    CloseHandle(pi_.hProcess);
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  bool Started() const { return pi_.hProcess != nullptr; }
  DWORD Id() const { return pi_.dwProcessId; }
  // Exit code, or STILL_ACTIVE when it has not ended within timeoutMs.
  DWORD Wait(DWORD timeoutMs = 120000) const {
    DWORD code = STILL_ACTIVE;
    if (pi_.hProcess && WaitForSingleObject(pi_.hProcess, timeoutMs) == WAIT_OBJECT_0)
      GetExitCodeProcess(pi_.hProcess, &code);
    return code;
  }

 private:
  PROCESS_INFORMATION pi_{};
};

// Polls until ready() or timeoutMs.
template <class F>
bool WaitUntil(F ready, DWORD timeoutMs = 60000) {
  for (const DWORD start = GetTickCount(); !ready();) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(50);
  }
  return true;
}

inline HWND WaitWindow(const std::string& cls, DWORD timeoutMs = 60000) {
  HWND w = nullptr;
  WaitUntil([&] { return (w = FindWindowA(cls.c_str(), nullptr)) != nullptr; }, timeoutMs);
  return w;
}

inline std::string TempFolder(const std::string& name) {
  char buf[MAX_PATH];
  GetTempPathA(sizeof buf, buf);
  std::string path = std::string(buf) + name;
  CreateDirectoryA(path.c_str(), nullptr);
  return path;
}

inline std::string ReadAll(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) return "";
  std::string data(GetFileSize(h, nullptr), '\0');
  DWORD got = 0;
  if (!data.empty()) ReadFile(h, &data[0], DWORD(data.size()), &got, nullptr);
  CloseHandle(h);
  data.resize(got);
  return data;
}

inline bool WriteAll(const std::string& path, const std::string& data) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD put = 0;
  const bool ok = WriteFile(h, data.data(), DWORD(data.size()), &put, nullptr) && put == data.size();
  CloseHandle(h);
  return ok;
}

inline bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace kit
