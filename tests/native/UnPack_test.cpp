#include <gtest/gtest.h>
#include <zlib.h>

#include <map>
#include <vector>

#include "package/ByteSource.h"
#include "package/PackFormat.h"
#include "package/UnPack.h"

namespace {

std::string Deflate(const std::string& data, int level = 6) {
  uLongf n = compressBound(uLong(data.size()));
  std::string out(n, '\0');
  compress2(reinterpret_cast<Bytef*>(&out[0]), &n, reinterpret_cast<const Bytef*>(data.data()),
            uLong(data.size()), level);
  out.resize(n);
  return out;
}

std::string Block(int32_t length, const std::string& bytes) { return Uint32Bytes(uint32_t(length)) + bytes; }
std::string Zipped(const std::string& content) { return Block(int32_t(Deflate(content).size()), Deflate(content)); }
std::string Stored(const std::string& content) { return Block(-int32_t(content.size()), content); }

std::string Mixed(size_t n) {
  std::string s;
  uint32_t x = 12345;
  for (size_t i = 0; i < n; ++i) {
    x = x * 1103515245 + 12345;
    s += (i / 1000) % 2 ? char(x >> 24) : char('a' + i % 7);
  }
  return s;
}

int yields = 0;
void CountYield() { ++yields; }

}  // namespace

TEST(InflateBlock, RoundTripsAndYieldsBeforeEachGrowth) {
  for (const std::string& data : {std::string(), std::string("x"), Mixed(300000), std::string(5 << 20, 'z')}) {
    yields = 0;
    EXPECT_EQ(InflateBlock(Deflate(data), CountYield), data);
    // Starts at the input size rounded up to 256 and doubles: zeros need many growths.
    if (data.size() > 1000000) EXPECT_GE(yields, 8);
  }
}

TEST(InflateBlock, BadStreamsThrowZLibTexts) {
  std::string good = Deflate(Mixed(10000));
  std::string badCheck = good;
  badCheck.back() ^= 1;  // Adler-32
  std::string badHeader = good;
  badHeader[0] = 0x00;
  // Stream that asks for a preset dictionary.
  std::string dict;
  {
    z_stream s{};
    deflateInit(&s, 6);
    deflateSetDictionary(&s, reinterpret_cast<const Bytef*>("abc"), 3);
    std::string in = "abcabcabc";
    dict.resize(100);
    s.next_in = reinterpret_cast<Bytef*>(&in[0]);
    s.avail_in = uInt(in.size());
    s.next_out = reinterpret_cast<Bytef*>(&dict[0]);
    s.avail_out = uInt(dict.size());
    deflate(&s, Z_FINISH);
    dict.resize(s.total_out);
    deflateEnd(&s);
  }
  const struct {
    std::string in;
    int code;
    const char* text;
  } rows[] = {
      {badCheck, Z_DATA_ERROR, "data error"},
      {badHeader, Z_DATA_ERROR, "data error"},
      {good.substr(0, good.size() / 2), Z_BUF_ERROR, "buffer error"},
      {"", Z_BUF_ERROR, "buffer error"},
      {dict, Z_DATA_ERROR, "data error"},
  };
  for (const auto& r : rows) {
    try {
      InflateBlock(r.in);
      ADD_FAILURE() << "no error for input of " << r.in.size() << " bytes";
    } catch (const EZLibError& e) {
      EXPECT_EQ(e.Code(), r.code);
      EXPECT_STREQ(e.what(), r.text);
    }
  }
}

TEST(InflateBlock, StopsAtTheBoundInsteadOfGrowingOn) {
  const std::string bomb = Deflate(std::string(64 << 20, '\0'), 9);  // ~64 KiB in, 64 MiB out
  yields = 0;
  try {
    InflateBlock(bomb, CountYield, 1 << 20);
    FAIL() << "bomb inflated";
  } catch (const EZLibError& e) {
    EXPECT_EQ(e.Code(), Z_MEM_ERROR);
  }
  EXPECT_LE(yields, 5);  // 64 KiB doubled up to 1 MiB, no further
  EXPECT_EQ(InflateBlock(Deflate(std::string(1 << 20, '\0')), nullptr, 1 << 20).size(), 1u << 20);
}

TEST(InflateBlock, OneInflaterServesStreamsOfAnySizeInTurn) {
  // The buffer is kept: a short stream after a long one must not show the
  // long one's tail, and a failed stream must not spoil the next.
  TInflater inflater;
  const std::string big = Mixed(400000), small = "tiny", zeros(3 << 20, '\0');
  EXPECT_EQ(inflater.Inflate(Deflate(big)), big);
  EXPECT_EQ(inflater.Inflate(Deflate(small)), small);
  std::string broken = Deflate(big);
  broken.back() ^= 1;
  EXPECT_THROW(inflater.Inflate(broken), EZLibError);
  EXPECT_EQ(inflater.Inflate(Deflate(zeros)), zeros);
  EXPECT_EQ(inflater.Inflate(Deflate("")), "");
}

