#pragma once
// Unpacking the blocks of a package volume. The walk, the inflating and the
// checks on every record name are portable; the platform supplies file access
// (TExtractSink) and the volume/disk handling around it.
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

class ByteSource;
struct z_stream_s;
using z_stream = z_stream_s;

// A zlib failure; the message is zlib's short text for the code.
class EZLibError : public std::runtime_error {
 public:
  EZLibError(int code, const std::string& text) : std::runtime_error(text), code_(code) {}
  int Code() const { return code_; }

 private:
  int code_;
};


// Serves the window messages of the thread during long work; may be null.
using YieldProc = void (*)();

// No block is held in memory beyond this, read or inflated. A package that asks
// for more is damaged or hostile; sound builders write records of a few MiB.
constexpr uint32_t kMaxBlockBytes = 64u << 20;

// Inflates zlib streams into one output buffer kept from stream to stream, so
// that an extraction allocates its memory once rather than per block. The
// buffer doubles as needed, yield runs before each growth, and growth past
// limit throws like a zlib memory failure.
class TInflater {
 public:
  TInflater();
  ~TInflater();
  TInflater(const TInflater&) = delete;
  TInflater& operator=(const TInflater&) = delete;

  // The content of one zlib stream, valid until the next call. Throws EZLibError.
  std::string_view Inflate(std::string_view compressed, YieldProc yield = nullptr, size_t limit = kMaxBlockBytes);

 private:
  z_stream* stream_;
  std::unique_ptr<char[]> buffer_;
  size_t capacity_ = 0;
};

// The content of one zlib stream, as TInflater gives it.
std::string InflateBlock(const std::string& compressed, YieldProc yield = nullptr,
                         size_t limit = kMaxBlockBytes);

// count bytes at offset in 64 KiB pieces, yield after each; false when short.
bool ReadBlockData(const ByteSource& file, int64_t offset, uint32_t count, std::string& buffer,
                   YieldProc yield);

// destination + "\" + name with "/" read as "\", or empty when the name is not
// a plain relative path: absolute, UNC, drive or stream (":"), an empty, "." or
// ".." component, a component ending in a dot or blank, a reserved device name
// (CON, NUL, COM1, LPT1... also with an extension), or bytes no file name holds.
std::string RecordTargetPath(const std::string& destination, const std::string& name);

// The engine entry of a record header, or empty: the name when it carries the
// mark "*", the whole header when only another item does.
std::string EngineOfHeader(const std::string& header);

// File access for the block walk; the platform's implementation also reports
// its own write failures to the user.
class TExtractSink {
 public:
  virtual bool ForceFolder(const std::string& folder) = 0;
  // Appends data to the file (creating it) and dates it; fatDate 0 leaves the
  // date. created: the file did not exist before.
  virtual bool AppendFile(const std::string& path, std::string_view data, uint32_t fatDate, bool& created) = 0;
  // The system's canonical form of a path, compared against the destination's.
  virtual std::string FullPath(const std::string& path) = 0;
  virtual void FileStarted() = 0;  // one progress step per new file

 protected:
  ~TExtractSink() = default;
};

// State of one extraction across its volumes.
struct TExtractRun {
  std::string Destination;  // without trailing backslash
  uint32_t HeaderCount = 2;
  uint32_t BlockCounter = 0;
  int64_t DataStart = 0;    // first file record of volume 1
  std::string Engine;
  YieldProc Yield = nullptr;
  uint32_t BlockLimit = kMaxBlockBytes;  // read or inflated
  std::string LastFolder;   // made for the previous record; saves a look-up per file
  TInflater Inflater;
};

enum class TVolumeOutcome { Done, Damaged, UnsafeName };

// Walks the blocks from pos up to limit (where the trailer starts). Damaged: a
// block that does not fit the volume or memory, or does not inflate; detail
// says which. UnsafeName: a record name that fails RecordTargetPath or lands
// outside the destination; detail holds it, and nothing of it was written.
TVolumeOutcome ExtractBlocks(const ByteSource& file, int64_t pos, int64_t limit, TExtractRun& run,
                             TExtractSink& sink, std::string& detail);

#include "package/ProgressSink.h"

// Unpacks source (a package file or the first volume of a set) into destination,
// asking for further volumes with diskPrompt. checksumOk reports the last
// volume's checksum test; engine is the marked entry, empty when there is none
// or the user gave up. A damaged package (a block that does not fit or does
// not inflate) or a record name that would write outside the destination ends
// the extraction with one error box and no engine; the result is then false.
bool ExtractPackage(const std::string& source, const std::string& destination, const std::string& agentName,
                    bool& checksumOk, ProgressSink sink, const std::string& diskPrompt,
                    const std::string& caption, const std::string& buttonTexts, int charset, bool forcePrompt,
                    std::string& engine);
