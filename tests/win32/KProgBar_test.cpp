#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "package/KProgBar.h"

namespace {

struct Bars {
  HWND parent, main, activity;
  Bars() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    parent = CreateWindowA("Static", "", WS_POPUP, 0, 0, 500, 100, nullptr, nullptr, nullptr, nullptr);
    main = CreateWindowA(PROGRESS_CLASSA, "", WS_CHILD, 0, 0, 400, 13, parent, nullptr, nullptr, nullptr);
    activity = CreateWindowA(PROGRESS_CLASSA, "", WS_CHILD, 0, 20, 46, 13, parent, nullptr, nullptr, nullptr);
  }
  ~Bars() { DestroyWindow(parent); }
  void Sink(int32_t kind, int32_t max = 0, int32_t pos = 0, int32_t step = 0) {
    DriveProgressBars(main, activity, kind, 0, max, pos, step);
  }
  int MainPos() { return static_cast<int>(SendMessageA(main, PBM_GETPOS, 0, 0)); }
  int MainMax() { return static_cast<int>(SendMessageA(main, PBM_GETRANGE, FALSE, 0)); }
  int ActivityPos() { return static_cast<int>(SendMessageA(activity, PBM_GETPOS, 0, 0)); }
};

}  // namespace

TEST(ProgressBars, TenStepsFillTheBarAndCycleTheActivityBar) {
  Bars b;
  b.Sink(0, 10, 0, 1);
  EXPECT_EQ(b.ActivityPos(), 0);
  std::vector<int> activity;
  for (int i = 0; i < 10; ++i) {
    b.Sink(1);
    activity.push_back(b.ActivityPos());
  }
  EXPECT_EQ(b.MainPos(), 10);
  // The cycle runs 0..5 and continues across resets, so check it step to step.
  for (size_t i = 1; i < activity.size(); ++i) EXPECT_EQ(activity[i], (activity[i - 1] + 1) % 6) << i;

  // A reset shows position 0 but the next step continues the cycle.
  const int before = activity.back();
  b.Sink(0, 10, 0, 1);
  EXPECT_EQ(b.ActivityPos(), 0);
  b.Sink(1);
  EXPECT_EQ(b.ActivityPos(), (before + 1) % 6);
}

TEST(ProgressBars, SeveralStepsAtOnceEndWhereSingleStepsWould) {
  Bars one, batch;
  one.Sink(0, 100, 0, 3);
  batch.Sink(0, 100, 0, 3);
  for (int i = 0; i < 7; ++i) one.Sink(1);
  const int activity = one.ActivityPos();
  batch.Sink(1, 0, 0, 7);
  EXPECT_EQ(batch.MainPos(), 21);
  EXPECT_EQ(batch.MainPos(), one.MainPos());
  EXPECT_EQ(batch.ActivityPos(), (activity + 7) % 6);  // the shared cycle moved on by seven
  batch.Sink(1, 0, 0, 0);                              // 0 counts as one step, as TProgBar passes it
  EXPECT_EQ(batch.MainPos(), 24);

  // Painting is held only on shown bars, and a hidden bar stays hidden.
  ShowWindow(batch.main, SW_SHOWNA);
  batch.Sink(1, 0, 0, 2);
  EXPECT_EQ(batch.MainPos(), 30);
  EXPECT_TRUE(GetWindowLongPtrA(batch.main, GWL_STYLE) & WS_VISIBLE);
  EXPECT_FALSE(GetWindowLongPtrA(batch.activity, GWL_STYLE) & WS_VISIBLE);
}

TEST(ProgressBars, RangeTravelsInSixteenBits) {
  Bars b;
  b.Sink(0, 70000, 0, 1);
  EXPECT_EQ(b.MainMax(), 4464);
  b.Sink(0, 500, 7, 3);
  EXPECT_EQ(b.MainMax(), 500);
  EXPECT_EQ(b.MainPos(), 7);
  b.Sink(1);
  EXPECT_EQ(b.MainPos(), 10);
}

TEST(ProgressBars, StepBeforeResetUsesTheControlsDefaultStep) {
  Bars b;
  b.Sink(1);
  EXPECT_EQ(b.MainPos(), 10);
}

TEST(ProgressBars, OtherKindsDoNothing) {
  Bars b;
  b.Sink(0, 10, 4, 1);
  const int activity = b.ActivityPos();
  b.Sink(2, 99, 9, 9);
  b.Sink(-1, 99, 9, 9);
  EXPECT_EQ(b.MainPos(), 4);
  EXPECT_EQ(b.MainMax(), 10);
  EXPECT_EQ(b.ActivityPos(), activity);
}

namespace {
std::vector<std::vector<int32_t>> g_calls;
void RecordingSink(int32_t kind, int32_t min, int32_t max, int32_t pos, int32_t step, intptr_t) {
  g_calls.push_back({kind, min, max, pos, step});
}
}  // namespace

TEST(ProgressBars, ProgBarOperationsCallTheSink) {
  g_calls.clear();
  {
    TProgBar bar(RecordingSink);
    bar.Start(3, 70);
    bar.Step("chunk");
    bar.Note("not shown");
    bar.Finish(0, 0);
  }  // freeing it finishes once more
  const std::vector<std::vector<int32_t>> want = {
      {0, 0, 70, 3, 1}, {1, 0, 0, 0, 0}, {0, 0, 0, 0, 1}, {0, 0, 0, 0, 1}};
  EXPECT_EQ(g_calls, want);
}

TEST(ProgressBars, SharedProgBarIsMadeOnce) {
  EnsureSharedProgBar();
  TProgBar* first = SharedProgBar;
  ASSERT_NE(first, nullptr);
  EnsureSharedProgBar();
  EXPECT_EQ(SharedProgBar, first);
}
