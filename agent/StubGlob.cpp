#include "agent/StubGlob.h"

#include <cctype>

char BestTempDrive(const std::vector<std::pair<char, double>>& freeByDrive) {
  char best = 0;
  double most = 0;
  for (const auto& [drive, free] : freeByDrive) {
    if (free > most) {
      best = drive;
      most = free;
    }
  }
  return best;
}

bool IsOtherDrive(char winner, const std::string& tempDir) {
  if (winner == 0) return false;
  const int tempDrive = tempDir.empty() ? 0 : std::toupper(static_cast<unsigned char>(tempDir[0]));
  return std::toupper(static_cast<unsigned char>(winner)) != tempDrive;
}
