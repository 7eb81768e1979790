#include "util/Utils.h"

#include <cmath>
#include <exception>
#include <stdexcept>
#include <vector>

#include "ui/KDebug.h"
#include "util/Paths.h"
#include "util/Switches.h"
#include "util/Text.h"

namespace {

std::string FolderFrom(UINT (WINAPI* query)(LPSTR, UINT), bool withBackslash) {
  char buf[261] = {};
  UINT n = query(buf, sizeof buf);
  if (n == 0 || n >= sizeof buf) return "";
  return SetTrailingBackslash(buf, withBackslash, IsLeadByte);
}

UINT WINAPI TempPathQuery(LPSTR buf, UINT size) { return GetTempPathA(size, buf); }

}  // namespace

// --- DLL loading -----------------------------------------------------------

void RestrictDllSearch() {
  using SetDirsFn = BOOL(WINAPI*)(DWORD);
  // Looked up at run time: systems without the update that adds it still start.
  auto setDirs = ProcAs<SetDirsFn>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories"));
  if (setDirs) setDirs(LOAD_LIBRARY_SEARCH_SYSTEM32);
  // Takes the current folder out of the search order too.
  SetDllDirectoryA("");
}

HMODULE LoadSystemLibrary(const std::string& name) {
  const std::string dir = SystemDir(true);
  if (dir.empty() || name.empty()) return nullptr;
  const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE module = LoadLibraryA((dir + name).c_str());
  SetErrorMode(oldMode);
  return module;
}

FARPROC GetLibraryProc(const std::string& library, const std::string& function, HMODULE* module) {
  HMODULE lib = LoadSystemLibrary(library);
  if (module) *module = lib;
  return lib ? GetProcAddress(lib, function.c_str()) : nullptr;
}

bool IsLeadByte(unsigned char c) { return IsDBCSLeadByte(c) != FALSE; }

// --- Command line ------------------------------------------------------------

std::string CommandLineTail() { return CommandLineTailOf(GetCommandLineA(), ExePath(), IsLeadByte); }

std::string SwitchList(char switchChar, char separator) {
  return SwitchListOf(CommandLineTail(), switchChar, separator);
}

std::string GetSwitch(const std::string& name, const std::string& def) {
  return GetSwitchIn(CommandLineTail(), name, def);
}

int64_t GetSwitchInt(const std::string& name, int64_t def) {
  return GetSwitchIntIn(CommandLineTail(), name, def);
}

bool HasSwitch(const std::string& name) { return HasSwitchIn(CommandLineTail(), name); }

// --- Folders -------------------------------------------------------------------

std::string ExePath() {
  std::vector<char> buf(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameA(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return "";
    if (n < buf.size()) return std::string(buf.data(), n);
    buf.resize(buf.size() * 2);
  }
}

std::string ExeDir(bool withBackslash) {
  return SetTrailingBackslash(ExtractFileDir(ExePath(), IsLeadByte), withBackslash, IsLeadByte);
}

std::string WindowsDir(bool withBackslash) { return FolderFrom(GetWindowsDirectoryA, withBackslash); }
std::string SystemDir(bool withBackslash) { return FolderFrom(GetSystemDirectoryA, withBackslash); }
std::string TempDir(bool withBackslash) { return FolderFrom(TempPathQuery, withBackslash); }

// --- Versions and system information ------------------------------------------

std::string GetExeVersion(const std::string& file) {
  using SizeFn = DWORD(WINAPI*)(LPCSTR, LPDWORD);
  using InfoFn = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID);
  using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT);
  try {
    const std::string path = file.empty() ? ExePath() : file;
    const HMODULE lib = LoadSystemLibrary("version.dll");
    auto sizeOf = lib ? ProcAs<SizeFn>(GetProcAddress(lib, "GetFileVersionInfoSizeA")) : nullptr;
    auto infoOf = lib ? ProcAs<InfoFn>(GetProcAddress(lib, "GetFileVersionInfoA")) : nullptr;
    auto query = lib ? ProcAs<QueryFn>(GetProcAddress(lib, "VerQueryValueA")) : nullptr;
    if (!sizeOf || !infoOf || !query) throw std::runtime_error("version.dll is not available");
    DWORD handle = 0;
    const DWORD size = sizeOf(path.c_str(), &handle);
    if (size == 0) throw std::runtime_error("no version resource: " + path);
    std::vector<char> buf(size < 16384 ? 16384 : size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (!infoOf(path.c_str(), 0, static_cast<DWORD>(buf.size()), buf.data()) ||
        !query(buf.data(), "\\", reinterpret_cast<LPVOID*>(&fixed), &fixedSize) || !fixed ||
        fixedSize < sizeof(VS_FIXEDFILEINFO))
      throw std::runtime_error("unreadable version resource: " + path);
    return std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionMS)) +
           "." + std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionLS));
  } catch (const std::exception& e) {
    TraceException(e, "Utils.GetExeVersion()");
    return "";
  }
}

std::string BoolText(bool value) { return value ? "TRUE" : "FALSE"; }

bool IsWinNT() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  return GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

bool IsDeveloperMode() {
  static const bool on = [] {
    char buf[16] = {};
    DWORD n = GetEnvironmentVariableA("DVX", buf, sizeof buf);
    return n > 0 && n < sizeof buf && std::string(buf, n) == "731";
  }();
  return on;
}

std::string UserName() {
  char buf[256] = {};
  DWORD size = sizeof buf;
  return GetUserNameA(buf, &size) ? Trim(buf) : "";
}

std::string ComputerName() {
  char buf[256] = {};
  DWORD size = sizeof buf;
  return GetComputerNameA(buf, &size) ? Trim(buf) : "";
}

std::string AccountDomain(const std::string& account) {
  DWORD sidSize = 0, domainSize = 0;
  SID_NAME_USE use;
  LookupAccountNameA(nullptr, account.c_str(), nullptr, &sidSize, nullptr, &domainSize, &use);
  if (sidSize == 0 || domainSize == 0) return "";
  std::vector<char> sid(sidSize), domain(domainSize);
  if (!LookupAccountNameA(nullptr, account.c_str(), sid.data(), &sidSize, domain.data(), &domainSize, &use))
    return "";
  return domain.data();
}

std::string UserDomain() { return AccountDomain(UserName()); }

std::string LastErrorText() {
  const DWORD code = GetLastError();
  char buf[256] = {};
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buf,
                           sizeof buf, nullptr);
  std::string text(buf, n < sizeof buf ? n : 0);
  while (!text.empty() && (static_cast<unsigned char>(text.back()) <= ' ' || text.back() == '.')) text.pop_back();
  return text;
}

// --- Screen ------------------------------------------------------------------

int ScreenDpi() {
  static int dpi = 0;
  if (dpi == 0) {
    HDC dc = GetDC(nullptr);
    dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
  }
  return dpi;
}

int PointsToPixels(int points) { return static_cast<int>(std::lround(points * ScreenDpi() / 72.0)); }

ScreenPoint CenterInWorkArea(int width, int height) {
  RECT area{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  return {area.left + (area.right - area.left - width) / 2, area.top + (area.bottom - area.top - height) / 2};
}
