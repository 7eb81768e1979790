#pragma once
// What the main window asks of the update agent. The agent's schedule and
// settings are not part of the program yet; these are their stand-ins.
#include <cstdint>

// One tick of the agent's schedule (every work-timer tick in an agent).
void AutoUpdateTimerTick();
// "/SleepX=n" delays the agent's first check by n ticks: the count starts at -n.
void SetAgentTimerCount(int32_t count);
// wm_ShutDown: the agent quits when the countdown has run out.
void SetAgentQuitCountdown(int32_t countdown);
// wm_AgentMsg: a command with its value; the result goes back to a sender.
int32_t AgentCommand(int32_t command, int32_t value);
