#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "package/ByteSource.h"
#include "package/PackTokens.h"
#include "package/PackX.h"
#include "tools/pack/PackBuild.h"
#include "tools/pack/PackInspect.h"

namespace fs = std::filesystem;

namespace {

void Put16(std::string& b, size_t at, uint16_t v) { b[at] = char(v), b[at + 1] = char(v >> 8); }
void Put32(std::string& b, size_t at, uint32_t v) { b.replace(at, 4, Uint32Bytes(v)); }

// The smallest PE32 image a signing tool accepts: headers at 256 like the
// stub's, one code section of one "ret".
std::string MinimalImage() {
  std::string b(0x400, '\0');
  b[0] = 'M', b[1] = 'Z';
  Put32(b, 0x3C, 0x100);
  b.replace(0x100, 4, std::string("PE\0\0", 4));
  Put16(b, 0x104, 0x14C);   // i386
  Put16(b, 0x106, 1);       // sections
  Put16(b, 0x114, 224);     // optional header size
  Put16(b, 0x116, 0x0102);  // executable, 32-bit
  const size_t o = 0x118;
  Put16(b, o, 0x10B);
  Put32(b, o + 4, 0x200);      // size of code
  Put32(b, o + 16, 0x1000);    // entry point
  Put32(b, o + 20, 0x1000);    // base of code
  Put32(b, o + 24, 0x2000);    // base of data
  Put32(b, o + 28, 0x400000);  // image base
  Put32(b, o + 32, 0x1000);    // section alignment
  Put32(b, o + 36, 0x200);     // file alignment
  Put16(b, o + 40, 4);
  Put16(b, o + 48, 4);
  Put32(b, o + 56, 0x2000);    // size of image
  Put32(b, o + 60, 0x200);     // size of headers
  Put16(b, o + 68, 2);         // GUI
  Put32(b, o + 72, 0x100000);
  Put32(b, o + 76, 0x1000);
  Put32(b, o + 80, 0x100000);
  Put32(b, o + 84, 0x1000);
  Put32(b, o + 92, 16);        // data directories
  const size_t s = o + 224;
  b.replace(s, 5, ".text");
  Put32(b, s + 8, 0x200);
  Put32(b, s + 12, 0x1000);
  Put32(b, s + 16, 0x200);
  Put32(b, s + 20, 0x200);
  Put32(b, s + 36, 0x60000020);
  b[0x200] = char(0xC3);
  return b;
}

int Shell(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()); }

}  // namespace

// A signature appended after building leaves the package readable: the trailer
// is found through the end-of-package position and the checksum skips the
// header area that the signing tool rewrites.
TEST(CodeSigning, SignedSetupKeepsItsPackage) {
  const fs::path dir = fs::path(::testing::TempDir()) / "packsign";
  fs::remove_all(dir);
  fs::create_directories(dir / "payload");
  ASSERT_TRUE(WriteWholeFile((dir / "stub.exe").string(), MinimalImage()));
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "payload line " + std::to_string(i) + "\n";
  ASSERT_TRUE(WriteWholeFile((dir / "payload" / "Setup.exe").string(), text));

  PackProject p;
  p.stub = (dir / "stub.exe").string();
  p.files = (dir / "payload").string();
  p.engine = "Setup.exe*";
  p.output = (dir / "setup.exe").string();
  p.languages = {{"English", "s0=Signed\n"}};
  p.updateToken = "tok";
  std::vector<PackOutput> out;
  std::string error;
  ASSERT_TRUE(BuildSetup(p, out, error)) << error;
  ASSERT_TRUE(WriteWholeFile(out[0].path, out[0].bytes));

  const std::string d = dir.string();
  ASSERT_EQ(Shell("openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=KavrixTest -keyout " + d +
                "/key.pem -out " + d + "/cert.pem"),
            0);
  const std::string signedPath = d + "/setup-signed.exe";
  ASSERT_EQ(Shell("osslsigncode sign -certs " + d + "/cert.pem -key " + d + "/key.pem -in " + out[0].path + " -out " +
                signedPath),
            0);
  ASSERT_EQ(Shell("osslsigncode verify -CAfile " + d + "/cert.pem " + signedPath), 0);

  bool ok = false;
  const std::string signedBytes = ReadWholeFile(signedPath, ok);
  ASSERT_TRUE(ok);
  ASSERT_GT(signedBytes.size(), out[0].bytes.size()) << "the signature is appended";
  EXPECT_NE(signedBytes.substr(0, 512), out[0].bytes.substr(0, 512)) << "the header area changed";

  const TGFileInfo original(out[0].path), signedInfo(signedPath);
  EXPECT_EQ(TrailerBytes(signedInfo.Trailer()), TrailerBytes(original.Trailer()));
  EXPECT_EQ(signedInfo.LanguageBlock(), original.LanguageBlock());
  EXPECT_EQ(signedInfo.UpdateToken(true), "tok");
  const uint32_t computed = PackageCheckSum(signedPath, kTrailerSize);
  EXPECT_NE(computed, kCheckSumOff);
  EXPECT_EQ(computed, signedInfo.Trailer().CheckSum);
  std::string report, faults;
  EXPECT_TRUE(InspectPackage(signedPath, report, faults)) << faults;

  // Without the end-of-package position the signature would hide the trailer.
  std::string unmarked = signedBytes;
  SetEndOfPackage(unmarked, 0);
  EXPECT_NE(TGFileInfo(MemorySource(unmarked)).Trailer().Magic, kPackMagic);
  fs::remove_all(dir);
}
