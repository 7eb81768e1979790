#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "util/Dates.h"
#include "util/FilePlan.h"
#include "util/Timing.h"

namespace {

double Date(int y, int m, int d, int h = 0, int mi = 0, int s = 0) {
  double v = 0;
  EXPECT_TRUE(EncodeDateTime({y, m, d, h, mi, s, 0}, v));
  return v;
}

TEST(UtilDates, KnownDays) {
  EXPECT_EQ(Date(1899, 12, 30), 0.0);
  EXPECT_EQ(Date(1900, 3, 1), 61.0);
  EXPECT_EQ(Date(2024, 1, 5), 45296.0);
  EXPECT_DOUBLE_EQ(Date(1899, 12, 29, 6), -1.25);  // before day 0 the time counts away from it
  DateTimeParts p;
  ASSERT_TRUE(DecodeDateTime(-1.25, p));
  EXPECT_EQ(p.day * 100 + p.hour, 2906);
  ASSERT_TRUE(DecodeDateTime(45296.9999999999, p));  // rounds up to the next midnight
  EXPECT_EQ(p.day * 100 + p.hour, 600);
  DateTimeParts bad[] = {{2023, 2, 29, 0, 0, 0, 0}, {2024, 13, 1, 0, 0, 0, 0}, {0, 1, 1, 0, 0, 0, 0},
                         {2024, 1, 1, 24, 0, 0, 0}};
  double v;
  for (const auto& b : bad) EXPECT_FALSE(EncodeDateTime(b, v)) << b.year << "-" << b.month;
  EXPECT_TRUE(EncodeDateTime({2024, 2, 29, 0, 0, 0, 0}, v));
}

TEST(UtilDates, Texts) {
  EXPECT_EQ(DateToDMY(Date(2024, 1, 5)), "05-JAN-2024");
  EXPECT_EQ(DateToDMY(Date(999, 12, 31)), "31-DEC-0999");
  EXPECT_EQ(DateTimeStampWith(Date(2024, 1, 5, 13, 45, 9), ":"), "05-JAN-2024 13:45:09");
  EXPECT_EQ(DateTimeShortWith(true, Date(2024, 1, 5, 13, 45, 9), "/", ":"), "05/01/2024 13:45:09");
  EXPECT_EQ(DateTimeShortWith(false, Date(2024, 1, 5, 13, 45, 9), ".", "."), "05.01.24 13.45.09");
  EXPECT_EQ(DateTimeShortWith(false, Date(2000, 10, 20), "-", ":"), "20-10-00 00:00:00");
  // Values that are no date give empty texts instead of garbage.
  for (double bad : {std::nan(""), 1e300, -1e7, std::numeric_limits<double>::infinity()}) {
    EXPECT_EQ(DateToDMY(bad), "");
    EXPECT_EQ(DateTimeStampWith(bad, ":"), "");
    EXPECT_EQ(DateTimeToFat(bad), 0u);
  }
  for (double bad : {std::nan(""), 1e300, -std::numeric_limits<double>::infinity()})
    EXPECT_EQ(AgentSeconds(bad), 0);
}

TEST(UtilDates, AgentSecondsAndFat) {
  EXPECT_EQ(AgentSeconds(1.0), 86400);
  EXPECT_EQ(AgentSeconds(Date(2024, 1, 5, 13, 45, 9)), 45296LL * 86400 + 13 * 3600 + 45 * 60 + 9);
  EXPECT_EQ(AgentSeconds(0.5 / 86400), 1);  // rounded, not truncated

  const uint32_t fat = DateTimeToFat(Date(2024, 1, 5, 13, 45, 9));
  EXPECT_EQ(fat >> 16, uint32_t((44 << 9) | (1 << 5) | 5));
  EXPECT_EQ(fat & 0xFFFF, uint32_t((13 << 11) | (45 << 5) | 4));  // 2-second steps
  double back;
  ASSERT_TRUE(FatToDateTime(fat, back));
  EXPECT_EQ(DateTimeStampWith(back, ":"), "05-JAN-2024 13:45:08");
  EXPECT_EQ(DateTimeToFat(Date(1979, 12, 31)), 0u);
  EXPECT_EQ(DateTimeToFat(Date(2108, 1, 1)), 0u);
  EXPECT_FALSE(FatToDateTime(0, back));  // month 0
}

TEST(UtilTiming, DelayStep) {
  const struct {
    int64_t step, duration, want;
  } cases[] = {{0, 100, 10}, {0, 5, 1}, {0, 0, 1}, {0, 1000, 25}, {0, 100000, 25}, {7, 100, 7}, {-5, 100, 10}};
  for (const auto& c : cases) EXPECT_EQ(DelayStep(c.step, c.duration), c.want) << c.step << " " << c.duration;
}

TEST(UtilTiming, RandomFromSeed) {
  // seed 0 steps to 1: 1 * 10 / 2^32 is 0.
  EXPECT_EQ(RandomFromSeed(0, 5, 14), 5);
  // 0xFFFFFFFF * 134775813 + 1 = 0xF7F7F7FC (mod 2^32): the top of the range.
  EXPECT_EQ(RandomFromSeed(0xFFFFFFFFu, 0, 9), 9);
  EXPECT_EQ(RandomFromSeed(12345, 7, 7), 7);
  EXPECT_EQ(RandomFromSeed(12345, 9, 3), 9);
  for (uint32_t seed : {0u, 1u, 0x80000000u, 0xFFFFFFFFu, 2463534242u}) {
    int64_t r = RandomFromSeed(seed, INT64_MIN, INT64_MAX);
    EXPECT_TRUE(r >= INT64_MIN && r < INT64_MIN + (int64_t(1) << 32));
    r = RandomFromSeed(seed, -3, 3);
    EXPECT_TRUE(r >= -3 && r <= 3);
  }
}

TEST(UtilFilePlan, Chunks) {
  const struct {
    uint64_t size;
    bool sink, chunks;
    uint64_t chunk;
  } cases[] = {
      {1048576, false, false, 104857}, {1048577, false, true, 104857}, {500, true, true, 500},
      {10240, true, true, 1024},       {10250, true, true, 1025},     {100000000, false, true, 1048576},
      {0, true, true, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WritesInChunks(c.size, c.sink), c.chunks) << c.size;
    EXPECT_EQ(ChunkSize(c.size), c.chunk) << c.size;
  }
}

TEST(UtilFilePlan, SelfDeleteBatch) {
  EXPECT_EQ(SelfDeleteBatchText("C:\\P\\X_a.exe", "C:\\P", "C:\\T\\_DEL_ME_.BAT", true),
            ":START\r\n"
            "DEL \"C:\\P\\X_a.exe\"\r\n"
            "IF exist \"C:\\P\\X_a.exe\" GOTO START\r\n"
            "RD \"C:\\P\"\r\n"
            "DEL \"C:\\T\\_DEL_ME_.BAT\"\r\n");
  EXPECT_EQ(SelfDeleteBatchText("C:\\P\\X_a.exe", "C:\\P", "C:\\T\\_DEL_ME_.BAT", false),
            ":START\r\nDEL \"C:\\P\\X_a.exe\"\r\nIF exist \"C:\\P\\X_a.exe\" GOTO START\r\nDEL \"C:\\T\\_DEL_ME_.BAT\"\r\n");
  // A '%' in a name must reach the command as itself, not start a variable.
  EXPECT_EQ(SelfDeleteBatchText("C:\\100%x%\\a.exe", "C:\\100%x%", "C:\\b.bat", true),
            ":START\r\nDEL \"C:\\100%%x%%\\a.exe\"\r\nIF exist \"C:\\100%%x%%\\a.exe\" GOTO START\r\n"
            "RD \"C:\\100%%x%%\"\r\nDEL \"C:\\b.bat\"\r\n");
}

}  // namespace
