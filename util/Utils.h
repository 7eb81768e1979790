#pragma once
// Win32 side of the utility library: command line, folders, INI and registry,
// message serving and timing, dates with the user's separators, versions and
// system information. Decisions and formats live in the portable util headers.
#include <windows.h>

#include <cstdint>
#include <string>

// --- DLL loading -----------------------------------------------------------
// Limits the process's DLL search to the system folder so that a DLL planted
// beside the program is never loaded by name. Call first thing in the process.
void RestrictDllSearch();
// Loads a system DLL by its full path in the system folder; nullptr on failure.
// Every module loaded at run time by name goes through here.
HMODULE LoadSystemLibrary(const std::string& name);
// Looks a function up in a system DLL (loaded through LoadSystemLibrary and
// kept loaded); the handle is given back in *module when asked.
FARPROC GetLibraryProc(const std::string& library, const std::string& function,
                       HMODULE* module = nullptr);
// A looked-up function as the type it has.
template <class Fn>
Fn ProcAs(FARPROC proc) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(proc));
}

// Lead bytes of the system's double-byte code page, for the path helpers.
bool IsLeadByte(unsigned char c);

// --- Command line (read afresh on every call) ------------------------------
std::string CommandLineTail();
std::string SwitchList(char switchChar, char separator);
std::string GetSwitch(const std::string& name, const std::string& def = "");
int64_t GetSwitchInt(const std::string& name, int64_t def);
bool HasSwitch(const std::string& name);

// --- Program and system folders --------------------------------------------
std::string ExePath();
std::string ExeDir(bool withBackslash);
std::string WindowsDir(bool withBackslash);
std::string SystemDir(bool withBackslash);
std::string TempDir(bool withBackslash);

// --- INI files and registry ------------------------------------------------
std::string ReadIniString(const std::string& file, const std::string& section,
                          const std::string& key, const std::string& def);
int64_t ReadIniInt(const std::string& file, const std::string& section, const std::string& key,
                   int64_t def);
bool WriteIniString(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& value);
bool WriteIniInt(const std::string& file, const std::string& section, const std::string& key,
                 int64_t value);
// path such as "HKLM\Software\A"; an empty value name reads the key's default value.
std::string ReadRegString(const std::string& path, const std::string& valueName,
                          const std::string& def);

// --- Message serving and timing --------------------------------------------
// Serves every waiting message of the thread, then sleeps ms.
void YieldX(DWORD ms);
// Serves messages until duration ms have passed (step 0: automatic).
void Delay(uint32_t step, int64_t duration);
int64_t NowMs();

// --- Dates (floating-point days since 30 Dec 1899, local time) -------------
double NowDateTime();
// 05-JAN-2024 13:45:09 with the user's time separator.
std::string DateTimeStamp(double value);
// dd/mm/yy HH:NN:SS (or yyyy) with the user's date and time separators.
std::string DateTimeShort(bool fourDigitYear, double value);

// --- Versions and system information ---------------------------------------
// a.b.c.d of the file's version resource; empty file = the program itself.
std::string GetExeVersion(const std::string& file = "");
std::string BoolText(bool value);
bool IsWinNT();
bool IsDeveloperMode();
std::string UserName();
std::string ComputerName();
std::string CurrentVersionKey();
std::string RegisteredOwner();
std::string RegisteredOrganization();
std::string AccountDomain(const std::string& account);
std::string UserDomain();
std::string LastErrorText();

// --- Screen ----------------------------------------------------------------
int ScreenDpi();
int PointsToPixels(int points);
struct ScreenPoint {
  int x;
  int y;
};
ScreenPoint CenterInWorkArea(int width, int height);

// --- Random numbers (reseeded from the clock on every call) ---------------
int64_t RandomInRange(int64_t lowest, int64_t highest);
std::string RandomText(int64_t lowest, int64_t highest);
