#pragma once
// The program's own modal message box: text in a small markup (bold, breaks,
// tabs), font and button captions following the package's language, and an
// optional time-out that answers as if the first button had been pressed.
//
// ownerMode 0, 1 or 2 takes the active window as owner (0 also repeats the
// caption as a bold heading, 2 greys out Close); a larger value is the owner
// window itself. flags and results use the system's message-box constants;
// 0 means the box was closed without a button.
#include <cstdint>
#include <string>

#include "ui/Markup.h"

int ShowMsgBox(uintptr_t ownerMode, const std::string& text, const std::string& caption,
               const std::string& buttonTexts, int charset, uint32_t flags, int32_t timeoutMs);

// Empty caption or button texts fall back to the English defaults.
void ErrorBox(uintptr_t ownerMode, const std::string& text, const std::string& caption = "",
              const std::string& buttonTexts = "", int charset = 1);
void AttentionBox(uintptr_t ownerMode, const std::string& text, const std::string& caption = "",
                  const std::string& buttonTexts = "", int charset = 1, int32_t timeoutMs = 0);
bool ConfirmYesNo(uintptr_t ownerMode, const std::string& text, const std::string& caption = "",
                  const std::string& buttonTexts = "", int charset = 1, int32_t timeoutMs = 0);
bool ConfirmOkCancel(uintptr_t ownerMode, const std::string& text, const std::string& caption = "",
                     const std::string& buttonTexts = "", int charset = 1);

// Face and charset are always taken; a size of 0 keeps the current size.
void SetMsgBoxFont(const std::string& faceName, int sizePoints, int charset);

// While enabled, the box and the main window tell the shell not to start
// AutoPlay for a disk inserted at a disk prompt.
void SetCancelAutoPlay(bool enable);
// The registered message id, 0 while not enabled.
unsigned CancelAutoPlayMessage();
