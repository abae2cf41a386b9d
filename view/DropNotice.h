// The notice that tells the user why a drop put nothing into its target (Windows blocks
// Jotwell there, the program stopped answering, or another program kept the clipboard busy):
// a balloon at the pointer that goes away by itself. Its text names the program and says
// whether the text is on the clipboard.
#pragma once

#include "view/Delivery.h"

#include <windows.h>

#include <string>

// The notice's text for a Blocked, StoppedAnswering or ClipboardBusy drop (empty for any other outcome),
// from the string tables with the program's name in place of %1.
std::wstring DropNoticeText(const DropResult& result);
std::wstring DropNoticeTitle();

class CDropNotice {
public:
    // How long the balloon stays.
    static constexpr UINT kShowMs = 8000;

    CDropNotice() = default;
    ~CDropNotice();
    CDropNotice(const CDropNotice&) = delete;
    CDropNotice& operator=(const CDropNotice&) = delete;

    // Shows the balloon pointing at screen, over any window; owner is one of this thread's windows.
    BOOL Show(HWND owner, POINT screen, const std::wstring& title, const std::wstring& text);
    void Hide();
    // The tooltip window while one was made, shown or not.
    HWND GetSafeHwnd() const { return m_hWnd; }

private:
    HWND m_hWnd = nullptr;
    HWND m_hOwner = nullptr;
    std::wstring m_text;
};
