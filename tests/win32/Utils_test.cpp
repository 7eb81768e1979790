#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/StubVersion.h"
#include "tests/win32/DebugCapture.h"
#include "tests/win32/TempFolder.h"
#include "tests/win32/TestEnv.h"
#include "util/Dates.h"
#include "util/Files.h"
#include "util/Paths.h"
#include "util/Text.h"
#include "util/Utils.h"

TEST(Utils, SystemLibrariesComeFromTheSystemFolder) {
  HMODULE version = LoadSystemLibrary("version.dll");
  ASSERT_NE(version, nullptr);
  char path[MAX_PATH] = {};
  GetModuleFileNameA(version, path, MAX_PATH);
  EXPECT_TRUE(SameTextCI(ExtractFileDir(path), SystemDir(false))) << path;
  EXPECT_EQ(LoadSystemLibrary("no-such-library.dll"), nullptr);

  HMODULE kernel = nullptr;
  EXPECT_NE(GetLibraryProc("kernel32.dll", "GetTickCount", &kernel), nullptr);
  EXPECT_NE(kernel, nullptr);
  EXPECT_EQ(GetLibraryProc("kernel32.dll", "NoSuchFunction"), nullptr);
}

TEST(Utils, FoldersWithAndWithoutBackslash) {
  for (auto folder : {WindowsDir, SystemDir, TempDir, ExeDir}) {
    const std::string with = folder(true), without = folder(false);
    ASSERT_GE(without.size(), 3u);
    EXPECT_EQ(with, without + "\\");
    EXPECT_NE(without.back(), '\\');
    EXPECT_TRUE(DirectoryExists(without)) << without;
  }
  EXPECT_TRUE(FileExists(ExePath()));
  EXPECT_TRUE(SameTextCI(ExtractFileName(ExePath()), "kavrix-win-tests.exe"));
}

TEST(Utils, IniValues) {
  TempFolder dir;
  const std::string ini = dir / "a.ini";
  ASSERT_TRUE(WriteIniString(ini, "S", "Text", "  hello  "));
  ASSERT_TRUE(WriteIniString(ini, "S", "Empty", ""));
  ASSERT_TRUE(WriteIniString(ini, "S", "Hex", "0x1F"));
  ASSERT_TRUE(WriteIniString(ini, "S", "Bad", "12abc"));
  ASSERT_TRUE(WriteIniInt(ini, "S", "Big", -9000000000LL));

  EXPECT_EQ(ReadIniString(ini, "s", "text", "d"), "hello");  // the system trims and ignores case
  EXPECT_EQ(ReadIniString(ini, "S", "Empty", "d"), "d");
  EXPECT_EQ(ReadIniString(ini, "S", "Missing", "d"), "d");
  EXPECT_EQ(ReadIniString(ini, "", "Text", "d"), "d");
  EXPECT_EQ(ReadIniString(dir / "none.ini", "S", "Text", "d"), "d");
  EXPECT_EQ(ReadIniInt(ini, "S", "Hex", 7), 31);
  EXPECT_EQ(ReadIniInt(ini, "S", "Bad", 7), 7);
  EXPECT_EQ(ReadIniInt(ini, "S", "Big", 7), -9000000000LL);
  EXPECT_EQ(ReadIniInt(ini, "S", "Missing", -1), -1);
}

TEST(Utils, RegistryValuesAsText) {
  const std::string sub = "Software\\KavrixTest\\" + std::to_string(GetCurrentProcessId());
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, sub.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const DWORD big = 4294967295u;
  RegSetValueExA(key, "Dword", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&big), sizeof big);
  RegSetValueExA(key, "Multi", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>("a\0b\0"), 5);
  RegSetValueExA(key, "Text", 0, REG_SZ, reinterpret_cast<const BYTE*>("hello"), 6);
  RegSetValueExA(key, "", 0, REG_SZ, reinterpret_cast<const BYTE*>("default"), 8);
  RegCloseKey(key);

  EXPECT_EQ(ReadRegString("HKCU\\" + sub, "Dword", "d"), "4294967295");
  EXPECT_EQ(ReadRegString("HKEY_CURRENT_USER\\" + sub, "Multi", "d"), "a<0>b");
  EXPECT_EQ(ReadRegString(sub, "Text", "d"), "hello");
  EXPECT_EQ(ReadRegString("hkcu\\" + sub, "", "d"), "default");
  EXPECT_EQ(ReadRegString("HKCU\\" + sub, "Missing", "d"), "d");
  EXPECT_EQ(ReadRegString("HKLM\\" + sub, "Text", "d"), "d");

  RegDeleteKeyA(HKEY_CURRENT_USER, sub.c_str());
}

