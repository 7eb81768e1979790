#pragma once
// Finding running programs by their executable, waiting for them to end and
// shutting them down (close request, quit request, termination).
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Collects and scores the top-level windows of one process; lives inside one
// FindMainWindow call. Windows beyond the table's size are not collected.
class TAnalizer {
 public:
  static constexpr int kSlots = 2001;
  HWND Windows[kSlots];
  uint16_t Scores[kSlots];
  int32_t Count = 0;
  uint32_t ProcessId = 0;
};

// Process id of a program that owns a top-level window (0: none). The NT way;
// fullPathOnly makes no difference here, only the file name counts.
DWORD FindProcessByWindows(const std::string& exe, bool fullPathOnly);
// Process id from the system's process snapshot; the last match wins.
DWORD FindProcessBySnapshot(const std::string& exe, bool fullPathOnly);
std::vector<DWORD> ProcessIdList();
bool IsProcessAlive(DWORD pid);
bool IsProgramRunning(const std::string& exe);
// Returns when the program has ended, or after timeoutMs (0: no limit).
void WaitProgramGone(const std::string& exe, int64_t timeoutMs);
// Serves messages until no top-level window of the class (and title, when
// given) remains.
void WaitWindowGone(const std::string& className, const char* title = nullptr);
HWND FindMainWindow(const std::string& exe, bool fullPathOnly);
// Posts to the program's main window; true when one was found.
bool PostProcessMessage(const std::string& exe, bool fullPathOnly, UINT message, WPARAM wParam,
                        LPARAM lParam);
bool CloseProgram(const std::string& exe, bool fullPathOnly);
bool QuitProgram(const std::string& exe, bool fullPathOnly);
bool KillProgram(const std::string& exe, bool fullPathOnly);
