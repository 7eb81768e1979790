#include <gtest/gtest.h>

#include <cstdio>

#include "net/BytesRate.h"

namespace {

uint32_t g_now = 0;
uint32_t FakeTicks() { return g_now; }

}  // namespace

TEST(TBytesRate, PlainBytesWithoutSeparators) {
  g_now = 1000;
  TBytesRate rate(false, false, FakeTicks);
  EXPECT_EQ(rate.ProgressText(50000, 12000, 12000), "12000/50000 Bytes");
}

TEST(TBytesRate, KilobyteAndMegabyteTexts) {
  g_now = 1000;
  TBytesRate kb(true, false, FakeTicks);
  EXPECT_EQ(kb.ProgressText(200000, 1536000, 0), "1,500.0/195.3 KB");
  TBytesRate mb(true, true, FakeTicks);  // MB wins over KB
  EXPECT_EQ(mb.ProgressText(20971520, 5242880, 0), "5.0/20.0 MB");
}

TEST(TBytesRate, RateAppearsWithTheFifthChunkAndAveragesFourChunks) {
  TBytesRate rate(true, true, FakeTicks);
  std::string text;
  for (int i = 0; i < 5; ++i) {
    g_now = 1000 + 250 * i;
    text = rate.ProgressText(20971520, 5242880, 131136);
    if (i < 4) {
      EXPECT_EQ(text, "5.0/20.0 MB") << i;
    }
  }
  // 4 x 131,136 bytes in 1,000 ms.
  EXPECT_EQ(text, "5.0/20.0 MB   -   512.25 KB/Sec");

  g_now += 100;  // within 500 ms of the last rate: unchanged despite a new chunk size
  EXPECT_EQ(rate.RateText(1), "512.25");
  g_now += 100;
  EXPECT_EQ(rate.RateText(1), "512.25");
  g_now += 400;
  EXPECT_NE(rate.RateText(1), "512.25");

  rate.Reset();
  EXPECT_EQ(rate.RateText(1), "");
}

TEST(TBytesRate, NoRateWhenAllChunksShareOneTick) {
  g_now = 5000;
  TBytesRate rate(false, false, FakeTicks);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(rate.RateText(100), "") << i;
}

TEST(MegabytesText, DecimalsBySize) {
  const struct {
    double bytes;
    const char* text;
  } rows[] = {{98765432, "94.2"}, {5000000, "4.77"}, {5242880, "5.00"}, {0, "0.000"},
              {-5, "0.000"},      {524288, "0.500"}, {10485760, "10.00"}};
  for (const auto& r : rows) EXPECT_EQ(MegabytesText(r.bytes), r.text) << r.bytes;
}

TEST(ErrorPage, RecognisesHtmlErrorPages) {
  const std::string notFound = "<html><head><title>Not Found</title></head><body>gone</body></html>";
  const struct {
    const char* what;
    std::string data;
    bool page;
  } rows[] = {
      {"lower-case html, head, title", notFound, true},
      {"title holding 404", "<!DOCTYPE x><TITLE>Error 404</TITLE>", true},
      {"404 after the title", "<title>x</title> 404", false},
      {"title past byte 1,000", std::string(1000, ' ') + "<title>404</title>", false},
      {"package bytes", std::string("MZ\0\0PE", 6) + std::string(2000, '\x01'), false},
      {"empty", "", false},
  };
  for (const auto& r : rows) EXPECT_EQ(IsErrorPage("", r.data), r.page) << r.what;

  EXPECT_EQ(ErrorPageText("", notFound, "http://h/p.exe", "Bad Secret Token!"),
            "<B>404 File Not Found...</B><P><P>URL:  http://h/p.exe.<P><P>Please make sure the file is available "
            "and access is allowed to this file.");
  EXPECT_EQ(ErrorPageText("", "MZ", "http://h/p.exe", "Bad Secret Token!"), "Bad Secret Token!");
}

TEST(ErrorPage, ASavedFileWinsOverTheData) {
  const std::string path = ::testing::TempDir() + "error_page.html";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_TRUE(f);
  std::fputs("<HTML><HEAD><TITLE>Not Found</TITLE></HEAD></HTML>", f);
  std::fclose(f);
  EXPECT_TRUE(IsErrorPage(path, "plain"));
  EXPECT_FALSE(IsErrorPage(path + ".missing", "plain"));
  std::remove(path.c_str());
}
