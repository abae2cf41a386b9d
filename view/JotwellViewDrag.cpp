// The drag handlers of CJotwellView. A drag starts on a
// selected row, ends at the next left-button release that reaches the view, and then
// puts the entry into the window under the pointer by the rule for its class.
#include "document/JotwellDoc.h"
#include "framework/KeyState.h"
#include "framework/Wnd.h"
#include "settings/ProfileAccess.h"
#include "view/Delivery.h"
#include "view/DropNotice.h"
#include "view/JotwellView.h"

namespace {

// The window whose rectangle counts as Jotwell's own: the main window, or (without an
// application, in tests) the view's top-level window.
HWND OwnMainWindow(HWND view) {
    if (CWnd* main = AfxGetMainWnd())
        if (main->m_hWnd) return main->m_hWnd;
    return ::GetAncestor(view, GA_ROOT);
}

}  // namespace

void CJotwellView::OnBeginDrag(const NMLISTVIEW* nm) {
    const int row = nm->iItem;
    if (!IsLineSelected(row)) return;
    m_nDragLine = EntryOfRow(row);  // the entry the row shows (the filter may hide others)
    m_bDragExplanation = IsKeyDown(VK_SHIFT) ? TRUE : FALSE;
    m_dropNotice.Hide();
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
    const CJotwellDoc* doc = GetDocument();
    if (entry == -1 || !doc || entry >= doc->GetEntryCount()) return;
    POINT screen = client;
    ::ClientToScreen(m_hWnd, &screen);
    HWND target = ::WindowFromPoint(screen);
    char className[255] = {};
    if (!target || !::GetClassNameA(target, className, sizeof(className))) return;

    DropOptions options;
    options.OwnWindow = OwnMainWindow(m_hWnd);
    options.ClipboardOwner = m_hWnd;
    options.Text = m_bDragExplanation ? doc->m_aExplanation[entry] : doc->m_aText[entry];
    options.Encoding = doc->m_encoding.Encoding;
    options.Clear = IsKeyDown(VK_CONTROL);
    if (ReadSetting(Profile::kRestoreClipboard)) options.Restore = &m_clipboardRestore;
    const DropResult result = DeliverEntry(target, screen, doc->m_rules.Find(className), options);
    if (result.Outcome == DropOutcome::Delivered || result.Outcome == DropOutcome::Nothing) return;
    ::MessageBeep(0xFFFFFFFF);
    const std::wstring notice = DropNoticeText(result);
    if (!notice.empty()) m_dropNotice.Show(m_hWnd, screen, DropNoticeTitle(), notice);
}
