// The package reader, token decoding and the language-list lookups on arbitrary
// bytes: nothing may be read outside the input, and the strings read must lie
// inside it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "package/ByteSource.h"
#include "package/PackTokens.h"
#include "package/PackX.h"

namespace {

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

void Describe(const std::string& file) {
  const TGFileInfo d{MemorySource(file)};
  const size_t strings = d.LanguageBlock().size() + d.AutoUpdateRecord().size() + d.DownloadRecord().size();
  Check(strings <= file.size(), "header strings longer than the file");
  if (!d.LanguageBlock().empty() || !d.AutoUpdateRecord().empty())
    Check(d.Trailer().Magic == kPackMagic && d.Trailer().HeaderPos <= file.size(), "strings without a package");
  d.InfoFileName();
  d.OriginalFileName();
  d.UpdateToken(true);
  d.SameDownloadToken(d);
  d.SpaceRequired("C:\\");
  EntryText(ChooseLanguageEntry(d.LanguageBlock(), "ENGLISH"), "s0", "d");
  PackageCheckSum(MemorySource(file), d.Trailer().TrailerSize);
  AgentFromWebInstaller(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  Describe(input);

  // The same bytes as header strings ahead of a sound trailer, so that lying
  // lengths and positions reach the header reader.
  TPackTrailer t = TrailerFromBytes("");
  t.Magic = kPackMagic;
  t.HeaderCount = size ? uint8_t(input[0] % 5) : 0;
  t.HeaderPos = size > 1 ? uint8_t(input[1]) % (size + 8) : 0;
  t.TrailerSize = kTrailerSize;
  std::string file = input + TrailerBytes(t);
  Describe(file);
  // And behind a stub image whose end-of-package position comes from the input.
  std::string image(512, '\0');
  image[0] = 'M', image[1] = 'Z', image[256] = 'P', image[257] = 'E';
  file = image + file;
  SetEndOfPackage(file, size > 2 && input[2] & 1 ? uint64_t(uint8_t(input[2])) * 7 : file.size());
  Describe(file);

  std::string decoded;
  if (TryDecodeToken(input, decoded)) Check(decoded.size() <= input.size() / 2, "token longer than its text");
  Check(!DecodeToken(input).empty() || TryDecodeToken(input, decoded), "failed decoding gave no number");
  SelectEntry(input, "TURKISH");
  return 0;
}
