#pragma once
// Command-line switches: /NAME=value or bare /NAME, read from the arguments
// that follow the program's own file name on the raw command line.
#include <cstdint>
#include <string>

#include "util/Paths.h"

// The arguments after the program's name, trimmed, quotes kept.
std::string CommandLineTailOf(const std::string& rawCommandLine, const std::string& exePath,
                              LeadBytePredicate isLead = nullptr);
// One list item per switch, quotes dropped; item 0 is what precedes the first switch.
std::string SwitchListOf(const std::string& tail, char switchChar, char separator);
// Trimmed value of "/NAME=" (or "/NAME"); def when absent, empty when given empty.
std::string GetSwitchIn(const std::string& tail, const std::string& name, const std::string& def);
int64_t GetSwitchIntIn(const std::string& tail, const std::string& name, int64_t def);
// Whether the name occurs followed by a blank or by the end of the arguments.
bool HasSwitchIn(const std::string& tail, const std::string& name);
