#include "net/BytesRate.h"

#include <chrono>
#include <cstdio>

#include "package/ByteSource.h"
#include "util/Text.h"

uint32_t SystemTicks() {
  return uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now().time_since_epoch())
                      .count());
}

namespace {

std::string Fixed(double value, int decimals) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
  return buf;
}

// One decimal, "," between groups of three digits of the integer part.
std::string SizeText(int32_t bytes, double unit) {
  const std::string plain = Fixed(bytes / unit, 1);
  const size_t dot = plain.find('.');
  const size_t digitsStart = plain[0] == '-' ? 1 : 0;
  std::string out = plain.substr(dot);
  for (size_t i = dot, n = 0; i > digitsStart; --i, ++n) {
    if (n && n % 3 == 0) out.insert(0, 1, ',');
    out.insert(0, 1, plain[i - 1]);
  }
  return plain.substr(0, digitsStart) + out;
}

}  // namespace

TBytesRate::TBytesRate(bool showKB, bool showMB, TickSource ticks) : ShowKB(showKB), ShowMB(showMB), ticks_(ticks) {
  Reset();
}

void TBytesRate::Reset() {
  for (int i = 0; i < 5; ++i) tickWindow_[i] = byteWindow_[i] = 0;
  rateText_.clear();
  lastRateTick_ = 0;
}

std::string TBytesRate::ProgressText(int32_t total, int32_t done, int32_t lastChunk) {
  std::string text;
  if (ShowMB)
    text = SizeText(done, 1048576.0) + "/" + SizeText(total, 1048576.0) + " MB";
  else if (ShowKB)
    text = SizeText(done, 1024.0) + "/" + SizeText(total, 1024.0) + " KB";
  else
    text = std::to_string(done) + "/" + std::to_string(total) + " Bytes";
  const std::string rate = RateText(lastChunk);
  if (!rate.empty()) text += "   -   " + rate + " KB/Sec";
  return text;
}

std::string TBytesRate::RateText(int32_t lastChunk) {
  const uint32_t now = ticks_();
  for (int i = 0; i < 4; ++i) {
    tickWindow_[i] = tickWindow_[i + 1];
    byteWindow_[i] = byteWindow_[i + 1];
  }
  tickWindow_[4] = now;
  byteWindow_[4] = uint32_t(lastChunk);
  const uint32_t elapsed = now - tickWindow_[0];
  const double sum = double(byteWindow_[1]) + byteWindow_[2] + byteWindow_[3] + byteWindow_[4];
  if (tickWindow_[0] != 0 && elapsed != 0 && uint32_t(now - lastRateTick_) > 500) {
    lastRateTick_ = now;
    rateText_ = Fixed(sum / (elapsed / 1000.0) / 1024.0, 2);
  }
  return rateText_;
}

std::string MegabytesText(double bytes) {
  double mb = bytes < 0 ? 0 : bytes;
  if (mb != 0) mb /= 1048576.0;
  return Fixed(mb, mb > 10 ? 1 : mb >= 1 ? 2 : 3);
}

bool IsErrorPage(const std::string& file, const std::string& data) {
  std::string text = data;
  if (!file.empty()) {
    const FileSource source(file);
    if (source.IsOpen()) text = source.Read(0, 1000);
  }
  text.resize(text.size() < 1000 ? text.size() : 1000);
  auto p = [&text](const char* needle) { return PosCI(needle, text); };
  const bool titleWith404 = p("<TITLE") > 0 && p("<TITLE") < p("404") && p("404") < p("</TITLE>");
  const bool htmlHead = p("<HTML>") > 0 && p("<HTML>") < p("<HEAD>") && p("<HEAD>") < p("<TITLE>") &&
                        p("<TITLE>") < p("</TITLE>");
  return titleWith404 || htmlHead;
}

std::string ErrorPageText(const std::string& file, const std::string& data, const std::string& url,
                          const std::string& defaultText) {
  if (!IsErrorPage(file, data)) return defaultText;
  return "<B>404 File Not Found...</B><P><P>URL:  " + url +
         ".<P><P>Please make sure the file is available and access is allowed to this file.";
}
