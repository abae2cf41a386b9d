// Windows whose handlers destroy them: the framework must not write into an object after
// the call that deleted it. Deleted test objects are kept allocated and filled with a
// pattern, so any later write shows as a changed byte.
#include "framework/Dialog.h"
#include "framework/FrameWnd.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

constexpr unsigned char kPoison = 0xDD;

struct FreedBlock {
    unsigned char* bytes;
    size_t size;
    bool Untouched() const {
        for (size_t i = 0; i < size; ++i)
            if (bytes[i] != kPoison) return false;
        return true;
    }
};

std::vector<FreedBlock>& FreedBlocks() {
    static std::vector<FreedBlock> blocks;
    return blocks;
}

// A fake allocator for the test's windows: delete poisons the block and keeps it from reuse.
template <class Base>
class Poisoned : public Base {
public:
    static void* operator new(size_t size) { return ::operator new(size); }
    static void operator delete(void* p, size_t size) {
        std::memset(p, kPoison, size);
        FreedBlocks().push_back({static_cast<unsigned char*>(p), size});
    }
};

// Closes itself from inside a command: the close is a message nested in another.
class ClosingFrame : public CFrameWnd {
public:
    BOOL OnFrameCommand(UINT id, CCmdUI* ui) override {
        if (!ui) SendMessage(WM_CLOSE);
        return TRUE;
    }
};

// A dialog that asks its owner to close while the dialog is open.
class OwnerClosingDialog : public CDialog {
public:
    explicit OwnerClosingDialog(CWnd* owner) : CDialog(IDD_MODIFY, owner) {}
    BOOL OnInitDialog() override {
        ::PostMessageA(::GetParent(m_hWnd), WM_CLOSE, 0, 0);
        return CDialog::OnInitDialog();
    }
};

// Opens the dialog from a command; its owner goes while the dialog's loop runs.
class DialogFrame : public CFrameWnd {
public:
    BOOL OnFrameCommand(UINT id, CCmdUI* ui) override {
        if (ui) return TRUE;
        const CWndAlive alive(this);
        OwnerClosingDialog dialog(this);
        s_result = dialog.DoModal();
        s_aliveAfterDialog = static_cast<bool>(alive);
        s_dialogDetached = dialog.m_hWnd == nullptr;
        return TRUE;
    }
    static INT_PTR s_result;
    static bool s_aliveAfterDialog;
    static bool s_dialogDetached;
};
INT_PTR DialogFrame::s_result = 0;
bool DialogFrame::s_aliveAfterDialog = true;
bool DialogFrame::s_dialogDetached = false;

class WndLifetime : public testing::Test {
protected:
    void TearDown() override {
        for (const FreedBlock& b : FreedBlocks()) ::operator delete(b.bytes);
        FreedBlocks().clear();
    }
    template <class Frame>
    Frame* Create() {
        Frame* frame = new Frame;
        EXPECT_TRUE(frame->CreateEx(0, nullptr, "lifetime test", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr,
                                    nullptr));
        return frame;
    }
    // The one deleted frame was not written to after its deletion.
    void ExpectDeletedUntouched(HWND hwnd) {
        EXPECT_FALSE(IsWindow(hwnd));
        EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hwnd));
        ASSERT_EQ(1u, FreedBlocks().size());
        EXPECT_TRUE(FreedBlocks()[0].Untouched()) << "written after the delete";
    }
};

}  // namespace

TEST_F(WndLifetime, CloseDestroysTheFrameAndNothingTouchesItAfter) {
    CFrameWnd* frame = Create<Poisoned<CFrameWnd>>();
    const HWND hwnd = frame->m_hWnd;
    const CWndAlive alive(frame);
    EXPECT_TRUE(alive);
    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(alive);
    ExpectDeletedUntouched(hwnd);
}

TEST_F(WndLifetime, CloseNestedInACommandLeavesTheDeletedFrameAlone) {
    CFrameWnd* frame = Create<Poisoned<ClosingFrame>>();
    const HWND hwnd = frame->m_hWnd;
    SendMessageA(hwnd, WM_COMMAND, 1, 0);
    ExpectDeletedUntouched(hwnd);
}

TEST_F(WndLifetime, OwnerClosedWhileItsModalDialogIsOpen) {
    CFrameWnd* frame = Create<Poisoned<DialogFrame>>();
    const HWND hwnd = frame->m_hWnd;
    SendMessageA(hwnd, WM_COMMAND, 1, 0);
    EXPECT_FALSE(DialogFrame::s_aliveAfterDialog);
    EXPECT_TRUE(DialogFrame::s_dialogDetached);
    EXPECT_NE(IDOK, DialogFrame::s_result);
    ExpectDeletedUntouched(hwnd);
}
