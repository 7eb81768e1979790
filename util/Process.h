#pragma once
// Top-level windows and the processes that own them.
#include <windows.h>

#include <string>

// One item per executable that owns a top-level window, in the system's window
// order; each list starts as "|".
struct TProcessData {
  std::string Pids, Exes, Classes, Handles, Threads, Titles, Visible;
};

// Window queries; empty for a null handle.
std::string WindowClassName(HWND window);
std::string WindowTitle(HWND window);
// The last window on the owner chain; the window itself when it has no owner.
HWND TopOwner(HWND window);
// Hands a file or address to the shell (desktop as parent); true when accepted.
bool ShellOpen(const std::string& file, const std::string& parameters, int showMode);

// Executable file of the window's process, as the process snapshot names it.
std::string WindowExeName(HWND window);
void EnumTopWindows(TProcessData& data);
// exe=pid for every executable that owns a top-level window.
std::string ProcessList();
