#include "ui/MsgBoxLayout.h"

#include <algorithm>

#include "util/KSUB.h"
#include "util/Text.h"

namespace {

// Virtual-key codes the box reacts to (the system's values).
constexpr int kVkTab = 0x09, kVkReturn = 0x0D;
constexpr int kVkLeft = 0x25, kVkUp = 0x26, kVkRight = 0x27, kVkDown = 0x28;

char UpperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// The character after the first "&", or the first one when there is no "&".
char AcceleratorOf(const std::string& caption) {
  const size_t amp = caption.find('&');
  const size_t at = amp == std::string::npos ? 0 : amp + 1;
  return at < caption.size() ? caption[at] : '\0';
}

}  // namespace

std::vector<BoxButton> ButtonsOfSet(uint32_t flags) {
  switch (flags & kBoxButtonSetMask) {
    case 0: return {{0, 1}};
    case 1: return {{0, 1}, {1, 2}};
    case 2: return {{4, 3}, {5, 4}, {6, 5}};
    case 3: return {{2, 6}, {3, 7}, {1, 2}};
    case 4: return {{2, 6}, {3, 7}};
    case 5: return {{5, 4}, {1, 2}};
    default: return {};
  }
}

int BoxIconId(uint32_t flags) {
  switch (flags & kBoxIconMask) {
    case 0x10: return 32513;
    case 0x20: return 32514;
    case 0x30: return 32515;
    case 0x40: return 32516;
    default: return 0;
  }
}

int DefaultButtonIndex(uint32_t flags) { return static_cast<int>((flags >> 8) & 0xF); }

int WrapButtonIndex(int k, int n) {
  if (n <= 0) return -1;
  const int m = k % n;
  return m < 0 ? m + n : m;
}

bool IsRtlCharset(int charset) { return charset == 177 || charset == 178; }

uint32_t EffectiveBoxFlags(uintptr_t ownerMode, int charset, uint32_t flags) {
  if (IsRtlCharset(charset)) flags |= kBoxRight | kBoxRtlReading;
  if (ownerMode == 2) flags |= kBoxNoClose;
  return flags;
}

std::string EffectiveBoxText(uintptr_t ownerMode, const std::string& text, const std::string& caption) {
  if (ownerMode != 0) return text;
  // The stock captions are shouted in the heading; anything else stays as given.
  const std::string heading =
      std::string(kDefaultCaptions).find(caption) != std::string::npos ? UpperCaseASCII(caption) : caption;
  return "<<b>" + heading + "</b><P><P>" + text + "<P>";
}

std::string ButtonTextsOrDefault(const std::string& buttonTexts) {
  return buttonTexts.empty() ? std::string(kDefaultButtonTexts) : buttonTexts;
}

std::string CaptionOrDefault(const std::string& caption, int captionItem) {
  return caption.empty() ? SUB::GetItem(kDefaultCaptions, captionItem) : caption;
}

BoxKeyDecision DecideSysChar(char typed, const std::vector<std::string>& captions) {
  for (int i = 0; i < static_cast<int>(captions.size()); ++i) {
    const std::string& c = captions[i];
    if (c.size() >= 2 && (c[1] == typed || c[1] == UpperChar(typed))) return {BoxKeyAction::Choose, i};
  }
  return {BoxKeyAction::None, -1};
}

BoxKeyDecision DecideKeyDown(int virtualKey, int focused, const std::vector<std::string>& captions) {
  const int n = static_cast<int>(captions.size());
  if (n == 0) return {BoxKeyAction::None, -1};
  switch (virtualKey) {
    case kVkLeft:
    case kVkUp:
      // With nothing focused, "previous" is the last button.
      return {BoxKeyAction::Focus, WrapButtonIndex((focused < 0 ? n : focused) - 1, n)};
    case kVkTab:
    case kVkRight:
    case kVkDown:
      return {BoxKeyAction::Focus, WrapButtonIndex(focused + 1, n)};
    case kVkReturn:
      if (focused >= 0 && focused < n) return {BoxKeyAction::Choose, focused};
      return {BoxKeyAction::None, -1};
    default:
      break;
  }
  // Only the letter keys themselves: keypad digits and function keys share
  // codes with lower-case letters and must not press buttons.
  if (virtualKey < 'A' || virtualKey > 'Z') return {BoxKeyAction::None, -1};
  for (int i = n - 1; i >= 0; --i)
    if (UpperChar(AcceleratorOf(captions[i])) == virtualKey) return {BoxKeyAction::Choose, i};
  return {BoxKeyAction::None, -1};
}

BoxRect BoxOuterSize(int cw, int ch, int cxFrame, int cyFrame, int cyCaption) {
  const int marginX = cw < 200 ? 64 : 32;
  const int marginY = ch < 39 ? 45 : 32;
  const int width = std::max(360, cw + 54 + 2 * marginX + 2 * cxFrame);
  const int height = ch + 36 + 2 * marginY + 2 * cyFrame + cyCaption;
  return {0, 0, width, height};
}

BoxRect BoxTextRect(int clientW, int clientH, int cw, int ch) {
  const int x = (clientW - 54 - cw) / 2 + 54;
  const int y = (clientH - 36 - ch) / 2;
  return {x, y, cw, clientH - y - 39};
}

BoxRect BoxButtonRect(int clientW, int clientH, int index, int count) {
  return {clientW - 80 - 70 * (count - 1 - index), clientH - 29, 70, 23};
}
