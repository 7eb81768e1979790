#include "tests/win32/DebugCapture.h"

#include <fstream>
#include <iterator>

#include "tests/win32/TestEnv.h"

namespace {

HWND ViewerWindowOf(DWORD processId) {
  HWND wnd = FindWindowA(".KDebug.", nullptr);
  DWORD owner = 0;
  if (wnd) GetWindowThreadProcessId(wnd, &owner);
  return owner == processId ? wnd : nullptr;
}

}  // namespace

DebugCapture::DebugCapture() {
  if (FindWindowA(".KDebug.", nullptr)) {
    problem_ = "another debug viewer is running";
    return;
  }
  char dir[MAX_PATH], name[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  if (!GetTempFileNameA(dir, "kdv", 0, name)) {
    problem_ = "no temporary file";
    return;
  }
  file_ = name;

  std::string cmd = "\"" + testenv::BinDir() + "\\kavrix-debugview.exe\" /framed \"/out=" + file_ + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &process_)) {
    problem_ = "cannot start " + cmd;
    return;
  }
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < 30000) {
    window_ = ViewerWindowOf(process_.dwProcessId);
    if (window_) return;
    if (WaitForSingleObject(process_.hProcess, 20) == WAIT_OBJECT_0) break;
  }
  problem_ = "the viewer's window did not appear";
}

DebugCapture::~DebugCapture() {
  Stop();
  if (!file_.empty()) DeleteFileA(file_.c_str());
}

void DebugCapture::Stop() {
  if (!process_.hProcess) return;
  if (window_) PostMessageA(window_, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process_.hProcess, 20000) != WAIT_OBJECT_0) {
    TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, 5000);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
  process_ = {};
  window_ = nullptr;
}

std::vector<std::string> DebugCapture::Pieces() const {
  std::ifstream in(file_, std::ios::binary);
  const std::string raw(std::istreambuf_iterator<char>(in), {});
  std::vector<std::string> pieces;
  size_t at = 0;
  while (at < raw.size()) {
    const size_t colon = raw.find(':', at);
    if (colon == std::string::npos) break;
    const size_t size = std::stoul(raw.substr(at, colon - at));
    if (colon + 1 + size > raw.size()) break;  // still being written
    pieces.push_back(raw.substr(colon + 1, size));
    at = colon + 1 + size;
  }
  return pieces;
}

std::string DebugCapture::Text() const {
  std::string text;
  for (const std::string& p : Pieces()) text += p;
  return text;
}

bool DebugCapture::WaitFor(const std::string& needle, DWORD timeoutMs) const {
  const DWORD start = GetTickCount();
  do {
    if (Text().find(needle) != std::string::npos) return true;
    Sleep(20);
  } while (GetTickCount() - start < timeoutMs);
  return Text().find(needle) != std::string::npos;
}
