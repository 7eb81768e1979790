#pragma once
// Decisions of the message box that need no window: which buttons a flag word
// asks for, where things go, what a key press does, and what text is shown.
#include <cstdint>
#include <string>
#include <vector>

// Flag word bits read by the box (the system's message-box layout).
constexpr uint32_t kBoxButtonSetMask = 0xF;
constexpr uint32_t kBoxIconMask = 0xF0;
constexpr uint32_t kBoxRight = 0x80000;
constexpr uint32_t kBoxRtlReading = 0x100000;
constexpr uint32_t kBoxNoClose = 0x10000000;

constexpr const char* kDefaultButtonTexts = "|&OK|&Cancel|&Yes|&No|&Abort|&Retry|&Ignore|";
constexpr const char* kDefaultCaptions = "|Error|Attention|Confirm|";

// One button of a set: the item of the button-text list that captions it and
// the result code it answers.
struct BoxButton {
  int textItem;
  int result;
};
inline bool operator==(const BoxButton& a, const BoxButton& b) { return a.textItem == b.textItem && a.result == b.result; }

// The buttons of a set from left to right; none for an unknown set.
std::vector<BoxButton> ButtonsOfSet(uint32_t flags);

// 0 for the program's own icon, otherwise the system icon id.
int BoxIconId(uint32_t flags);

int DefaultButtonIndex(uint32_t flags);

// k wrapped into 0..n-1 (negative counts from the end); -1 when n is 0.
int WrapButtonIndex(int k, int n);

// Hebrew (177) and Arabic (178) texts read right to left.
bool IsRtlCharset(int charset);

// Flags after the charset and owner mode have had their say.
uint32_t EffectiveBoxFlags(uintptr_t ownerMode, int charset, uint32_t flags);

// Owner mode 0 repeats the caption as a bold heading above the message.
std::string EffectiveBoxText(uintptr_t ownerMode, const std::string& text, const std::string& caption);

// An empty list or caption falls back to the defaults (caption item 0..2).
std::string ButtonTextsOrDefault(const std::string& buttonTexts);
std::string CaptionOrDefault(const std::string& caption, int captionItem);

// What a key does to a box whose buttons carry these captions.
enum class BoxKeyAction { None, Focus, Choose };
struct BoxKeyDecision {
  BoxKeyAction action;
  int index;  // button index (0 = leftmost)
};

// Alt+character: the lowest button whose accelerator is the typed character.
BoxKeyDecision DecideSysChar(char typed, const std::vector<std::string>& captions);

// Key down: arrows and Tab move the focus (wrapping), Enter chooses the focused
// button, a letter key chooses the highest button with that accelerator.
// focused is -1 when no button has the focus.
BoxKeyDecision DecideKeyDown(int virtualKey, int focused, const std::vector<std::string>& captions);

struct BoxRect {
  int x, y, width, height;
};

// Outer size of the box around a text control of cw x ch.
BoxRect BoxOuterSize(int cw, int ch, int cxFrame, int cyFrame, int cyCaption);

// Text control inside a client area of W x H.
BoxRect BoxTextRect(int clientW, int clientH, int cw, int ch);

// Button `index` of `count`, laid out from the right edge.
BoxRect BoxButtonRect(int clientW, int clientH, int index, int count);
