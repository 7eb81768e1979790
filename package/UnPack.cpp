#include "package/UnPack.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "package/ByteSource.h"
#include "package/PackFormat.h"
#include "util/KSUB.h"
#include "util/Paths.h"
#include "util/Text.h"

namespace {

const char* ZLibText(int code) {
  switch (code) {
    case Z_ERRNO: return "file error";
    case Z_STREAM_ERROR: return "stream error";
    case Z_DATA_ERROR: return "data error";
    case Z_MEM_ERROR: return "insufficient memory";
    case Z_BUF_ERROR: return "buffer error";
    case Z_VERSION_ERROR: return "incompatible version";
    default: return "data error";
  }
}

[[noreturn]] void Fail(int code) { throw EZLibError(code, ZLibText(code)); }

bool IsReservedDevice(const std::string& component) {
  // Windows maps these names to devices whatever the extension and trailing blanks.
  std::string base = UpperCaseASCII(LeftOf(component, ".", component));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
  for (const char* d : kDevices)
    if (base == d) return true;
  if (base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0)) {
    const unsigned char n = base[3];
    // Digits 1..9 and the superscripts 1, 2, 3 of the Latin code pages.
    return (n >= '1' && n <= '9') || n == 0xB9 || n == 0xB2 || n == 0xB3;
  }
  return false;
}

bool IsPlainComponent(const std::string& c) {
  if (c.empty() || c.back() == '.' || c.back() == ' ') return false;
  for (unsigned char ch : c)
    if (ch < 32 || std::string("<>:\"|?*").find(char(ch)) != std::string::npos) return false;
  return !IsReservedDevice(c);
}

uint32_t DateOfHeader(const std::string& header) {
  int64_t v = 0;
  const std::string text = SUB::GetItem(header, 1, "");
  const bool decimal = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
  return decimal && ReadInt64(text, v) && v <= 0xFFFFFFFFll ? uint32_t(v) : 0;
}

}  // namespace

TInflater::TInflater() : stream_(new z_stream{}) {
  if (int r = inflateInit(stream_); r != Z_OK) {
    delete stream_;
    throw EZLibError(r, ZLibText(r));
  }
}

TInflater::~TInflater() {
  inflateEnd(stream_);
  delete stream_;
}

std::string_view TInflater::Inflate(std::string_view compressed, YieldProc yield, size_t limit) {
  z_stream& s = *stream_;
  inflateReset(&s);
  s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
  s.avail_in = uInt(compressed.size());
  try {
    const size_t first = std::min(limit, std::max<size_t>(256, (compressed.size() + 255) / 256 * 256));
    if (capacity_ < first) {
      buffer_.reset(new char[first]);
      capacity_ = first;
    }
    for (;;) {
      s.next_out = reinterpret_cast<Bytef*>(buffer_.get() + s.total_out);
      s.avail_out = uInt(capacity_ - s.total_out);
      const int r = inflate(&s, Z_NO_FLUSH);
      if (r == Z_STREAM_END) break;
      if (r == Z_NEED_DICT) Fail(Z_DATA_ERROR);  // packages carry no dictionaries
      if (r < 0) Fail(r);
      if (s.avail_out > 0) continue;  // input ran out first; the next call says so
      if (capacity_ >= limit) Fail(Z_MEM_ERROR);
      if (yield) yield();
      // Doubling keeps the copies few; fixed steps cost far more on large blocks.
      const size_t grown = std::min(limit, capacity_ * 2);
      std::unique_ptr<char[]> bigger(new char[grown]);
      std::memcpy(bigger.get(), buffer_.get(), s.total_out);
      buffer_.swap(bigger);
      capacity_ = grown;
    }
  } catch (const std::bad_alloc&) {
    Fail(Z_MEM_ERROR);
  }
  return std::string_view(buffer_.get(), s.total_out);
}

std::string InflateBlock(const std::string& compressed, YieldProc yield, size_t limit) {
  TInflater inflater;
  return std::string(inflater.Inflate(compressed, yield, limit));
}

