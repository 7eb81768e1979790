// Waits for a message box, records what it shows and answers it.
//
//   kavrix-msgbox-helper [/WAIT=ms] [/OUT=file] [/PRESS=index-or-caption | /CLOSE | /ALTF4]
//
// The record (to the file, else to standard output) is the caption on the
// first line, the button captions as a "|"-list on the second, then the
// box's plain text. Exit code: 0 done, 1 no box within the wait, 2 no such
// button.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

#include "tools/msgbox-helper/BoxProbe.h"
#include "util/Text.h"
#include "util/Utils.h"

namespace {

std::string Record(HWND box) {
  std::string buttons = "|";
  for (const std::string& c : boxprobe::ButtonCaptions(box)) buttons += c + "|";
  return boxprobe::TextOf(box) + "\r\n" + buttons + "\r\n" + boxprobe::PlainText(box);
}

// By index when the whole text is a number, else by caption with or without
// its "&", ignoring case.
HWND FindButton(HWND box, const std::string& which) {
  const std::vector<HWND> buttons = boxprobe::Buttons(box);
  int64_t index = 0;
  if (ReadInt64(which, index)) return index >= 0 && index < static_cast<int64_t>(buttons.size()) ? buttons[index] : nullptr;
  for (HWND b : buttons) {
    const std::string caption = boxprobe::TextOf(b);
    std::string bare = caption;
    bare.erase(std::remove(bare.begin(), bare.end(), '&'), bare.end());
    if (SameTextCI(caption, which) || SameTextCI(bare, which)) return b;
  }
  return nullptr;
}

}  // namespace

int main() {
  const HWND box = boxprobe::WaitForBox(static_cast<DWORD>(GetSwitchInt("/WAIT=", 60000)));
  if (!box) return 1;

  const std::string record = Record(box);
  const std::string out = GetSwitch("/OUT=");
  if (out.empty())
    std::fwrite(record.data(), 1, record.size(), stdout);
  else
    std::ofstream(out, std::ios::binary) << record;

  const std::string press = GetSwitch("/PRESS=");
  if (!press.empty()) {
    const HWND button = FindButton(box, press);
    if (!button) return 2;
    boxprobe::Click(button);
  } else if (HasSwitch("/CLOSE")) {
    boxprobe::CloseBox(box);
  } else if (HasSwitch("/ALTF4")) {
    // Alt+F4 as the focused control receives it.
    const std::vector<HWND> buttons = boxprobe::Buttons(box);
    PostMessageA(buttons.empty() ? box : buttons.front(), WM_SYSKEYDOWN, VK_F4, 1 << 29);
  }
  return 0;
}