TEST(RecordTargetPath, AcceptsRelativeTreesRejectsEverythingElse) {
  const std::string d = "C:\\T\\SETUP_1";
  const struct {
    const char* name;
    const char* target;  // empty: rejected
  } rows[] = {
      {"setup.exe", "C:\\T\\SETUP_1\\setup.exe"},
      {"sub\\dir\\file.txt", "C:\\T\\SETUP_1\\sub\\dir\\file.txt"},
      {"sub/file.txt", "C:\\T\\SETUP_1\\sub\\file.txt"},
      {".hidden", "C:\\T\\SETUP_1\\.hidden"},
      {"a..b", "C:\\T\\SETUP_1\\a..b"},
      {"CONFIG.SYS", "C:\\T\\SETUP_1\\CONFIG.SYS"},
      {"COM10", "C:\\T\\SETUP_1\\COM10"},
      {"\\Windows\\evil.dll", ""},
      {"/etc/evil", ""},
      {"\\\\server\\share\\x", ""},
      {"\\\\?\\C:\\x", ""},
      {"C:\\evil.exe", ""},
      {"C:evil.exe", ""},
      {"file.txt:stream", ""},
      {"..\\evil.exe", ""},
      {"sub\\..\\..\\evil.exe", ""},
      {"sub/../evil", ""},
      {"..", ""},
      {".\\x", ""},
      {"CON", ""},
      {"nul.txt", ""},
      {"sub\\Com1.log", ""},
      {"LPT9", ""},
      {"aux .txt", ""},
      {"prn", ""},
      {"file.", ""},
      {"file ", ""},
      {"dir.\\x", ""},
      {"a\\\\b", ""},
      {"dir\\", ""},
      {"", ""},
      {"a?b", ""},
      {"a\tb", ""},
      {"a<b>", ""},
  };
  for (const auto& r : rows) EXPECT_EQ(RecordTargetPath(d, r.name), r.target) << r.name;
}

TEST(EngineOfHeader, MarkInNameOrElsewhere) {
  EXPECT_EQ(EngineOfHeader("|Engine.exe*|0|"), "Engine.exe*");
  EXPECT_EQ(EngineOfHeader("|Engine.exe* /silent|123|"), "Engine.exe* /silent");
  EXPECT_EQ(EngineOfHeader("|a.txt|0|"), "");
  EXPECT_EQ(EngineOfHeader("|a.txt|1*|"), "|a.txt|1*|");
}

namespace {

// Files in memory; a path whose full form leaves the tree stays outside.
struct MemorySink : TExtractSink {
  std::map<std::string, std::string> files;
  std::map<std::string, uint32_t> dates;
  std::vector<std::string> folders;
  int steps = 0;
  bool ForceFolder(const std::string& f) override {
    folders.push_back(f);
    return true;
  }
  bool AppendFile(const std::string& p, std::string_view data, uint32_t date, bool& created) override {
    created = files.count(p) == 0;
    files[p] += data;
    if (date) dates[p] = date;
    return true;
  }
  std::string FullPath(const std::string& p) override { return p; }
  void FileStarted() override { ++steps; }
};

std::string Header(const std::string& name, uint32_t date) { return "|" + name + "|" + std::to_string(date) + "|"; }

TVolumeOutcome Walk(const std::string& volume, MemorySink& sink, TExtractRun& run, std::string& detail) {
  MemorySource src(volume);
  run.Destination = "D:\\X";
  return ExtractBlocks(src, 0, int64_t(volume.size()), run, sink, detail);
}

}  // namespace

