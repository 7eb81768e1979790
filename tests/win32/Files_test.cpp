#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/win32/ProcessKit.h"
#include "tests/win32/TempFolder.h"
#include "tests/win32/TestEnv.h"
#include "util/Files.h"

namespace {

void MakeFile(const std::string& path, const std::string& data, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
  ASSERT_TRUE(WriteFileData(path, data, 0, false)) << path;
  SetFileAttributesA(path.c_str(), attributes);
}

// Sink that records each reported position and may ask to stop.
struct Recorder {
  static std::vector<int32_t> positions;
  static size_t cancelAfter;  // cancel at this many calls (0 = never)
  static void Sink(int32_t kind, int32_t min, int32_t max, int32_t pos, int32_t step, intptr_t context) {
    EXPECT_EQ(kind, 0);
    EXPECT_EQ(min, 0);
    EXPECT_EQ(step, 1);
    (void)max;
    positions.push_back(pos);
    if (cancelAfter != 0 && positions.size() >= cancelAfter) *reinterpret_cast<int32_t*>(context) = 1;
  }
};
std::vector<int32_t> Recorder::positions;
size_t Recorder::cancelAfter = 0;

}  // namespace

TEST(Files, ReadFilePart) {
  TempFolder dir;
  MakeFile(dir / "empty", "");
  MakeFile(dir / "data", std::string(3000, 'x') + "end");
  EXPECT_EQ(ReadFilePart(dir / "missing", 0), "");
  EXPECT_EQ(ReadFilePart(dir / "empty", 0), "");
  EXPECT_EQ(ReadFilePart(dir / "data", 0), std::string(3000, 'x') + "end");
  EXPECT_EQ(ReadFilePart(dir / "data", 1000), std::string(1000, 'x'));
  EXPECT_EQ(ReadFilePart(dir / "data", 5000).size(), 3003u);
  EXPECT_EQ(FileSizeByName(dir / "data"), 3003);
  EXPECT_EQ(FileSizeByName(dir / "missing"), 0);
}

TEST(Files, WriteEmptyCreatesFileAndAppendAdds) {
  TempFolder dir;
  EXPECT_TRUE(WriteFileData(dir / "f", "", 0, false));
  EXPECT_TRUE(FileExists(dir / "f"));
  EXPECT_TRUE(WriteFileData(dir / "f", "ab", 0, true));
  EXPECT_TRUE(AppendText(dir / "f", "cd"));
  EXPECT_TRUE(AppendText(dir / "f", ""));
  EXPECT_TRUE(AppendText(dir / "new", "x"));
  EXPECT_EQ(ReadFilePart(dir / "f", 0), "abcd");
  EXPECT_TRUE(WriteFileData(dir / "f", "z", 0, false));
  EXPECT_EQ(ReadFilePart(dir / "f", 0), "z");
  EXPECT_FALSE(WriteFileData(dir / "no\\such\\folder\\f", "x", 0, false));
  EXPECT_FALSE(AppendText(dir / "no\\such\\folder\\f", "x"));
}

TEST(Files, ChunkedWriteReportsEachChunkAndStopsWhenCancelled) {
  TempFolder dir;
  const std::string data(1048577, 'k');
  Recorder::positions.clear();
  Recorder::cancelAfter = 0;
  ASSERT_TRUE(WriteFileData(dir / "big", data, 0, false, Recorder::Sink));
  ASSERT_EQ(Recorder::positions.size(), 12u);  // reset + 11 chunks
  EXPECT_EQ(Recorder::positions[0], 0);
  EXPECT_EQ(Recorder::positions[1], 104857);
  EXPECT_EQ(Recorder::positions[10], 1048570);
  EXPECT_EQ(Recorder::positions[11], 1048577);
  EXPECT_EQ(FileSizeByName(dir / "big"), 1048577);

  // A flag set at the first chunk report: one chunk is on disk, the write failed.
  Recorder::positions.clear();
  Recorder::cancelAfter = 2;
  EXPECT_FALSE(WriteFileData(dir / "cut", data, 0, false, Recorder::Sink));
  EXPECT_EQ(FileSizeByName(dir / "cut"), 104857);
}

TEST(Files, FatDateIsSetAfterACompleteWrite) {
  TempFolder dir;
  // 15 June 2020 10:20:30 in FAT form.
  const uint32_t fat = ((2020 - 1980) << 25 | 6 << 21 | 15 << 16) | (10 << 11 | 20 << 5 | 30 / 2);
  ASSERT_TRUE(WriteFileData(dir / "dated", "x", fat, false));
  EXPECT_EQ(FileFatDate(dir / "dated"), fat);
  ASSERT_TRUE(WriteFileData(dir / "undated", "x", 0, false));
  EXPECT_NE(FileFatDate(dir / "undated"), fat);
}

