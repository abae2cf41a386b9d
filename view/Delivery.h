// Putting a text into another program's window once that window is known: the
// clipboard step, the click at the drop point, bringing the window forward, clearing
// the field, and the four delivery methods of the destination rules.
#pragma once

#include "text/TextEncoding.h"

#include <windows.h>

#include <string>

// How long one sent message may take before the target counts as not responding.
constexpr UINT kDeliverySendTimeoutMs = 3000;

// How long a window the system calls hung has to answer before it counts as stopped.
constexpr UINT kHungConfirmTimeoutMs = 1000;

// Whether the program of a top-level window has stopped answering: the system calls it
// hung (IsHungAppWindow) and it does not answer a message within kHungConfirmTimeoutMs.
// Wine calls a window hung whose thread has taken no message for 5 s while that thread is
// busy for a moment, as when it passes on the very mouse release of a drop over it; the
// message tells that apart from a program that really stopped.
bool StoppedAnswering(HWND window);

// Puts text (with each backslash-n expanded to CR LF) on the clipboard: text in the ANSI
// code page as CF_TEXT, UTF-8 text as CF_UNICODETEXT (the system offers CF_TEXT from it to
// programs that ask for that). TRUE when the clipboard now holds it.
BOOL PutTextOnClipboard(HWND owner, const std::string& text, TextEncoding encoding = TextEncoding::Ansi);

// A left click (button down and up) at x, y in window's client coordinates; when Alt
// is held, Alt is released for the whole system and the click is repeated. FALSE when
// the window is gone or did not answer a click in time.
BOOL ClickAt(HWND window, int x, int y);

// Brings a top-level window with a caption or border to the front. A window whose
// program has stopped answering is left alone: joining its input would hold this thread.
void ActivateTopLevel(HWND window);

// Ctrl+A then Delete, as key messages sent to window.
void ClearTarget(HWND window);

// Posts WM_PASTE. FALSE when the window no longer exists.
BOOL DeliverByPaste(HWND window);

// Ctrl down, V down, WM_COMMAND for command (unless 0), V up, Ctrl up. FALSE when the
// window no longer exists or stopped answering.
BOOL DeliverByCtrlV(HWND window, DWORD command);

// Sends WM_USER + offset with wParam. FALSE when the window no longer exists or did not answer.
BOOL DeliverByUser(HWND window, DWORD offset, DWORD wParam);

// Ctrl+V as system keyboard input, to whatever has the keyboard focus. Always TRUE.
BOOL DeliverByKeybd();
