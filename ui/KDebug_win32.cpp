#include "ui/KDebug.h"

#include <windows.h>

#include <cstring>
#include <iostream>
#include <streambuf>

namespace {

const char kViewerClass[] = ".KDebug.";
const char kViewerMessage[] = ".K_DebugMsg.";
constexpr size_t kPieceSize = 128;

CRITICAL_SECTION g_lock;
UINT g_message = 0;

class Lock {
 public:
  Lock() { EnterCriticalSection(&g_lock); }
  ~Lock() { LeaveCriticalSection(&g_lock); }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;
};

// The atom lives only while the message is sent: the viewer reads its name
// while it handles the message.
void SendToViewer(const char* piece) {
  HWND viewer = FindWindowA(kViewerClass, nullptr);
  if (!viewer) return;
  ATOM atom = GlobalAddAtomA(piece);
  SendMessageA(viewer, g_message, 1, static_cast<LPARAM>(atom));
  if (atom) GlobalDeleteAtom(atom);
}

class ViewerBuf : public std::streambuf {
 public:
  ViewerBuf() { setp(buf_, buf_ + kPieceSize); }

 protected:
  int_type overflow(int_type c) override {
    HandOver();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(c);
      pbump(1);
    }
    return traits_type::not_eof(c);
  }
  int sync() override {
    HandOver();
    return 0;
  }

 private:
  // Errors never reach the writer; the buffer is emptied in any case. It is
  // emptied before the send: while a send waits, a window procedure of this
  // thread may run and write a debug line of its own.
  void HandOver() {
    Lock lock;
    const size_t n = static_cast<size_t>(pptr() - pbase());
    char piece[kPieceSize + 1];
    memcpy(piece, pbase(), n);
    piece[n] = '\0';
    setp(buf_, buf_ + kPieceSize);
    if (n > 0) {
      try {
        SendToViewer(piece);
      } catch (...) {
      }
    }
  }
  char buf_[kPieceSize];
};

bool Install() {
  InitializeCriticalSection(&g_lock);
  g_message = RegisterWindowMessageA(kViewerMessage);
  // Never freed: the stream library flushes std::cout after static destructors ran.
  std::cout.rdbuf(new ViewerBuf);
  std::cout.clear();
  return true;
}

}  // namespace

void InitDebugChannel() {
  static const bool installed = Install();
  (void)installed;
}

void DebugLine(const std::string& text) {
  InitDebugChannel();
  // Held across the whole line so that lines of different threads do not mix.
  Lock lock;
  std::cout << text << "\r\n" << std::flush;
}

void DebugPidLine(const std::string& text) {
  DebugLine(std::to_string(GetCurrentProcessId()) + text);
}

void TraceException(const std::exception& e, const std::string& functionName,
                    const std::string& extra) {
  DebugLine(TraceExceptionText(e.what(), functionName, extra));
}