TEST(Utils, ExeVersion) {
  EXPECT_EQ(GetExeVersion(testenv::BinDir() + "\\kavrix-stub.exe"), KAVRIX_VERSION_TEXT);

  TempFolder dir;
  ASSERT_TRUE(WriteFileData(dir / "plain.txt", "no resources here", 0, false));
  DebugCapture capture;
  ASSERT_TRUE(capture.Ready()) << capture.Problem();
  EXPECT_EQ(GetExeVersion(dir / "plain.txt"), "");
  EXPECT_EQ(capture.Text().rfind(" --- Utils.GetExeVersion()() --- ", 0), 0u) << capture.Text();
}

namespace {

int g_served = 0;
LRESULT CALLBACK CountingProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_APP + 1) {
    ++g_served;
    return 0;
  }
  return DefWindowProcA(wnd, msg, wp, lp);
}

}  // namespace

TEST(Utils, DelayServesMessagesAndWaitsItsDuration) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = CountingProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "KavrixDelayTest";
  RegisterClassA(&wc);
  HWND wnd = CreateWindowA("KavrixDelayTest", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(wnd, nullptr);

  g_served = 0;
  PostMessageA(wnd, WM_APP + 1, 0, 0);
  Delay(0, 0);
  EXPECT_EQ(g_served, 1);

  PostMessageA(wnd, WM_APP + 1, 0, 0);
  const int64_t start = NowMs();
  const DWORD tickStart = GetTickCount();
  Delay(0, 120);
  const int64_t took = NowMs() - start;
  EXPECT_GE(took, 120);
  EXPECT_LT(took, 2000);
  EXPECT_NEAR(static_cast<double>(took), static_cast<double>(GetTickCount() - tickStart), 50.0);
  EXPECT_EQ(g_served, 2);
  DestroyWindow(wnd);
}

TEST(Utils, DatesUseTheUsersSeparators) {
  char dateSep[8] = {}, timeSep[8] = {};
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDATE, dateSep, sizeof dateSep);
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STIME, timeSep, sizeof timeSep);
  double value = 0;
  ASSERT_TRUE(EncodeDateTime({2024, 1, 5, 13, 45, 9, 0}, value));
  const std::string d = dateSep, t = timeSep;
  EXPECT_EQ(DateTimeShort(true, value), "05" + d + "01" + d + "2024 13" + t + "45" + t + "09");
  EXPECT_EQ(DateTimeShort(false, value), "05" + d + "01" + d + "24 13" + t + "45" + t + "09");
  EXPECT_EQ(DateTimeStamp(value), "05-JAN-2024 13" + t + "45" + t + "09");

  SYSTEMTIME now;
  GetLocalTime(&now);
  DateTimeParts parts{};
  ASSERT_TRUE(DecodeDateTime(NowDateTime(), parts));
  EXPECT_EQ(parts.year, now.wYear);
  EXPECT_EQ(parts.month, now.wMonth);
}

TEST(Utils, SystemInformation) {
  SetLastError(ERROR_FILE_NOT_FOUND);
  const std::string text = LastErrorText();
  ASSERT_FALSE(text.empty());
  EXPECT_NE(text.back(), '.');
  EXPECT_GT(static_cast<unsigned char>(text.back()), ' ');

  EXPECT_TRUE(IsWinNT());
  EXPECT_FALSE(UserName().empty());
  EXPECT_FALSE(ComputerName().empty());
  EXPECT_EQ(BoolText(true), "TRUE");
  EXPECT_EQ(BoolText(false), "FALSE");
  EXPECT_EQ(CurrentVersionKey(), "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");
  EXPECT_FALSE(RegisteredOwner().empty());
  EXPECT_EQ(PointsToPixels(8), ScreenDpi() == 96 ? 11 : (8 * ScreenDpi() + 36) / 72);
}

TEST(Utils, RandomNumbersStayInRange) {
  for (int i = 0; i < 200; ++i) {
    const int64_t r = RandomInRange(10000, 100000);
    EXPECT_GE(r, 10000);
    EXPECT_LE(r, 100000);
  }
  EXPECT_EQ(RandomInRange(5, 5), 5);
  EXPECT_EQ(TextToInt64(RandomText(7, 7), -1), 7);
}
