#pragma once
// Starts kavrix-msgbox-helper, which waits for a message box of any process,
// records it and answers it. Start it before the box opens, then Finish.
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

#include "tests/win32/TestEnv.h"

struct SeenBox {
  int exitCode = -1;  // 0 answered, 1 no box, 2 no such button
  std::string caption;
  std::string buttons;  // "|&Yes|&No|"
  std::string text;     // plain text, CR LF line ends
};

class MsgBoxHelper {
 public:
  // action: "/PRESS=1", "/PRESS=&No", "/CLOSE", "/ALTF4", or empty to only record.
  explicit MsgBoxHelper(const std::string& action, int waitMs = 60000) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    out_ = std::string(temp) + "msgbox-helper-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(++counter()) + ".txt";
    DeleteFileA(out_.c_str());
    std::string cmd = "\"" + testenv::BinDir() + "\\kavrix-msgbox-helper.exe\" /WAIT=" + std::to_string(waitMs) +
                      " \"/OUT=" + out_ + "\" " + action;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    started_ = CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_) != 0;
  }
  ~MsgBoxHelper() {
    if (!started_) return;
    if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi_.hProcess, 3);
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
    DeleteFileA(out_.c_str());
  }

  bool Started() const { return started_; }

  // Waits for the helper to end and reads its record.
  SeenBox Finish(DWORD timeoutMs = 90000) {
    SeenBox seen;
    if (!started_ || WaitForSingleObject(pi_.hProcess, timeoutMs) != WAIT_OBJECT_0) return seen;
    DWORD code = 0;
    GetExitCodeProcess(pi_.hProcess, &code);
    seen.exitCode = static_cast<int>(code);
    std::ifstream in(out_, std::ios::binary);
    const std::string all((std::istreambuf_iterator<char>(in)), {});
    const size_t first = all.find("\r\n");
    const size_t second = first == std::string::npos ? first : all.find("\r\n", first + 2);
    if (second == std::string::npos) return seen;
    seen.caption = all.substr(0, first);
    seen.buttons = all.substr(first + 2, second - first - 2);
    seen.text = all.substr(second + 2);
    return seen;
  }

 private:
  static int& counter() {
    static int n = 0;
    return n;
  }
  std::string out_;
  PROCESS_INFORMATION pi_{};
  bool started_ = false;
};
