#pragma once
// Captures debug lines for a test: starts the built debug viewer with its own
// output file, waits until its window is there, and stops it at the end.
// Debug lines of this process arrive before DebugLine returns (the message is
// sent); those of child processes may be awaited with WaitFor.
#include <windows.h>

#include <string>
#include <vector>

class DebugCapture {
 public:
  DebugCapture();
  ~DebugCapture();
  DebugCapture(const DebugCapture&) = delete;
  DebugCapture& operator=(const DebugCapture&) = delete;

  // The viewer runs and its window is the one writers find.
  bool Ready() const { return window_ != nullptr; }
  // Why Ready() is false.
  const std::string& Problem() const { return problem_; }

  // The pieces captured so far, each as one message carried it.
  std::vector<std::string> Pieces() const;
  // Everything captured so far, the pieces joined.
  std::string Text() const;
  // Waits until the captured text contains needle; false after timeoutMs.
  bool WaitFor(const std::string& needle, DWORD timeoutMs = 30000) const;

 private:
  void Stop();

  std::string file_;
  std::string problem_;
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
};