TEST(ExtractBlocks, WritesRecordsOfAPackage) {
  const std::string big = Mixed(200000);
  const std::string vol = HeaderStringBlock("|lang|") + HeaderStringBlock("|||Agent.exe|||") +
                          Zipped(Header("Engine.exe* /silent", 0) + '\0' + "MZengine") +
                          Zipped(Header("sub\\deep\\a.txt", 0x5A2B3C4D) + '\0' + big.substr(0, 1000)) +
                          Stored(Header("sub\\deep\\a.txt", 0x5A2B3C4D) + '\0' + big.substr(1000)) +
                          Zipped(Header("sub\\b.txt", 7) + '\0') + Block(0, "") + Stored("no header") +
                          Stored(std::string("\0data", 5));
  MemorySink sink;
  TExtractRun run;
  std::string detail;
  ASSERT_EQ(Walk(vol, sink, run, detail), TVolumeOutcome::Done) << detail;
  EXPECT_EQ(run.DataStart, int64_t(HeaderStringBlock("|lang|").size() + HeaderStringBlock("|||Agent.exe|||").size()));
  EXPECT_EQ(run.BlockCounter, 9u);
  EXPECT_EQ(run.Engine, "Engine.exe* /silent");
  EXPECT_EQ(sink.files["D:\\X\\Engine.exe"], "MZengine");
  EXPECT_EQ(sink.files["D:\\X\\sub\\deep\\a.txt"], big);
  EXPECT_EQ(sink.dates["D:\\X\\sub\\deep\\a.txt"], 0x5A2B3C4Du);
  EXPECT_EQ(sink.dates.count("D:\\X\\Engine.exe"), 0u);
  EXPECT_EQ(sink.files.count("D:\\X\\sub\\b.txt"), 1u);
  EXPECT_EQ(sink.files.count("D:\\X\\no header"), 0u);
  EXPECT_EQ(sink.files.size(), 3u);
  EXPECT_EQ(sink.steps, 3);
  // One folder request per change of folder, none for the destination itself.
  EXPECT_EQ(sink.folders, (std::vector<std::string>{"D:\\X\\sub\\deep", "D:\\X\\sub"}));
}

TEST(ExtractBlocks, DamagedOrHostileBlocksStopTheWalk) {
  const std::string headers = HeaderStringBlock("|l|") + HeaderStringBlock("|a|");
  const std::string first = Zipped(Header("first.txt", 0) + '\0' + "ok");
  std::string badZip = Deflate(Header("x.txt", 0) + '\0' + Mixed(5000));
  badZip[badZip.size() / 2] ^= 0x55;
  const std::string bomb = Deflate(std::string(8u << 20, '\0'), 9);
  const struct {
    const char* what;
    std::string tail;
    TVolumeOutcome outcome;
  } rows[] = {
      {"length beyond the volume", Block(1000, "short"), TVolumeOutcome::Damaged},
      {"negative length beyond", Block(-1000, "short"), TVolumeOutcome::Damaged},
      {"huge length", Block(int32_t(0x7FFFFFF0), ""), TVolumeOutcome::Damaged},
      {"length above the memory bound", Stored(std::string(2 << 20, 'x')), TVolumeOutcome::Damaged},
      {"most negative length", Block(INT32_MIN, ""), TVolumeOutcome::Damaged},
      {"truncated length field", std::string("\x05\x00", 2), TVolumeOutcome::Damaged},
      {"corrupt stream", Block(int32_t(badZip.size()), badZip), TVolumeOutcome::Damaged},
      {"inflate bomb", Block(int32_t(bomb.size()), bomb), TVolumeOutcome::Damaged},
      {"absolute name", Zipped(Header("\\Windows\\x.dll", 0) + '\0' + "evil"), TVolumeOutcome::UnsafeName},
      {"parent name", Stored(Header("..\\x.dll", 0) + '\0' + "evil"), TVolumeOutcome::UnsafeName},
      {"device name", Stored(Header("con.txt*", 0) + '\0' + "evil"), TVolumeOutcome::UnsafeName},
      {"stream name", Stored(Header("a.txt:evil", 0) + '\0'), TVolumeOutcome::UnsafeName},
  };
  for (const auto& r : rows) {
    MemorySink sink;
    TExtractRun run;
    run.BlockLimit = 1 << 20;
    std::string detail;
    EXPECT_EQ(Walk(headers + first + r.tail, sink, run, detail), r.outcome) << r.what;
    EXPECT_FALSE(detail.empty()) << r.what;
    EXPECT_EQ(sink.files.size(), 1u) << r.what;  // only the record before it
    EXPECT_TRUE(run.Engine.empty()) << r.what;
  }
}

TEST(ExtractBlocks, NameThatTheSystemResolvesOutsideIsRejected) {
  struct Escaping : MemorySink {
    std::string FullPath(const std::string& p) override { return p.find("link") != std::string::npos ? "E:\\elsewhere" : p; }
  } sink;
  TExtractRun run;
  std::string detail;
  const std::string vol = HeaderStringBlock("") + HeaderStringBlock("") + Stored(Header("link\\x", 0) + '\0' + "d");
  EXPECT_EQ(Walk(vol, sink, run, detail), TVolumeOutcome::UnsafeName);
  EXPECT_TRUE(sink.files.empty());
}
