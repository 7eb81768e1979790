#include <gtest/gtest.h>
#include <windows.h>
#include <richedit.h>

#include <functional>
#include <string>
#include <vector>

#include "tools/msgbox-helper/BoxProbe.h"
#include "ui/KMsgBox.h"

namespace {

const DWORD kWait = 30000;

// Runs `show` (which opens a box on this thread) while `act` drives the box
// from a second thread as soon as it is up.
struct Driver {
  std::function<void(HWND)> act;
  bool found = false;
  bool stuck = false;
};

DWORD WINAPI DriveBox(LPVOID p) {
  Driver* d = static_cast<Driver*>(p);
  const HWND box = boxprobe::WaitForBox(kWait, GetCurrentProcessId());
  d->found = box != nullptr;
  if (!box) return 0;
  d->act(box);
  // A box that ignored its input would hang the test: close it, and say so.
  if (!boxprobe::WaitUntilGone(box, kWait)) {
    d->stuck = true;
    PostMessageA(box, WM_CLOSE, 0, 0);
  }
  return 0;
}

int Drive(const std::function<int()>& show, const std::function<void(HWND)>& act) {
  Driver d{act};
  const HANDLE thread = CreateThread(nullptr, 0, DriveBox, &d, 0, nullptr);
  const int result = show();
  WaitForSingleObject(thread, kWait);
  CloseHandle(thread);
  EXPECT_TRUE(d.found) << "no box appeared";
  EXPECT_FALSE(d.stuck) << "the box did not react";
  return result;
}

int Show(uint32_t flags, int timeoutMs = 0, const std::string& text = "Question?", uintptr_t ownerMode = 1) {
  return ShowMsgBox(ownerMode, text, "Test", "|&OK|&Cancel|&Yes|&No|&Abort|&Retry|&Ignore|", 1, flags, timeoutMs);
}

void PostKey(HWND target, UINT vk) { PostMessageA(target, WM_KEYDOWN, vk, 0); }

// Posted to whichever button holds the focus; any window of the thread would do.
void PostKeyToBox(HWND box, UINT vk) { PostKey(boxprobe::Buttons(box).front(), vk); }

}  // namespace

TEST(MsgBox, EveryButtonAnswersItsCodeByClick) {
  const struct {
    uint32_t set;
    std::vector<int> results;
  } sets[] = {{0, {1}}, {1, {1, 2}}, {2, {3, 4, 5}}, {3, {6, 7, 2}}, {4, {6, 7}}, {5, {4, 2}}};
  for (const auto& s : sets) {
    for (size_t i = 0; i < s.results.size(); ++i) {
      size_t count = 0;
      const int result = Drive([&] { return Show(s.set); },
                               [&](HWND box) {
                                 const std::vector<HWND> buttons = boxprobe::Buttons(box);
                                 count = buttons.size();
                                 if (i < buttons.size()) boxprobe::Click(buttons[i]);
                               });
      EXPECT_EQ(count, s.results.size()) << "set " << s.set;
      EXPECT_EQ(result, s.results[i]) << "set " << s.set << " button " << i;
    }
  }
}

TEST(MsgBox, KeyboardAnswers) {
  const struct {
    const char* name;
    uint32_t flags;
    std::vector<UINT> keys;
    int result;
  } cases[] = {
      {"Enter on the default button", 0x1, {VK_RETURN}, 1},
      {"default index 5 of Yes/No is No", 0x504, {VK_RETURN}, 7},
      {"Left on the first button goes to the last", 0x2, {VK_LEFT, VK_RETURN}, 5},
      {"Tab on the last button goes to the first", 0x202, {VK_TAB, VK_RETURN}, 3},
      {"Right then Up comes back", 0x3, {VK_RIGHT, VK_UP, VK_RETURN}, 6},
      {"letter key", 0x3, {'N'}, 7},
      {"letter key of Retry", 0x5, {'R'}, 4},
      {"Escape does nothing, Enter still answers", 0x4, {VK_ESCAPE, VK_RETURN}, 6},
  };
  for (const auto& c : cases) {
    const int result = Drive([&] { return Show(c.flags); },
                             [&](HWND box) {
                               for (UINT vk : c.keys) PostKeyToBox(box, vk);
                             });
    EXPECT_EQ(result, c.result) << c.name;
  }
}

TEST(MsgBox, AltLetterChoosesButton) {
  const int result = Drive([] { return Show(0x2); },
                           [](HWND box) { PostMessageA(boxprobe::Buttons(box).front(), WM_SYSCHAR, 'i', 1 << 29); });
  EXPECT_EQ(result, 5);
}

TEST(MsgBox, TimeOutAnswersTheFirstButton) {
  EXPECT_EQ(Show(0x24, 200), 6);
  EXPECT_EQ(Show(0x30, 200), 1);
  EXPECT_EQ(Show(0x2, 200), 3);
  // No buttons: the time-out answers 0.
  EXPECT_EQ(Show(0x7, 200), 0);
  EXPECT_TRUE(ConfirmYesNo(1, "Go on?", "", "", 1, 200));
}

