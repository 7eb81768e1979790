#pragma once
// Setup files and volume sets put together byte by byte, for the cases a sound
// builder never writes (hostile names, lying lengths, bad checksums).
#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

#include "package/ByteSource.h"
#include "package/PackFormat.h"
#include "package/PackTokens.h"

namespace kit {

inline std::string Block(int32_t length, const std::string& bytes) { return Uint32Bytes(uint32_t(length)) + bytes; }

// One zlib stream of content.
inline std::string Deflate(const std::string& content, int level = 6) {
  uLongf n = compressBound(uLong(content.size()));
  std::string out(n, '\0');
  compress2(reinterpret_cast<Bytef*>(&out[0]), &n, reinterpret_cast<const Bytef*>(content.data()),
            uLong(content.size()), level);
  out.resize(n);
  return out;
}

// A zlib block of content, compressed at level whatever its size.
inline std::string ZlibBlock(const std::string& content, int level = 6) {
  const std::string stream = Deflate(content, level);
  return Block(int32_t(stream.size()), stream);
}

inline std::string StoredBlock(const std::string& content) { return Block(-int32_t(content.size()), content); }

struct SetupSpec {
  std::string image;  // the stub's bytes; empty for a plain volume
  std::string language = "\x02\x01" "English\x01s0=Kavrix Test\x01\x02";
  std::string autoUpdate = "|||||";
  bool headers = true;  // first volume: header strings
  std::string blocks;   // file records
  uint32_t fileCount = 0;
  uint8_t flags = 0;
  uint8_t makeAgent = 0;
  uint32_t spaceNeeded = 4096;
  bool checkSumOff = false;
};

// image + header strings + blocks + trailer, with the end-of-package position
// set in an image and the checksum computed as the stub recomputes it.
inline std::string Assemble(const SetupSpec& s) {
  std::string file = s.image;
  TPackTrailer t;
  std::memset(&t, 0, sizeof t);
  t.Reserved0 = 1;
  t.HeaderCount = 2;
  t.HeaderPos = uint32_t(file.size());
  t.FileCount = s.fileCount;
  t.Magic = kPackMagic;
  for (uint32_t& n : t.SpaceNeeded) n = s.spaceNeeded;
  t.Flags = s.flags;
  t.MakeAgent = s.makeAgent;
  t.TrailerSize = kTrailerSize;
  if (s.headers) file += HeaderStringBlock(s.language) + HeaderStringBlock(s.autoUpdate);
  file += s.blocks;
  file += TrailerBytes(t);
  if (!s.image.empty()) SetEndOfPackage(file, file.size());
  t.CheckSum = s.checkSumOff ? kCheckSumOff : PackageCheckSum(MemorySource(file), kTrailerSize);
  file.replace(file.size() - kTrailerSize, kTrailerSize, TrailerBytes(t));
  return file;
}

}  // namespace kit
