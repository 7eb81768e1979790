#pragma once
// Decisions of file writing and of the self-delete batch, apart from the file system.
#include <cstdint>
#include <string>

// Writes with a progress sink, or of more than 1 MiB, go in chunks.
bool WritesInChunks(uint64_t size, bool hasSink);
// A tenth of the size, at most 1 MiB; when a tenth is 1024 bytes or less,
// 1024 bytes or the whole size if that is smaller.
uint64_t ChunkSize(uint64_t size);

// Text of the batch that deletes the program's file once it has ended, then
// (if asked) its folder when empty, then itself. Lines end with CR LF.
std::string SelfDeleteBatchText(const std::string& exePath, const std::string& exeDirNoBackslash,
                                const std::string& batchPath, bool removeFolder);
