#include <gtest/gtest.h>

#include <vector>

#include "util/WindowScore.h"

namespace {

int Pick(const std::vector<TWindowTraits>& w, std::vector<uint16_t>* scores = nullptr) {
  std::vector<uint16_t> s(w.size(), 0xFFFF);
  const int best = ScoreWindows(w.data(), s.data(), int(w.size()));
  if (scores) *scores = s;
  return best;
}

}  // namespace

TEST(WindowScore, OwnerOfMostWindowsWins) {
  // 0: unowned, visible, untitled. 1: the frame, visible and titled, owning 2..5
  // (and itself). 2..5: owned dialogs, hidden, untitled.
  std::vector<TWindowTraits> w = {{0, false, true}, {1, true, true}, {1, false, false},
                                  {1, false, false}, {1, false, false}, {1, false, false}};
  std::vector<uint16_t> s;
  EXPECT_EQ(Pick(w, &s), 1);
  EXPECT_EQ(s[0], 5);
  EXPECT_EQ(s[1], 23);
  EXPECT_EQ(s[2], 0);
}

TEST(WindowScore, FirstOfEqualScoresWinsAndNothingScoresNone) {
  EXPECT_EQ(Pick({{0, true, true}, {1, true, true}}), 0);
  // Hidden, untitled windows whose owners belong to another process.
  EXPECT_EQ(Pick({{-1, false, false}, {-1, false, false}}), -1);
  EXPECT_EQ(Pick({}), -1);
  // A titled window owned from outside still counts.
  EXPECT_EQ(Pick({{-1, false, false}, {-1, true, false}}), 1);
}

TEST(WindowScore, FullTableDoesNotOverflow) {
  std::vector<TWindowTraits> w(2001, TWindowTraits{0, true, true});
  std::vector<uint16_t> s;
  EXPECT_EQ(Pick(w, &s), 0);
  EXPECT_EQ(s[0], 2001 * 4 + 3);
  EXPECT_EQ(s[2000], 3);
}
