#include "view/DropNotice.h"

#include "framework/Dpi.h"
#include "res/resource.h"

#include <commctrl.h>

namespace {

constexpr UINT_PTR kToolId = 1;
constexpr UINT_PTR kHideTimerId = 1;
// Wide enough for the longer notice on three or four lines (at 96 DPI).
constexpr int kMaxTipWidth = 360;

std::wstring LoadWide(UINT id) {
    const wchar_t* text = nullptr;
    // With no buffer, LoadStringW gives the resource's own characters (not terminated).
    const int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

TOOLINFOW ToolOf(HWND owner) {
    TOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    tool.hwnd = owner;
    tool.uId = kToolId;
    return tool;
}

void CALLBACK HideOnTimer(HWND tip, UINT, UINT_PTR id, DWORD) {
    KillTimer(tip, id);
    TOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    if (SendMessageW(tip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool)))
        SendMessageW(tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace

std::wstring DropNoticeTitle() {
    return LoadWide(IDS_DROP_NOTICE_TITLE);
}

std::wstring DropNoticeText(const DropResult& result) {
    UINT id = 0;
    if (result.Outcome == DropOutcome::Blocked) id = IDS_DROP_BLOCKED;
    if (result.Outcome == DropOutcome::StoppedAnswering) id = IDS_DROP_NOT_ANSWERING;
    if (result.Outcome == DropOutcome::ClipboardBusy) id = IDS_DROP_CLIPBOARD_BUSY;
    if (id == 0) return std::wstring();
    std::wstring text = LoadWide(id);
    const size_t at = text.find(L"%1");
    if (at != std::wstring::npos) text.replace(at, 2, result.Program);
    return text;
}

CDropNotice::~CDropNotice() {
    if (m_hWnd && IsWindow(m_hWnd)) DestroyWindow(m_hWnd);
}

BOOL CDropNotice::Show(HWND owner, POINT screen, const std::wstring& title, const std::wstring& text) {
    if (m_hWnd && (!IsWindow(m_hWnd) || owner != m_hOwner)) {
        if (IsWindow(m_hWnd)) DestroyWindow(m_hWnd);
        m_hWnd = nullptr;
    }
    if (!m_hWnd) {
        m_hWnd = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_BALLOON,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        if (!m_hWnd) return FALSE;
        m_hOwner = owner;
        TOOLINFOW tool = ToolOf(owner);
        tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
        tool.lpszText = const_cast<wchar_t*>(L"");
        SendMessageW(m_hWnd, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        SendMessageW(m_hWnd, TTM_SETMAXTIPWIDTH, 0, ScaleToDpi(kMaxTipWidth, WindowDpi(owner)));
    }
    // The tooltip keeps a pointer to the text, not a copy.
    m_text = text;
    TOOLINFOW tool = ToolOf(owner);
    tool.lpszText = &m_text[0];
    SendMessageW(m_hWnd, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(m_hWnd, TTM_SETTITLEW, TTI_WARNING, reinterpret_cast<LPARAM>(title.c_str()));
    SendMessageW(m_hWnd, TTM_TRACKPOSITION, 0, MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
    SendMessageW(m_hWnd, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    SetTimer(m_hWnd, kHideTimerId, kShowMs, &HideOnTimer);
    return TRUE;
}

void CDropNotice::Hide() {
    if (!m_hWnd || !IsWindow(m_hWnd)) return;
    KillTimer(m_hWnd, kHideTimerId);
    TOOLINFOW tool = ToolOf(m_hOwner);
    SendMessageW(m_hWnd, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}
