#pragma once
// Layout of a package file (all numbers little-endian):
//
//   [executable image]        the stub, from offset 0 (absent in plain volumes)
//     offsets 248..255        end-of-package position: high 32 bits at 248, low at
//                             252; the offset just past the trailer, 0 when unset.
//                             Read only when the file is an executable image:
//                             "MZ" at 0 and "PE" at 256.
//   header strings            at HeaderPos, first volume only: HeaderCount blocks
//                             of stored bytes: language block, auto-update record,
//                             download record (when HeaderCount >= 3)
//   file records              blocks: int32 n, then |n| bytes; n > 0 is a zlib
//                             stream, n < 0 stored bytes. Content = "|name|date|",
//                             NUL, file data. A name with "*" marks the engine.
//   trailer                   74 bytes ending the package; its last 4 bytes hold
//                             its own length (older packages: 70)
//   [appended data]           e.g. a signature; needs the end-of-package position
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

class ByteSource;

constexpr uint32_t kPackMagic = 0x4A3B2C1D;
constexpr uint32_t kCheckSumOff = 1234;  // stored or computed: the test is skipped
constexpr uint32_t kTrailerSize = 74;
constexpr int64_t kEndOfPackageOffset = 248;
constexpr int kSpaceEntries = 9;

// Trailer flag bits.
constexpr uint8_t kFlagTellDrive = 0x01;
constexpr uint8_t kFlagFollows = 0x02;      // another volume follows
constexpr uint8_t kFlagSpanned = 0x04;      // start through the span launcher
constexpr uint8_t kFlagActivityBar = 0x08;
constexpr uint8_t kFlagLog = 0x10;

// The record as it lies in the file. Its fields are packed: copy a field before
// binding it to a reference (as test macros do), e.g. EXPECT_EQ(+t.FileCount, 3u).
#pragma pack(push, 1)
struct TPackTrailer {
  uint8_t Reserved0;
  uint8_t HeaderCount;
  uint16_t Reserved2;
  uint32_t HeaderPos;
  uint32_t FileCount;
  uint32_t Magic;
  uint32_t CheckSum;
  uint8_t Reserved20[8];
  uint32_t SpaceNeeded[kSpaceEntries];
  uint8_t Reserved64;
  uint8_t Flags;
  uint8_t WebInstall;
  uint8_t AskDownload;
  uint8_t MakeAgent;
  uint8_t IsAgent;
  uint32_t TrailerSize;
};
#pragma pack(pop)

static_assert(sizeof(TPackTrailer) == kTrailerSize, "trailer is 74 bytes");
static_assert(offsetof(TPackTrailer, HeaderCount) == 1, "");
static_assert(offsetof(TPackTrailer, HeaderPos) == 4, "");
static_assert(offsetof(TPackTrailer, FileCount) == 8, "");
static_assert(offsetof(TPackTrailer, Magic) == 12, "");
static_assert(offsetof(TPackTrailer, CheckSum) == 16, "");
static_assert(offsetof(TPackTrailer, Reserved20) == 20, "");
static_assert(offsetof(TPackTrailer, SpaceNeeded) == 28, "");
static_assert(offsetof(TPackTrailer, Reserved64) == 64, "");
static_assert(offsetof(TPackTrailer, Flags) == 65, "");
static_assert(offsetof(TPackTrailer, WebInstall) == 66, "");
static_assert(offsetof(TPackTrailer, IsAgent) == 69, "");
static_assert(offsetof(TPackTrailer, TrailerSize) == 70, "");
// The record is copied to and from file bytes as is.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "package numbers are little-endian");

// --- Reading (stub and tools) ---

bool IsExecutableImage(const ByteSource& file);
int64_t EndOfPackage(const ByteSource& file);
int64_t EndOfPackage(const std::string& content);
// Where the package ends: the end-of-package position of an executable image when
// set, else the file's length.
int64_t PackageEnd(const ByteSource& file);

// Fills the record (zeroed first) from the trailer that ends the package. A
// length that does not fit the file leaves the record zero: no valid package.
void ReadTrailer(const ByteSource& file, TPackTrailer& trailer);
void ReadTrailer(const std::string& path, TPackTrailer& trailer);

// One block at pos: its signed length and where its bytes start. False when the
// length field or the bytes do not lie wholly before limit.
struct TBlockRef {
  int32_t Length = 0;      // > 0 zlib, < 0 stored
  int64_t DataPos = 0;
  uint32_t DataSize() const { return Length < 0 ? 0u - uint32_t(Length) : uint32_t(Length); }
  int64_t Next() const { return DataPos + DataSize(); }
};
bool ReadBlockAt(const ByteSource& file, int64_t pos, int64_t limit, TBlockRef& block);

// A record's content split at its first NUL: header before, data after. A
// content without NUL has a header and no data.
void SplitRecord(const std::string& content, std::string& header, std::string& data);

// --- Writing (builder) ---

std::string TrailerBytes(const TPackTrailer& trailer);
TPackTrailer TrailerFromBytes(const std::string& bytes);  // up to 74 bytes, rest 0
std::string Uint32Bytes(uint32_t value);
// Stores the end-of-package position in an executable image's bytes 248..255.
void SetEndOfPackage(std::string& image, uint64_t position);

// A header string: positive length, stored bytes.
std::string HeaderStringBlock(const std::string& text);
// A list "|a|b|..." of the items with the first separator none of them contains.
std::string MakeList(const std::initializer_list<std::string>& items);
// A file record's content: list of name and decimal FAT date, NUL, data.
std::string RecordContent(const std::string& name, uint32_t fatDate, const std::string& data);
// A file record block: zlib at level (0..9) when that is smaller, else stored.
std::string RecordBlock(const std::string& content, int level);
