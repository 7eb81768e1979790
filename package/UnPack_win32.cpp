#include <windows.h>

#include <cmath>

#include "package/ByteSource.h"
#include "package/PackFormat.h"
#include "package/PackTokens.h"
#include "package/SetupCommand.h"
#include "package/UnPack.h"
#include "ui/KDebug.h"
#include "ui/KMsgBox.h"
#include "util/Files.h"
#include "util/Paths.h"
#include "util/Text.h"
#include "util/Utils.h"

namespace {

// Only the first failed write of the process is shown; a later extraction in the
// same process (an agent's update) stays silent.
int saveErrorCount = 0;

// Each pass over the queue is a round trip to the window server (and a Sleep(0)
// that may hand the processor away); one pass every few milliseconds keeps the
// window just as responsive as one per block or per 64 KiB read.
constexpr int64_t kServeEveryMs = 10;

void YieldNow() {
  static int64_t next = 0;
  const int64_t now = NowMs();
  if (now < next) return;
  YieldX(0);
  next = now + kServeEveryMs;
}

std::string SaveDetails(const std::string& target, size_t dataSize, const std::string& error) {
  return error + "<P>" + "  Data Size: <T>" + IntToText(int64_t(dataSize)) + " Bytes<P>" +
         "  File Size:  <T>" + IntToText(FileSizeByName(target)) + " Bytes<P>" + "  Bytes Free: <T>" +
         IntToText(int64_t(std::llround(DiskFree(target)))) + " Bytes";
}

class TFileSink : public TExtractSink {
 public:
  TFileSink(ProgressSink progress, const std::string& buttons, int charset)
      : progress_(progress), buttons_(buttons), charset_(charset) {}

  bool ForceFolder(const std::string& folder) override { return ForceDirectories(folder); }
  bool AppendFile(const std::string& path, std::string_view data, uint32_t fatDate, bool& created) override {
    if (WriteFileData(path, data, fatDate, true, nullptr, &created)) return true;
    const std::string error = LastErrorText();
    if (++saveErrorCount == 1)
      ErrorBox(0, path + "<P><P>Unable to save Extracted File!<P><P>" + SaveDetails(path, data.size(), error), "",
               buttons_, charset_);
    return false;
  }
  std::string FullPath(const std::string& path) override {
    char buf[MAX_PATH * 2];
    const DWORD n = GetFullPathNameA(path.c_str(), sizeof buf, buf, nullptr);
    return n > 0 && n < sizeof buf ? std::string(buf, n) : std::string();
  }
  // Painting the bars costs more than writing a small file: steps that come
  // quicker than that are shown together.
  void FileStarted() override {
    ++pendingSteps_;
    if (NowMs() >= nextPaint_) ShowSteps();
  }
  void ShowSteps() {
    if (progress_ && pendingSteps_ > 0) progress_(1, 0, 0, 0, pendingSteps_, 0);
    pendingSteps_ = 0;
    nextPaint_ = NowMs() + kPaintEveryMs;
  }

 private:
  static constexpr int64_t kPaintEveryMs = 40;
  ProgressSink progress_;
  int32_t pendingSteps_ = 0;
  int64_t nextPaint_ = 0;
  std::string buttons_;
  int charset_;
};

void WriteAgentFile(const FileSource& file, const std::string& path, const TExtractRun& run,
                    const std::string& agentName) {
  const std::string name = ExtractFileName(agentName);
  if (name.empty() || !SourceCarriesStub(path)) return;
  const std::string target = run.Destination + "\\" + name;
  WriteAgentFromPackage(file, run.DataStart, target, FileFatDate(path));
  DebugPidLine(" New AU-Agent: " + target);
}

std::string DamageText(TVolumeOutcome outcome, const std::string& detail) {
  if (outcome == TVolumeOutcome::UnsafeName)
    return "The setup package is damaged: it names a file outside its folder.<P><P>" + detail;
  return "The setup package is damaged and cannot be unpacked.<P><P>" + detail;
}

}  // namespace

bool ExtractPackage(const std::string& source, const std::string& destination, const std::string& agentName,
                    bool& checksumOk, ProgressSink sink, const std::string& diskPrompt,
                    const std::string& caption, const std::string& buttonTexts, int charset, bool forcePrompt,
                    std::string& engine) {
  const int64_t start = NowMs();
  bool diskAnswer = true;
  const std::string base = VolumeBasePath(source);
  int volume = 1;
  TPackTrailer trailer{};
  engine.clear();
  checksumOk = false;
  if (sink) sink(0, 0, 0, 0, 1, 0);
  TExtractRun run;
  run.Destination = destination;
  run.Yield = YieldNow;
  TFileSink files(sink, buttonTexts, charset);
  bool sound = true;

  for (std::string path = source;;) {
    if (FileExists(path)) {
      ReadTrailer(path, trailer);
      if (volume == 1) {
        DebugLine("FileInfo.FilesCount=" + IntToText(trailer.FileCount));
        run.HeaderCount = trailer.HeaderCount;
      }
      checksumOk = CheckSumPasses(PackageCheckSum(path, trailer.TrailerSize), trailer.CheckSum);
      if (!checksumOk) break;
      const FileSource file(path);
      const int64_t end = PackageEnd(file);
      DebugLine("FileLen=" + IntToText(end));
      if (trailer.Magic == kPackMagic) {
        if (volume == 1) {
          if (sink) sink(0, 0, int32_t(trailer.FileCount), 0, 1, 0);
          if (!ForceDirectories(destination))
            ErrorBox(0, destination + "<P><P>Unable to create Directory!<P><P>" + LastErrorText());
        }
        std::string detail;
        const TVolumeOutcome outcome =
            ExtractBlocks(file, trailer.HeaderPos, end - int64_t(trailer.TrailerSize), run, files, detail);
        files.ShowSteps();
        if (outcome != TVolumeOutcome::Done) {
          DebugPidLine(" ExtractPackage stopped: " + detail);
          ErrorBox(0, DamageText(outcome, detail), "", buttonTexts, charset);
          sound = false;
          break;
        }
        if (volume == 1) WriteAgentFile(file, path, run, agentName);
      }
    }
    if (!(trailer.Flags & kFlagFollows)) break;
    SetCancelAutoPlay(true);
    path = VolumePath(base, ++volume);
    if (forcePrompt || !FileExists(path)) {
      EjectCD(path);
      do {
        diskAnswer = ConfirmOkCancel(0, DiskPromptText(diskPrompt, volume), caption, buttonTexts, charset);
        Delay(0, 500);
      } while (!FileExists(path) && diskAnswer);
    }
    if (sink) sink(1, 0, 0, 0, 1, 0);
    if (!diskAnswer) break;
  }
  if (diskAnswer && sound) engine = run.Engine;
  DebugLine("UnCompressTime: " + IntToText(NowMs() - start) + " MS");
  DebugLine("");
  Delay(0, 500);
  return sound;
}
