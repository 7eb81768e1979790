#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "package/ByteSource.h"
#include "package/PackTokens.h"
#include "tests/native/PackFixture.h"

namespace {

std::string Words(std::initializer_list<uint32_t> words) {
  std::string out;
  for (uint32_t w : words) out += Uint32Bytes(w);
  return out;
}

// Reports a size without holding the bytes.
class SizedSource : public ByteSource {
 public:
  explicit SizedSource(int64_t size) : size_(size) {}
  int64_t Size() const override { return size_; }
  size_t ReadAt(int64_t offset, void* buffer, size_t count) const override {
    const int64_t n = offset >= size_ ? 0 : std::min<int64_t>(int64_t(count), size_ - offset);
    std::memset(buffer, 0, size_t(n));
    return size_t(n);
  }

 private:
  int64_t size_;
};

bool IsRandomNumberText(const std::string& s) {
  if (s.empty() || s.size() > 5) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return std::stoi(s) <= 99998;
}

}  // namespace

TEST(PackageCheckSum, SizeMinusTrailerTwentySumsThreeWords) {
  const std::string file = Words({1, 2, 4, 8, 16}) + std::string(74, '\x7F');
  EXPECT_EQ(PackageCheckSum(MemorySource(file), 74), 7u);
}

TEST(PackageCheckSum, AddsTheMarkerAfterEveryFullChunkWithDataLeft) {
  EXPECT_EQ(PackageCheckSum(MemorySource(std::string(3 * 4096 + 74, '\0')), 74), 2u * 1234);
}

TEST(PackageCheckSum, SignedImageIgnoresHeaderAreaAndAppendedData) {
  std::string file = packfixture::Image(2048) + std::string(3000, 'p') + TrailerBytes(packfixture::Trailer(2048));
  file[1000] = 9;
  SetEndOfPackage(file, file.size());
  const uint32_t before = PackageCheckSum(MemorySource(file), 74);

  std::string signed_ = file + std::string(777, 's');
  signed_[300] = 'x';  // a signing tool edits the header area
  EXPECT_EQ(PackageCheckSum(MemorySource(signed_), 74), before);
  signed_[1000] = 8;
  EXPECT_NE(PackageCheckSum(MemorySource(signed_), 74), before);
}

TEST(PackageCheckSum, FilesAboveFiftyMegabytesAreNotSummed) {
  EXPECT_EQ(PackageCheckSum(SizedSource(kCheckSumSizeLimit + 1), 74), kCheckSumOff);
  EXPECT_NE(PackageCheckSum(SizedSource(kCheckSumSizeLimit), 74), kCheckSumOff);
}

TEST(PackageCheckSum, PassingRule) {
  EXPECT_TRUE(CheckSumPasses(5, 5));
  EXPECT_TRUE(CheckSumPasses(5, kCheckSumOff));
  EXPECT_TRUE(CheckSumPasses(kCheckSumOff, 5));
  EXPECT_FALSE(CheckSumPasses(5, 6));
}

TEST(Tokens, DecodesAHandMadeToken) {
  // Bytes 10 03 02 42 41 AB 13: key 10^13 = 03, no lead, trail count 1, "AB".
  EXPECT_EQ(DecodeToken("cbbebdfdfcstce"), "AB");
  std::string out;
  EXPECT_TRUE(TryDecodeToken("cbbebdfdfcstce", out));
  EXPECT_FALSE(TryDecodeToken("cbbebdfdfcstcf", out)) << "check byte no longer matches";
}

TEST(Tokens, EncodeRoundTrips) {
  const std::string binary("\0\x01\xff|x", 5);
  for (const std::string& token : {std::string(), std::string("a"), std::string("Secret-Token 42"), binary,
                                    std::string(300, 'z')})
    for (uint32_t seed : {0u, 1u, 99u, 0xFFFFFFFFu}) {
      const std::string encoded = EncodeToken(token, seed);
      EXPECT_EQ(encoded.find('|'), std::string::npos);
      std::string decoded;
      EXPECT_TRUE(TryDecodeToken(encoded, decoded)) << seed;
      EXPECT_EQ(decoded, token) << seed;
    }
  EXPECT_EQ(EncodeToken("x", 5), EncodeToken("x", 5));
  EXPECT_NE(EncodeToken("x", 5), EncodeToken("x", 6));
}

TEST(Tokens, UndecodableTextGivesIndependentRandomNumbers) {
  const char* bad[] = {"", "cbbe", "cbbebdfdfcstcf", "cbbebd!dfcstce", "cbbebdfdfcstc"};
  for (const char* text : bad) {
    std::string out;
    EXPECT_FALSE(TryDecodeToken(text, out)) << text;
    EXPECT_TRUE(IsRandomNumberText(DecodeToken(text))) << text;
  }
  int same = 0;
  for (int i = 0; i < 20; ++i) same += DecodeToken("") == DecodeToken("");
  EXPECT_LT(same, 2) << "two failed decodings in a row must not repeat";
}

TEST(AgentFiles, FromPackageKeepsTrailerButMarksAgent) {
  TPackTrailer t = packfixture::Trailer(1024, 3);
  t.FileCount = 9;
  t.CheckSum = 77;
  t.Reserved20[3] = 5;
  t.Reserved64 = 6;
  t.Flags = kFlagLog;
  t.MakeAgent = 1;
  t.TrailerSize = 70;
  std::string head = packfixture::Image() + HeaderStringBlock("l") + HeaderStringBlock("a");
  SetEndOfPackage(head, 123456);
  const std::string agent = AgentFromPackage(head, t);

  ASSERT_EQ(agent.size(), head.size() + kTrailerSize);
  EXPECT_EQ(EndOfPackage(agent), 0);
  EXPECT_EQ(agent.substr(256, head.size() - 256), head.substr(256));
  TPackTrailer expect = t;
  expect.IsAgent = 1;
  expect.TrailerSize = 74;
  EXPECT_EQ(agent.substr(head.size()), TrailerBytes(expect));
}

TEST(AgentFiles, FromWebInstallerCutsOnlyNearTheEnd) {
  std::string installer = packfixture::Image(20000) + TrailerBytes(packfixture::Trailer(20000));
  const size_t end = installer.size();
  SetEndOfPackage(installer, end);

  const std::string near = AgentFromWebInstaller(installer + std::string(2000, 's'));
  ASSERT_EQ(near.size(), end);
  EXPECT_EQ(near[end - 5], 1);

  const std::string far = AgentFromWebInstaller(installer + std::string(20000, 's'));
  ASSERT_EQ(far.size(), end + 20000);
  EXPECT_EQ(far[far.size() - 5], 1);
  EXPECT_EQ(far[end - 5], 0);

  // No end-of-package position: a small file is kept whole, not cut to nothing.
  std::string small = "tiny installer" + TrailerBytes(packfixture::Trailer(0));
  EXPECT_EQ(AgentFromWebInstaller(small).size(), small.size());
}
