#include "package/KProgBar.h"

#include <commctrl.h>

#include "app/MainWindow.h"
#include "util/Utils.h"

namespace {

int32_t g_activityPosition = 0;

void ServeMessages() { Delay(0, 0); }

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
  } else if (kind == 1) {
    SendMessageA(mainBar, PBM_STEPIT, 0, 0);
    g_activityPosition = g_activityPosition >= 5 ? 0 : g_activityPosition + 1;
    SendMessageA(activityBar, PBM_SETPOS, static_cast<WPARAM>(g_activityPosition), 0);
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
