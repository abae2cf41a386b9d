// CWnd: a C++ object attached to a window. Every window created through CreateEx is
// subclassed at creation (before WM_NCCREATE) so that all its messages reach the object's
// virtual WindowProc; the default handlers unpack the common messages into On* methods.
// WM_NOTIFY and control WM_COMMAND messages are first offered back to the child control's
// own object (reflection), so a control handles its own notifications; so is the control's
// question which form they take (WM_NOTIFYFORMAT).
#pragma once

#include "framework/CmdTarget.h"

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // The object attached to `hwnd`, or null.
    static CWnd* FromHandlePermanent(HWND hwnd);

    // Lets the derived class adjust class name, styles and size before creation.
    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs) { return TRUE; }
    BOOL CreateEx(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y,
                  int cx, int cy, HWND parent, HMENU menuOrId, void* param = nullptr);
    virtual BOOL DestroyWindow();

    // Translates a message before it is dispatched; true when it was consumed.
    virtual BOOL PreTranslateMessage(MSG* msg) { return FALSE; }

    // Message handling. A handler may destroy the window; an object that deletes itself in
    // PostNcDestroy is then gone when WindowProc returns.
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Default();
    // Called after the last message (WM_NCDESTROY); windows owned by themselves delete here.
    virtual void PostNcDestroy() {}

    // A notification reflected from the parent: the control handles its own WM_NOTIFY.
    virtual BOOL OnNotifyReflect(NMHDR* nm, LRESULT* result) { return FALSE; }
    virtual BOOL OnCommandReflect(UINT code) { return FALSE; }
    // The form of this control's notifications (NFR_ANSI or NFR_UNICODE), which the control
    // asks its parent for; FALSE leaves the answer to the parent.
    virtual BOOL OnNotifyFormatReflect(LRESULT* result) { return FALSE; }

    // Common wrappers.
    BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
    BOOL SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags) {
        return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags);
    }
    void GetWindowRect(RECT* r) const { ::GetWindowRect(m_hWnd, r); }
    void GetClientRect(RECT* r) const { ::GetClientRect(m_hWnd, r); }
    void SetWindowText(const CString& s) { ::SetWindowTextA(m_hWnd, s.c_str()); }
    CString GetWindowText() const;
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    LRESULT SendMessage(UINT m, WPARAM w = 0, LPARAM l = 0) { return ::SendMessageA(m_hWnd, m, w, l); }
    BOOL PostMessage(UINT m, WPARAM w = 0, LPARAM l = 0) { return ::PostMessageA(m_hWnd, m, w, l); }
    void SetForegroundWindow() { ::SetForegroundWindow(m_hWnd); }
    CWnd* GetParent() const { return FromHandlePermanent(::GetParent(m_hWnd)); }
    CFrameWnd* GetParentFrame() const;
    HMENU GetMenu() const { return ::GetMenu(m_hWnd); }
    void DrawMenuBar() { ::DrawMenuBar(m_hWnd); }

protected:
    virtual int OnCreate(CREATESTRUCTA* cs) { return static_cast<int>(Default()); }
    virtual void OnDestroy() { Default(); }
    virtual void OnSize(UINT type, int cx, int cy) { Default(); }
    virtual void OnClose() { Default(); }
    // A menu, accelerator or control command; routes to OnCmdMsg.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, NMHDR* nm, LRESULT* result) { return FALSE; }

    WNDPROC m_pfnSuper = nullptr;  // the class's own procedure, for Default
    // A Unicode window (set before creation): created with CreateWindowExW and subclassed
    // with the wide procedure, so text typed into it arrives in UTF-16 whatever the code
    // page. Its messages come in their wide form (WM_CREATE's strings too).
    BOOL m_bUnicode = FALSE;

private:
    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK AfxCbtHook(int, WPARAM, LPARAM);
    void Attach(HWND hwnd);
    void Detach();
};

// Tells after a call whether a window's object outlived it. A call that runs a message loop
// (a modal dialog, a message box) may destroy the window and delete its object; this asks
// the handle map, never the object.
class CWndAlive {
public:
    explicit CWndAlive(const CWnd* wnd) : m_hWnd(wnd->m_hWnd), m_pWnd(wnd) {}
    explicit operator bool() const { return m_hWnd && CWnd::FromHandlePermanent(m_hWnd) == m_pWnd; }

private:
    HWND m_hWnd;
    const CWnd* m_pWnd;
};

// The window class of frames and plain views, registered on first use: named by the
// application object (CWinApp::m_pszFrameClassName), with the icon of its document template.
const char* AfxFrameClassName();
