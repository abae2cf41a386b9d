#include "view/Delivery.h"

#include "framework/Clipboard.h"
#include "framework/KeyState.h"
#include "text/CodePageText.h"
#include "text/SystemCodePage.h"
#include "view/LineBreaks.h"

namespace {

// Every message to a target goes through here. Like SendMessageA it waits until the
// target has handled the message (and, as SendMessageA does, handles messages sent to
// this thread meanwhile, so a target that calls back cannot deadlock us), but a target
// that is hung, or does not answer within the time-out, no longer freezes Jotwell.
// False when the window is gone or did not answer in time.
bool SendAndWait(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                               kDeliverySendTimeoutMs, &result) != 0;
}

// Key messages carry repeat count 1, also for key-up.
constexpr LPARAM kKeyRepeatOnce = 1;

bool SendKey(HWND window, UINT message, WPARAM key) {
    return SendAndWait(window, message, key, kKeyRepeatOnce);
}

bool SendClick(HWND window, LPARAM point) {
    return SendAndWait(window, WM_LBUTTONDOWN, MK_LBUTTON, point) && SendAndWait(window, WM_LBUTTONUP, 0, point);
}

bool IsGone(HWND window) {
    return window == nullptr || !IsWindow(window);
}

void PressKey(BYTE virtualKey, DWORD flags) {
    keybd_event(virtualKey, 0, flags, 0);
    // Lets the target's thread see each key in turn.
    Sleep(10);
}

}  // namespace

BOOL PutTextOnClipboard(HWND owner, const std::string& text, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8) {
        // No byte of a multi-byte UTF-8 character is a backslash: no lead bytes to step over.
        const std::wstring wide = ToWide(ExpandLineBreaks(text, LeadBytes()), CP_UTF8);
        return PutClipboardText(owner, std::wstring_view(wide)) ? TRUE : FALSE;
    }
    // A block of the text and four zero bytes.
    return PutClipboardText(owner, ExpandLineBreaks(text, SystemLeadBytes()), 4) ? TRUE : FALSE;
}

bool StoppedAnswering(HWND window) {
    if (!IsHungAppWindow(window)) return false;
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kHungConfirmTimeoutMs, &result) == 0;
}

BOOL ClickAt(HWND window, int x, int y) {
    const LPARAM point = MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
    bool answered = SendClick(window, point);
    if (IsKeyDown(VK_MENU)) {
        // Alt held: release it for the whole system, then click once more.
        keybd_event(VK_MENU, 0, KEYEVENTF_KEYUP, 0);
        if (answered) answered = SendClick(window, point);
    }
    return answered ? TRUE : FALSE;
}

void ActivateTopLevel(HWND window) {
    if (!window || IsHungAppWindow(window)) return;
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    if ((style & (WS_BORDER | WS_DLGFRAME)) == 0) return;

    const DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    const DWORD windowThread = GetWindowThreadProcessId(window, nullptr);
    // Fails harmlessly when both are the same thread.
    AttachThreadInput(windowThread, foregroundThread, TRUE);
    SetForegroundWindow(window);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    AttachThreadInput(windowThread, foregroundThread, FALSE);
}

void ClearTarget(HWND window) {
    struct KeyMessage {
        UINT Message;
        WPARAM Key;
    };
    // Ctrl+A selects all, Delete removes it.
    static const KeyMessage kSelectAllDelete[] = {
        {WM_KEYDOWN, VK_CONTROL}, {WM_KEYDOWN, 'A'},       {WM_KEYUP, 'A'},
        {WM_KEYUP, VK_CONTROL},   {WM_KEYDOWN, VK_DELETE}, {WM_KEYUP, VK_DELETE},
    };
    for (const KeyMessage& key : kSelectAllDelete) {
        if (!SendKey(window, key.Message, key.Key)) return;  // no further keys for a target that stopped answering
    }
}

BOOL DeliverByPaste(HWND window) {
    if (IsGone(window)) return FALSE;
    PostMessageA(window, WM_PASTE, 0, 0);
    return TRUE;
}

BOOL DeliverByCtrlV(HWND window, DWORD command) {
    if (IsGone(window)) return FALSE;
    if (!SendKey(window, WM_KEYDOWN, VK_CONTROL) || !SendKey(window, WM_KEYDOWN, 'V')) return FALSE;
    // As a command from an accelerator: the identifier in the low word, 1 in the high word.
    if (command != 0 && !SendAndWait(window, WM_COMMAND, (command & 0xFFFF) | 0x10000, 0)) return FALSE;
    return SendKey(window, WM_KEYUP, 'V') && SendKey(window, WM_KEYUP, VK_CONTROL) ? TRUE : FALSE;
}

BOOL DeliverByUser(HWND window, DWORD offset, DWORD wParam) {
    if (IsGone(window)) return FALSE;
    return SendAndWait(window, WM_USER + offset, wParam, 0) ? TRUE : FALSE;
}

BOOL DeliverByKeybd() {
    PressKey(VK_CONTROL, 0);
    PressKey('V', 0);
    PressKey('V', KEYEVENTF_KEYUP);
    PressKey(VK_CONTROL, KEYEVENTF_KEYUP);
    return TRUE;
}
