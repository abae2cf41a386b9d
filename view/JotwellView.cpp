#include "view/JotwellView.h"

#include <windowsx.h>

#include "settings/ProfileAccess.h"
#include "document/JotwellDoc.h"
#include "framework/Dpi.h"
#include "framework/KeyState.h"
#include "res/resource.h"
#include "text/CodePageText.h"
#include "text/EncodingCodePage.h"
#include "view/Delivery.h"
#include "view/DropClipboard.h"
#include "view/LineBreaks.h"
#include "view/ModifyDlg.h"
#include "view/TextDropTarget.h"

IMPLEMENT_DYNCREATE(CJotwellView)

namespace {

// The text handed to the tooltip; it lives for the whole run.
std::wstring& TipBuffer() {
    static std::wstring* text = new std::wstring;
    return *text;
}

// The most the list's label editor holds (it asks for the text into MAX_PATH characters).
// Counted in bytes of the document's encoding, which are never fewer than the characters.
constexpr size_t kLabelEditMaxBytes = MAX_PATH - 1;

// The timer that gathers the notices of a changed file into one check.
constexpr UINT_PTR kFileCheckTimer = 1100;
constexpr UINT kFileCheckDelayMs = 30;
// A folder written more often than the delay still gets its check this often.
constexpr DWORD kFileCheckMaxWaitMs = 500;
constexpr UINT kFileRetryDelayMs = 200;  // the file was still held by its writer

// Posted by the drop target: the queued text is kept once the drop has returned.
constexpr UINT WM_JOTWELL_TEXT_DROPPED = WM_APP + 0x0361;

}  // namespace

CJotwellView::CJotwellView() {
    m_nDragLine = -1;
    m_bDragExplanation = FALSE;
    m_hDragCursor = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_DRAG));
    m_hOldCursor = nullptr;
    m_nTipLine = -1;
}

CJotwellView::~CJotwellView() {
    if (m_hListFont) ::DeleteObject(m_hListFont);
}

CJotwellDoc* CJotwellView::GetDocument() const { return static_cast<CJotwellDoc*>(m_pDocument); }

BOOL CJotwellView::PreCreateWindow(CREATESTRUCTA& cs) {
    // A single-selection report list with in-place editing (0x20D, without LVS_SMALLICON),
    // kept virtual (owner data).
    cs.style = (cs.style & ~LVS_SMALLICON) | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_EDITLABELS |
               LVS_OWNERDATA;
    return CListView::PreCreateWindow(cs);
}

int CJotwellView::OnCreate(CREATESTRUCTA* cs) {
    if (CListView::OnCreate(cs) == -1) return -1;
    SetDpi(WindowDpi(m_hWnd));
    if (m_ToolTip.Create(m_hWnd, TTS_ALWAYSTIP)) {
        m_ToolTip.AddWindowTool(m_hWnd);
        m_ToolTip.Activate(TRUE);
        m_ToolTip.SetDelayTime(TTDT_AUTOMATIC, 160);
    }
    // Text dragged in from other programs; fails without OLE on this thread (the
    // application initialises it), and the list then takes no OLE drop.
    *m_dropTarget.Receive() = new CTextDropTarget(this);
    m_bDropRegistered = SUCCEEDED(::RegisterDragDrop(m_hWnd, m_dropTarget.Get())) ? TRUE : FALSE;
    return 0;
}

IDropTarget* CJotwellView::GetDropTarget() const { return m_dropTarget.Get(); }

BOOL CJotwellView::AcceptsDroppedText() const {
    const CJotwellDoc* doc = GetDocument();
    return doc && !doc->IsReadOnly() && m_droppedText.empty();
}

BOOL CJotwellView::QueueDroppedText(POINT screen, const std::wstring& text) {
    if (text.empty() || !AcceptsDroppedText()) return FALSE;
    m_droppedText = text;
    m_nDropEntry = DropEntryAt(screen);
    m_nDropGeneration = GetDocument()->EditGeneration();
    return PostMessage(WM_JOTWELL_TEXT_DROPPED, 0, 0);
}

int CJotwellView::DropEntryAt(POINT screen) const {
    POINT client = screen;
    ::ScreenToClient(m_hWnd, &client);
    const int entry = EntryOfRow(RowAt(client));
    const CJotwellDoc* doc = GetDocument();
    return entry >= 0 || !doc ? entry : doc->GetEntryCount() - 1;
}

