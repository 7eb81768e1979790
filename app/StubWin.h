#pragma once
// Run-mode selection and the process-wide state that the entry sequence sets.
#include <cstdint>
#include <string>

// The trailer's agent flag of the running file.
extern bool ThisIs_AutoUpdateProg;
// "KavrixStub" at load; fixed by DoRunStubWin before any window exists.
extern std::string WindowClassName;
// The process's exit code: the setup engine's, 0 when none ran.
extern int32_t StubExitCode;

// Reads the running file's package description (start-up step 2) and sets
// ThisIs_AutoUpdateProg and the log switch; CloseStubInfo frees it.
void OpenStubInfo();
void CloseStubInfo();

void DoRunStubWin();

bool X_ExeIsRunning();
bool ThisIs_Plain_AutoUpdate_Exe();
bool ThisIs_X_AutoUpdate_Exe();
bool SpanLevel1();
bool SpanLevel2();
