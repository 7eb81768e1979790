#include <gtest/gtest.h>

#include "package/ByteSource.h"
#include "package/PackFormat.h"
#include "tests/native/PackFixture.h"

namespace {

TPackTrailer Read(const std::string& file) {
  TPackTrailer t;
  ReadTrailer(MemorySource(file), t);
  return t;
}

bool IsZero(const TPackTrailer& t) { return TrailerBytes(t) == std::string(kTrailerSize, '\0'); }

}  // namespace

TEST(ReadTrailer, ReadsEveryFieldAsWritten) {
  TPackTrailer t = packfixture::Trailer(1234, 3);
  t.FileCount = 7;
  t.CheckSum = 0xDEADBEEF;
  for (int i = 0; i < kSpaceEntries; ++i) t.SpaceNeeded[i] = 1000u * (i + 1);
  t.Reserved20[0] = 0x55;
  t.Reserved64 = 0x66;
  t.Flags = kFlagTellDrive | kFlagActivityBar | kFlagLog;
  t.WebInstall = 1;
  t.AskDownload = 2;
  t.MakeAgent = 3;
  t.IsAgent = 4;
  const TPackTrailer r = Read("volume data" + TrailerBytes(t));
  EXPECT_EQ(TrailerBytes(r), TrailerBytes(t));
}

TEST(ReadTrailer, OldSeventyByteTrailerLeavesLaterFieldsZero) {
  TPackTrailer t = packfixture::Trailer(0);
  t.WebInstall = t.AskDownload = t.MakeAgent = t.IsAgent = 1;
  t.Flags = kFlagSpanned;
  std::string old = TrailerBytes(t).substr(0, 66) + Uint32Bytes(70);
  const TPackTrailer r = Read("xx" + old);
  EXPECT_EQ(+r.TrailerSize, 70u);
  EXPECT_EQ(+r.Magic, kPackMagic);
  EXPECT_EQ(+r.Flags, kFlagSpanned) << "offset 65 is the last byte a 70-byte trailer holds";
  EXPECT_EQ(r.WebInstall + r.AskDownload + r.MakeAgent + r.IsAgent, 0);
}

TEST(ReadTrailer, HeaderCountZeroReadsAsTwo) {
  TPackTrailer t = packfixture::Trailer(0, 0);
  EXPECT_EQ(+Read(TrailerBytes(t)).HeaderCount, 2);
  t.HeaderCount = 3;
  EXPECT_EQ(+Read(TrailerBytes(t)).HeaderCount, 3);
}

TEST(ReadTrailer, EndOfPackagePositionDecidesWhereTheTrailerIs) {
  TPackTrailer inner = packfixture::Trailer(1024);
  inner.FileCount = 11;
  TPackTrailer tail = packfixture::Trailer(1024);
  tail.FileCount = 22;  // a trailer-like tail of appended data
  std::string file = packfixture::Image() + TrailerBytes(inner);
  const uint64_t end = file.size();
  file += std::string(100, 'S') + TrailerBytes(tail);

  SetEndOfPackage(file, end);
  EXPECT_EQ(EndOfPackage(file), int64_t(end));
  EXPECT_EQ(+Read(file).FileCount, 11u);

  SetEndOfPackage(file, 0);  // unset: the last 74 bytes
  EXPECT_EQ(+Read(file).FileCount, 22u);

  std::string volume = file;  // not an executable image: bytes 248..255 ignored
  SetEndOfPackage(volume, end);
  volume[256] = 'X';
  EXPECT_EQ(+Read(volume).FileCount, 22u);
}

TEST(ReadTrailer, EndOfPackageCombinesBothHalves) {
  std::string image = packfixture::Image();
  SetEndOfPackage(image, 0x0000000500000010ull);
  EXPECT_EQ(EndOfPackage(image), 0x0000000500000010ll);
  EXPECT_EQ(image[248], 5);
  EXPECT_EQ(image[252], 0x10);
  EXPECT_EQ(EndOfPackage(std::string("MZ")), 0);
}

