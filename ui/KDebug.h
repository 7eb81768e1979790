#pragma once
// Debug lines go to the standard output stream, which is redirected to an
// outside viewer (a window of class ".KDebug."); without a viewer they are dropped.
#include <exception>
#include <string>

// Redirects std::cout to the viewer. Safe to call more than once; DebugLine
// calls it itself, so code that runs before the entry sequence loses nothing.
void InitDebugChannel();

// text + CR LF as one write; handed over in pieces of at most 128 characters.
void DebugLine(const std::string& text);

// The conventional line: process id in decimal followed by text (which starts with a blank).
void DebugPidLine(const std::string& text);

// " --- " + functionName + "()" [+ " --- " + extra] + " --- " + e.what()
void TraceException(const std::exception& e, const std::string& functionName,
                    const std::string& extra = "");

// The text TraceException writes, without the line ending.
std::string TraceExceptionText(const std::string& message, const std::string& functionName,
                               const std::string& extra);
