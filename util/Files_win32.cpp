#include "util/Files.h"

#include <winioctl.h>

#include <vector>

#include "ui/KDebug.h"
#include "util/FilePlan.h"
#include "util/FileRules.h"
#include "util/Paths.h"
#include "util/Utils.h"

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE;

class FileHandle {
 public:
  explicit FileHandle(HANDLE h) : h_(h) {}
  ~FileHandle() {
    if (ok()) CloseHandle(h_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool ok() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

// existed, when given: the file was there before (the system says so for both
// dispositions).
HANDLE OpenForWrite(const std::string& path, bool append, bool* existed = nullptr) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, append ? kShareAll : 0, nullptr,
                         append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (existed) *existed = GetLastError() == ERROR_ALREADY_EXISTS;
  if (append && h != INVALID_HANDLE_VALUE) FileSeek64(h, 2, 0);
  return h;
}

// Bytes written by one call; 0 on failure.
uint64_t WriteAll(HANDLE h, const char* data, uint64_t size) {
  DWORD written = 0;
  if (size == 0) return 0;
  if (!WriteFile(h, data, static_cast<DWORD>(size), &written, nullptr)) return 0;
  return written;
}


}  // namespace

int64_t FileSeek64(HANDLE file, int origin, int64_t offset) {
  LARGE_INTEGER move, pos;
  move.QuadPart = offset;
  if (!SetFilePointerEx(file, move, &pos, static_cast<DWORD>(origin))) return -1;
  return pos.QuadPart;
}

int64_t FileSizeByName(const std::string& path) {
  WIN32_FIND_DATAA fd;
  HANDLE find = FindFirstFileA(path.c_str(), &fd);
  if (find == INVALID_HANDLE_VALUE) return 0;
  FindClose(find);
  return static_cast<int64_t>(fd.nFileSizeHigh) << 32 | fd.nFileSizeLow;
}

int64_t FileSizeOf(HANDLE file) {
  LARGE_INTEGER size;
  return GetFileSizeEx(file, &size) ? size.QuadPart : 0;
}

std::string ReadFilePart(const std::string& path, uint32_t maxBytes) {
  if (!FileExists(path)) return "";
  FileHandle f(CreateFileA(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           nullptr));
  if (!f.ok()) return "";
  int64_t count = FileSizeOf(f.get());
  if (maxBytes != 0 && count > maxBytes) count = maxBytes;
  // A whole file larger than memory allows cannot be read into one string.
  if (count <= 0 || static_cast<uint64_t>(count) > 0x7FFFFFFF) return "";
  std::string data(static_cast<size_t>(count), '\0');
  DWORD got = 0;
  if (!ReadFile(f.get(), &data[0], static_cast<DWORD>(count), &got, nullptr) || got != count) return "";
  return data;
}

bool WriteFileData(const std::string& path, std::string_view data, uint32_t fatDate, bool append,
                   ProgressSink sink, bool* created) {
  bool existed = false;
  FileHandle f(OpenForWrite(path, append, &existed));
  if (created) *created = f.ok() && !existed;
  if (!f.ok()) return false;
  const uint64_t size = data.size();
  uint64_t done = 0;
  if (WritesInChunks(size, sink != nullptr)) {
    int32_t cancel = 0;
    const int32_t max = static_cast<int32_t>(size);
    const intptr_t context = reinterpret_cast<intptr_t>(&cancel);
    if (sink) sink(0, 0, max, 0, 1, context);
    const uint64_t chunk = ChunkSize(size);
    for (;;) {
      const uint64_t n = WriteAll(f.get(), data.data() + done, size - done < chunk ? size - done : chunk);
      done += n;
      if (sink) sink(0, 0, max, static_cast<int32_t>(done), 1, context);
      if (n == 0 || done >= size || cancel != 0) break;
    }
  } else {
    done = WriteAll(f.get(), data.data(), size);
  }
  const bool complete = done == size;
  if (complete && fatDate != 0) {
    FILETIME local, utc;
    if (DosDateTimeToFileTime(HIWORD(fatDate), LOWORD(fatDate), &local) && LocalFileTimeToFileTime(&local, &utc))
      SetFileTime(f.get(), nullptr, nullptr, &utc);
  }
  return complete;
}

bool AppendText(const std::string& path, const std::string& text) {
  FileHandle f(OpenForWrite(path, true));
  return f.ok() && WriteAll(f.get(), text.data(), text.size()) == text.size();
}

double DiskFree(const std::string& path) {
  using FreeExFn = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
  // Probed once per process.
  static const FreeExFn freeEx =
      ProcAs<FreeExFn>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetDiskFreeSpaceExA"));
  if (path.empty()) return -1.0;
  const std::string dir = DiskFreeQueryDir(path, freeEx != nullptr);
  if (freeEx) {
    ULARGE_INTEGER avail, total, free;
    if (freeEx(dir.c_str(), &avail, &total, &free) || freeEx(DriveRootOf(path).c_str(), &avail, &total, &free))
      return static_cast<double>(avail.QuadPart);
    return -1.0;
  }
  DWORD spc, bps, freeClusters, clusters;
  if (GetDiskFreeSpaceA(DriveRootOf(path).c_str(), &spc, &bps, &freeClusters, &clusters))
    return static_cast<double>(spc) * bps * freeClusters;
  return -1.0;
}

bool DeleteFiles(const std::string& mask, bool clearAttributes) {
  const std::string dir = SetTrailingBackslash(ExtractFileDir(mask, IsLeadByte), true, IsLeadByte);
  WIN32_FIND_DATAA fd;
  HANDLE find = FindFirstFileA(mask.c_str(), &fd);
  if (find == INVALID_HANDLE_VALUE) return false;
  bool matched = false;
  do {
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    matched = true;
    const std::string file = dir + fd.cFileName;
    if (clearAttributes) SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(file.c_str());
  } while (FindNextFileA(find, &fd));
  FindClose(find);
  return matched;
}

bool DeleteTree(const std::string& folder, bool clearAttributes) {
  if (folder.empty()) return false;
  const bool existed = DirectoryExists(folder);
  const std::string dir = SetTrailingBackslash(folder, true, IsLeadByte);
  DeleteFiles(dir + "*.*", clearAttributes);
  WIN32_FIND_DATAA fd;
  HANDLE find = FindFirstFileA((dir + "*.*").c_str(), &fd);
  if (find != INVALID_HANDLE_VALUE) {
    std::vector<std::string> subfolders;
    do {
      const std::string name = fd.cFileName;
      // Hidden and system folders are left alone, and so is their parent.
      if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
          !(fd.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) && name != "." && name != "..")
        subfolders.push_back(dir + name);
    } while (FindNextFileA(find, &fd));
    FindClose(find);
    for (const std::string& sub : subfolders) DeleteTree(sub, clearAttributes);  // removes sub too
  }
  RemoveDirectoryA(SetTrailingBackslash(folder, false, IsLeadByte).c_str());
  return existed && !DirectoryExists(folder);
}