// Lengths that do not fit the file: no package, and nothing outside the file is
// read (the sanitizers watch the memory source's bounds).
TEST(ReadTrailer, LengthsThatDoNotFitGiveNoPackage) {
  const std::string trailer = TrailerBytes(packfixture::Trailer(0));
  std::string beyondEnd = packfixture::Image() + trailer;
  SetEndOfPackage(beyondEnd, beyondEnd.size() + 1);
  std::string tinyEnd = packfixture::Image() + trailer;
  SetEndOfPackage(tinyEnd, 3);
  struct Row {
    const char* what;
    std::string file;
  } rows[] = {
      {"empty file", ""},
      {"three bytes", "abc"},
      {"length 0", trailer.substr(0, 70) + Uint32Bytes(0)},
      {"length 3", trailer.substr(0, 70) + Uint32Bytes(3)},
      {"length one past the file", trailer.substr(0, 70) + Uint32Bytes(75)},
      {"length 0xFFFFFFFF", trailer.substr(0, 70) + Uint32Bytes(0xFFFFFFFF)},
      {"end-of-package position past the file", beyondEnd},
      {"end-of-package position below 4", tinyEnd},
  };
  for (const Row& row : rows) EXPECT_TRUE(IsZero(Read(row.file))) << row.what;
  // A length of exactly 4 is a trailer with no fields.
  EXPECT_EQ(+Read(Uint32Bytes(4)).TrailerSize, 4u);
}

TEST(Blocks, ReadBlockAtKeepsBlocksInsideTheLimit) {
  const std::string file = HeaderStringBlock("abc") + Uint32Bytes(uint32_t(-2)) + "xy" + Uint32Bytes(100);
  const MemorySource src(file);
  TBlockRef b;
  ASSERT_TRUE(ReadBlockAt(src, 0, int64_t(file.size()), b));
  EXPECT_EQ(b.Length, 3);
  EXPECT_EQ(b.Next(), 7);
  ASSERT_TRUE(ReadBlockAt(src, 7, int64_t(file.size()), b));
  EXPECT_EQ(b.Length, -2);
  EXPECT_EQ(b.DataSize(), 2u);
  EXPECT_FALSE(ReadBlockAt(src, 13, int64_t(file.size()), b)) << "length reaches past the end";
  EXPECT_FALSE(ReadBlockAt(src, 7, 12, b)) << "bytes reach past the limit";
  EXPECT_FALSE(ReadBlockAt(src, int64_t(file.size()) - 2, int64_t(file.size()), b));
}

TEST(Blocks, RecordBlockIsStoredWhenZlibDoesNotHelp) {
  const std::string text = RecordContent("a\\b.txt", 0x5A2B1C3D, std::string(5000, 'k'));
  const std::string packed = RecordBlock(text, 6);
  const MemorySource src(packed);
  TBlockRef b;
  ASSERT_TRUE(ReadBlockAt(src, 0, int64_t(packed.size()), b));
  EXPECT_GT(b.Length, 0) << "repetitive data compresses";
  EXPECT_LT(packed.size(), 200u);

  const std::string tiny = RecordContent("x", 0, "1");
  const std::string stored = RecordBlock(tiny, 9);
  EXPECT_EQ(stored, Uint32Bytes(0u - uint32_t(tiny.size())) + tiny);
  EXPECT_EQ(RecordBlock(text, 0).size(), text.size() + 4) << "level 0 stores";
}

TEST(Blocks, RecordContentIsNameDateNulData) {
  std::string header, data;
  SplitRecord(RecordContent("Setup.exe*/x", 1234, std::string("d\0ta", 4)), header, data);
  EXPECT_EQ(header, "|Setup.exe*/x|1234|");
  EXPECT_EQ(data, std::string("d\0ta", 4));
  // A name holding "|" gets a list with another separator.
  SplitRecord(RecordContent("Eng.exe*/a=|b|", 0, ""), header, data);
  EXPECT_EQ(header, "^Eng.exe*/a=|b|^0^");
  SplitRecord("no nul", header, data);
  EXPECT_EQ(header, "no nul");
  EXPECT_EQ(data, "");
}
