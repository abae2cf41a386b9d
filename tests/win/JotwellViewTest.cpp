// The entry list view against a real (virtual) list control, without an application
// object: hints and the selection after insert and delete, the delete question, the drag
// start on an unselected row, entries of a UTF-8 or ANSI document shown and edited through the
// list, its tooltip, the label editor and the Modify dialog, and a list beyond 65,535 entries.
#include "document/JotwellDoc.h"
#include "framework/Document.h"
#include "framework/Dpi.h"
#include "framework/FrameWnd.h"
#include "framework/Handles.h"
#include "res/resource.h"
#include "text/CodePageText.h"
#include "view/JotwellView.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include "tests/win/MessageLog.h"

#include <cstdlib>
#include <functional>
#include <string>
#include <utility>

namespace {

class TestView : public CJotwellView {
public:
    int m_asked = 0;
    CString m_lastQuestion;
    CString m_dialogText;  // what the "dialog" returns on OK
    int m_dialogs = 0;
    CString m_dialogGot;   // the text the "dialog" was opened with
    bool m_realDialog = false;  // the real dialog opens instead, for FakeDialogUser
    std::function<void()> m_whileAsked;  // runs once while the Delete question is open
    using CJotwellView::ColumnWidth;
    using CJotwellView::m_nDpi;
protected:
    int AskDeleteConfirm(const CString& text) override {
        ++m_asked;
        m_lastQuestion = text;
        if (m_whileAsked) std::exchange(m_whileAsked, nullptr)();
        return IDOK;
    }
    BOOL RunModifyDialog(const CString& title, std::wstring& text) override {
        if (m_realDialog) return CJotwellView::RunModifyDialog(title, text);
        ++m_dialogs;
        m_dialogGot = FromWide(text, EntryCodePage());
        text = ToWide(m_dialogText, EntryCodePage());
        return TRUE;
    }
};

// The view's frame, with the main frame's accelerators when a test loads them; it notes
// the commands it gets. It is a member of the test, not deleted with its window.
class Host : public CFrameWnd {
public:
    std::vector<UINT> m_commands;
    std::vector<std::string> m_droppedFiles;  // the first file of each WM_DROPFILES
    void SetView(CView* view) { m_pView = view; }

protected:
    void PostNcDestroy() override {}
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_COMMAND && HIWORD(wParam) == 1) m_commands.push_back(LOWORD(wParam));  // an accelerator
        if (msg == WM_DROPFILES) {
            char path[MAX_PATH] = {};
            DragQueryFileA(reinterpret_cast<HDROP>(wParam), 0, path, MAX_PATH);
            DragFinish(reinterpret_cast<HDROP>(wParam));
            m_droppedFiles.push_back(path);
            return 0;
        }
        return CFrameWnd::WindowProc(msg, wParam, lParam);
    }
};

// Answers the framework's message boxes in place of a person: each box takes the next
// answer (IDNO once they run out) and is noted.
// While a box is open, `g_whileAsked` (when set) runs once: another program at work meanwhile.
std::vector<int> g_answers;
std::vector<CString> g_boxes;
std::function<void()> g_whileAsked;
int AnswerBox(const CString& text, UINT) {
    g_boxes.push_back(text);
    if (g_whileAsked) std::exchange(g_whileAsked, nullptr)();
    if (g_answers.empty()) return IDNO;
    const int answer = g_answers.front();
    g_answers.erase(g_answers.begin());
    return answer;
}

// Hands a message over as the application's loop does: each window from the target up
// may take it in PreTranslateMessage, else it is translated and dispatched.
void Deliver(MSG msg) {
    for (HWND h = msg.hwnd; h; h = GetParent(h))
        if (CWnd* wnd = CWnd::FromHandlePermanent(h))
            if (wnd->PreTranslateMessage(&msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

// Entries in several scripts, as a UTF-8 file holds them and as the window shows them.
const std::pair<const char*, const wchar_t*> kWritten[] = {
    {u8"\U0001F600 smile \U0001F44D", L"\U0001F600 smile \U0001F44D"},
    {u8"\u039A\u03B1\u03BB\u03B7\u03BC\u03AD\u03C1\u03B1", L"\u039A\u03B1\u03BB\u03B7\u03BC\u03AD\u03C1\u03B1"},
    {u8"\u041F\u0440\u0438\u0432\u0435\u0442", L"\u041F\u0440\u0438\u0432\u0435\u0442"},
    {u8"cr\u00E8me br\u00FBl\u00E9e, \u0141\u00F3d\u017A", L"cr\u00E8me br\u00FBl\u00E9e, \u0141\u00F3d\u017A"},
    {u8"\u65E5\u672C\u8A9E\u306E\u6587", L"\u65E5\u672C\u8A9E\u306E\u6587"},
};
constexpr int kRows = static_cast<int>(sizeof(kWritten) / sizeof(kWritten[0]));

std::wstring WindowTextW(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, &text[0], static_cast<int>(text.size()))));
    return text;
}

// Stands in for the user of the Modify dialog once it is open: notes what its edit control
// shows, types g_typed over it and presses OK.
std::wstring g_typed, g_shown;
void CALLBACK FakeDialogUser(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND edit = GetDlgItem(GetActiveWindow(), IDC_MODIFY_TEXT);
    if (!edit) return;
    KillTimer(nullptr, timer);
    g_shown = WindowTextW(edit);
    SetWindowTextW(edit, g_typed.c_str());
    PostMessageW(GetParent(edit), WM_COMMAND, IDOK, 0);
}

