#include <windows.h>

#include "package/PackX.h"

uint32_t ClusterSize(const std::string& folder) {
  const std::string root = folder.substr(0, 3);
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
  if (!GetDiskFreeSpaceA(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters)) return 0;
  return sectorsPerCluster * bytesPerSector;
}
