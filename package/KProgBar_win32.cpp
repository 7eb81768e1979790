#include "package/KProgBar.h"

#include <commctrl.h>

#include "app/MainWindow.h"
#include "util/Utils.h"

namespace {

int32_t g_activityPosition = 0;

void ServeMessages() { Delay(0, 0); }

// Holds a shown bar's painting while several steps go in, then queues one
// repaint. A hidden bar is left alone: turning drawing back on would show it.
class TQuietBar {
 public:
  explicit TQuietBar(HWND bar) : bar_((GetWindowLongPtrA(bar, GWL_STYLE) & WS_VISIBLE) ? bar : nullptr) {
    if (bar_) SendMessageA(bar_, WM_SETREDRAW, FALSE, 0);
  }
  ~TQuietBar() {
    if (!bar_) return;
    SendMessageA(bar_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(bar_, nullptr, TRUE);
  }
  TQuietBar(const TQuietBar&) = delete;
  TQuietBar& operator=(const TQuietBar&) = delete;

 private:
  HWND bar_;
};

void StepBars(HWND mainBar, HWND activityBar, int32_t steps) {
  for (int32_t i = 0; i < steps; ++i) {
    SendMessageA(mainBar, PBM_STEPIT, 0, 0);
    g_activityPosition = g_activityPosition >= 5 ? 0 : g_activityPosition + 1;
  }
  SendMessageA(activityBar, PBM_SETPOS, static_cast<WPARAM>(g_activityPosition), 0);
}

}  // namespace

TProgBar* SharedProgBar = nullptr;

void DriveProgressBars(HWND mainBar, HWND activityBar, int32_t kind, int32_t min, int32_t max, int32_t pos,
                       int32_t step) {
  if (kind == 0) {
    SendMessageA(mainBar, PBM_SETRANGE, static_cast<WPARAM>(min), MAKELPARAM(0, static_cast<WORD>(max)));
    SendMessageA(mainBar, PBM_SETPOS, static_cast<WPARAM>(pos), 0);
    SendMessageA(mainBar, PBM_SETSTEP, static_cast<WPARAM>(step), 0);
    SendMessageA(activityBar, PBM_SETRANGE, 0, MAKELPARAM(0, 5));
    SendMessageA(activityBar, PBM_SETPOS, 0, 0);
    SendMessageA(activityBar, PBM_SETSTEP, 1, 0);
  } else if (kind == 1 && step > 1) {
    // The bars repaint on every change; several steps at once are painted once,
    // with the next messages served.
    const TQuietBar quietMain(mainBar), quietActivity(activityBar);
    StepBars(mainBar, activityBar, step);
  } else if (kind == 1) {
    StepBars(mainBar, activityBar, 1);
  }
}

void MainProgressSink(int32_t kind, int32_t min, int32_t max, int32_t pos, int32_t step, intptr_t) {
  DriveProgressBars(MainBarHandle(), ActivityBarHandle(), kind, min, max, pos, step);
}

void TProgBar::Start(int32_t pos, int32_t max) {
  ServeMessages();
  sink_(0, 0, max, pos, 1, 0);
  ServeMessages();
}

void TProgBar::Step(const std::string& text) {
  ServeMessages();
  sink_(1, 0, 0, 0, 0, reinterpret_cast<intptr_t>(text.c_str()));
  ServeMessages();
}

void TProgBar::Finish(int32_t waitBefore, int32_t waitAfter) {
  Delay(0, waitBefore);
  ServeMessages();
  sink_(0, 0, 0, 0, 1, 0);
  ServeMessages();
  Delay(0, waitAfter);
}

void TProgBar::Note(const std::string&) { ServeMessages(); }

void EnsureSharedProgBar() {
  if (!SharedProgBar) SharedProgBar = new TProgBar(MainProgressSink);
}
