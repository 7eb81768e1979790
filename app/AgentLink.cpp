#include "app/AgentLink.h"

// Stand-ins until the agent exists: the counts are only kept, a tick does
// nothing, and every command answers 0 (the answer to a command the agent
// does not know).
namespace {
int32_t g_quitCountdown = -1;
int32_t g_timerCount = 0;
}  // namespace

void AutoUpdateTimerTick() {}

void SetAgentTimerCount(int32_t count) { g_timerCount = count; }

void SetAgentQuitCountdown(int32_t countdown) { g_quitCountdown = countdown; }

int32_t AgentCommand(int32_t, int32_t) { return 0; }
