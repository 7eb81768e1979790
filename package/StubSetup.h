#pragma once
// The setup flow, started by the main window's first timer tick.
#include <windows.h>

// Kills the work timer first (so a nested tick cannot start it twice), runs the
// setup and ends the main loop.
void StartSetupFlow(HWND mainWindow);
