// The stub end to end: a package made by the builder installs through the
// sample engine; checksum, questions and second starts behave as users see them.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/win32/SetupKit.h"
#include "util/Files.h"
#include "util/Text.h"

namespace {

// The engine's command line after its own path.
std::string ArgumentsOf(const std::string& commandLine) {
  const size_t exe = PosCI("kavrix-sample-engine.exe", commandLine);
  if (!exe) return "";
  std::string rest = commandLine.substr(exe - 1 + std::string("kavrix-sample-engine.exe").size());
  if (!rest.empty() && rest[0] == '"') rest.erase(0, 1);
  return Trim(rest);
}

// Sets a file's last write time to a FAT-exact moment (even seconds).
void SetEvenTime(const std::string& path, WORD year, WORD hour) {
  SYSTEMTIME st{};
  st.wYear = year;
  st.wMonth = 3;
  st.wDay = 14;
  st.wHour = hour;
  st.wMinute = 15;
  st.wSecond = 26;
  FILETIME local, utc;
  SystemTimeToFileTime(&st, &local);
  LocalFileTimeToFileTime(&local, &utc);
  HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  SetFileTime(h, nullptr, nullptr, &utc);
  CloseHandle(h);
}

// Bytes that zlib squeezes a little, not much.
std::string Noisy(size_t n, uint32_t seed) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) {
    seed = seed * 1664525 + 1013904223;
    s[i] = char((seed >> 24) & 0x3F);
  }
  return s;
}

}  // namespace

TEST(SetupEndToEnd, BuilderPackageInstallsAndPassesTheEngineItsCommandLine) {
  const std::string dir = kit::FreshFolder("e2e_build");
  const std::string files = dir + "\\files", target = dir + "\\installed", exe = dir + "\\setup.exe";
  ASSERT_TRUE(ForceDirectories(files + "\\sub\\deep"));
  const std::string big = Noisy(9 << 20, 7);  // three records of the builder's default size
  ASSERT_TRUE(kit::WriteAll(files + "\\readme.txt", "Read me\r\n"));
  ASSERT_TRUE(kit::WriteAll(files + "\\sub\\deep\\big.bin", big));
  ASSERT_TRUE(kit::WriteAll(files + "\\sub\\empty.txt", ""));
  ASSERT_TRUE(CopyFileA((testenv::BinDir() + "\\kavrix-sample-engine.exe").c_str(),
                        (files + "\\kavrix-sample-engine.exe").c_str(), FALSE));
  SetEvenTime(files + "\\readme.txt", 2021, 9);
  SetEvenTime(files + "\\sub\\deep\\big.bin", 2019, 17);

  kit::Child pack("\"" + testenv::BinDir() + "\\kavrix-pack.exe\" build \"Package.Stub=" + testenv::BinDir() +
                  "\\kavrix-stub.exe\" \"Package.Files=" + files + "\" \"Package.Output=" + exe +
                  "\" \"Package.Engine=kavrix-sample-engine.exe* /target=" + target + " /exitcode=7\"");
  ASSERT_EQ(pack.Wait(), 0u);

  const kit::Outcome run = kit::RunSetup("\"" + exe + "\" /lang=en /SpanDiskFName1=\"" + exe + "\" /mode=full", exe);
  EXPECT_EQ(run.exitCode, 7u);
  EXPECT_TRUE(run.boxes.empty());

  const kit::EngineReport engine = kit::ReadEngineReport(target);
  ASSERT_TRUE(engine.ran);
  // Tail, then the text after the mark, the thread tag and the origin; the span
  // switch is gone with its value.
  const std::string args = ArgumentsOf(engine.commandLine);
  const std::string head = "/lang=en /mode=full /target=" + target + " /exitcode=7 /TH_ID=_";
  EXPECT_EQ(args.substr(0, head.size()), head) << engine.commandLine;
  const std::string tail = " /OriginExe=\"" + exe + "\"";
  ASSERT_GT(args.size(), head.size() + tail.size());
  EXPECT_EQ(args.substr(args.size() - tail.size()), tail) << engine.commandLine;
  const std::string threadId = args.substr(head.size(), args.size() - head.size() - tail.size());
  EXPECT_EQ(threadId.find_first_not_of("0123456789"), std::string::npos) << threadId;
  EXPECT_EQ(engine.show, "1");

  EXPECT_EQ(kit::ReadAll(target + "\\readme.txt"), "Read me\r\n");
  EXPECT_TRUE(kit::ReadAll(target + "\\sub\\deep\\big.bin") == big);
  EXPECT_TRUE(kit::Exists(target + "\\sub\\empty.txt"));
  EXPECT_EQ(FileFatDate(target + "\\readme.txt"), FileFatDate(files + "\\readme.txt"));
  EXPECT_EQ(FileFatDate(target + "\\sub\\deep\\big.bin"), FileFatDate(files + "\\sub\\deep\\big.bin"));
  EXPECT_FALSE(kit::Exists(kit::SetupTempOf(exe)));
}

