#include "ui/KMsgBox.h"

#include <windows.h>
#include <richedit.h>

#include <vector>

#include "ui/MsgBoxLayout.h"
#include "util/KSUB.h"
#include "util/Utils.h"

namespace {

const char kBoxClass[] = "KMsgBox";
constexpr UINT_PTR kTimeoutTimer = 1;

struct BoxFontSettings {
  std::string face = "Tahoma";
  int size = 8;
  int charset = DEFAULT_CHARSET;
};
BoxFontSettings g_font;
UINT g_cancelAutoPlay = 0;
HMODULE g_richEditLib = nullptr;  // loaded by the first box, kept until the end

// State of the open box; there is only ever one.
struct OpenBox {
  int result = 0;
  HWND buttons[3] = {};
  int timeoutMs = 0;
  int iconId = 0;
  int askedWidth = 0;
  int askedHeight = 0;
  HWND previousActive = nullptr;
  HFONT font = nullptr;
  HWND box = nullptr;
  HWND text = nullptr;
  bool done = false;
};
OpenBox g_box;

int ButtonCount() {
  int n = 0;
  while (n < 3 && g_box.buttons[n]) ++n;
  return n;
}

int ButtonResult(HWND button) { return static_cast<int>(GetWindowLongPtrA(button, GWLP_USERDATA)); }

void Answer(int result) {
  g_box.result = result;
  PostMessageA(g_box.box, WM_CLOSE, 0, 0);
}

void FocusButton(int k) {
  const int n = ButtonCount();
  const int index = WrapButtonIndex(k, n);
  if (index < 0) return;
  SetFocus(g_box.buttons[index]);
  SetActiveWindow(g_box.box);
  for (int i = 0; i < n; ++i)
    SendMessageA(g_box.buttons[i], BM_SETSTYLE, i == index ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

std::vector<std::string> ButtonCaptions() {
  std::vector<std::string> captions;
  for (int i = 0; i < ButtonCount(); ++i) {
    char buf[256] = {};
    GetWindowTextA(g_box.buttons[i], buf, sizeof buf);
    captions.push_back(buf);
  }
  return captions;
}

int FocusedButton() {
  const HWND focus = GetFocus();
  for (int i = 0; i < ButtonCount(); ++i)
    if (g_box.buttons[i] == focus) return i;
  return -1;
}

// Keys that the box handles before dispatch. True when the message is used up.
bool FilterKey(const MSG& m) {
  BoxKeyDecision d{BoxKeyAction::None, -1};
  if (m.message == WM_SYSCHAR)
    d = DecideSysChar(static_cast<char>(m.wParam), ButtonCaptions());
  else if (m.message == WM_KEYDOWN)
    d = DecideKeyDown(static_cast<int>(m.wParam), FocusedButton(), ButtonCaptions());
  if (d.action == BoxKeyAction::Focus) FocusButton(d.index);
  if (d.action != BoxKeyAction::Choose) return false;
  Answer(ButtonResult(g_box.buttons[d.index]));
  return true;
}

void Paint(HWND hwnd) {
  PAINTSTRUCT ps;
  const HDC dc = BeginPaint(hwnd, &ps);
  RECT rc;
  GetClientRect(hwnd, &rc);
  const int W = rc.right, H = rc.bottom;
  const auto fill = [dc](int l, int t, int r, int b, COLORREF colour) {
    const RECT area{l, t, r, b};
    const HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
  };
  fill(0, 0, W, H, GetSysColor(COLOR_WINDOW));
  fill(0, H - 37, W, H - 36, GetSysColor(COLOR_3DDKSHADOW));
  fill(0, H - 36, W, H - 35, RGB(255, 255, 255));
  fill(0, H - 35, W, H, GetSysColor(COLOR_BTNFACE));
  fill(0, 0, 54, H - 37, RGB(0, 78, 152));
  const HICON icon = g_box.iconId ? LoadIconA(nullptr, MAKEINTRESOURCEA(g_box.iconId))
                                  : LoadIconA(GetModuleHandleA(nullptr), "MainIcon");
  if (icon) DrawIcon(dc, 11, 20, icon);
  EndPaint(hwnd, &ps);
}

// Window procedure: one handler per message; `pass` asks for default processing.
using Handler = LRESULT (*)(HWND, WPARAM, LPARAM, bool& pass);

LRESULT OnCreate(HWND hwnd, WPARAM, LPARAM, bool&) {
  if (g_box.timeoutMs > 0) SetTimer(hwnd, kTimeoutTimer, static_cast<UINT>(g_box.timeoutMs), nullptr);
  return 0;
}

LRESULT OnPaint(HWND hwnd, WPARAM, LPARAM, bool& pass) {
  Paint(hwnd);
  pass = false;
  return 0;
}

LRESULT OnNotify(HWND, WPARAM, LPARAM lp, bool&) {
  const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lp);
  if (hdr->code == EN_REQUESTRESIZE) {
    const RECT& rc = reinterpret_cast<const REQRESIZE*>(lp)->rc;
    g_box.askedWidth = rc.right - rc.left;
    g_box.askedHeight = rc.bottom - rc.top;
  }
  return 0;
}

LRESULT OnCommand(HWND, WPARAM wp, LPARAM lp, bool&) {
  const HWND from = reinterpret_cast<HWND>(lp);
  if (HIWORD(wp) != BN_CLICKED || !from) return 0;
  for (int i = 0; i < ButtonCount(); ++i)
    if (g_box.buttons[i] == from) Answer(ButtonResult(from));
  return 0;
}

LRESULT OnTimer(HWND, WPARAM, LPARAM, bool&) {
  Answer(g_box.buttons[0] ? ButtonResult(g_box.buttons[0]) : 0);
  return 0;
}

LRESULT OnClose(HWND hwnd, WPARAM, LPARAM, bool&) {
  // Give the owner back its input before this window goes, so activation
  // returns to it and not to some other program.
  if (g_box.previousActive) {
    EnableWindow(g_box.previousActive, TRUE);
    SetActiveWindow(g_box.previousActive);
    SetFocus(g_box.previousActive);
  }
  KillTimer(hwnd, kTimeoutTimer);
  return 0;
}

LRESULT OnDestroy(HWND, WPARAM, LPARAM, bool& pass) {
  g_box.done = true;
  pass = false;
  return 1;
}

struct Route {
  UINT message;
  Handler handler;
};
const Route kRoutes[] = {
    {WM_CREATE, OnCreate}, {WM_PAINT, OnPaint}, {WM_NOTIFY, OnNotify}, {WM_COMMAND, OnCommand},
    {WM_TIMER, OnTimer},   {WM_CLOSE, OnClose}, {WM_DESTROY, OnDestroy},
};

LRESULT CALLBACK BoxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (g_cancelAutoPlay != 0 && msg == g_cancelAutoPlay) return 1;
  for (const Route& r : kRoutes) {
    if (r.message != msg) continue;
    bool pass = true;
    const LRESULT result = r.handler(hwnd, wp, lp, pass);
    return pass ? DefWindowProcA(hwnd, msg, wp, lp) : result;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

HFONT CreateBoxFont() {
  return CreateFontA(-PointsToPixels(g_font.size), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, static_cast<BYTE>(g_font.charset),
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, g_font.face.c_str());
}

// The text control: a read-only rich-edit control, or, when the rich-edit
// library is missing, a read-only multi-line edit control without bold.
HWND CreateTextControl(HINSTANCE inst, uint32_t flags, bool& rich) {
  const DWORD style = WS_CHILD | WS_VISIBLE | ES_WANTRETURN | ES_READONLY | ES_MULTILINE |
                      ((flags & kBoxRight) ? ES_RIGHT : 0);
  const DWORD exStyle = (flags & kBoxRtlReading) ? WS_EX_RTLREADING : 0;
  HWND text = CreateWindowExA(exStyle, "RICHEDIT", "", style, 86, 30, 100, 13, g_box.box, nullptr, inst, nullptr);
  rich = text != nullptr;
  if (!text) text = CreateWindowExA(exStyle, "EDIT", "", style, 86, 30, 100, 13, g_box.box, nullptr, inst, nullptr);
  if (!text) return nullptr;
  SendMessageA(text, WM_SETFONT, reinterpret_cast<WPARAM>(g_box.font), FALSE);
  if (rich) {
    SendMessageA(text, EM_SETEVENTMASK, 0, ENM_REQUESTRESIZE);
    SendMessageA(text, EM_SETBKGNDCOLOR, 0, GetSysColor(COLOR_WINDOW));
  }
  return text;
}

void ApplyBold(const std::vector<BoldRange>& bold) {
  for (const BoldRange& r : bold) {
    CHARRANGE range{r.start, r.end};
    SendMessageA(g_box.text, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
    format.dwEffects = CFE_BOLD;
    SendMessageA(g_box.text, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  }
  SendMessageA(g_box.text, EM_SETSEL, 0, 0);
}

TextSize MeasureText(const std::string& plain) {
  const HDC dc = GetDC(g_box.text);
  const HGDIOBJ old = SelectObject(dc, g_box.font);
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  const int lineHeight = MarkupLineHeight(tm.tmHeight, tm.tmExternalLeading, g_font.face);
  const TextSize size = MeasureMarkupText(plain, lineHeight, [dc](const std::string& line) {
    SIZE extent{};
    GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &extent);
    return static_cast<int>(extent.cx);
  });
  SelectObject(dc, old);
  ReleaseDC(g_box.text, dc);
  return size;
}

void SetControlSize(HWND hwnd, int width, int height) {
  SetWindowPos(hwnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Fills the text control and gives it its size; returns that size.
TextSize FillText(const std::string& text, bool rich) {
  const MarkupText markup = ApplyMarkup(text);
  SetWindowTextA(g_box.text, markup.text.c_str());
  if (rich) ApplyBold(markup.bold);
  const TextSize measured = MeasureText(markup.text);
  TextSize size{measured.width + 10, measured.height};
  SetControlSize(g_box.text, size.width, size.height);
  if (rich && !markup.bold.empty()) {
    // Bold runs are wider than the plain measure: widen until the control
    // stops asking for more height.
    size.width = FitBoldWidth(measured.width, measured.height, [&](int width) {
      SetControlSize(g_box.text, width, measured.height);
      SendMessageA(g_box.text, EM_REQUESTRESIZE, 0, 0);
      return TextSize{g_box.askedWidth, g_box.askedHeight};
    });
  }
  return size;
}

void LayOut(const TextSize& text, const std::string& buttonTexts, uint32_t flags, HINSTANCE inst) {
  const BoxRect outer = BoxOuterSize(text.width, text.height, GetSystemMetrics(SM_CXFRAME),
                                     GetSystemMetrics(SM_CYFRAME), GetSystemMetrics(SM_CYCAPTION));
  const ScreenPoint at = CenterInWorkArea(outer.width, outer.height);
  SetWindowPos(g_box.box, nullptr, at.x, at.y, outer.width, outer.height, SWP_NOZORDER);
  ShowWindow(g_box.box, SW_SHOW);

  RECT client;
  GetClientRect(g_box.box, &client);
  const BoxRect t = BoxTextRect(client.right, client.bottom, text.width, text.height);
  MoveWindow(g_box.text, t.x, t.y, t.width, t.height, TRUE);

  g_box.iconId = BoxIconId(flags);
  const std::vector<BoxButton> set = ButtonsOfSet(flags);
  for (size_t i = 0; i < set.size(); ++i) {
    const BoxRect b = BoxButtonRect(client.right, client.bottom, static_cast<int>(i), static_cast<int>(set.size()));
    const std::string caption = SUB::GetItem(buttonTexts, set[i].textItem);
    const HWND button = CreateWindowA("BUTTON", caption.c_str(), WS_CHILD | WS_VISIBLE, b.x, b.y, b.width,
                                      b.height, g_box.box, reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + i)),
                                      inst, nullptr);
    SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(g_box.font), FALSE);
    SetWindowLongPtrA(button, GWLP_USERDATA, set[i].result);
    g_box.buttons[i] = button;
  }
  FocusButton(DefaultButtonIndex(flags));
}

void RunModalLoop() {
  MSG m;
  while (!g_box.done) {
    const BOOL got = GetMessageA(&m, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) continue;  // a quit request does not end the box
    if (!FilterKey(m)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
  }
}

int RunBox(HWND owner, const std::string& text, const std::string& caption, const std::string& buttonTexts,
           uint32_t flags, int32_t timeoutMs) {
  if (!g_richEditLib) g_richEditLib = LoadSystemLibrary("RICHED32.DLL");
  g_box = OpenBox{};
  g_box.previousActive = GetActiveWindow();
  if (g_box.previousActive) EnableWindow(g_box.previousActive, FALSE);
  g_box.timeoutMs = timeoutMs;
  g_box.font = CreateBoxFont();

  const HINSTANCE inst = GetModuleHandleA(nullptr);
  WNDCLASSA wc{};
  wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = BoxProc;
  wc.hInstance = inst;
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kBoxClass;
  RegisterClassA(&wc);

  g_box.box = CreateWindowExA(WS_EX_DLGMODALFRAME | WS_EX_TOPMOST, kBoxClass, caption.c_str(),
                              WS_VISIBLE | WS_CAPTION | WS_SYSMENU, -100, -100, 10, 10, owner, nullptr, inst,
                              nullptr);
  bool rich = false;
  if (g_box.box) {
    if (flags & kBoxNoClose) EnableMenuItem(GetSystemMenu(g_box.box, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    g_box.text = CreateTextControl(inst, flags, rich);
  }
  if (g_box.text) {
    LayOut(FillText(text, rich), buttonTexts, flags, inst);
    RunModalLoop();
  } else if (g_box.box) {
    // No text control at all: nothing sensible to show.
    SendMessageA(g_box.box, WM_CLOSE, 0, 0);
  }
  if (g_box.box && IsWindow(g_box.box)) DestroyWindow(g_box.box);
  if (g_box.previousActive) EnableWindow(g_box.previousActive, TRUE);
  // The class and font outlive WM_DESTROY: the children still use the font
  // while they are destroyed, and a class cannot go while a window has it.
  UnregisterClassA(kBoxClass, inst);
  DeleteObject(g_box.font);
  return g_box.result;
}

}  // namespace

int ShowMsgBox(uintptr_t ownerMode, const std::string& text, const std::string& caption,
               const std::string& buttonTexts, int charset, uint32_t flags, int32_t timeoutMs) {
  flags = EffectiveBoxFlags(ownerMode, charset, flags);
  const std::string shown = EffectiveBoxText(ownerMode, text, caption);
  const HWND owner = ownerMode <= 2 ? GetActiveWindow() : reinterpret_cast<HWND>(ownerMode);
  const int result = RunBox(owner, shown, caption, buttonTexts, flags, timeoutMs);
  // Let the windows under the box repaint before the caller goes on.
  Delay(0, 100);
  return result;
}

void ErrorBox(uintptr_t ownerMode, const std::string& text, const std::string& caption,
              const std::string& buttonTexts, int charset) {
  ShowMsgBox(ownerMode, text, CaptionOrDefault(caption, 0), ButtonTextsOrDefault(buttonTexts), charset, 0x10, 0);
}

void AttentionBox(uintptr_t ownerMode, const std::string& text, const std::string& caption,
                  const std::string& buttonTexts, int charset, int32_t timeoutMs) {
  ShowMsgBox(ownerMode, text, CaptionOrDefault(caption, 1), ButtonTextsOrDefault(buttonTexts), charset, 0x30,
             timeoutMs);
}

bool ConfirmYesNo(uintptr_t ownerMode, const std::string& text, const std::string& caption,
                  const std::string& buttonTexts, int charset, int32_t timeoutMs) {
  return ShowMsgBox(ownerMode, text, CaptionOrDefault(caption, 2), ButtonTextsOrDefault(buttonTexts), charset,
                    0x24, timeoutMs) == IDYES;
}

bool ConfirmOkCancel(uintptr_t ownerMode, const std::string& text, const std::string& caption,
                     const std::string& buttonTexts, int charset) {
  return ShowMsgBox(ownerMode, text, CaptionOrDefault(caption, 2), ButtonTextsOrDefault(buttonTexts), charset,
                    0x21, 0) == IDOK;
}

void SetMsgBoxFont(const std::string& faceName, int sizePoints, int charset) {
  g_font.face = faceName;
  g_font.charset = charset;
  if (sizePoints != 0) g_font.size = sizePoints;
}

void SetCancelAutoPlay(bool enable) {
  g_cancelAutoPlay = enable ? RegisterWindowMessageA("QueryCancelAutoPlay") : 0;
}

unsigned CancelAutoPlayMessage() { return g_cancelAutoPlay; }
