#pragma once
// Runs of the real stub for the end-to-end tests: setup files put together
// from the built stub and the sample engine, message boxes answered as they
// come, and what the engine reported read back.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "package/PackFormat.h"
#include "tests/win32/PackageKit.h"
#include "tests/win32/ProcessKit.h"
#include "tests/win32/TestEnv.h"
#include "tools/msgbox-helper/BoxProbe.h"
#include "util/Files.h"
#include "util/Text.h"

namespace kit {

inline std::string StubImage() { return ReadAll(testenv::BinDir() + "\\kavrix-stub.exe"); }
inline std::string EngineImage() { return ReadAll(testenv::BinDir() + "\\kavrix-sample-engine.exe"); }

// A file record of the engine that installs into target, with extra switches.
inline std::string EngineRecord(const std::string& target, const std::string& extra = "") {
  return ZlibBlock(RecordContent("kavrix-sample-engine.exe* /target=" + target + (extra.empty() ? "" : " " + extra), 0,
                                 EngineImage()));
}

inline std::string FileRecord(const std::string& name, const std::string& data, uint32_t date = 0) {
  return ZlibBlock(RecordContent(name, date, data));
}

// The setup temp folder that a run of exe uses (named by its file's time of day).
inline std::string SetupTempOf(const std::string& exe) {
  char buf[MAX_PATH];
  GetTempPathA(sizeof buf, buf);
  return std::string(buf) + "SETUP_" + IntToText(FileFatDate(exe) & 0xFFFF);
}

struct Outcome {
  DWORD exitCode = STILL_ACTIVE;
  std::vector<std::string> boxes;  // texts of the message boxes, in order
  bool windowShown = false;        // the stub's main window was visible at some point
};

// Answer to a box: index of the button to press (left to right).
using Answerer = std::function<size_t(const std::string& text)>;
inline size_t FirstButton(const std::string&) { return 0; }

// Answers the message box that is open now (in any process), if there is one,
// and records its text.
inline void AnswerOpenBox(const Answerer& answer, Outcome& out) {
  const HWND box = boxprobe::WaitForBox(0);
  if (!box) return;
  const std::string text = boxprobe::PlainText(box);
  out.boxes.push_back(text);
  const std::vector<HWND> buttons = boxprobe::Buttons(box);
  const size_t pick = answer(text);
  if (pick < buttons.size()) boxprobe::Click(buttons[pick]);
  boxprobe::WaitUntilGone(box, 30000);
}

// Starts command, answers every message box that appears, and waits for the
// started process to end.
inline Outcome RunSetup(const std::string& command, const std::string& exe, const Answerer& answer = FirstButton,
                        DWORD timeoutMs = 240000) {
  Outcome out;
  Child stub(command);
  if (!stub.Started()) return out;
  for (const DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs;) {
    HWND main = FindWindowA(exe.c_str(), nullptr);
    if (main && IsWindowVisible(main)) out.windowShown = true;
    AnswerOpenBox(answer, out);
    if ((out.exitCode = stub.Wait(50)) != STILL_ACTIVE) break;
  }
  return out;
}

// What the sample engine wrote: its command line and show mode.
struct EngineReport {
  bool ran = false;
  std::string commandLine;
  std::string show;
};

inline EngineReport ReadEngineReport(const std::string& target) {
  EngineReport r;
  const std::string text = ReadAll(target + "\\_engine_run.txt");
  r.ran = !text.empty();
  r.commandLine = LeftOf(text, "\r\n", text);
  r.show = Trim(RightOf(text, "show=", ""));
  return r;
}

// A fresh folder for one test, emptied first.
inline std::string FreshFolder(const std::string& name) {
  const std::string path = TempFolder(name);
  DeleteTree(path, true);
  CreateDirectoryA(path.c_str(), nullptr);
  return path;
}

}  // namespace kit
