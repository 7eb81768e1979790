#pragma once
// Run-mode selection and the process-wide state that the entry sequence sets.
#include <cstdint>
#include <string>

class TGFileInfo;

// The package description of the running file, from OpenStubInfo to CloseStubInfo.
extern TGFileInfo* StubInfo;
// The trailer's agent flag of the running file.
extern bool ThisIs_AutoUpdateProg;
// "KavrixStub" at load; fixed by DoRunStubWin before any window exists.
extern std::string WindowClassName;
// The process's exit code: the setup engine's, 0 when none ran.
extern int32_t StubExitCode;

// Makes StubInfo from the own path and sets ThisIs_AutoUpdateProg and the log
// switch from it; CloseStubInfo frees it.
void OpenStubInfo();
void CloseStubInfo();

void DoRunStubWin();

bool X_ExeIsRunning();
bool ThisIs_Plain_AutoUpdate_Exe();
bool ThisIs_X_AutoUpdate_Exe();
bool SpanLevel1();
bool SpanLevel2();
