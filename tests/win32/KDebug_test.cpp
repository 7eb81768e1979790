#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <string>

#include "tests/win32/DebugCapture.h"
#include "ui/KDebug.h"

TEST(DebugChannel, WithoutViewerLinesAreDropped) {
  ASSERT_EQ(FindWindowA(".KDebug.", nullptr), nullptr);
  DebugLine("nobody listens");
  DebugLine(std::string(1000, 'q'));
}

TEST(DebugChannel, LinesReachTheViewerInPiecesOfAtMost128) {
  DebugCapture capture;
  ASSERT_TRUE(capture.Ready()) << capture.Problem();

  DebugLine("");
  DebugLine("first line");
  std::string longLine;
  for (int i = 0; i < 300; ++i) longLine += static_cast<char>('a' + i % 26);
  DebugLine(longLine);

  const auto pieces = capture.Pieces();
  ASSERT_EQ(pieces.size(), 5u);
  EXPECT_EQ(pieces[0], "\r\n");
  EXPECT_EQ(pieces[1], "first line\r\n");
  EXPECT_EQ(pieces[2], longLine.substr(0, 128));
  EXPECT_EQ(pieces[3], longLine.substr(128, 128));
  EXPECT_EQ(pieces[4], longLine.substr(256) + "\r\n");
}

// Text after a NUL byte never reaches the viewer; the piece ends there.
TEST(DebugChannel, PieceEndsAtNul) {
  DebugCapture capture;
  ASSERT_TRUE(capture.Ready()) << capture.Problem();
  DebugLine(std::string("abc\0def", 7));
  EXPECT_EQ(capture.Text(), "abc");
}

TEST(DebugChannel, TraceExceptionWritesOneLine) {
  DebugCapture capture;
  ASSERT_TRUE(capture.Ready()) << capture.Problem();
  TraceException(std::runtime_error("boom"), "YieldX");
  TraceException(std::runtime_error("bad file"), "Utils.GetExeVersion()", "more");
  EXPECT_EQ(capture.Text(),
            " --- YieldX() --- boom\r\n"
            " --- Utils.GetExeVersion()() --- more --- bad file\r\n");
}

TEST(DebugChannel, PidLineStartsWithProcessId) {
  DebugCapture capture;
  ASSERT_TRUE(capture.Ready()) << capture.Problem();
  DebugPidLine(" ==== hello");
  EXPECT_EQ(capture.Text(), std::to_string(GetCurrentProcessId()) + " ==== hello\r\n");
}
