#include "framework/Wnd.h"

#include <unordered_map>

#include "framework/DocTemplate.h"
#include "framework/FrameWnd.h"
#include "framework/WinApp.h"
#include "text/CodePageText.h"

namespace {

// Windows and their objects. Windows are created and used on the user-interface thread.
std::unordered_map<HWND, CWnd*>& HandleMap() {
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

// The object whose window is being created on this thread, picked up by the CBT hook.
thread_local CWnd* t_creating = nullptr;
thread_local HHOOK t_hook = nullptr;

// The message being handled on this thread, for Default. It is kept here rather than in the
// window object because a handler may destroy its window, and the object with it.
struct CurrentMessage {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};
thread_local CurrentMessage t_current = {0, 0, 0};

// Makes a message the current one for its scope; the enclosing message is current again after.
class CurrentMessageScope {
public:
    CurrentMessageScope(UINT msg, WPARAM wParam, LPARAM lParam) : m_saved(t_current) {
        t_current = {msg, wParam, lParam};
    }
    ~CurrentMessageScope() { t_current = m_saved; }
    CurrentMessageScope(const CurrentMessageScope&) = delete;
    CurrentMessageScope& operator=(const CurrentMessageScope&) = delete;

private:
    CurrentMessage m_saved;
};

}  // namespace

LRESULT CALLBACK AfxWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
    if (!wnd) return IsWindowUnicode(hwnd) ? DefWindowProcW(hwnd, msg, wParam, lParam) : DefWindowProcA(hwnd, msg, wParam, lParam);
    const CurrentMessageScope current(msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        const LRESULT result = wnd->Default();
        wnd->Detach();
        wnd->PostNcDestroy();  // may delete the object
        return result;
    }
    // The object may be gone when WindowProc returns (a close destroys the window and a
    // self-owned object deletes itself), so nothing here touches it afterwards.
    return wnd->WindowProc(msg, wParam, lParam);
}

LRESULT CALLBACK AfxCbtHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && t_creating) {
        CWnd* wnd = t_creating;
        t_creating = nullptr;
        wnd->Attach(reinterpret_cast<HWND>(wParam));
    }
    return CallNextHookEx(t_hook, code, wParam, lParam);
}

const char* AfxFrameClassName() {
    const CWinApp* app = AfxGetApp();
    const char* name = app && !app->m_pszFrameClassName.empty() ? app->m_pszFrameClassName.c_str() : "AfxFrameOrView";
    WNDCLASSA wc = {};
    if (GetClassInfoA(AfxGetInstanceHandle(), name, &wc)) return name;
    const CDocTemplate* docTemplate = app ? app->GetDocTemplate() : nullptr;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = AfxGetInstanceHandle();
    if (docTemplate) wc.hIcon = LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(docTemplate->GetResourceId()));
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    RegisterClassA(&wc);
    return name;
}

CWnd::~CWnd() {
    if (m_hWnd) {
        HWND h = m_hWnd;
        Detach();
        ::DestroyWindow(h);
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
    if (!hwnd) return nullptr;
    auto it = HandleMap().find(hwnd);
    return it == HandleMap().end() ? nullptr : it->second;
}

void CWnd::Attach(HWND hwnd) {
    m_hWnd = hwnd;
    HandleMap()[hwnd] = this;
    const LONG_PTR proc = reinterpret_cast<LONG_PTR>(&AfxWndProc);
    m_pfnSuper = reinterpret_cast<WNDPROC>(m_bUnicode ? SetWindowLongPtrW(hwnd, GWLP_WNDPROC, proc)
                                                      : SetWindowLongPtrA(hwnd, GWLP_WNDPROC, proc));
}

void CWnd::Detach() {
    if (!m_hWnd) return;
    if (m_pfnSuper) {
        const LONG_PTR proc = reinterpret_cast<LONG_PTR>(m_pfnSuper);
        if (m_bUnicode) SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, proc);
        else SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, proc);
    }
    HandleMap().erase(m_hWnd);
    m_hWnd = nullptr;
}

