#pragma once
// Small packages assembled byte by byte for the reader tests.
#include <string>

#include "package/PackFormat.h"

namespace packfixture {

// A stub image: "MZ", "PE" at 256, padded to size bytes.
inline std::string Image(size_t size = 1024) {
  std::string image(size, '\0');
  image[0] = 'M';
  image[1] = 'Z';
  image[256] = 'P';
  image[257] = 'E';
  return image;
}

inline TPackTrailer Trailer(uint32_t headerPos, uint8_t headerCount = 2) {
  TPackTrailer t = TrailerFromBytes("");
  t.Reserved0 = 1;
  t.HeaderCount = headerCount;
  t.HeaderPos = headerPos;
  t.Magic = kPackMagic;
  t.CheckSum = kCheckSumOff;
  t.TrailerSize = kTrailerSize;
  return t;
}

// image + the header strings + records + trailer (with end-of-package position
// when the image is an executable).
inline std::string Package(std::string image, const std::string& language, const std::string& autoUpdate,
                           const std::string* download = nullptr, const std::string& records = "") {
  TPackTrailer t = Trailer(uint32_t(image.size()), download ? 3 : 2);
  std::string body = HeaderStringBlock(language) + HeaderStringBlock(autoUpdate);
  if (download) body += HeaderStringBlock(*download);
  body += records;
  const bool exe = !image.empty();
  std::string file = image + body + TrailerBytes(t);
  if (exe) SetEndOfPackage(file, file.size());
  return file;
}

}  // namespace packfixture