BOOL CJotwellView::DropText(POINT screen, const std::wstring& dropped) {
    const CJotwellDoc* doc = GetDocument();
    return doc && InsertDropped(DropEntryAt(screen), dropped, doc->EditGeneration());
}

BOOL CJotwellView::InsertDropped(int entry, const std::wstring& dropped, unsigned generation) {
    CJotwellDoc* doc = GetDocument();
    if (!doc || dropped.empty() || RefusesEdit()) return FALSE;
    const std::optional<std::wstring> text = CollapseLineBreaks(dropped);
    if (!text) {
        AfxMessageBox(IDS_DROP_BACKSLASH_N, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    CString bytes;
    const CWndAlive alive(this);
    if (!doc->EncodeTyped(*text, bytes) || !alive) return FALSE;
    return doc->InsertEntryText(entry, bytes, generation);
}

int CJotwellView::ColumnWidth(int column) const {
    const int shown = static_cast<int>(::SendMessageA(m_hWnd, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
    return UnscaleFromDpi(shown, m_nDpi);
}

void CJotwellView::SetDpi(UINT dpi) {
    if (dpi == 0 || dpi == m_nDpi) return;
    const int widths[2] = {ColumnWidth(0), ColumnWidth(1)};
    m_nDpi = dpi;
    for (int i = 0; i < 2; ++i)
        if (widths[i] > 0) ::SendMessageA(m_hWnd, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i), ScaleToDpi(widths[i], dpi));
    // The list's own font is the icon title font at the system's DPI: right until the
    // window moves to a monitor of another scaling.
    const UINT system = SystemDpi();
    if (dpi == system && !m_hListFont) return;
    LOGFONTW font = {};
    if (!::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(font), &font, 0)) return;
    font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(system));
    HFONT created = ::CreateFontIndirectW(&font);
    if (!created) return;
    ::SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(created), TRUE);
    if (m_hListFont) ::DeleteObject(m_hListFont);
    m_hListFont = created;
}

UINT CJotwellView::EntryCodePage() const {
    const CJotwellDoc* doc = GetDocument();
    return CodePageOf(doc ? doc->Encoding().Encoding : TextEncoding::Ansi);
}

void CJotwellView::OnInitialUpdate() {
    // Made again on every open, at the widths the user left them.
    int widths[2] = {ReadSetting(Profile::kTextColumnWidth), ReadSetting(Profile::kExplanationColumnWidth)};
    if (m_bColumnsReady)
        for (int i = 0; i < 2; ++i) widths[i] = ColumnWidth(i);
    while (::SendMessageA(m_hWnd, LVM_DELETECOLUMN, 0, 0)) {
    }
    ::SetWindowLongA(m_hWnd, GWL_STYLE, ::GetWindowLongA(m_hWnd, GWL_STYLE) | LVS_SHOWSELALWAYS);
    ::SendMessageA(m_hWnd, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    static const UINT headers[2] = {IDS_COLUMN_TEXT, IDS_COLUMN_EXPLANATION};
    for (int i = 0; i < 2; ++i) {
        CString header = AfxLoadString(headers[i]);
        header.push_back('\0');
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = ScaleToDpi(widths[i], m_nDpi);
        column.pszText = &header[0];
        column.iSubItem = i;
        if (::SendMessageA(m_hWnd, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column)) < 0)
            return;
    }
    m_bColumnsReady = TRUE;
    CListView::OnInitialUpdate();
}

BOOL CJotwellView::OnNotifyFormatReflect(LRESULT* result) {
    *result = NFR_UNICODE;
    return TRUE;
}

