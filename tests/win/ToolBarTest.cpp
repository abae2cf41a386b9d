// CToolBar over the real toolbar control: the layout of resource 128, the frame's layout by
// docking side and visibility, and a click on a button reaching the frame as a command.
#include "framework/ToolBar.h"

#include "framework/FrameWnd.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A frame that records the commands it gets instead of handling them.
class RecordingFrame : public CFrameWnd {
public:
    BOOL OnFrameCommand(UINT id, CCmdUI* ui) override {
        if (!ui) m_commands.push_back(id);
        return TRUE;
    }
    std::vector<UINT> m_commands;
};

class ToolBar : public testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
        InitCommonControlsEx(&icc);
        m_frame = new RecordingFrame;  // a frame deletes itself when its window goes
        ASSERT_TRUE(m_frame->CreateEx(0, nullptr, "toolbar test", WS_OVERLAPPEDWINDOW, 0, 0, 200, 300, nullptr,
                                      nullptr));
        ASSERT_TRUE(m_bar.Create(m_frame));
        ASSERT_TRUE(m_bar.LoadToolBar(IDR_MAINFRAME));
    }
    void TearDown() override {
        if (m_bar.m_hWnd) m_bar.DestroyWindow();
        if (m_frame && m_frame->m_hWnd) m_frame->DestroyWindow();
    }
    RECT BarRect() const {
        RECT r = {};
        ::GetWindowRect(m_bar.m_hWnd, &r);
        MapWindowPoints(nullptr, m_frame->m_hWnd, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    RECT Client() const {
        RECT r = {};
        ::GetClientRect(m_frame->m_hWnd, &r);
        return r;
    }

    RecordingFrame* m_frame = nullptr;
    CToolBar m_bar;
};

TEST_F(ToolBar, ButtonsOfResource128InOrderWithoutTooltips) {
    EXPECT_EQ(GetDlgCtrlID(m_bar.m_hWnd), AFX_IDW_TOOLBAR);
    const LONG style = GetWindowLongA(m_bar.m_hWnd, GWL_STYLE);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_FALSE(style & TBSTYLE_TOOLTIPS);
    EXPECT_EQ(m_bar.SendMessage(TB_GETTOOLTIPS), 0);
    EXPECT_EQ(m_bar.GetBarStyle(), CBRS_TOP);

    const int expected[] = {ID_AUTO_INPUT, 0, ID_CONVERT_HALF_WIDTH, 0, ID_PREFIX_LINES, 0, ID_CLOSE_WINDOW};
    ASSERT_EQ(m_bar.SendMessage(TB_BUTTONCOUNT), 7);
    int image = 0;
    for (int i = 0; i < 7; ++i) {
        TBBUTTON b = {};
        ASSERT_TRUE(m_bar.SendMessage(TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&b)));
        EXPECT_EQ(b.idCommand, expected[i]) << "button " << i;
        EXPECT_EQ((b.fsStyle & BTNS_SEP) != 0, expected[i] == 0) << "button " << i;
        if (expected[i] != 0) {
            EXPECT_EQ(b.iBitmap, image++) << "button " << i;
        }
    }
    const LRESULT size = m_bar.SendMessage(TB_GETBUTTONSIZE);
    EXPECT_EQ(LOWORD(size), 16 + 7);
    EXPECT_EQ(HIWORD(size), 15 + 7);
}

TEST_F(ToolBar, MissingLayoutFailsToLoad) {
    CToolBar other;
    ASSERT_TRUE(other.Create(m_frame, WS_CHILD | CBRS_TOP, 0xE801));
    EXPECT_FALSE(other.LoadToolBar(4242));
    other.DestroyWindow();
}

TEST_F(ToolBar, TheFrameLaysTheBarOutByItsSideAndVisibility) {
    m_frame->RecalcLayout();
    RECT bar = BarRect();
    const RECT client = Client();
    const int height = m_bar.CalcHeight();
    EXPECT_EQ(bar.top, 0);
    EXPECT_EQ(bar.bottom - bar.top, height);
    EXPECT_EQ(bar.right - bar.left, client.right);

    m_bar.DockAt(CBRS_ALIGN_BOTTOM);
    EXPECT_TRUE(m_bar.IsDockedAtBottom());
    bar = BarRect();
    EXPECT_EQ(bar.bottom, client.bottom);
    EXPECT_EQ(bar.top, client.bottom - height);

    // Hidden while its frame is hidden: the bar's own state counts.
    m_frame->ShowWindow(SW_HIDE);
    m_bar.ShowBar(FALSE);
    EXPECT_FALSE(m_bar.IsBarVisible());
    m_bar.ShowBar(TRUE);
    EXPECT_TRUE(m_bar.IsBarVisible());

    m_bar.DockAt(CBRS_ALIGN_LEFT);  // not supported: stays at the bottom
    EXPECT_TRUE(m_bar.IsDockedAtBottom());
    m_bar.DockAt(CBRS_ALIGN_TOP);
    EXPECT_EQ(m_bar.GetBarStyle(), CBRS_TOP);
    EXPECT_EQ(BarRect().top, 0);
}

TEST_F(ToolBar, AClickOnAButtonReachesTheFrameAsItsCommand) {
    m_frame->ShowWindow(SW_SHOWNA);
    m_frame->RecalcLayout();
    RECT button = {};
    ASSERT_TRUE(m_bar.SendMessage(TB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&button)));  // 32790
    const LPARAM at = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    m_bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
    m_bar.SendMessage(WM_LBUTTONUP, 0, at);
    MSG msg = {};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    ASSERT_EQ(m_frame->m_commands.size(), 1u);
    EXPECT_EQ(m_frame->m_commands[0], static_cast<UINT>(ID_CONVERT_HALF_WIDTH));
}

}  // namespace

// At 150 % the buttons grow by half and take the 150 % images (24x22, drawn, not
// stretched); at 125 % there is no larger drawing, so the 100 % images sit in the larger
// buttons; back at 96 DPI all is as before.
TEST_F(ToolBar, ButtonsAndImagesFollowTheDpi) {
    const struct {
        UINT dpi;
        int buttonWidth, buttonHeight, imageWidth, imageHeight;
    } cases[] = {{144, 35, 33, 24, 22}, {192, 46, 44, 32, 30}, {120, 29, 28, 16, 15}, {96, 23, 22, 16, 15}};
    for (const auto& c : cases) {
        ASSERT_TRUE(m_bar.SetDpi(c.dpi)) << c.dpi;
        const LRESULT size = m_bar.SendMessage(TB_GETBUTTONSIZE, 0, 0);
        EXPECT_EQ(c.buttonWidth, LOWORD(size)) << c.dpi;
        EXPECT_EQ(c.buttonHeight, HIWORD(size)) << c.dpi;
        int width = 0, height = 0;
        HIMAGELIST images = reinterpret_cast<HIMAGELIST>(m_bar.SendMessage(TB_GETIMAGELIST, 0, 0));
        ASSERT_TRUE(images && ImageList_GetIconSize(images, &width, &height)) << c.dpi;
        EXPECT_EQ(c.imageWidth, width) << c.dpi;
        EXPECT_EQ(c.imageHeight, height) << c.dpi;
        EXPECT_EQ(4, ImageList_GetImageCount(images)) << c.dpi;
        EXPECT_EQ(7, m_bar.SendMessage(TB_BUTTONCOUNT, 0, 0)) << c.dpi;
        EXPECT_EQ(c.buttonHeight + 4, m_bar.CalcHeight()) << c.dpi;
    }
}
