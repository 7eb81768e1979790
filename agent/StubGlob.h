#pragma once
// Working folders of the setup flow and the update run. Each text is fixed on
// first use for the life of the process.
#include <string>
#include <utility>
#include <vector>

// Temp folder + "SETUP_" + the time-of-day half of the program's FAT date;
// emptied and created on first use. No trailing backslash.
std::string SetupTempFolder();
// True when a fixed drive other than the temporary folder's has more room;
// the probe is repeated on later calls until one is chosen.
bool ChooseAlternativeTempDrive();
// Base + "_" + a random number, created on first use; empty without a base.
std::string AlternativeTempFolder();
void RemoveAlternativeTempFolder();

// Portable part: the drive with strictly the most free space wins (the earlier
// letter among equals); nothing wins without positive space. 0 = none.
char BestTempDrive(const std::vector<std::pair<char, double>>& freeByDrive);
// Whether the winner differs from the drive of the temporary folder.
bool IsOtherDrive(char winner, const std::string& tempDir);