BOOL CJotwellView::OnNotifyReflect(NMHDR* nm, LRESULT* result) {
    switch (nm->code) {
    case LVN_GETDISPINFOW: {
        LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(nm)->item;
        const CJotwellDoc* doc = GetDocument();
        const int entry = EntryOfRow(item.iItem);
        if (doc && (item.mask & LVIF_TEXT) && entry >= 0) {
            const EntryList& entries = doc->Entries();
            // The list copies the text before it asks for another cell: one buffer serves all.
            m_cellText = ToWide(item.iSubItem == 0 ? entries.Text(entry) : entries.Explanation(entry), EntryCodePage());
            item.pszText = const_cast<wchar_t*>(m_cellText.c_str());
        }
        *result = 0;
        return TRUE;
    }
    case LVN_COLUMNCLICK:
        *result = 0;
        return TRUE;
    case LVN_BEGINDRAG:
        OnBeginDrag(reinterpret_cast<const NMLISTVIEW*>(nm));
        *result = 0;
        return TRUE;
    case NM_DBLCLK:
        if (IsKeyDown(VK_SHIFT)) OnModifyExplanation();
        else OnModifyText();
        *result = 0;
        return TRUE;
    case LVN_BEGINLABELEDITW: {
        // A Text longer than the label editor holds would come back cut: it is edited in
        // the Modify dialog instead, once this notification is over.
        const int entry = EntryOfRow(reinterpret_cast<NMLVDISPINFOW*>(nm)->item.iItem);
        const CJotwellDoc* doc = GetDocument();
        if (doc && doc->IsReadOnly()) {
            *result = TRUE;
            return TRUE;
        }
        const bool tooLong = doc && entry >= 0 && entry < doc->GetEntryCount() &&
                             doc->Entries().Text(entry).size() > kLabelEditMaxBytes;
        if (tooLong) {
            if (GetSelectedLine() != entry) SelectLine(entry);
            PostMessage(WM_COMMAND, ID_MODIFY_TEXT, 0);
        }
        if (doc) m_nLabelEditGeneration = doc->EditGeneration();
        *result = tooLong ? TRUE : FALSE;
        return TRUE;
    }
    case LVN_ENDLABELEDITW: {
        const LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(nm)->item;
        if (item.pszText && GetDocument())
            ApplyTyped(EntryOfRow(item.iItem), FALSE, item.pszText, m_nLabelEditGeneration);
        *result = 0;
        return TRUE;
    }
    default:
        return FALSE;
    }
}

BOOL CJotwellView::OnNotify(WPARAM, NMHDR* nm, LRESULT* result) {
    if (nm->code != TTN_GETDISPINFOW || !m_ToolTip.m_hWnd || nm->hwndFrom != m_ToolTip.m_hWnd) return FALSE;
    NMTTDISPINFOW* info = reinterpret_cast<NMTTDISPINFOW*>(nm);
    if (!(info->uFlags & TTF_IDISHWND)) return FALSE;
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    ::ScreenToClient(m_hWnd, &cursor);
    const int row = RowAt(cursor);
    std::wstring& buffer = TipBuffer();
    if (row < 0) {
        buffer.clear();
    } else {
        m_nTipLine = row;
        buffer = ToWide(TipText(EntryOfRow(row)), EntryCodePage());
    }
    info->lpszText = const_cast<wchar_t*>(buffer.c_str());
    info->hinst = nullptr;
    *result = 0;
    return TRUE;
}

CString CJotwellView::TipText(int row) const {
    const CJotwellDoc* doc = GetDocument();
    if (!doc || row < 0 || row >= doc->GetEntryCount()) return CString();
    const CString& explanation = doc->Entries().Explanation(row);
    return explanation.empty() ? CString("      ") : explanation;
}

BOOL CJotwellView::PreTranslateMessage(MSG* msg) {
    if (m_nDragLine == -1) m_ToolTip.RelayEvent(msg);
    if (msg->message == WM_CONTEXTMENU) return FALSE;
    // While the label editor is open its keys are its own (Ctrl+C copies its selection,
    // Insert inserts no entry): the frame's accelerators never see them.
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && ::SendMessageA(m_hWnd, LVM_GETEDITCONTROL, 0, 0)) {
        ::TranslateMessage(msg);
        ::DispatchMessageW(msg);
        return TRUE;
    }
    return CListView::PreTranslateMessage(msg);
}

void CJotwellView::OnMouseMove(POINT client) {
    const int row = RowAt(client);
    if (row >= 0) {
        if (m_nTipLine == -1) {
            m_ToolTip.Activate(TRUE);
        } else if (row != m_nTipLine) {
            m_nTipLine = -1;
            m_ToolTip.Activate(FALSE);
        }
    }
}