TEST(Files, DeleteFilesByMask) {
  TempFolder dir;
  MakeFile(dir / "a.txt", "1");
  MakeFile(dir / "b.txt", "2", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  MakeFile(dir / "c.log", "3");
  EXPECT_FALSE(DeleteFiles(dir / "*.none", true));
  EXPECT_TRUE(DeleteFiles(dir / "*.txt", false));  // matched, though b.txt stays
  EXPECT_FALSE(FileExists(dir / "a.txt"));
  EXPECT_TRUE(FileExists(dir / "b.txt"));
  EXPECT_TRUE(DeleteFiles(dir / "*.txt", true));
  EXPECT_FALSE(FileExists(dir / "b.txt"));
  EXPECT_TRUE(FileExists(dir / "c.log"));
}

TEST(Files, DeleteTree) {
  TempFolder dir;
  EXPECT_FALSE(DeleteTree(dir / "missing", true));
  EXPECT_FALSE(DeleteTree("", true));

  ASSERT_TRUE(ForceDirectories(dir / "tree\\a\\b"));
  MakeFile(dir / "tree\\top.txt", "1");
  MakeFile(dir / "tree\\a\\b\\ro.txt", "2", FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(DeleteTree(dir / "tree", true));
  EXPECT_FALSE(DirectoryExists(dir / "tree"));

  // A hidden subfolder is not listed, so it and its parent survive.
  ASSERT_TRUE(ForceDirectories(dir / "keep\\hidden"));
  SetFileAttributesA((dir / "keep\\hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
  EXPECT_FALSE(DeleteTree(dir / "keep", true));
  EXPECT_TRUE(DirectoryExists(dir / "keep\\hidden"));
}

TEST(Files, FoldersAndDrives) {
  TempFolder dir;
  EXPECT_TRUE(ForceDirectories(dir / "x\\y\\z\\"));
  EXPECT_TRUE(DirectoryExists(dir / "x\\y\\z"));
  EXPECT_FALSE(FileExists(dir / "x\\y\\z"));
  EXPECT_TRUE(ForceDirectories(dir / "x\\y"));

  EXPECT_GT(DiskFree(dir.path()), 0.0);
  EXPECT_GT(DiskFree("c:/"), 0.0);
  EXPECT_EQ(DiskFree("Q:\\nothing"), -1.0);
  EXPECT_EQ(DiskFree("\\\\server\\share\\x"), -1.0);
  EXPECT_EQ(DiskFree(""), -1.0);
  EXPECT_FALSE(EjectCD(dir.path()));
  EXPECT_FALSE(EjectCD("1:\\"));
}

TEST(Files, SeekAndSizeOfOpenFile) {
  TempFolder dir;
  MakeFile(dir / "f", "0123456789");
  HANDLE h = CreateFileA((dir / "f").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(FileSizeOf(h), 10);
  EXPECT_EQ(FileSeek64(h, 2, -3), 7);
  EXPECT_EQ(FileSeek64(h, 1, 1), 8);
  EXPECT_EQ(FileSeek64(h, 0, 2), 2);
  CloseHandle(h);
}

namespace {

// Starts a copy of the self-deleting test program in folder and waits until
// path has gone; false after 60 seconds.
bool RunsAndVanishes(const std::string& folder, const std::string& switches, const std::string& path) {
  const std::string exe = folder + "\\self del.exe";
  if (!CopyFileA((testenv::BinDir() + "\\kavrix-selfdelete.exe").c_str(), exe.c_str(), FALSE)) return false;
  const kit::Child child("\"" + exe + "\" " + switches);
  if (!child.Started()) return false;
  child.Wait(30000);
  return kit::WaitUntil([&] { return !kit::Exists(path); }, 60000);
}

}  // namespace

TEST(Files, DeleteMySelfRemovesTheEndedProgram) {
  TempFolder dir;
  ASSERT_TRUE(ForceDirectories(dir / "keep"));
  ASSERT_TRUE(ForceDirectories(dir / "gone"));
  EXPECT_TRUE(RunsAndVanishes(dir / "keep", "", dir / "keep\\self del.exe"));
  EXPECT_TRUE(DirectoryExists(dir / "keep"));
  EXPECT_TRUE(RunsAndVanishes(dir / "gone", "/folder", dir / "gone"));
}
