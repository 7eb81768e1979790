#include "agent/StubGlob.h"

#include <windows.h>

#include "util/Files.h"
#include "util/Utils.h"

namespace {

std::string g_setupFolder;
std::string g_alternativeBase;
std::string g_alternativeFolder;

// A folder name that nobody uses yet: prefix + a random number. Random names
// that happen to exist belong to someone else and must not be deleted.
std::string UnusedRandomFolder(const std::string& prefix) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string folder = prefix + RandomText(10000, 100000);
    if (GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES) return folder;
  }
  return "";
}

// Free space on the drive where a test file could be written; -1 when none.
double ProbeDrive(char drive) {
  const std::string temp = std::string(1, drive) + ":\\TEMP";
  const std::string probe = DirectoryExists(temp) ? UnusedRandomFolder(temp + "\\TEMP") : temp;
  if (probe.empty()) return -1;
  ForceDirectories(probe);
  WriteFileData(probe + "\\~aa.tmp", "aa", 0, false);
  const double free = FileExists(probe + "\\~aa.tmp") ? DiskFree(probe) : -1;
  DeleteTree(probe, false);
  return free;
}

}  // namespace

std::string SetupTempFolder() {
  if (g_setupFolder.empty()) {
    g_setupFolder = TempDir(true) + "SETUP_" + std::to_string(FileFatDate(ExePath()) & 0xFFFF);
    if (DirectoryExists(g_setupFolder)) DeleteTree(g_setupFolder, true);
    ForceDirectories(g_setupFolder);
  }
  return g_setupFolder;
}

bool ChooseAlternativeTempDrive() {
  if (!g_alternativeBase.empty()) return true;
  std::vector<std::pair<char, double>> freeByDrive;
  for (char drive : {'C', 'D', 'E'}) {
    if (GetDriveTypeA((std::string(1, drive) + ":\\").c_str()) == DRIVE_FIXED)
      freeByDrive.emplace_back(drive, ProbeDrive(drive));
  }
  const char winner = BestTempDrive(freeByDrive);
  if (IsOtherDrive(winner, TempDir(false))) {
    const std::string temp = std::string(1, winner) + ":\\TEMP";
    g_alternativeBase = DirectoryExists(temp) ? temp + "\\TEMP" : temp;
  }
  return !g_alternativeBase.empty();
}

std::string AlternativeTempFolder() {
  if (g_alternativeFolder.empty() && !g_alternativeBase.empty()) {
    g_alternativeFolder = UnusedRandomFolder(g_alternativeBase + "_");
    if (!g_alternativeFolder.empty()) ForceDirectories(g_alternativeFolder);
  }
  return g_alternativeFolder;
}

void RemoveAlternativeTempFolder() {
  if (!g_alternativeFolder.empty()) DeleteTree(g_alternativeFolder, false);
}
