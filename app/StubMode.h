#pragma once
// Run-mode decisions of the entry sequence, apart from the system calls that
// feed them. Names compare trimmed and without regard to ASCII case.
#include <cstdint>
#include <string>

enum class StubMode {
  None,          // a window of our class exists: a second start ends at once
  AgentStarter,  // running as the agent file: make and start the agent copy
  AgentCopy,     // running as X_ + agent file: the agent cycle, then delete itself
  SpanLauncher,  // first disk of a spanned package: copy and start Y_ + own name
  MainWindow,    // setup run, or an agent file under any other name
};

// ownName is the file-name part of the own path.
bool IsPlainAgentName(const std::string& ownName, const std::string& agentName);
bool IsXAgentName(const std::string& ownName, const std::string& agentName);
// ".AutoUpdate." + own base name for agents, else the own path unchanged.
std::string StubWindowClass(bool isAgent, const std::string& ownPath);
// Class of a running agent copy: ".AutoUpdate.X_" + agent name without its last extension.
std::string AgentCopyWindowClass(const std::string& agentName);
bool IsSpanLevel1(bool spannedFlag, int64_t spanCdLvl);
bool IsSpanLevel2(int64_t spanCdLvl);
StubMode ChooseStubMode(bool classWindowExists, bool plainAgent, bool xAgent, bool spanLevel1);