LRESULT CJotwellView::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_NOTIFYFORMAT:
        // The tooltip asks its tool window which form its TTN_GETDISPINFO takes.
        if (m_ToolTip.m_hWnd && reinterpret_cast<HWND>(wParam) == m_ToolTip.m_hWnd) return NFR_UNICODE;
        return Default();
    case kDpiChangedAfterParent:
        // From the system (per-monitor V2, no parameters) or the frame (with the new DPI).
        SetDpi(wParam ? static_cast<UINT>(wParam) : WindowDpi(m_hWnd));
        return 0;
    case WM_LBUTTONUP:
        OnDropRelease(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return Default();
    case WM_CHAR:
        if (wParam == 0x1B) OnCancelDrag();
        return Default();
    case WM_MOUSEMOVE:
        OnMouseMove(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return Default();
    case WM_KEYDOWN:
        OnKeyDown(static_cast<UINT>(wParam));
        return Default();
    case WM_CONTEXTMENU:
        OnContextMenu(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_JOTWELL_TEXT_DROPPED: {
        const std::wstring text = std::move(m_droppedText);
        m_droppedText.clear();
        InsertDropped(m_nDropEntry, text, m_nDropGeneration);
        return 0;
    }
    case WM_JOTWELL_FILE_CHANGED: {
        // A write comes as several notices: one check once they stop, or once they have
        // kept coming for kFileCheckMaxWaitMs (a folder written all the time).
        const DWORD now = ::GetTickCount();
        if (!m_bFileCheckWaiting) m_fileCheckAsked = now;
        m_bFileCheckWaiting = true;
        if (now - m_fileCheckAsked < kFileCheckMaxWaitMs) ::SetTimer(m_hWnd, kFileCheckTimer, kFileCheckDelayMs, nullptr);
        return 0;
    }
    case WM_TIMER:
        if (wParam != kFileCheckTimer) return Default();
        ::KillTimer(m_hWnd, kFileCheckTimer);
        m_bFileCheckWaiting = false;
        if (CJotwellDoc* doc = GetDocument())
            if (!doc->CheckFileOnDisk()) ::SetTimer(m_hWnd, kFileCheckTimer, kFileRetryDelayMs, nullptr);
        return 0;
    case WM_RBUTTONUP:
        return Default();
    default:
        return CListView::WindowProc(msg, wParam, lParam);
    }
}

void CJotwellView::OnKeyDown(UINT key) {
    if (key == VK_DELETE && !::SendMessageA(m_hWnd, LVM_GETEDITCONTROL, 0, 0)) OnDeleteLine();
}

void CJotwellView::OnContextMenu(POINT screen) {
    if (RowUnderCursor() == -1) return;
    HMENU menu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_POPUP_ENTRY));
    if (!menu) return;
    if (HMENU popup = ::GetSubMenu(menu, 0))
        ::TrackPopupMenu(popup, TPM_RIGHTBUTTON, screen.x, screen.y, 0, m_hWnd, nullptr);
    ::DestroyMenu(menu);
}

BOOL CJotwellView::OnCmdMsg(UINT id, CCmdUI* ui) {
    static const CommandEntry<CJotwellView> map[] = {
        {ID_EDIT_COPY, &CJotwellView::OnEditCopy, nullptr},
        {ID_INSERT_LINE, &CJotwellView::OnInsertLine, nullptr},
        {ID_MODIFY_TEXT, &CJotwellView::OnModifyText, nullptr},
        {ID_MODIFY_EXPLANATION, &CJotwellView::OnModifyExplanation, nullptr},
        {ID_DELETE_LINE, &CJotwellView::OnDeleteLine, nullptr},
    };
    if (DispatchCommand(this, map, id, ui)) return TRUE;
    // The web input and browser commands (32787, 32786, 32788) are the application's browser target's.
    return CListView::OnCmdMsg(id, ui);
}

BOOL CJotwellView::RefusesEdit() {
    const CJotwellDoc* doc = GetDocument();
    if (!doc || !doc->IsReadOnly()) return FALSE;
    AfxMessageBox(IDS_READ_ONLY_LIST, MB_OK | MB_ICONEXCLAMATION);
    return TRUE;
}

BOOL CJotwellView::RunModifyDialog(const CString& title, std::wstring& text) {
    // The dialog exchanges UTF-8, which holds whatever is typed; the document decides
    // what its code page can store.
    CModifyDlg dialog(this);
    dialog.m_strTitle = title;
    dialog.m_strText = FromWide(text, CP_UTF8);
    dialog.m_nCodePage = CP_UTF8;
    if (dialog.DoModal() != IDOK) return FALSE;
    text = ToWide(dialog.m_strText, CP_UTF8);
    return TRUE;
}

