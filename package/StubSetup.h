#pragma once
// The setup flow: unpack a package into a working folder, start the setup
// engine it marks, wait for the engine and its dialog, clean up.
#include <windows.h>

#include <string>

class TGFileInfo;

// Kills the work timer first (so a nested tick cannot start it twice), runs the
// setup and ends the main loop.
void StartSetupFlow(HWND mainWindow);

// Unpacks source into destination (or an alternative folder with more room),
// asks the free-space question in the foreground, starts the engine with
// commandTail and waits for it. True when the engine took the completion atom
// away, i.e. it finished its work. The process's exit code becomes the engine's.
bool RunSetup(std::string destination, const std::string& source, const std::string& agentName,
              const std::string& commandTail, bool foreground);

// The package's space need on folder's drive is below the drive's free space,
// and the folder exists.
bool EnoughSpace(const std::string& folder, const std::string& packagePath);
// Asks whether to go on when the package wants the drive named or the space is
// short; true to go on (also when nothing needed asking).
bool AskFreeSpace(const std::string& folder, const TGFileInfo& desc);
// The user's registry setting that makes every further disk be asked for.
bool ForcePromptSet();
