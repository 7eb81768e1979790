#pragma once
// Progress and transfer-rate texts of downloads, and recognition of HTML error
// pages that servers deliver in place of a file.
#include <cstdint>
#include <string>

using TickSource = uint32_t (*)();
// Milliseconds of a steady clock, wrapping like the system tick count.
uint32_t SystemTicks();

class TBytesRate {
 public:
  TBytesRate(bool showKB, bool showMB, TickSource ticks = SystemTicks);
  void Reset();
  // "done/total" in Bytes, KB or MB, followed by the rate once there is one.
  std::string ProgressText(int32_t total, int32_t done, int32_t lastChunk);
  // KB per second over the last four chunks; recomputed at most every 500 ms.
  std::string RateText(int32_t lastChunk);

  bool ShowKB;
  bool ShowMB;

 private:
  TickSource ticks_;
  uint32_t tickWindow_[5];
  uint32_t byteWindow_[5];
  std::string rateText_;
  uint32_t lastRateTick_;
};

// A size in MB for questions: one decimal above 10, two from 1, three below.
std::string MegabytesText(double bytes);
// The first 1,000 bytes of file (when it exists) or else of data look like an
// HTML error page.
bool IsErrorPage(const std::string& file, const std::string& data);
std::string ErrorPageText(const std::string& file, const std::string& data, const std::string& url,
                          const std::string& defaultText);
