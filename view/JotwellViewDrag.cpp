// The drag handlers of CJotwellView. A drag starts on a selected row and takes the entry's
// text there, so that the list read again meanwhile cannot put another entry in; it ends at
// the next left-button release that reaches the view, and then puts that text into the
// window under the pointer by the rule for its class.
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
    const CJotwellDoc* doc = GetDocument();
    const int entry = EntryOfRow(row);  // the entry the row shows (the filter may hide others)
    if (!doc || !doc->Entries().Contains(entry)) return;
    m_nDragLine = entry;
    m_bDragExplanation = IsKeyDown(VK_SHIFT) ? TRUE : FALSE;
    m_dragText = m_bDragExplanation ? doc->Entries().Explanation(entry) : doc->Entries().Text(entry);
    m_dragEncoding = doc->Encoding().Encoding;
    m_dropNotice.Hide();
    ::SetCapture(m_hWnd);
    m_hOldCursor = ::SetCursor(m_hDragCursor);
}

void CJotwellView::OnCancelDrag() {
    ::ReleaseCapture();
    ::SetCursor(m_hOldCursor);
    m_nDragLine = -1;
    m_dragText.clear();
}

void CJotwellView::OnDropRelease(POINT client) {
    // The drag ends at this release.
    ::ReleaseCapture();
    ::SetCursor(m_hOldCursor);
    const bool dragging = m_nDragLine != -1;
    m_nDragLine = -1;
    DropOptions options;
    options.Text = std::move(m_dragText);
    m_dragText.clear();
    const CJotwellDoc* doc = GetDocument();
    if (!dragging || !doc) return;
    POINT screen = client;
    ::ClientToScreen(m_hWnd, &screen);
    HWND target = ::WindowFromPoint(screen);
    char className[255] = {};
    if (!target || !::GetClassNameA(target, className, sizeof(className))) return;

    options.OwnWindow = OwnMainWindow(m_hWnd);
    options.ClipboardOwner = m_hWnd;
    options.Encoding = m_dragEncoding;
    options.Clear = IsKeyDown(VK_CONTROL);
    if (ReadSetting(Profile::kRestoreClipboard)) options.Restore = &m_clipboardRestore;
    const DropResult result = DeliverEntry(target, screen, doc->m_rules.Find(className), options);
    if (result.Outcome == DropOutcome::Delivered || result.Outcome == DropOutcome::Nothing) return;
    ::MessageBeep(0xFFFFFFFF);
    const std::wstring notice = DropNoticeText(result);
    if (!notice.empty()) m_dropNotice.Show(m_hWnd, screen, DropNoticeTitle(), notice);
}