bool ReadBlockData(const ByteSource& file, int64_t offset, uint32_t count, std::string& buffer,
                   YieldProc yield) {
  constexpr uint32_t kPiece = 65536;
  buffer.resize(count);
  for (uint32_t done = 0; done < count;) {
    const uint32_t n = std::min(kPiece, count - done);
    if (file.ReadAt(offset + done, &buffer[done], n) != n) return false;
    done += n;
    if (yield) yield();
  }
  return true;
}

std::string RecordTargetPath(const std::string& destination, const std::string& name) {
  std::string path = destination;
  size_t start = 0;
  for (;;) {
    const size_t sep = name.find_first_of("\\/", start);
    const std::string c = name.substr(start, sep == std::string::npos ? std::string::npos : sep - start);
    if (!IsPlainComponent(c)) return "";
    path += "\\" + c;
    if (sep == std::string::npos) return path;
    start = sep + 1;
  }
}

std::string EngineOfHeader(const std::string& header) {
  if (header.find('*') == std::string::npos) return "";
  const std::string name = SUB::GetItem(header, 0, "");
  return name.find('*') != std::string::npos ? name : header;
}

TVolumeOutcome ExtractBlocks(const ByteSource& file, int64_t pos, int64_t limit, TExtractRun& run,
                             TExtractSink& sink, std::string& detail) {
  const std::string home = SetTrailingBackslash(sink.FullPath(run.Destination), true);
  std::string bytes;
  while (pos < limit) {
    if (run.Yield) run.Yield();
    TBlockRef block;
    if (!ReadBlockAt(file, pos, limit, block)) {
      detail = "block at " + IntToText(pos) + " reaches beyond the end of the volume";
      return TVolumeOutcome::Damaged;
    }
    if (block.DataSize() > run.BlockLimit) {
      detail = "block at " + IntToText(pos) + " is too large";
      return TVolumeOutcome::Damaged;
    }
    try {
      if (!ReadBlockData(file, block.DataPos, block.DataSize(), bytes, run.Yield)) {
        detail = "block at " + IntToText(pos) + " cannot be read";
        return TVolumeOutcome::Damaged;
      }
    } catch (const std::bad_alloc&) {
      detail = "block at " + IntToText(pos) + " does not fit in memory";
      return TVolumeOutcome::Damaged;
    }
    const int64_t blockPos = pos;
    pos = block.Next();
    ++run.BlockCounter;
    if (run.BlockCounter == run.HeaderCount) run.DataStart = pos;
    if (run.BlockCounter <= run.HeaderCount) continue;  // header strings

    std::string_view content = bytes;
    if (block.Length > 0) {
      try {
        content = run.Inflater.Inflate(bytes, run.Yield, run.BlockLimit);
      } catch (const EZLibError& e) {
        detail = "block at " + IntToText(blockPos) + ": " + e.what();
        return TVolumeOutcome::Damaged;
      }
    }
    // Header and data are used where they lie: a record can be most of a block.
    const size_t nul = content.find('\0');
    if (nul == std::string_view::npos || nul == 0) continue;  // no header: nothing to write
    const std::string header(content.substr(0, nul));

    const std::string engine = EngineOfHeader(header);
    std::string name = SUB::GetItem(header, 0, "");
    name = LeftOf(name, "*", name);
    const std::string target = RecordTargetPath(run.Destination, name);
    if (target.empty() || !StartsWithCI(sink.FullPath(target), home)) {
      detail = name;
      return TVolumeOutcome::UnsafeName;
    }
    if (!engine.empty()) run.Engine = engine;

    const std::string folder = ExtractFileDir(target);
    if (folder.size() > run.Destination.size() && folder != run.LastFolder) {
      sink.ForceFolder(folder);
      run.LastFolder = folder;
    }
    // The write says whether the file is new, which saves a look-up per file.
    bool created = false;
    sink.AppendFile(target, content.substr(nul + 1), DateOfHeader(header), created);
    if (created) sink.FileStarted();
  }
  return TVolumeOutcome::Done;
}
