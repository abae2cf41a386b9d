// The drag handlers of CJotwellView. A drag starts on a
// selected row, ends at the next left-button release that reaches the view, and then
// puts the entry into the window under the pointer by the rule for its class.
#include "document/JotwellDoc.h"
#include "framework/KeyState.h"
#include "framework/Wnd.h"
#include "view/Delivery.h"
#include "view/JotwellView.h"

namespace {

// The window whose rectangle counts as Jotwell's own: the main window, or (without an
// application, in tests) the view's top-level window.
HWND OwnMainWindow(HWND view) {
    if (CWnd* main = AfxGetMainWnd())
        if (main->m_hWnd) return main->m_hWnd;
    return ::GetAncestor(view, GA_ROOT);
}

// ClearTarget with Ctrl down in the target thread's own key state. A standard edit control
// takes Ctrl+A only when GetKeyState in its thread says Ctrl is down; the user holds Ctrl,
// but that key went to Jotwell, and after ActivateTopLevel detaches again the target's key
// state does not show it (seen under Wine). For the six messages this thread joins the
// target's input state, marks Ctrl down there, and afterwards puts the mark back.
void ClearWithCtrlState(HWND target) {
    const DWORD ours = ::GetCurrentThreadId();
    const DWORD theirs = ::GetWindowThreadProcessId(target, nullptr);
    const bool attached = theirs && theirs != ours && ::AttachThreadInput(ours, theirs, TRUE);
    BYTE keys[256] = {};
    const bool marked = attached && ::GetKeyboardState(keys) && !(keys[VK_CONTROL] & 0x80);
    if (marked) {
        keys[VK_CONTROL] |= 0x80;
        ::SetKeyboardState(keys);
    }
    ClearTarget(target);
    if (marked && ::GetKeyboardState(keys)) {
        keys[VK_CONTROL] &= static_cast<BYTE>(~0x80);
        ::SetKeyboardState(keys);
    }
    if (attached) ::AttachThreadInput(ours, theirs, FALSE);
}

// Keyboard input goes to the foreground input queue. Under Wine, detaching the target's
// thread again at the end of ActivateTopLevel leaves that queue with Jotwell's thread, so
// Ctrl+V would come back to Jotwell; one more SetForegroundWindow, without attaching,
// hands the queue to the target's thread (on Windows it is already there).
void EnsureForegroundInput(HWND top) {
    const LONG style = ::GetWindowLongA(top, GWL_STYLE);
    if (!(style & (WS_BORDER | WS_DLGFRAME))) return;  // ActivateTopLevel left it alone too
    ::SetForegroundWindow(top);
}

}  // namespace

void CJotwellView::OnBeginDrag(const NMLISTVIEW* nm) {
    const int row = nm->iItem;
    if (!IsLineSelected(row)) return;
    m_nDragLine = EntryOfRow(row);  // the entry the row shows (the filter may hide others)
    m_bDragExplanation = IsKeyDown(VK_SHIFT) ? TRUE : FALSE;
    ::SetCapture(m_hWnd);
    m_hOldCursor = ::SetCursor(m_hDragCursor);
}

void CJotwellView::OnCancelDrag() {
    ::ReleaseCapture();
    ::SetCursor(m_hOldCursor);
    m_nDragLine = -1;
}

void CJotwellView::OnDropRelease(POINT client) {
    // The drag ends at this release.
    ::ReleaseCapture();
    ::SetCursor(m_hOldCursor);
    const int entry = m_nDragLine;
    m_nDragLine = -1;
    // Nothing is dropped over Jotwell's own window.
    POINT screen = client;
    ::ClientToScreen(m_hWnd, &screen);
    RECT own = {};
    ::GetWindowRect(OwnMainWindow(m_hWnd), &own);
    if (entry == -1) return;
    if (::PtInRect(&own, screen)) return;
    // The target, its class, its top-level window.
    HWND target = ::WindowFromPoint(screen);
    if (!target) return;
    char className[255] = {};
    if (!::GetClassNameA(target, className, sizeof(className))) return;
    HWND top = target;
    for (HWND parent = ::GetParent(top); parent; parent = ::GetParent(top)) top = parent;
    char topClass[255] = {};
    if (!::GetClassNameA(top, topClass, sizeof(topClass))) return;
    // A program that has stopped answering gets nothing more: activating it or clearing
    // its field would join its input state and wait for it.
    if (StoppedAnswering(top)) {
        ::MessageBeep(0xFFFFFFFF);
        return;
    }
    POINT point = screen;
    ::ScreenToClient(target, &point);
    CopyEntryToClipboard(entry, m_bDragExplanation);
    if (!ClickAt(target, point.x, point.y)) {
        ::MessageBeep(0xFFFFFFFF);
        return;
    }
    ActivateTopLevel(top);
    if (IsKeyDown(VK_CONTROL)) ClearWithCtrlState(target);
    // The rule's method.
    const CJotwellDoc* doc = GetDocument();
    const DestinationMatch match = doc ? doc->m_rules.Find(className) : DestinationMatch();
    switch (match.Method) {
    case DeliveryMethod::Paste:
        DeliverByPaste(target);
        break;
    case DeliveryMethod::CtrlV:
        DeliverByCtrlV(target, match.Rule.Param1);
        break;
    case DeliveryMethod::User:
        DeliverByUser(target, match.Rule.Param1, match.Rule.Param2);
        break;
    case DeliveryMethod::Keybd:
        EnsureForegroundInput(top);
        DeliverByKeybd();
        break;
    }
}
