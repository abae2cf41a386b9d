// The entry list view against a real (virtual) list control, without an application
// object: hints and the selection after insert and delete, the delete question, the drag
// start on an unselected row, and a list beyond 65,535 entries.
#include "document/JotwellDoc.h"
#include "framework/Document.h"
#include "view/JotwellView.h"

#include <gtest/gtest.h>

#include "tests/win/MessageLog.h"

#include <string>

namespace {

class TestView : public CJotwellView {
public:
    int m_asked = 0;
    CString m_lastQuestion;
    CString m_dialogText;  // what the "dialog" returns on OK
    int m_dialogs = 0;
    CString m_dialogGot;   // the text the "dialog" was opened with
protected:
    int AskDeleteConfirm(const CString& text) override {
        ++m_asked;
        m_lastQuestion = text;
        return IDOK;
    }
    BOOL RunModifyDialog(const CString&, CString& text) override {
        ++m_dialogs;
        m_dialogGot = text;
        text = m_dialogText;
        return TRUE;
    }
};

class Host : public CWnd {};

std::string TempPath(const char* name) {
    char dir[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

std::string FileBytes(const std::string& path) {
    std::string bytes;
    AfxReadWholeFile(path.c_str(), bytes);
    return bytes;
}

class JotwellViewTest : public testing::Test {
protected:
    void SetUp() override {
        m_doc = new CJotwellDoc;
        m_doc->m_bAlwaysOnTop = FALSE;
        ASSERT_TRUE(m_host.CreateEx(0, nullptr, "view host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 400, 300,
                                    nullptr, nullptr));
        m_view = new TestView;
        m_doc->AddView(m_view);
        ASSERT_TRUE(m_view->Create(&m_host, AFX_IDW_PANE_FIRST));
        m_view->SetWindowPos(nullptr, 0, 0, 380, 260, SWP_NOZORDER);
        m_path = TempPath("jotwell-view-test.txt");
    }
    void TearDown() override {
        m_host.DestroyWindow();  // the view deletes itself
        delete m_doc;
        DeleteFileA(m_path.c_str());
    }
    void Open(const std::string& bytes) {
        ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), AfxWriteFileSafely(m_path.c_str(), bytes));
        ASSERT_TRUE(m_doc->OnOpenDocument(m_path.c_str()));
        m_doc->SetPathName(m_path.c_str(), FALSE);
        m_view->OnInitialUpdate();
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
    std::string m_path;
};

TEST_F(JotwellViewTest, RowsAreTheEntriesPlaceholderIncluded) {
    Open("a\\tA\r\nb\\tB");
    EXPECT_EQ(3, m_view->GetRowCount());
    EXPECT_EQ("a", Cell(0, 0));
    EXPECT_EQ("B", Cell(1, 1));
    EXPECT_EQ("", Cell(2, 0));
    EXPECT_NE(0, GetWindowLongA(m_view->m_hWnd, GWL_STYLE) & LVS_OWNERDATA);
}

TEST_F(JotwellViewTest, DeleteKeepsTheSelectionAtItsPosition) {
    Open("r0\r\nr1\r\nr2\r\nr3\r\nr4");
    m_view->SelectLine(2);
    m_view->OnDeleteLine();
    EXPECT_EQ(1, m_view->m_asked);
    EXPECT_EQ(5, m_view->GetRowCount());
    EXPECT_EQ("r1", Cell(1, 0));
    EXPECT_EQ("r3", Cell(2, 0));
    EXPECT_EQ(2, m_view->GetSelectedLine());
    EXPECT_EQ("r0\r\nr1\r\nr3\r\nr4", FileBytes(m_path));
    EXPECT_FALSE(m_doc->IsModified());
}

TEST_F(JotwellViewTest, InsertOnRowZeroMovesTheSelectionWithItsEntry) {
    Open("r0\r\nr1");
    m_view->SelectLine(0);
    m_view->OnInsertLine();
    EXPECT_EQ(4, m_view->GetRowCount());
    EXPECT_EQ("", Cell(0, 0));
    EXPECT_EQ("r0", Cell(1, 0));
    EXPECT_EQ(1, m_view->GetSelectedLine());
    EXPECT_EQ("\r\nr0\r\nr1", FileBytes(m_path));
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
    EXPECT_EQ(longText, m_doc->m_aText[0]);
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