BOOL CWnd::CreateEx(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y,
                    int cx, int cy, HWND parent, HMENU menuOrId, void* param) {
    CREATESTRUCTA cs = {};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = title;
    cs.style = static_cast<LONG>(style);
    cs.x = x;
    cs.y = y;
    cs.cx = cx;
    cs.cy = cy;
    cs.hwndParent = parent;
    cs.hMenu = menuOrId;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = param;
    if (!PreCreateWindow(cs)) return FALSE;
    if (!cs.lpszClass) cs.lpszClass = AfxFrameClassName();

    // Windows created from inside WM_CREATE nest here; the outermost call owns the hook.
    const bool ownsHook = (t_hook == nullptr);
    if (ownsHook) t_hook = SetWindowsHookExA(WH_CBT, &AfxCbtHook, nullptr, GetCurrentThreadId());
    t_creating = this;
    HWND hwnd = nullptr;
    if (m_bUnicode) {
        const std::wstring windowClass = ToWide(cs.lpszClass, CP_ACP), name = ToWide(cs.lpszName ? cs.lpszName : "", CP_ACP);
        hwnd = CreateWindowExW(cs.dwExStyle, windowClass.c_str(), name.c_str(), static_cast<DWORD>(cs.style), cs.x, cs.y,
                               cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    } else {
        hwnd = CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y,
                               cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    }
    t_creating = nullptr;
    if (ownsHook) {
        UnhookWindowsHookEx(t_hook);
        t_hook = nullptr;
    }
    if (!hwnd) {
        Detach();
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd) return FALSE;
    return ::DestroyWindow(m_hWnd);
}

CString CWnd::GetWindowText() const {
    const int n = ::GetWindowTextLengthA(m_hWnd);
    CString s(static_cast<size_t>(n) + 1, '\0');
    const int got = ::GetWindowTextA(m_hWnd, &s[0], n + 1);
    s.resize(static_cast<size_t>(got > 0 ? got : 0));
    return s;
}

CFrameWnd* CWnd::GetParentFrame() const {
    for (HWND h = ::GetParent(m_hWnd); h; h = ::GetParent(h))
        if (CFrameWnd* f = dynamic_cast<CFrameWnd*>(FromHandlePermanent(h))) return f;
    return nullptr;
}

LRESULT CWnd::Default() {
    const CurrentMessage& m = t_current;
    if (m_bUnicode)
        return m_pfnSuper ? CallWindowProcW(m_pfnSuper, m_hWnd, m.msg, m.wParam, m.lParam)
                          : DefWindowProcW(m_hWnd, m.msg, m.wParam, m.lParam);
    return m_pfnSuper ? CallWindowProcA(m_pfnSuper, m_hWnd, m.msg, m.wParam, m.lParam)
                      : DefWindowProcA(m_hWnd, m.msg, m.wParam, m.lParam);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT id = LOWORD(wParam);
    const HWND control = reinterpret_cast<HWND>(lParam);
    if (control) {
        if (CWnd* child = FromHandlePermanent(control))
            if (child->OnCommandReflect(HIWORD(wParam))) return TRUE;
        if (HIWORD(wParam) != BN_CLICKED) return FALSE;
    }
    return OnCmdMsg(id, nullptr);
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        return OnCreate(reinterpret_cast<CREATESTRUCTA*>(lParam));
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_COMMAND:
        if (OnCommand(wParam, lParam)) return 0;
        break;
    case WM_NOTIFY: {
        NMHDR* nm = reinterpret_cast<NMHDR*>(lParam);
        LRESULT result = 0;
        if (CWnd* child = FromHandlePermanent(nm->hwndFrom))
            if (child != this && child->OnNotifyReflect(nm, &result)) return result;
        if (OnNotify(wParam, nm, &result)) return result;
        break;
    }
    case WM_NOTIFYFORMAT:
        if (lParam == NF_QUERY) {
            LRESULT result = 0;
            if (CWnd* child = FromHandlePermanent(reinterpret_cast<HWND>(wParam)))
                if (child != this && child->OnNotifyFormatReflect(&result)) return result;
        }
        break;
    default:
        break;
    }
    return Default();
}
