#pragma once
// Reading a package file (and the rest of its set) the way the stub will, and
// describing what was found.
#include <cstdint>
#include <string>
#include <vector>

class ByteSource;

struct PackRecord {
  std::string header;  // "|name|date|"
  std::string data;
  bool compressed = false;
  uint32_t blockSize = 0;  // bytes in the file
};

// The records from pos up to limit (the trailer). False with a reason at the
// first block that does not fit there or does not inflate, or when bytes are
// left over before the limit.
bool ReadRecords(const ByteSource& file, int64_t pos, int64_t limit, std::vector<PackRecord>& records,
                 std::string& fault);

// Appends a description of the package at path, and of the volumes and the web
// package that belong to it, to report. True when everything is sound: the
// trailer and header strings read, checksums pass, every block lies inside its
// volume and inflates, records have safe names, and the file count matches.
bool InspectPackage(const std::string& path, std::string& report, std::string& faults);
