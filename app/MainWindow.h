#pragma once
// The one top-level window of every run that does work: icon, status line,
// main bar and activity bar, the work timer and the message loop.
#include <windows.h>

#include <cstdint>
#include <string>

// Messages between copies of the program (and to listener windows).
constexpr UINT wm_ShutDown = 1123;
constexpr UINT wm_LocalMsg = 1124;
constexpr UINT wm_AgentMsg = 1125;

// The program's main loop: registers the class, creates the hidden window,
// runs the loop until the flow posts quit or the window is destroyed, then
// stops transfers and tells a listener that the loop has ended. Named apart
// from the system's entry point WinMain, which windows.h declares with C
// linkage and which therefore cannot be overloaded.
void StubWinMain();

// Steps of StubWinMain before the loop: class, window (children and work timer
// come with WM_CREATE) and the message box font. nullptr when creation failed.
HWND CreateMainWindow();

HWND MainWindowHandle();
HWND StatusLabelHandle();
HWND MainBarHandle();
HWND ActivityBarHandle();

void ShowActivityBar(bool show);

// Lays the label out for the charset (right-to-left for 177 and 178), gives
// it a font of the face and size in points, and the text.
void SetStatusText(HWND label, const std::string& text, const std::string& face, int sizePoints, int charset);

// Answer to a close request: the first one only asks running transfers to
// stop; true (close) once the abort flag is already set.
bool CloseMainWindow();

// End of the window's life: stops transfers, removes the setup temp folder,
// ends the loop.
void DestroyMainWindow();

// Posts (reply message, code, detail) to the listener window registered by
// wm_LocalMsg; nothing while none is registered.
void Notify(int32_t code, int32_t detail);