// A file in the temporary folder; its name holds letters of no single code page.
std::wstring TempPath(const wchar_t* name) {
    wchar_t dir[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + L"\u017b\u00f3\u0142w \u6771\u4eac " + name;
}

// The clipboard's text in `format`: CF_TEXT bytes or CF_UNICODETEXT units.
template <typename Char>
std::basic_string<Char> ClipboardText(UINT format) {
    ClipboardSession clipboard(nullptr);
    GlobalLockGuard lock(clipboard.IsOpen() ? GetClipboardData(format) : nullptr);
    return lock ? static_cast<const Char*>(lock.Get()) : std::basic_string<Char>();
}

std::string FileBytes(const std::wstring& path) {
    std::string bytes;
    AfxReadWholeFile(path.c_str(), bytes);
    return bytes;
}

class JotwellViewTest : public testing::Test {
protected:
    void SetUp() override {
        m_doc = new CJotwellDoc;
        ASSERT_TRUE(m_host.CreateEx(0, nullptr, "view host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 400, 300,
                                    nullptr, nullptr));
        m_view = new TestView;
        m_doc->AddView(m_view);
        ASSERT_TRUE(m_view->Create(&m_host, AFX_IDW_PANE_FIRST));
        m_view->SetWindowPos(nullptr, 0, 0, 380, 260, SWP_NOZORDER);
        m_path = TempPath(L"jotwell-view-test.txt");
        g_answers.clear();
        g_boxes.clear();
        g_whileAsked = nullptr;
        AfxSetMessageBoxHook(&AnswerBox);
    }
    void TearDown() override {
        AfxSetMessageBoxHook(nullptr);
        m_host.DestroyWindow();  // the view deletes itself
        delete m_doc;
        DeleteFileW(m_path.c_str());
    }
    void Open(const std::string& bytes) {
        ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), AfxWriteFileSafely(m_path.c_str(), bytes));
        ASSERT_TRUE(m_doc->OnOpenDocument(m_path.c_str()));
        m_doc->SetPathName(m_path.c_str(), FALSE);
        m_view->OnInitialUpdate();
    }
    std::wstring CellW(int row, int column) {
        wchar_t text[256] = {};
        LVITEMW item = {};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = 256;
        SendMessageW(m_view->m_hWnd, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        return text;
    }
    // Points at the row as a user does; gives the text the tooltip then shows.
    std::wstring TipShown(int row) {
        RECT cell = {LVIR_LABEL, 0, 0, 0};
        m_view->SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
        MSG move = {m_view->m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(cell.left + 4, cell.top + 4), 0, {cell.left + 4, cell.top + 4}};
        ClientToScreen(m_view->m_hWnd, &move.pt);
        SetCursorPos(move.pt.x, move.pt.y);
        for (int i = 0; i < 2; ++i) {  // the first move onto another row hides the last tip
            m_view->SendMessage(WM_MOUSEMOVE, 0, move.lParam);
            m_view->PreTranslateMessage(&move);
        }
        PumpUntil([&] { return IsWindowVisible(m_view->m_ToolTip.m_hWnd) != FALSE; }, 2000);
        return WindowTextW(m_view->m_ToolTip.m_hWnd);
    }
    // Types over a row's Text in the label editor or the Modify dialog; gives what it showed.
    std::wstring Edit(int row, const std::wstring& typed, bool inDialog) {
        m_view->SelectLine(row);
        g_typed = typed;
        g_shown = L"(no editor)";
        if (inDialog) {
            m_view->m_realDialog = true;
            SetTimer(nullptr, 0, 50, &FakeDialogUser);
            m_view->OnModifyText();
            m_view->m_realDialog = false;
        } else if (HWND edit = reinterpret_cast<HWND>(m_view->SendMessage(LVM_EDITLABELW, row, 0))) {
            g_shown = WindowTextW(edit);
            SetWindowTextW(edit, typed.c_str());
            SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
        }
        return g_shown;
    }
    CString Cell(int row, int column) {
        char text[256] = {};
        LVITEMA item = {};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = sizeof(text);
        m_view->SendMessage(LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        return text;
    }

    Host m_host;
    CJotwellDoc* m_doc = nullptr;
    TestView* m_view = nullptr;
    std::wstring m_path;
};

TEST_F(JotwellViewTest, RowsAreTheEntriesPlaceholderIncluded) {
    Open("a\\tA\r\nb\\tB");
    EXPECT_EQ(3, m_view->GetRowCount());
    EXPECT_EQ("a", Cell(0, 0));
    EXPECT_EQ("B", Cell(1, 1));
    EXPECT_EQ("", Cell(2, 0));
    EXPECT_NE(0, GetWindowLongA(m_view->m_hWnd, GWL_STYLE) & LVS_OWNERDATA);
}

// How rows and marks move is RowMap's (native tests); here the view's wiring: the edit reaches
// the file and the selection follows the map.
TEST_F(JotwellViewTest, InsertAndDeleteWriteTheFileAndTheSelectionFollows) {
    Open("r0\r\nr1\r\nr2\r\nr3\r\nr4");
    m_view->SelectLine(2);
    m_view->OnDeleteLine();
    EXPECT_EQ(1, m_view->m_asked);
    EXPECT_EQ("r3", Cell(2, 0));
    EXPECT_EQ(2, m_view->GetSelectedLine());
    EXPECT_EQ("r0\r\nr1\r\nr3\r\nr4", FileBytes(m_path));
    EXPECT_FALSE(m_doc->IsModified());
    m_view->SelectLine(0);
    m_view->OnInsertLine();
    EXPECT_EQ("", Cell(0, 0));
    EXPECT_EQ(1, m_view->GetSelectedLine());
    EXPECT_EQ("\r\nr0\r\nr1\r\nr3\r\nr4", FileBytes(m_path));
}

TEST_F(JotwellViewTest, PlaceholderIsNeitherDeletedNorAskedAbout) {
    Open("r0");
    m_view->SelectLine(1);
    m_view->OnDeleteLine();
    EXPECT_EQ(0, m_view->m_asked);
    EXPECT_EQ(2, m_view->GetRowCount());
}

TEST_F(JotwellViewTest, ModifyTextOnThePlaceholderAppendsARow) {
    Open("r0");
    m_view->SelectLine(1);
    m_view->m_dialogText = "new";
    m_view->OnModifyText();
    EXPECT_EQ(3, m_view->GetRowCount());
    EXPECT_EQ(1, m_view->GetSelectedLine());
    EXPECT_EQ("r0\r\nnew", FileBytes(m_path));
}

TEST_F(JotwellViewTest, ModifyExplanationWithNothingTypedOnThePlaceholderAddsNothing) {
    Open("r0");
    m_view->SelectLine(1);
    m_view->m_dialogText = "";
    m_view->OnModifyExplanation();
    EXPECT_EQ(1, m_view->m_dialogs);
    EXPECT_EQ(2, m_view->GetRowCount());
    EXPECT_EQ("r0", FileBytes(m_path));
    m_view->m_dialogText = "note";
    m_view->OnModifyExplanation();
    EXPECT_EQ(3, m_view->GetRowCount());
    EXPECT_EQ("r0\r\n\\tnote", FileBytes(m_path));
}

TEST_F(JotwellViewTest, FrameAcceleratorsWaitWhileTheLabelEditorIsOpen) {
    Open("r0\r\nr1");
    m_host.m_hAccelTable = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_NE(nullptr, m_host.m_hAccelTable);
    m_view->SelectLine(0);
    HWND edit = reinterpret_cast<HWND>(m_view->SendMessage(LVM_EDITLABELW, 0, 0));
    ASSERT_NE(nullptr, edit);
    SetWindowTextW(edit, L"abc");
    SendMessageW(edit, EM_SETSEL, 0, 2);
    {
        ClipboardSession clipboard(nullptr);
        EmptyClipboard();
    }
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    const struct {
        UINT key;
        bool control;
    } kPresses[] = {{VK_INSERT, false}, {VK_F2, false}, {VK_F4, false}, {VK_F5, false},
                    {'N', true},        {'O', true},   {'S', true},   {'C', true}};
    for (const auto& press : kPresses) {
        keys[VK_CONTROL] = press.control ? 0x80 : 0;
        SetKeyboardState(keys);
        const UINT scan = MapVirtualKeyW(press.key, MAPVK_VK_TO_VSC);
        Deliver(MSG{edit, WM_KEYDOWN, press.key, static_cast<LPARAM>(1 | (scan << 16)), 0, {}});
        PumpMessages(20);
        Deliver(MSG{edit, WM_KEYUP, press.key, static_cast<LPARAM>(1 | (scan << 16) | 0xC0000000u), 0, {}});
        PumpMessages(20);
    }
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_TRUE(m_host.m_commands.empty()) << "first command: " << (m_host.m_commands.empty() ? 0 : m_host.m_commands[0]);
    EXPECT_EQ(L"ab", ClipboardText<wchar_t>(CF_UNICODETEXT));
    SendMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(3, m_view->GetRowCount());
    EXPECT_EQ("r0\r\nr1", FileBytes(m_path));
}

TEST_F(JotwellViewTest, FailedSaveLeavesTheDocumentModifiedAndCloseAsks) {
    Open("r0\r\nr1");
    m_host.SetView(m_view);
    {
        // Another program holds the file without sharing: the save after the edit fails.
        UniqueHandle holder(CreateFileW(m_path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
        m_view->SelectLine(0);
        m_view->m_dialogText = "changed";
        m_view->OnModifyText();
    }
    EXPECT_EQ("r0\r\nr1", FileBytes(m_path));
    EXPECT_TRUE(m_doc->IsModified());
    ASSERT_EQ(1u, g_boxes.size()) << "the failed save is reported";
    // Closing asks; Cancel keeps the window and the edit.
    g_answers = {IDCANCEL};
    m_host.SendMessage(WM_CLOSE, 0, 0);
    ASSERT_EQ(2u, g_boxes.size());
    EXPECT_EQ(AfxFormatPath(AFX_IDP_ASK_TO_SAVE, m_doc->GetPathName()), g_boxes[1]);
    EXPECT_TRUE(IsWindow(m_host.m_hWnd));
    EXPECT_EQ("changed", m_doc->Entries().Text(0));
    // Yes saves, now that the file is free.
    g_answers = {IDYES};
    EXPECT_TRUE(m_doc->SaveModified());
    EXPECT_EQ("changed\r\nr1", FileBytes(m_path));
    EXPECT_FALSE(m_doc->IsModified());
}

// Characters the list's code page cannot store: the user keeps the list as UTF-8 from now on,
// or the edit is not made. Never a "?" or a look-alike in the file.
TEST_F(JotwellViewTest, TypedCharactersOutsideTheCodePageAskForUtf8) {
    const std::wstring typed = L"\u6771\u4EAC \u0141\u00F3d\u017A";  // Tokyo, Lodz
    const char* const utf8 = u8"\u6771\u4EAC \u0141\u00F3d\u017A";
    for (const bool inDialog : {false, true}) {
        SCOPED_TRACE(inDialog ? "Modify dialog" : "label editor");
        Open("plain\r\nascii\\tnote");
        g_boxes.clear();
        g_answers = {IDNO};
        Edit(0, typed, inDialog);
        PumpMessages(50);
        EXPECT_EQ(1u, g_boxes.size());
        EXPECT_EQ("plain", m_doc->Entries().Text(0));
        EXPECT_EQ("plain\r\nascii\\tnote", FileBytes(m_path));
        EXPECT_EQ(TextEncoding::Ansi, m_doc->Encoding().Encoding);

        g_boxes.clear();
        g_answers = {IDYES};
        Edit(0, typed, inDialog);
        PumpMessages(50);
        EXPECT_EQ(1u, g_boxes.size());
        EXPECT_EQ(TextEncoding::Utf8, m_doc->Encoding().Encoding);
        EXPECT_EQ(std::string(utf8) + "\r\nascii\\tnote", FileBytes(m_path));
        EXPECT_EQ(typed, CellW(0, 0));
    }
    // A list with bytes beyond ASCII is converted from its code page.
    const bool japanese = GetACP() == 932;
    const std::string ansi = japanese ? "\x93\xFA\x96\x7B \xB6" : "caf\xE9 \x80";
    const char* const converted = japanese ? u8"\u65E5\u672C \uFF76" : u8"caf\u00E9 \u20AC";
    Open(ansi + "\\t" + ansi + "\r\nplain");
    g_answers = {IDYES};
    Edit(1, L"\U0001F600", true);
    EXPECT_EQ(std::string(converted) + "\\t" + converted + "\r\n\xF0\x9F\x98\x80", FileBytes(m_path));
}

// Another program writes the file as an editor does, in place.
void WriteInPlace(const std::wstring& path, const std::string& bytes) {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
}

TEST_F(JotwellViewTest, TheFileOnDiskWins) {
    Open("r0\r\nr1\r\nr2");
    m_view->SelectLine(1);
    // Written by another program: the rows show it within a second, the selection stays on r1.
    WriteInPlace(m_path, "new\r\nr0\r\nr1\r\nr2");
    EXPECT_TRUE(PumpUntil([&] { return m_view->GetRowCount() == 5; }, 1000));
    EXPECT_EQ("new", Cell(0, 0));
    EXPECT_EQ(2, m_view->GetSelectedLine());
    EXPECT_TRUE(g_boxes.empty());

    // An edit on a file that changed since it was read: read again first, the edit not made,
    // the user told; the file keeps the other program's line.
    WriteInPlace(m_path, "other\r\nnew\r\nr0\r\nr1\r\nr2");
    m_view->OnInsertLine();
    ASSERT_EQ(1u, g_boxes.size());
    EXPECT_EQ(AfxFormatPath(IDS_FILE_CHANGED_RELOADED, m_doc->GetPathName()), g_boxes[0]);
    EXPECT_EQ("other\r\nnew\r\nr0\r\nr1\r\nr2", FileBytes(m_path));
    EXPECT_EQ(6, m_view->GetRowCount());
    EXPECT_EQ(3, m_view->GetSelectedLine());
    // Repeated, it is made.
    m_view->OnInsertLine();
    EXPECT_EQ("other\r\nnew\r\nr0\r\n\r\nr1\r\nr2", FileBytes(m_path));

    // Holding an edit it could not save, Jotwell asks which to keep: No reads the file again.
    {
        UniqueHandle holder(CreateFileW(m_path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        m_view->SelectLine(0);
        m_view->m_dialogText = "mine";
        m_view->OnModifyText();
    }
    ASSERT_TRUE(m_doc->IsModified());
    g_boxes.clear();
    g_answers = {IDNO};
    WriteInPlace(m_path, "theirs");
    EXPECT_TRUE(PumpUntil([&] { return m_view->GetRowCount() == 2; }, 1000));
    ASSERT_EQ(1u, g_boxes.size());
    EXPECT_EQ(AfxFormatPath(IDS_FILE_CHANGED_KEEP_WHICH, m_doc->GetPathName()), g_boxes[0]);
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_EQ("theirs", FileBytes(m_path));
    // Yes keeps Jotwell's list and saves it over the file.
    {
        UniqueHandle holder(CreateFileW(m_path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        m_view->SelectLine(0);
        m_view->m_dialogText = "mine";
        m_view->OnModifyText();
    }
    g_answers = {IDYES};
    WriteInPlace(m_path, "theirs again");
    EXPECT_TRUE(PumpUntil([&] { return FileBytes(m_path) == "mine"; }, 1000));
    EXPECT_FALSE(m_doc->IsModified());

    // A file deleted while open is not written again without a name being asked for.
    DeleteFileW(m_path.c_str());
    PumpMessages(200);
    EXPECT_EQ("mine", Cell(0, 0));
}

TEST_F(JotwellViewTest, AnEditBegunBeforeTheFileWasReadAgainIsNotApplied) {
    Open("r0\r\nr1");
    m_view->SelectLine(0);
    HWND edit = reinterpret_cast<HWND>(m_view->SendMessage(LVM_EDITLABELW, 0, 0));
    ASSERT_NE(nullptr, edit);
    SetWindowTextW(edit, L"typed");
    WriteInPlace(m_path, "other\r\nr0\r\nr1");
    EXPECT_TRUE(PumpUntil([&] { return m_view->GetRowCount() == 4; }, 1000));
    if (IsWindow(edit)) SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    PumpMessages(50);
    EXPECT_EQ("other\r\nr0\r\nr1", FileBytes(m_path));
    EXPECT_EQ("other", m_doc->Entries().Text(0));
}

// Each edit takes its generation when it starts and is refused when the file was read again
// while its question was open: the typed text never lands on the entry that now has its number.
TEST_F(JotwellViewTest, AnEditWhoseQuestionOutlivedAReloadIsNotApplied) {
    for (const bool inDialog : {false, true}) {
        SCOPED_TRACE(inDialog ? "Modify dialog" : "label editor");
        Open("r0\r\nr1");
        g_boxes.clear();
        g_answers = {IDYES, IDOK};
        g_whileAsked = [&] {
            WriteInPlace(m_path, "above\r\nr0\r\nr1");
            PumpUntil([&] { return m_view->GetRowCount() == 4; }, 1000);
        };
        Edit(1, L"\u0141\u00F3d\u017A", inDialog);  // outside 1252 and 932: the UTF-8 question
        PumpMessages(50);
        EXPECT_EQ("above\r\nr0\r\nr1", FileBytes(m_path));
        ASSERT_EQ(2u, g_boxes.size());
        EXPECT_EQ(AfxFormatPath(IDS_FILE_CHANGED_RELOADED, m_doc->GetPathName()), g_boxes[1]);
    }
    // The Delete question.
    Open("r0\r\nr1");
    m_view->SelectLine(1);
    m_view->m_whileAsked = [&] {
        WriteInPlace(m_path, "above\r\nr0\r\nr1");
        PumpUntil([&] { return m_view->GetRowCount() == 4; }, 1000);
    };
    g_boxes.clear();
    m_view->OnDeleteLine();
    EXPECT_EQ("above\r\nr0\r\nr1", FileBytes(m_path));
    EXPECT_EQ(1u, g_boxes.size());
}

// A file changed but still held by its writer when an edit begins: the edit waits, and the
// user is told the file could not be read, not that it was.
TEST_F(JotwellViewTest, AnEditOnAFileThatCannotBeReadYetSaysSo) {
    Open("r0");
    WriteInPlace(m_path, "r0\r\nr1");
    UniqueHandle writer(CreateFileW(m_path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(writer);
    m_view->SelectLine(0);
    m_view->OnInsertLine();
    writer.Reset();
    ASSERT_EQ(1u, g_boxes.size());
    EXPECT_EQ(AfxFormatPath(IDS_FILE_CHANGED_UNREADABLE, m_doc->GetPathName()), g_boxes[0]);
    EXPECT_EQ("r0\r\nr1", FileBytes(m_path));
}

// A folder written more often than the check's delay still gets its check.
TEST_F(JotwellViewTest, AFolderWrittenAllTheTimeStillGetsItsCheck) {
    Open("r0");
    WriteInPlace(m_path, "r0\r\nr1");
    const DWORD start = GetTickCount();
    bool shown = false;
    while (!shown && GetTickCount() - start < 2000) {
        m_view->PostMessage(WM_JOTWELL_FILE_CHANGED, 0, 0);
        PumpMessages(10);
        shown = m_view->GetRowCount() == 3;
    }
    EXPECT_TRUE(shown);
}

// A drag delivers the entry it started on, even when the list is read again before the
// release and another entry then has its number.
TEST_F(JotwellViewTest, ADragDeliversTheEntryItStartedOn) {
    ScopedWindow target(CreateWindowExA(0, "Edit", "", WS_POPUP | WS_VISIBLE | WS_BORDER, 500, 400, 200, 40, nullptr,
                                        nullptr, GetModuleHandleA(nullptr), nullptr));
    ASSERT_NE(nullptr, target.Get());
    Open("r0\r\nr1");
    m_view->SelectLine(1);
    NMLISTVIEW nm = {};
    nm.hdr.hwndFrom = m_view->m_hWnd;
    nm.hdr.code = LVN_BEGINDRAG;
    nm.iItem = 1;
    LRESULT result = -1;
    m_view->OnNotifyReflect(&nm.hdr, &result);
    ASSERT_EQ(1, m_view->m_nDragLine);
    WriteInPlace(m_path, "above\r\nr0\r\nr1");
    ASSERT_TRUE(PumpUntil([&] { return m_view->GetRowCount() == 4; }, 1000));
    POINT release = {520, 410};
    ScreenToClient(m_view->m_hWnd, &release);
    m_view->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(release.x, release.y));
    EXPECT_TRUE(PumpUntil([&] { return WindowTextW(target.Get()) == L"r1"; }, 2000)) << WindowTextW(target.Get()).size();
}

TEST_F(JotwellViewTest, ActivatingTheFrameChecksTheFile) {
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), AfxWriteFileSafely(m_path.c_str(), "r0"));
    ASSERT_TRUE(m_doc->OnOpenDocument(m_path.c_str()));
    m_doc->CDocument::SetPathName(m_path.c_str(), FALSE);  // no watcher of the folder
    m_view->OnInitialUpdate();
    m_host.SetView(m_view);
    WriteInPlace(m_path, "r0\r\nr1");
    PumpMessages(300);
    ASSERT_EQ(2, m_view->GetRowCount());
    m_host.SendMessage(WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_TRUE(PumpUntil([&] { return m_view->GetRowCount() == 3; }, 1000));
}

TEST_F(JotwellViewTest, DeleteQuestionText) {
    Open("the text\\tthe explanation");
    // The question comes from the string table of the user's language (Japanese in Shift-JIS).
    const std::string question = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE
        ? "\x82\xB1\x82\xCC\x8D\x73\x82\xF0\x8D\xED\x8F\x9C\x82\xB5\x82\xC4\x82\xE0\x82\xE6\x82\xEB\x82\xB5"
          "\x82\xA2\x82\xC5\x82\xB7\x82\xA9\x81\x48"
        : "Delete This Line?";
    EXPECT_EQ(question + "\n\n [ the text ]\n\n ( the explanation )", m_view->DeleteConfirmText(0));
    EXPECT_EQ("      ", m_view->TipText(1));
    EXPECT_EQ("the explanation", m_view->TipText(0));
    // A UTF-8 document's question is all UTF-8: the resource text converted, the entry as it is.
    Open("\xCE\xB1\\t\xF0\x9F\x98\x80");
    EXPECT_EQ(FromWide(ToWide(question, CP_ACP), CP_UTF8) + "\n\n [ \xCE\xB1 ]\n\n ( \xF0\x9F\x98\x80 )",
              m_view->DeleteConfirmText(0));
}

TEST_F(JotwellViewTest, InPlaceEditingNeverCutsAnEntry) {
    std::string longText;
    while (longText.size() < 300) longText += "0123456789";
    Open(longText + "\r\nshort");
    const std::string bytes = FileBytes(m_path);

    // A Text that fits opens the label editor whole; Enter on it unchanged writes nothing.
    m_view->SelectLine(1);
    HWND edit = reinterpret_cast<HWND>(m_view->SendMessage(LVM_EDITLABELA, 1, 0));
    ASSERT_NE(nullptr, edit);
    char got[16] = {};
    GetWindowTextA(edit, got, sizeof(got));
    EXPECT_STREQ("short", got);
    SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    PumpMessages(100);
    EXPECT_EQ(0, m_view->m_dialogs);

    // A longer Text gets no label editor: the Modify dialog opens with all of it.
    m_view->SelectLine(0);
    m_view->m_dialogText = longText;
    edit = reinterpret_cast<HWND>(m_view->SendMessage(LVM_EDITLABELA, 0, 0));
    if (edit) SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(nullptr, edit);
    EXPECT_TRUE(PumpUntil([&] { return m_view->m_dialogs == 1; }, 2000));
    EXPECT_EQ(longText, m_view->m_dialogGot);
    EXPECT_EQ(bytes, FileBytes(m_path));
    EXPECT_EQ(longText, m_doc->Entries().Text(0));
}

TEST_F(JotwellViewTest, Utf8EntriesShowAndAreEditedWithEveryCharacter) {
    // Row i: kWritten[i] and the next one as its Explanation.
    std::string bytes;
    for (int i = 0; i < kRows; ++i)
        bytes += std::string(i ? "\r\n" : "") + kWritten[i].first + "\\t" + kWritten[(i + 1) % kRows].first;
    Open(bytes);
    ASSERT_EQ(TextEncoding::Utf8, m_doc->Encoding().Encoding);
    for (int i = 0; i < kRows; ++i) {
        SCOPED_TRACE(i);
        const auto& next = kWritten[(i + 1) % kRows];
        EXPECT_EQ(kWritten[i].second, CellW(i, 0));
        EXPECT_EQ(next.second, CellW(i, 1));
        EXPECT_EQ(next.second, TipShown(i));
        EXPECT_EQ(kWritten[i].second, Edit(i, std::wstring(next.second) + L"\U0001F4DD", i % 2 == 1));
        EXPECT_EQ(std::string(next.first) + u8"\U0001F4DD", m_doc->Entries().Text(i));
    }
    EXPECT_NE(std::string::npos, FileBytes(m_path).find(m_doc->Entries().Text(kRows - 1)));
}

TEST_F(JotwellViewTest, AnsiEntriesShowAndAreEditedAsBefore) {
    const bool japanese = GetACP() == 932;  // else 1252
    const std::string bytes = japanese ? "\x93\xFA\x96\x7B\x8C\xEA \xB6\xC5" : "caf\xE9 \x80 \xFC";
    const std::wstring wide = japanese ? L"\u65E5\u672C\u8A9E \uFF76\uFF85" : L"caf\u00E9 \u20AC \u00FC";
    Open(bytes + "\\t" + bytes + "\r\nplain");
    EXPECT_EQ(wide, CellW(0, 0));
    EXPECT_EQ(bytes, Cell(0, 1));
    EXPECT_EQ(wide, TipShown(0));
    EXPECT_EQ(L"      ", TipShown(1));
    EXPECT_EQ(wide, Edit(0, wide + L"!", false));
    EXPECT_EQ(bytes + "!", m_doc->Entries().Text(0));
    // A character outside the code page is never stored as "?": declined, the entry stays.
    EXPECT_EQ(L"plain", Edit(1, wide + L"\U0001F600", true));
    EXPECT_EQ("plain", m_doc->Entries().Text(1));
}

// UTF-16 LE with its mark, as Notepad's "Unicode" writes it.
std::string Utf16Le(const std::wstring& text) {
    std::string bytes = "\xFF\xFE";
    for (const wchar_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

TEST_F(JotwellViewTest, Utf16ListShowsCopiesAndEditsEveryCharacter) {
    Open(Utf16Le(L"\u03A9\U0001F600\\t\u65E5\u672C\r\nplain"));
    EXPECT_EQ(L"\u03A9\U0001F600", CellW(0, 0));
    EXPECT_EQ(L"\u65E5\u672C", CellW(0, 1));
    m_view->SelectLine(0);
    m_view->OnEditCopy();
    EXPECT_EQ(ClipboardText<wchar_t>(CF_UNICODETEXT), L"\u03A9\U0001F600");
    EXPECT_EQ(L"plain", Edit(1, L"\u0141\u00F3d\u017A \u6771\u4EAC", false));
    EXPECT_EQ(Utf16Le(L"\u03A9\U0001F600\\t\u65E5\u672C\r\n\u0141\u00F3d\u017A \u6771\u4EAC"), FileBytes(m_path));
}

TEST_F(JotwellViewTest, ReadOnlyListTakesNoEdit) {
    g_boxes.clear();
    g_answers.clear();
    AfxSetMessageBoxHook(&AnswerBox);
    const std::string bytes("o\0n\0e\0\r\0\n\0t\0w\0o\0", 16);  // UTF-16 without its mark
    Open(bytes);
    EXPECT_EQ(1u, g_boxes.size()) << "the open says the list is read-only";
    const int rows = m_view->GetRowCount();
    m_view->SelectLine(0);
    m_view->m_dialogText = "changed";
    m_view->OnInsertLine();
    m_view->OnModifyText();
    m_view->OnModifyExplanation();
    m_view->OnDeleteLine();
    EXPECT_EQ(5u, g_boxes.size()) << "each edit is refused with a message";
    EXPECT_EQ(L"(no editor)", Edit(0, L"changed", false));
    AfxSetMessageBoxHook(nullptr);
    EXPECT_EQ(0, m_view->m_dialogs);
    EXPECT_EQ(0, m_view->m_asked);
    EXPECT_EQ(rows, m_view->GetRowCount());
    EXPECT_EQ(bytes, FileBytes(m_path));
    EXPECT_FALSE(m_doc->IsModified());
}

TEST_F(JotwellViewTest, DragOnAnUnselectedRowDoesNotStart) {
    Open("r0\r\nr1");
    m_view->SelectLine(0);
    NMLISTVIEW nm = {};
    nm.hdr.hwndFrom = m_view->m_hWnd;
    nm.hdr.code = LVN_BEGINDRAG;
    nm.iItem = 1;
    LRESULT result = -1;
    EXPECT_TRUE(m_view->OnNotifyReflect(&nm.hdr, &result));
    EXPECT_EQ(-1, m_view->m_nDragLine);
    nm.iItem = 0;
    m_view->OnNotifyReflect(&nm.hdr, &result);
    EXPECT_EQ(0, m_view->m_nDragLine);
    m_view->SendMessage(WM_CHAR, 0x1B, 1);  // Escape cancels
    EXPECT_EQ(-1, m_view->m_nDragLine);
}

// With a filter typed, each row shows an entry further down the list: every command and
// edit acts on the entry its row shows, and an entry edited out of the filter stays shown.
TEST_F(JotwellViewTest, CommandsOnAFilteredRowActOnItsEntry) {
    Open("apple\\tFruit\r\nbanana\\tyellow\r\ncherry\\tred fruit\r\nkiwi\\tgreen");
    m_view->SetFilter(L"FRUIT");
    ASSERT_EQ(3, m_view->GetRowCount());  // apple, cherry, the placeholder
    EXPECT_EQ("cherry", Cell(1, 0));
    EXPECT_EQ("", Cell(2, 0));
    EXPECT_EQ(L"red fruit", TipShown(1));
    m_view->SelectLine(2);
    EXPECT_EQ(2, m_view->GetSelectedLine());
    EXPECT_EQ(1, m_view->RowOfEntry(2));

    // Drag (Shift takes the Explanation: same entry), Copy, the delete question.
    NMLISTVIEW nm = {};
    nm.hdr.hwndFrom = m_view->m_hWnd;
    nm.hdr.code = LVN_BEGINDRAG;
    nm.iItem = 1;
    LRESULT result = -1;
    m_view->OnNotifyReflect(&nm.hdr, &result);
    EXPECT_EQ(2, m_view->m_nDragLine);
    m_view->SendMessage(WM_CHAR, 0x1B, 1);
    m_view->OnEditCopy();
    EXPECT_EQ(ClipboardText<char>(CF_TEXT), "cherry");

    // Modify, then the label editor on row 1: the entry stops matching and stays shown.
    m_view->m_dialogText = "cherries";
    m_view->OnModifyText();
    EXPECT_EQ("cherries", m_doc->Entries().Text(2));
    m_view->SetFilter(L"cher");
    ASSERT_EQ(2, m_view->GetRowCount());
    HWND edit = reinterpret_cast<HWND>(m_view->SendMessage(LVM_EDITLABELW, 0, 0));
    ASSERT_NE(nullptr, edit);
    SetWindowTextW(edit, L"plum");
    SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ("plum", m_doc->Entries().Text(2));
    EXPECT_EQ(2, m_view->GetRowCount());
    EXPECT_EQ("plum", Cell(0, 0));

    // Insert before the row's entry: the new entry shows, the selection stays with plum.
    m_view->SetFilter(L"R");  // apple (Fruit), plum (red fruit), kiwi (green)
    ASSERT_EQ(4, m_view->GetRowCount());
    m_view->SelectLine(2);
    m_view->OnInsertLine();
    EXPECT_EQ("apple\\tFruit\r\nbanana\\tyellow\r\n\r\nplum\\tred fruit\r\nkiwi\\tgreen", FileBytes(m_path));
    ASSERT_EQ(5, m_view->GetRowCount());
    EXPECT_EQ("", Cell(1, 0));
    EXPECT_EQ("plum", Cell(2, 0));
    EXPECT_EQ(3, m_view->GetSelectedLine());

    // Delete the row of kiwi: the entry goes, and the rows after it keep their entries.
    m_view->SelectLine(4);
    EXPECT_EQ(3, m_view->RowOfEntry(4));
    m_view->OnDeleteLine();
    EXPECT_NE(CString::npos, m_view->m_lastQuestion.find("kiwi"));
    EXPECT_EQ("apple\\tFruit\r\nbanana\\tyellow\r\n\r\nplum\\tred fruit", FileBytes(m_path));
    ASSERT_EQ(4, m_view->GetRowCount());
    EXPECT_EQ("", Cell(3, 0));
    EXPECT_EQ(4, m_view->EntryOfRow(3));

    // Read again from disk: matched again over the new entries, the selection kept.
    m_view->SelectLine(3);
    WriteInPlace(m_path, "Zebra\r\napple\\tFruit\r\nbanana\r\nplum\\tred fruit");
    EXPECT_TRUE(PumpUntil([&] { return Cell(0, 0) == "Zebra"; }, 1000));
    EXPECT_EQ(4, m_view->GetRowCount());  // Zebra, apple, plum, the placeholder
    EXPECT_EQ(3, m_view->GetSelectedLine());
    EXPECT_EQ(2, m_view->RowOfEntry(3));

    // Clearing the filter shows every entry, the selection still on plum.
    m_view->SetFilter(L"");
    EXPECT_EQ(5, m_view->GetRowCount());
    EXPECT_EQ(3, m_view->GetSelectedLine());
    EXPECT_EQ(3, m_view->RowOfEntry(3));
}

// A character the list's code page cannot store is in none of its entries.
TEST_F(JotwellViewTest, FilterOutsideTheCodePageFindsNothing) {
    Open("a\r\nb");
    ASSERT_EQ(TextEncoding::Ansi, m_doc->Encoding().Encoding);
    m_view->SetFilter(L"\U0001F600");
    EXPECT_EQ(1, m_view->GetRowCount());
    m_view->SetFilter(L"B");
    EXPECT_EQ(2, m_view->GetRowCount());
    EXPECT_EQ("b", Cell(0, 0));
}

// Under code page 932: a double-byte character, and a backslash never found as a trail byte.
TEST_F(JotwellViewTest, FilterInShiftJis) {
    if (GetACP() != 932) GTEST_SKIP() << "needs code page 932";
    // 表示\nソ / ソ with the Explanation ソ表 / 能
    Open("\x95\x5C\x8E\xA6\\n\x83\x5C\r\n\x83\x5C\\t\x83\x5C\x95\x5C\r\n\x94\x5C");
    m_view->SetFilter(L"\u8868");
    EXPECT_EQ(3, m_view->GetRowCount());
    m_view->SetFilter(L"\\");
    EXPECT_EQ(2, m_view->GetRowCount());
    EXPECT_EQ(0, m_view->EntryOfRow(0));
}

// OLE's own data object over the clipboard, after `bytes` were put there in `format`.
ComPtr<IDataObject> DataObjectOf(UINT format, const void* bytes, size_t size) {
    {
        ClipboardSession clipboard(nullptr);
        EmptyClipboard();
        GlobalMemory block(GMEM_MOVEABLE, size);
        if (void* to = GlobalLock(block.Get())) {
            memcpy(to, bytes, size);
            GlobalUnlock(block.Get());
        }
        if (SetClipboardData(format, block.Get())) block.Release();
    }
    ComPtr<IDataObject> data;
    OleGetClipboard(data.Receive());
    return data;
}
ComPtr<IDataObject> TextObject(const std::wstring& text) {
    return DataObjectOf(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

// Text dragged in from another program through the list's drop target: an entry before
// the row under the pointer, kept once the drop has returned, line breaks as the notation.
TEST_F(JotwellViewTest, TextDroppedOnTheListBecomesAnEntry) {
    const OleInitScope ole;
    ASSERT_TRUE(ole.Succeeded());
    Open("r0\r\nr1");
    IDropTarget* target = m_view->GetDropTarget();
    ASSERT_NE(nullptr, target);
    const auto rowPoint = [&](int row) {
        RECT cell = {LVIR_LABEL, 0, 0, 0};
        m_view->SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
        POINT p = {cell.left + 4, cell.top + 4};
        ClientToScreen(m_view->m_hWnd, &p);
        return POINTL{p.x, p.y};
    };
    const auto drop = [&](IDataObject* data, POINTL at) {
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        EXPECT_EQ(S_OK, target->DragEnter(data, MK_LBUTTON, at, &effect));
        EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), effect);
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        target->DragOver(MK_LBUTTON, at, &effect);
        EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), effect);
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        EXPECT_EQ(S_OK, target->Drop(data, 0, at, &effect));
        return effect;
    };

    ComPtr<IDataObject> lines = TextObject(L"one\r\ntwo\nthree\rfour\\");
    ASSERT_TRUE(lines);
    drop(lines.Get(), rowPoint(1));
    PumpUntil([&] { return m_view->GetRowCount() == 4; }, 1000);
    EXPECT_EQ("r0\r\none\\ntwo\\nthree\\nfour\\\r\nr1", FileBytes(m_path));

    // Below the rows: before the placeholder. On a filtered row: before the entry it shows.
    ComPtr<IDataObject> last = TextObject(L"last");
    drop(last.Get(), POINTL{rowPoint(0).x, rowPoint(0).y + 200});
    PumpUntil([&] { return m_view->GetRowCount() == 5; }, 1000);
    m_view->SetFilter(L"R1");
    ComPtr<IDataObject> filtered = TextObject(L"before r1");
    drop(filtered.Get(), rowPoint(0));
    PumpUntil([&] { return m_view->GetRowCount() == 3; }, 1000);
    EXPECT_EQ("r0\r\none\\ntwo\\nthree\\nfour\\\r\nbefore r1\r\nr1\r\nlast", FileBytes(m_path));

    // A backslash before "n" would be delivered as a line break: refused, with a message.
    m_view->SetFilter(L"");
    ComPtr<IDataObject> path = TextObject(L"C:\\new");
    drop(path.Get(), rowPoint(0));
    PumpMessages(200);
    ASSERT_EQ(1u, g_boxes.size());
    EXPECT_EQ(AfxLoadString(IDS_DROP_BACKSLASH_N), g_boxes[0]);
    EXPECT_EQ(6, m_view->GetRowCount());

    // A character the code page lacks asks to keep the list as UTF-8, as typed text does.
    g_answers = {IDYES};
    ComPtr<IDataObject> smile = TextObject(L"\U0001F600");
    drop(smile.Get(), rowPoint(0));
    PumpUntil([&] { return m_view->GetRowCount() == 7; }, 1000);
    EXPECT_EQ(TextEncoding::Utf8, m_doc->Encoding().Encoding);
    EXPECT_EQ(u8"\U0001F600", m_doc->Entries().Text(0));

    // Files from the shell go on to the frame, which opens them as WM_DROPFILES says.
    const char file[] = "C:\\list.txt\0";
    std::string block(sizeof(DROPFILES), '\0');
    DROPFILES header = {};
    header.pFiles = sizeof(DROPFILES);
    memcpy(&block[0], &header, sizeof(header));
    block.append(file, sizeof(file));
    ComPtr<IDataObject> files = DataObjectOf(CF_HDROP, block.data(), block.size());
    drop(files.Get(), rowPoint(0));
    PumpUntil([&] { return !m_host.m_droppedFiles.empty(); }, 1000);
    ASSERT_EQ(1u, m_host.m_droppedFiles.size());
    EXPECT_EQ("C:\\list.txt", m_host.m_droppedFiles[0]);
    EXPECT_EQ(7, m_view->GetRowCount());
}

TEST_F(JotwellViewTest, CopyPutsTheEntryInTheDocumentsEncoding) {
    Open("\xCE\xB1\\n\xCE\xB2\\t\xF0\x9F\x98\x80");
    ASSERT_EQ(TextEncoding::Utf8, m_doc->Encoding().Encoding);
    m_view->SelectLine(0);
    m_view->OnEditCopy();
    EXPECT_EQ(ClipboardText<wchar_t>(CF_UNICODETEXT), L"\u03B1\r\n\u03B2");
    m_view->CopyEntryToClipboard(0, TRUE);
    EXPECT_EQ(ClipboardText<wchar_t>(CF_UNICODETEXT), L"\U0001F600");
    Open("\xC9t\xC9\\nx");  // not UTF-8: single bytes of the code page (1252 and 932)
    ASSERT_EQ(TextEncoding::Ansi, m_doc->Encoding().Encoding);
    m_view->SelectLine(0);
    m_view->OnEditCopy();
    EXPECT_EQ(ClipboardText<char>(CF_TEXT), "\xC9t\xC9\r\nx");
}

// Where two file contents first differ, for checks on files too big for a printed diff.
std::string FirstDifference(const std::string& want, const std::string& got) {
    std::size_t at = 0;
    while (at < want.size() && at < got.size() && want[at] == got[at]) ++at;
    if (at == want.size() && at == got.size()) return std::string();
    return "sizes " + std::to_string(want.size()) + " and " + std::to_string(got.size()) + ", first difference at " +
           std::to_string(at) + ": [" + want.substr(at, 20) + "] [" + got.substr(at, 20) + "]";
}

// More rows than a 16-bit count holds: every one shows, and edits on row 0 rewrite all.
TEST_F(JotwellViewTest, ListBeyond65535Entries) {
    std::string bytes;
    for (int i = 0; i < 70000; ++i)
        bytes += (i ? "\r\nentry " : "entry ") + std::to_string(i) + "\\tnote " + std::to_string(i);
    Open(bytes);
    ASSERT_EQ(70001, m_view->GetRowCount());
    EXPECT_EQ("entry 69999", Cell(69999, 0));
    EXPECT_EQ("note 65536", Cell(65536, 1));
    m_view->SelectLine(0);
    m_view->OnInsertLine();
    EXPECT_EQ(70002, m_view->GetRowCount());
    EXPECT_EQ("", FirstDifference("\r\n" + bytes, FileBytes(m_path)));
    m_view->OnDeleteLine();  // the selection moved down with "entry 0": that row goes
    EXPECT_EQ(70001, m_view->GetRowCount());
    EXPECT_EQ("entry 1", Cell(1, 0));
    EXPECT_EQ("entry 69999", Cell(69999, 0));
    m_view->SelectLine(0);
    m_view->m_dialogText = "changed";
    m_view->OnModifyText();
    EXPECT_EQ("changed", Cell(0, 0));
    EXPECT_EQ("", FirstDifference("changed" + bytes.substr(bytes.find("\r\n")), FileBytes(m_path)));
}

}  // namespace

// Columns are shown at the window's DPI and kept at 96 DPI; the font follows the DPI.
TEST_F(JotwellViewTest, ColumnsAndFontScaleWithTheDpiAndTheProfileKeeps96DpiWidths) {
    Open("a\\tA");  // without an application the profile gives the default widths, 64 and 24
    const auto shown = [&](int column) {
        return static_cast<int>(m_view->SendMessage(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
    };
    const auto fontHeight = [&] {
        LOGFONTW font = {};
        HFONT current = reinterpret_cast<HFONT>(m_view->SendMessage(WM_GETFONT, 0, 0));
        if (current) GetObjectW(current, sizeof(font), &font);
        return current ? std::abs(font.lfHeight) : 0;
    };
    const UINT system = SystemDpi();
    ASSERT_EQ(system, m_view->m_nDpi);
    EXPECT_EQ(ScaleToDpi(64, system), shown(0));
    EXPECT_EQ(ScaleToDpi(24, system), shown(1));
    const UINT other = system * 3 / 2;
    m_view->SetDpi(other);
    EXPECT_EQ(ScaleToDpi(64, other), shown(0));
    EXPECT_EQ(ScaleToDpi(24, other), shown(1));
    EXPECT_EQ(64, m_view->ColumnWidth(0));
    EXPECT_EQ(24, m_view->ColumnWidth(1));
    const int larger = fontHeight();
    m_view->SetDpi(system);
    EXPECT_EQ(ScaleToDpi(64, system), shown(0));
    EXPECT_EQ(64, m_view->ColumnWidth(0));
    const int back = fontHeight();
    EXPECT_GT(back, 0);
    EXPECT_NEAR(back * 3 / 2, larger, 1);
}