void DeleteMySelf(bool removeFolder) {
  const std::string batch = TempDir(true) + "_DEL_ME_.BAT";
  const std::string text = SelfDeleteBatchText(ExePath(), ExeDir(false), batch, removeFolder);
  // Our own folder must not be the current one, or it could not be removed.
  SetCurrentDirectoryA(TempDir(false).c_str());
  WriteFileData(batch, text, 0, false);
  WinExec(("\"" + batch + "\"").c_str(), SW_HIDE);
}

bool EjectCD(const std::string& path) {
  try {
    const std::string root = DriveRootOf(path);
    const char letter = root[0];
    if (letter < 'A' || letter > 'Z') return false;
    if (GetDriveTypeA(root.c_str()) != DRIVE_CDROM) return false;
    const std::string device = std::string("\\\\.\\") + letter + ":";
    HANDLE h = CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    DebugLine("EjectCD-2: " + device + " " + std::to_string(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(h))));
    if (h == INVALID_HANDLE_VALUE) {
      h = CreateFileA(device.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr);
      DebugLine("EjectCD-3: " + device + " " + std::to_string(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(h))));
    }
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD got = 0;
    const bool ok = DeviceIoControl(h, IOCTL_STORAGE_EJECT_MEDIA, nullptr, 0, nullptr, 0, &got, nullptr) != FALSE;
    CloseHandle(h);
    return ok;
  } catch (...) {
    return false;
  }
}

bool FileExists(const std::string& path) {
  const DWORD attr = GetFileAttributesA(path.c_str());
  return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path) {
  const DWORD attr = GetFileAttributesA(path.c_str());
  return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

bool ForceDirectories(const std::string& path) {
  const std::string dir = SetTrailingBackslash(path, false, IsLeadByte);
  if (dir.empty() || DirectoryExists(dir)) return !dir.empty();
  const std::string parent = ExtractFileDir(dir, IsLeadByte);
  if (!parent.empty() && parent != dir && !ForceDirectories(parent)) return false;
  return CreateDirectoryA(dir.c_str(), nullptr) || DirectoryExists(dir);
}

uint32_t FileFatDate(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA info;
  FILETIME local;
  WORD date = 0, time = 0;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &info) ||
      !FileTimeToLocalFileTime(&info.ftLastWriteTime, &local) || !FileTimeToDosDateTime(&local, &date, &time))
    return 0;
  return static_cast<uint32_t>(date) << 16 | time;
}