TEST(MsgBox, CloseAndAltF4AnswerZero) {
  EXPECT_EQ(Drive([] { return Show(0x4); }, [](HWND box) { boxprobe::CloseBox(box); }), 0);
  EXPECT_EQ(Drive([] { return Show(0x1); },
                  [](HWND box) { PostMessageA(boxprobe::Buttons(box).front(), WM_SYSKEYDOWN, VK_F4, 1 << 29); }),
            0);
  bool yes = true, ok = true;
  Drive([&] { return (yes = ConfirmYesNo(1, "Go on?")), 0; }, [](HWND box) { boxprobe::CloseBox(box); });
  Drive([&] { return (ok = ConfirmOkCancel(1, "Go on?")), 0; }, [](HWND box) { boxprobe::CloseBox(box); });
  EXPECT_FALSE(yes);
  EXPECT_FALSE(ok);
}

TEST(MsgBox, OwnerModeTwoGreysClose) {
  for (uintptr_t mode : {1u, 2u}) {
    UINT state = 0;
    Drive([&] { return Show(0x0, 0, "x", mode); },
          [&](HWND box) {
            state = GetMenuState(GetSystemMenu(box, FALSE), SC_CLOSE, MF_BYCOMMAND);
            PostMessageA(box, WM_CLOSE, 0, 0);
          });
    EXPECT_EQ((state & MF_GRAYED) != 0, mode == 2) << "owner mode " << mode;
  }
}

TEST(MsgBox, LongLineGivesA610PixelControl) {
  int width = 0;
  Drive([] { return Show(0x0, 0, std::string(400, 'W')); },
        [&](HWND box) {
          RECT rc{};
          GetWindowRect(boxprobe::TextControl(box), &rc);
          width = rc.right - rc.left;
          boxprobe::CloseBox(box);
        });
  EXPECT_EQ(width, 610);
}

TEST(MsgBox, ShowsPlainTextWithBoldHeadingAndCaptions) {
  std::string caption, text;
  std::vector<std::string> buttons;
  bool headingBold = false, bodyBold = true;
  Drive(
      [] {
        ErrorBox(0, "Disk <b>full</b>.", "", "|Fine|");
        return 0;
      },
      [&](HWND box) {
        caption = boxprobe::TextOf(box);
        text = boxprobe::PlainText(box);
        buttons = boxprobe::ButtonCaptions(box);
        const HWND edit = boxprobe::TextControl(box);
        const auto boldAt = [edit](int from, int to) {
          CHARRANGE r{from, to};
          SendMessageA(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&r));
          CHARFORMATA f{};
          f.cbSize = sizeof f;
          SendMessageA(edit, EM_GETCHARFORMAT, TRUE, reinterpret_cast<LPARAM>(&f));
          return (f.dwMask & CFM_BOLD) && (f.dwEffects & CFE_BOLD);
        };
        headingBold = boldAt(0, 5);
        bodyBold = boldAt(9, 13);
        boxprobe::Click(boxprobe::Buttons(box).front());
      });
  EXPECT_EQ(caption, "Error");
  EXPECT_EQ(text, "ERROR\r\n\r\nDisk full.\r\n");
  EXPECT_TRUE(headingBold);
  EXPECT_FALSE(bodyBold);
  // "|Fine|" has one item: the OK button takes it.
  EXPECT_EQ(buttons, std::vector<std::string>{"Fine"});
}

TEST(MsgBox, ShortButtonListLeavesCaptionsEmpty) {
  std::vector<std::string> two, three;
  Drive([] { return ShowMsgBox(1, "x", "c", "|OK|Cancel|", 1, 0x4, 0); },
        [&](HWND box) {
          two = boxprobe::ButtonCaptions(box);
          boxprobe::CloseBox(box);
        });
  Drive([] { return ShowMsgBox(1, "x", "c", "|OK|Cancel|Ja|", 1, 0x4, 0); },
        [&](HWND box) {
          three = boxprobe::ButtonCaptions(box);
          boxprobe::CloseBox(box);
        });
  EXPECT_EQ(two, (std::vector<std::string>{"", ""}));
  EXPECT_EQ(three, (std::vector<std::string>{"Ja", ""}));
}

TEST(MsgBox, RightToLeftCharset) {
  LONG_PTR style = 0, exStyle = 0;
  Drive([] { return ShowMsgBox(1, "x", "c", "", 177, 0, 0); },
        [&](HWND box) {
          const HWND text = boxprobe::TextControl(box);
          style = GetWindowLongPtrA(text, GWL_STYLE);
          exStyle = GetWindowLongPtrA(text, GWL_EXSTYLE);
          boxprobe::CloseBox(box);
        });
  EXPECT_TRUE(style & ES_RIGHT);
  EXPECT_TRUE(exStyle & WS_EX_RTLREADING);
}

TEST(MsgBox, AnswersCancelAutoPlayOnlyOnceRegistered) {
  SetCancelAutoPlay(false);
  EXPECT_EQ(CancelAutoPlayMessage(), 0u);
  SetCancelAutoPlay(true);
  const unsigned id = CancelAutoPlayMessage();
  EXPECT_EQ(id, RegisterWindowMessageA("QueryCancelAutoPlay"));
  LRESULT answer = 0;
  Drive([] { return Show(0x0); },
        [&](HWND box) {
          DWORD_PTR r = 0;
          SendMessageTimeoutA(box, id, 0, 0, SMTO_NORMAL, kWait, &r);
          answer = static_cast<LRESULT>(r);
          boxprobe::CloseBox(box);
        });
  SetCancelAutoPlay(false);
  EXPECT_EQ(answer, 1);
}
