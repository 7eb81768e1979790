#include "package/StubSetup.h"

#include "agent/StubGlob.h"
#include "app/MainWindow.h"
#include "app/StubWin.h"
#include "net/BytesRate.h"
#include "package/KProgBar.h"
#include "package/PackX.h"
#include "package/SetupCommand.h"
#include "package/UnPack.h"
#include "ui/KDebug.h"
#include "ui/KMsgBox.h"
#include "util/Files.h"
#include "util/ProcessViewer.h"
#include "util/Text.h"
#include "util/Utils.h"

namespace {

const char kCompletionAtom[] = "UnqqDxvqrjDjqeCsxxtDjHvppje";

std::string ThreadTag() { return "_" + IntToText(GetCurrentThreadId()); }

// The agent's shortcuts and whether the update asks to remove them; read before
// the engine starts, as it may change both files.
struct TShortcuts {
  std::string startUp, checkForUpdate;
  bool removeStartUp = false, removeCheckForUpdate = false;
};

TShortcuts ReadShortcuts() {
  TShortcuts s;
  if (!StubInfo) return s;
  const std::string original = ExeDir(true) + StubInfo->OriginalFileName();
  const std::string info = ExeDir(true) + StubInfo->InfoFileName();
  s.startUp = ReadIniString(original, "UnInstall", "StartUpLink", "");
  s.checkForUpdate = ReadIniString(original, "UnInstall", "CheckforNewUpdateLink", "");
  s.removeStartUp = ReadIniString(info, "NewSetup", "RemoveStartUpShortcut", "0") == "1";
  s.removeCheckForUpdate = ReadIniString(info, "NewSetup", "RemoveCheckForNewUpdateShortcut", "0") == "1";
  return s;
}

void RemoveShortcut(bool wanted, const std::string& path) {
  if (wanted && !path.empty() && FileExists(path)) DeleteFileA(path.c_str());
}

// Starts the engine and waits for its process and then its dialog; true when
// the engine took the completion atom away.
bool RunEngine(const std::string& destination, const std::string& engine, const std::string& tail,
               bool foreground) {
  const std::string tag = ThreadTag();
  std::string command = EngineCommandLine(destination, engine, tail, tag, ExePath(), ThisIs_AutoUpdateProg);
  const TShortcuts shortcuts = ReadShortcuts();
  DebugPidLine(" ==== WinExec(Engine.exe) >>" + command + "<<");
  const std::string atomName = kCompletionAtom + tag;
  GlobalAddAtomA(atomName.c_str());

  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = WORD(foreground ? SW_SHOWNORMAL : SW_HIDE);
  PROCESS_INFORMATION pi{};
  const bool started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
  if (started) CloseHandle(pi.hThread);

  ShowWindow(MainWindowHandle(), SW_HIDE);
  Delay(0, 1000);
  DWORD code = 0;
  do Delay(0, 500);
  while (started && GetExitCodeProcess(pi.hProcess, &code) && code == STILL_ACTIVE);
  if (!started || !GetExitCodeProcess(pi.hProcess, &code)) code = 0;
  if (started) CloseHandle(pi.hProcess);
  StubExitCode = int32_t(code);

  WaitWindowGone(".SDialog_Class_Name." + tag);
  Delay(0, 1000);
  const ATOM left = GlobalFindAtomA(atomName.c_str());
  if (left) GlobalDeleteAtom(left);
  if (left == 0) {
    RemoveShortcut(shortcuts.removeStartUp, shortcuts.startUp);
    RemoveShortcut(shortcuts.removeCheckForUpdate, shortcuts.checkForUpdate);
  }
  return left == 0;
}

}  // namespace

bool ForcePromptSet() {
  return ReadRegString("HKEY_CURRENT_USER\\Software\\Brenholt\\Kavrix\\SpanDisk", "ForcePrompt", "0") == "1";
}

bool EnoughSpace(const std::string& folder, const std::string& packagePath) {
  return TGFileInfo(packagePath).SpaceRequired(folder) < DiskFree(folder) && DirectoryExists(folder);
}

bool AskFreeSpace(const std::string& folder, const TGFileInfo& desc) {
  const double need = desc.SpaceRequired(folder);
  const double free = DiskFree(folder);
  const TFreeSpaceTexts texts{
      desc.LangText("s2", "Kavrix will extract files to your Temp Drive (<DRIVE>)<P>"),
      desc.LangText("s3", "Limited Free Space on your Temp Drive! (<DRIVE>)<P>"),
      desc.LangText("s4", "<P>Estimated space required on your Temp drive is: <T>  <SPACE_REQ> MB<P>"),
      desc.LangText("s5", "Free space available on your Temp drive is: <T>  <SPACE_AVAIL> MB<P>"),
      desc.LangText("s6", "<P>Continue with Setup?<P>")};
  const std::string text =
      FreeSpaceQuestion(folder, desc.TellsTempDrive(), need, free, texts, MegabytesText(need), MegabytesText(free));
  if (text.empty()) return true;
  return ConfirmYesNo(0, text, desc.LangText("Confirm", "Confirm"), desc.LangText("BtnText", ""), desc.Charset(), 0);
}

bool RunSetup(std::string destination, const std::string& source, const std::string& agentName,
              const std::string& commandTail, bool foreground) {
  bool finished = false;
  const TGFileInfo desc(source);
  if (desc.ShowsActivityBar()) ShowActivityBar(true);
  SetStatusText(StatusLabelHandle(), desc.LangText("s1", "Extracting Files..."), desc.FontName(), desc.FontSize(),
                desc.Charset());
  if (!EnoughSpace(destination, source) && ChooseAlternativeTempDrive()) destination = AlternativeTempFolder();
  DebugLine("========= ForegroundOp=" + BoolText(foreground) + " ==========");

  if (!foreground || AskFreeSpace(destination, desc)) {
    const std::string buttons = desc.LangText("BtnText", "");
    if (foreground) ShowWindow(MainWindowHandle(), SW_SHOW);
    Delay(1, 1000);
    bool checksumOk = false;
    std::string engine;
    ExtractPackage(source, destination, agentName, checksumOk, MainProgressSink,
                   desc.LangText("s8", "Please insert <B>DISK #<DISK_NUM></B> and press OK to continue"),
                   desc.LangText("Attention", "Attention"), buttons, desc.Charset(), ForcePromptSet(), engine);
    Delay(1, 1000);
    if (!engine.empty() && checksumOk) finished = RunEngine(destination, engine, commandTail, foreground);
    if (!checksumOk)
      ErrorBox(0, desc.LangText("s7", "Bad CRC!<P>This indicates that your setup file might be corrupted..."),
               desc.LangText("Error", "Error"), buttons, desc.Charset());
  }
  RemoveAlternativeTempFolder();
  return finished;
}

void StartSetupFlow(HWND mainWindow) {
  KillTimer(mainWindow, 1);
  if (StubInfo) {
    const std::string agent = StubInfo->MakesAgent() ? StubInfo->AgentFileName() : "";
    const std::string source = GetSwitch("/SpanDiskFName1=", "");
    const bool hide = HasSwitch("/hide") || StubInfo->IsSilent();
    RunSetup(SetupTempFolder(), source.empty() ? ExePath() : source, agent, CommandLineTail(), !hide);
  }
  DeleteTree(SetupTempFolder(), false);
  PostQuitMessage(0);
}
