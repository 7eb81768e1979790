#pragma once
// The run log: a text file beside the program that update agents keep when
// their package asks for it. Every line is opened, appended and closed at once.
#include <cstdint>
#include <string>

// Appends one time-stamped line; nothing while the log switch is off.
void Log(const std::string& message);
// Three blanks by default; " X " in the agent copy.
void SetLogIndent(const std::string& indent);
// Set once at start-up: the running file is an agent whose package asks for a log.
void SetLogSwitch(bool on);
bool LogSwitch();

// Portable pieces, kept apart so that they can be tested natively.
// The log file for a program: folder (with backslash) + X_ + own name with ".log"
// as its extension; a name that already starts with "X_" keeps it.
std::string RunLogPath(const std::string& exeDirWithBackslash, const std::string& ownName);
// stamp + blank + thread id padded to 5 + indent + message + CR LF.
std::string RunLogLine(const std::string& stamp, uint32_t threadId, const std::string& indent,
                       const std::string& message);