TEST(SetupEndToEnd, SecondStartOfARunningSetupEndsAtOnce) {
  const std::string dir = kit::FreshFolder("e2e_twice");
  const std::string exe = dir + "\\setup.exe", target = dir + "\\installed";
  kit::SetupSpec s;
  s.image = kit::StubImage();
  s.blocks = kit::EngineRecord(target, "/holdms=20000");
  s.fileCount = 1;
  ASSERT_TRUE(kit::WriteAll(exe, kit::Assemble(s)));

  kit::Child first("\"" + exe + "\"");
  ASSERT_TRUE(kit::WaitUntil([&] { return kit::Exists(target + "\\_engine_run.txt"); }, 60000));
  const DWORD t0 = GetTickCount();
  kit::Child second("\"" + exe + "\"");
  EXPECT_EQ(second.Wait(30000), 0u);
  EXPECT_LT(GetTickCount() - t0, 15000u);
  EXPECT_EQ(first.Wait(0), DWORD(STILL_ACTIVE));
  EXPECT_EQ(first.Wait(), 0u);
}

TEST(SetupEndToEnd, FlippedByteShowsBadCrcAndStartsNoEngineUnlessTheTestIsOff) {
  for (bool checkOff : {false, true}) {
    const std::string dir = kit::FreshFolder(checkOff ? "e2e_crc_off" : "e2e_crc");
    const std::string exe = dir + "\\setup.exe", target = dir + "\\installed";
    kit::SetupSpec s;
    s.image = kit::StubImage();
    s.blocks = kit::StoredBlock(RecordContent("data.txt", 0, "payload-A")) + kit::EngineRecord(target);
    s.fileCount = 2;
    s.checkSumOff = checkOff;
    std::string file = kit::Assemble(s);
    const size_t at = file.find("payload-A");
    ASSERT_NE(at, std::string::npos);
    file[at + 8] = 'B';
    ASSERT_TRUE(kit::WriteAll(exe, file));

    const kit::Outcome run = kit::RunSetup("\"" + exe + "\"", exe);
    EXPECT_EQ(run.exitCode, 0u);
    if (checkOff) {
      EXPECT_TRUE(run.boxes.empty());
      EXPECT_TRUE(kit::ReadEngineReport(target).ran);
      EXPECT_EQ(kit::ReadAll(target + "\\data.txt"), "payload-B");
    } else {
      ASSERT_EQ(run.boxes.size(), 1u);
      EXPECT_GT(PosCI("Bad CRC!", run.boxes[0]), 0) << run.boxes[0];
      EXPECT_FALSE(kit::ReadEngineReport(target).ran);
    }
    EXPECT_FALSE(kit::Exists(kit::SetupTempOf(exe)));
  }
}

TEST(SetupEndToEnd, FreeSpaceQuestionAndBackgroundRuns) {
  const std::string dir = kit::FreshFolder("e2e_space");
  const std::string target = dir + "\\installed";
  kit::SetupSpec s;
  s.image = kit::StubImage();
  s.language = "\x02\x01" "English\x01s2=Files go to <DRIVE> now.<P>\x01" "s6=<P>Go on?\x01\x02";
  s.blocks = kit::EngineRecord(target);
  s.fileCount = 1;
  s.flags = kFlagTellDrive;
  s.spaceNeeded = 3 << 20;
  const std::string exe = dir + "\\setup.exe";
  ASSERT_TRUE(kit::WriteAll(exe, kit::Assemble(s)));

  // Tell-drive: the question opens with s2, placeholders filled; No ends the run.
  kit::Outcome run = kit::RunSetup("\"" + exe + "\"", exe, [](const std::string&) { return size_t(1); });
  EXPECT_EQ(run.exitCode, 0u);
  ASSERT_EQ(run.boxes.size(), 1u);
  const std::string& q = run.boxes[0];
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  EXPECT_GT(PosCI(std::string("Files go to ") + char(toupper(temp[0])) + ": now.", q), 0) << q;
  EXPECT_EQ(PosCI("Limited Free Space", q), 0) << q;
  EXPECT_GT(PosCI("3.00 MB", q), 0) << q;
  EXPECT_EQ(q.find("<SPACE_AVAIL>"), std::string::npos) << q;
  EXPECT_FALSE(kit::ReadEngineReport(target).ran);

  // With little room the question opens with s3 instead; only testable where
  // the temp drive has less than 4 GiB free, as SpaceNeeded is 32 bits.
  if (DiskFree(temp) >= 0 && DiskFree(temp) < 4.0e9) {
    s.spaceNeeded = 0xFFFFFFFFu;
    ASSERT_TRUE(kit::WriteAll(exe, kit::Assemble(s)));
    run = kit::RunSetup("\"" + exe + "\"", exe, [](const std::string&) { return size_t(1); });
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_GT(PosCI("Limited Free Space", run.boxes[0]), 0) << run.boxes[0];
  }

  // /hide and a silent auto-update record: no question, no window, engine hidden.
  for (bool silentRecord : {false, true}) {
    DeleteTree(target, true);
    s.spaceNeeded = 3 << 20;
    s.autoUpdate = silentRecord ? "|||||1|" : "||||||";
    ASSERT_TRUE(kit::WriteAll(exe, kit::Assemble(s)));
    run = kit::RunSetup("\"" + exe + "\"" + (silentRecord ? "" : " /hide"), exe);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(run.boxes.empty()) << (run.boxes.empty() ? "" : run.boxes[0]);
    EXPECT_FALSE(run.windowShown);
    const kit::EngineReport engine = kit::ReadEngineReport(target);
    EXPECT_TRUE(engine.ran);
    EXPECT_EQ(engine.show, "0");
  }
}