void CJotwellView::ApplyTyped(int entry, BOOL explanation, const std::wstring& typed, unsigned generation) {
    CJotwellDoc* doc = GetDocument();
    if (!doc || entry < 0) return;
    CString bytes;
    const CWndAlive alive(this);
    // The question about the code page runs a message loop: the edit checks the generation after it.
    if (!doc->EncodeTyped(typed, bytes) || !alive) return;
    if (explanation) doc->SetEntryExplanation(entry, bytes, generation);
    else doc->SetEntryText(entry, bytes, generation);
}

void CJotwellView::OnModifyText() {
    const int row = GetSelectedLine();
    if (row == -1 || RefusesEdit()) return;
    const unsigned generation = GetDocument()->EditGeneration();
    std::wstring text = ToWide(GetDocument()->Entries().Text(row), EntryCodePage());
    const CWndAlive alive(this);
    if (RunModifyDialog(AfxLoadString(IDS_MODIFY_TEXT), text) && alive) ApplyTyped(row, FALSE, text, generation);
}

void CJotwellView::OnModifyExplanation() {
    const int row = GetSelectedLine();
    if (row == -1 || RefusesEdit()) return;
    const unsigned generation = GetDocument()->EditGeneration();
    std::wstring text = ToWide(GetDocument()->Entries().Explanation(row), EntryCodePage());
    const CWndAlive alive(this);
    if (RunModifyDialog(AfxLoadString(IDS_MODIFY_EXPLANATION), text) && alive) ApplyTyped(row, TRUE, text, generation);
}

void CJotwellView::OnInsertLine() {
    const int row = GetSelectedLine();
    if (row == -1 || RefusesEdit()) return;
    GetDocument()->InsertEntry(row, GetDocument()->EditGeneration());
}

CString CJotwellView::DeleteConfirmText(int row) const {
    const CJotwellDoc* doc = GetDocument();
    if (!doc || row < 0 || row >= doc->GetEntryCount()) return CString();
    // The question is put together in the entries' encoding (the resource text is ANSI).
    CString question = AfxLoadString(IDS_DELETE_CONFIRM);
    if (EntryCodePage() != CP_ACP) question = FromWide(ToWide(question, CP_ACP), EntryCodePage());
    return question + "\n\n [ " + doc->Entries().Text(row) + " ]\n\n ( " + doc->Entries().Explanation(row) + " )";
}

int CJotwellView::AskDeleteConfirm(const CString& text) {
    return AfxMessageBox(text, MB_OKCANCEL, EntryCodePage());
}

void CJotwellView::OnDeleteLine() {
    if (::SendMessageA(m_hWnd, LVM_GETEDITCONTROL, 0, 0)) return;
    CJotwellDoc* doc = GetDocument();
    const int row = GetSelectedLine();
    if (row == -1 || row == doc->GetEntryCount() - 1 || RefusesEdit()) return;
    const unsigned generation = doc->EditGeneration();
    const CWndAlive alive(this);
    // The file may be read again while the question is open: the generation tells.
    if (AskDeleteConfirm(DeleteConfirmText(row)) != IDOK || !alive) return;
    doc->DeleteEntry(row, generation);
}

void CJotwellView::OnEditCopy() {
    const int row = GetSelectedLine();
    if (row != -1) CopyEntryToClipboard(row, IsKeyDown(VK_SHIFT) ? TRUE : FALSE);
}

void CJotwellView::CopyEntryToClipboard(int entry, BOOL explanation) {
    const CJotwellDoc* doc = GetDocument();
    if (entry == -1 || !doc || entry < 0 || entry >= doc->GetEntryCount()) return;
    const CString& text = explanation ? doc->Entries().Explanation(entry) : doc->Entries().Text(entry);
    PutTextOnClipboard(m_hWnd, text, doc->Encoding().Encoding);
}

void CJotwellView::OnDestroy() {
    const int w0 = ColumnWidth(0);
    const int w1 = ColumnWidth(1);
    if (m_bDropRegistered) ::RevokeDragDrop(m_hWnd);
    m_bDropRegistered = FALSE;
    if (m_dropTarget) m_dropTarget->Detach();
    m_dropTarget.Reset();
    Default();
    m_ToolTip.Destroy();
    // Only the program's own list keeps its widths (a test's has no application).
    if (!m_bColumnsReady || !AfxGetApp()) return;
    WriteSetting(Profile::kTextColumnWidth, w0);
    WriteSetting(Profile::kExplanationColumnWidth, w1);
}
