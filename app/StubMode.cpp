#include "app/StubMode.h"

#include "util/Paths.h"
#include "util/Text.h"

bool IsPlainAgentName(const std::string& ownName, const std::string& agentName) {
  return SameTextCI(Trim(ownName), Trim(agentName));
}

bool IsXAgentName(const std::string& ownName, const std::string& agentName) {
  return IsPlainAgentName(ownName, "X_" + agentName);
}

std::string StubWindowClass(bool isAgent, const std::string& ownPath) {
  return isAgent ? ".AutoUpdate." + FileBaseName(ownPath, false) : ownPath;
}

std::string AgentCopyWindowClass(const std::string& agentName) {
  return ".AutoUpdate.X_" + FileBaseName(agentName, false);
}

bool IsSpanLevel1(bool spannedFlag, int64_t spanCdLvl) { return spannedFlag && spanCdLvl == 1; }
bool IsSpanLevel2(int64_t spanCdLvl) { return spanCdLvl == 2; }

StubMode ChooseStubMode(bool classWindowExists, bool plainAgent, bool xAgent, bool spanLevel1) {
  if (classWindowExists) return StubMode::None;
  if (plainAgent) return StubMode::AgentStarter;
  if (xAgent) return StubMode::AgentCopy;
  if (spanLevel1) return StubMode::SpanLauncher;
  return StubMode::MainWindow;
}
