#pragma once
// Package checksum, token encoding and the making of update agent files.
#include <cstdint>
#include <string>

#include "package/PackFormat.h"

class ByteSource;

constexpr int64_t kCheckSumSizeLimit = 52428800;  // larger files are not summed

// The 32-bit package checksum of a file whose trailer is trailerLength bytes;
// kCheckSumOff for files above 50 MiB. An executable image with an end-of-package
// position is summed from offset 512, past the header area that signing changes.
uint32_t PackageCheckSum(const ByteSource& file, uint32_t trailerLength);
uint32_t PackageCheckSum(const std::string& path, uint32_t trailerLength);
// The extraction's test: equal, or either side switched off.
bool CheckSumPasses(uint32_t computed, uint32_t stored);

// The decoded token; a random number in decimal when text does not decode, so
// that a broken token matches nothing.
std::string DecodeToken(const std::string& text);
// False when text does not decode; then decoded is left empty.
bool TryDecodeToken(const std::string& text, std::string& decoded);
// Encodes token so that DecodeToken gives it back; the padding comes from seed.
std::string EncodeToken(const std::string& token, uint32_t seed);

// Agent file from a package: bytes before the first file record (no end-of-
// package position) and the package's trailer marked as an agent.
std::string AgentFromPackage(std::string head, const TPackTrailer& trailer);
// Agent file from a web installer's own file: cut at its end-of-package position
// when that lies less than 10,000 bytes before the end, IsAgent set.
std::string AgentFromWebInstaller(std::string content);

// Windows: the agent files above written whole (created or replaced) with the
// given FAT date. dataStart is the first file record of the package's volume 1.
// False when the package cannot be read up to dataStart or the write fails.
bool WriteAgentFromPackage(const ByteSource& package, int64_t dataStart, const std::string& target,
                           uint32_t fileDate);
bool WriteAgentFromWebInstaller(const std::string& content, const std::string& target, uint32_t fileDate);
