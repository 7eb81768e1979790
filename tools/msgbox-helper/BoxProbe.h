#pragma once
// Finds an open message box ("KMsgBox" window, in this or another process),
// reads what it shows and answers it. Shared by the helper program and the
// Windows tests.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace boxprobe {

inline std::string ClassOf(HWND hwnd) {
  char buf[64] = {};
  GetClassNameA(hwnd, buf, sizeof buf);
  return buf;
}

inline std::string TextOf(HWND hwnd) {
  char buf[512] = {};
  GetWindowTextA(hwnd, buf, sizeof buf);
  return buf;
}

inline BOOL CALLBACK CollectChild(HWND child, LPARAM lp) {
  reinterpret_cast<std::vector<HWND>*>(lp)->push_back(child);
  return TRUE;
}

inline std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> found;
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&found));
  return found;
}

// The box's push buttons from left to right.
inline std::vector<HWND> Buttons(HWND box) {
  std::vector<HWND> buttons;
  for (HWND c : Children(box))
    if (lstrcmpiA(ClassOf(c).c_str(), "Button") == 0) buttons.push_back(c);
  std::sort(buttons.begin(), buttons.end(), [](HWND a, HWND b) {
    RECT ra, rb;
    GetWindowRect(a, &ra);
    GetWindowRect(b, &rb);
    return ra.left < rb.left;
  });
  return buttons;
}

inline std::vector<std::string> ButtonCaptions(HWND box) {
  std::vector<std::string> captions;
  for (HWND b : Buttons(box)) captions.push_back(TextOf(b));
  return captions;
}

// The rich-edit control (or the plain edit control standing in for it).
inline HWND TextControl(HWND box) {
  for (HWND c : Children(box))
    if (lstrcmpiA(ClassOf(c).c_str(), "RICHEDIT") == 0 || lstrcmpiA(ClassOf(c).c_str(), "Edit") == 0) return c;
  return nullptr;
}

// The control's own text needs a message; the window-title copy is not kept.
inline std::string PlainText(HWND box) {
  const HWND text = TextControl(box);
  if (!text) return "";
  std::vector<char> buf(16384);
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(text, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()), SMTO_NORMAL, 20000,
                           &copied))
    return "";
  return std::string(buf.data(), std::min<size_t>(copied, buf.size()));
}

// A box that has been laid out: created at (-100, -100), moved once the text
// has been measured.
inline bool IsShownBox(HWND box, DWORD processId) {
  DWORD owner = 0;
  GetWindowThreadProcessId(box, &owner);
  RECT rc{};
  return (processId == 0 || owner == processId) && GetWindowRect(box, &rc) && rc.left != -100 &&
         IsWindowVisible(box);
}

// Waits for a shown box whose modal loop serves messages; processId 0 takes a
// box of any process, otherwise only that process's boxes count (a box left
// open by another program must not be taken for the one under test).
inline HWND WaitForBox(DWORD timeoutMs, DWORD processId = 0) {
  const DWORD start = GetTickCount();
  for (;;) {
    for (HWND box = FindWindowExA(nullptr, nullptr, "KMsgBox", nullptr); box;
         box = FindWindowExA(nullptr, box, "KMsgBox", nullptr)) {
      if (!IsShownBox(box, processId)) continue;
      DWORD_PTR ignored = 0;
      SendMessageTimeoutA(box, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &ignored);
      return box;
    }
    if (GetTickCount() - start > timeoutMs) return nullptr;
    Sleep(20);
  }
}

inline bool WaitUntilGone(HWND box, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (IsWindow(box)) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(20);
  }
  return true;
}

// Posted input is reliable even when the box's thread sits in its modal loop.
inline void Click(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }
inline void CloseBox(HWND box) { PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0); }

}  // namespace boxprobe
