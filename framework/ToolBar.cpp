#include "framework/ToolBar.h"

#include <cstdio>
#include <vector>

#include "framework/Dpi.h"

#include "framework/FrameWnd.h"
#include "framework/WinApp.h"

namespace {

// Size of one button image and the button around it (the image plus 7 by 7 pixels).
constexpr int kImageWidth = 16;
constexpr int kImageHeight = 15;

CString BarSection(const char* profileName) { return CString(profileName) + "-Bar0"; }

}  // namespace

BOOL CToolBar::Create(CWnd* parent, DWORD style, UINT id) {
    if (!parent || !parent->m_hWnd) return FALSE;
    m_dwStyle = style & CBRS_ALL;
    // The frame lays the bar out itself; no tooltips.
    const DWORD windowStyle = (style & ~CBRS_ALL) | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
    if (!CreateEx(0, TOOLBARCLASSNAMEA, nullptr, windowStyle, 0, 0, 0, 0, parent->m_hWnd,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id))))
        return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    return TRUE;
}

CToolBar::~CToolBar() {
    if (m_hImages) ::DeleteObject(m_hImages);
}

BOOL CToolBar::SetDpi(UINT dpi) {
    if (!m_hWnd || !m_nResourceId || dpi == m_nDpi) return TRUE;
    // A new control: the old one keeps the image size of its first bitmap.
    CWnd* parent = GetParent();
    const DWORD windowStyle = static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE));
    const UINT id = static_cast<UINT>(::GetDlgCtrlID(m_hWnd));
    DestroyWindow();
    if (!parent || !CreateEx(0, TOOLBARCLASSNAMEA, nullptr, windowStyle, 0, 0, 0, 0, parent->m_hWnd,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id))))
        return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    return LoadToolBar(m_nResourceId, dpi);
}

BOOL CToolBar::LoadToolBar(UINT resourceId, UINT dpi) {
    if (!m_hWnd) return FALSE;
    m_nResourceId = resourceId;
    m_nDpi = dpi ? dpi : kDefaultDpi;
    HINSTANCE instance = AfxGetResourceHandle();
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(resourceId), MAKEINTRESOURCEA(RT_TOOLBAR_DATA));
    if (!found) return FALSE;
    HGLOBAL loaded = LoadResource(instance, found);
    const WORD* data = loaded ? static_cast<const WORD*>(LockResource(loaded)) : nullptr;
    const DWORD bytes = SizeofResource(instance, found);
    // Version, image width, image height, item count, then one command per item.
    if (!data || bytes < 4 * sizeof(WORD) || data[0] != 1) return FALSE;
    const WORD count = data[3];
    if (bytes < (4u + count) * sizeof(WORD)) return FALSE;
    const int width = data[1] ? data[1] : kImageWidth;
    const int height = data[2] ? data[2] : kImageHeight;

    std::vector<TBBUTTON> buttons;
    int images = 0;
    for (WORD i = 0; i < count; ++i) {
        TBBUTTON b = {};
        b.idCommand = data[4 + i];
        if (b.idCommand == 0) {
            b.fsStyle = BTNS_SEP;
        } else {
            b.iBitmap = images++;
            b.fsState = TBSTATE_ENABLED;
            b.fsStyle = BTNS_BUTTON;
        }
        buttons.push_back(b);
    }
    // The largest drawing that fits the scaled image size.
    HBITMAP larger = nullptr;
    int imageWidth = width;
    int imageHeight = height;
    for (int percent : {200, 150}) {
        if (ScaleToDpi(100, m_nDpi) < percent) continue;
        char name[32] = {};
        std::snprintf(name, sizeof(name), "TB%u_%d", resourceId, percent);
        // LR_LOADMAP3DCOLORS maps the greys to the system colours, as the control does.
        larger = static_cast<HBITMAP>(::LoadImageA(instance, name, IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
        if (!larger) continue;
        imageWidth = width * percent / 100;  // as make_images.py enlarges: whole pixels
        imageHeight = height * percent / 100;
        break;
    }
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(imageWidth, imageHeight));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(ScaleToDpi(width + 7, m_nDpi), ScaleToDpi(height + 7, m_nDpi)));
    if (m_hImages) ::DeleteObject(m_hImages);
    m_hImages = larger;
    if (images > 0) {
        // The control loads the 100 % bitmap itself and maps its greys to the system colours.
        TBADDBITMAP bitmap = {larger ? nullptr : instance, larger ? reinterpret_cast<UINT_PTR>(larger) : resourceId};
        if (SendMessage(TB_ADDBITMAP, static_cast<WPARAM>(images), reinterpret_cast<LPARAM>(&bitmap)) == -1)
            return FALSE;
    }
    if (!buttons.empty() &&
        !SendMessage(TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data())))
        return FALSE;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, CalcHeight(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RelayoutFrame();
    return TRUE;
}

int CToolBar::CalcHeight() const {
    if (!m_hWnd) return 0;
    const LRESULT size = ::SendMessageA(m_hWnd, TB_GETBUTTONSIZE, 0, 0);
    return HIWORD(size) + 4;
}

BOOL CToolBar::IsBarVisible() const {
    return m_hWnd && (::GetWindowLongA(m_hWnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

void CToolBar::ShowBar(BOOL show) {
    if (!m_hWnd) return;
    ShowWindow(show ? SW_SHOWNA : SW_HIDE);
    RelayoutFrame();
}

void CToolBar::DockAt(DWORD side) {
    if (side != CBRS_ALIGN_TOP && side != CBRS_ALIGN_BOTTOM) return;
    if (m_dwDockSides && !(m_dwDockSides & side)) return;
    m_dwStyle = (m_dwStyle & ~(CBRS_ALIGN_ANY | CBRS_BORDER_TOP | CBRS_BORDER_BOTTOM)) |
                (side == CBRS_ALIGN_TOP ? CBRS_TOP : CBRS_BOTTOM);
    RelayoutFrame();
}

void CToolBar::RelayoutFrame() {
    if (CFrameWnd* frame = GetParentFrame()) frame->RecalcLayout();
}

void CToolBar::LoadBarState(const char* profileName) {
    CWinApp* app = AfxGetApp();
    if (!app || !m_hWnd) return;
    const CString section = BarSection(profileName);
    const int docking = static_cast<int>(app->GetProfileInt(section.c_str(), "Docking", 0));
    if (docking == static_cast<int>(CBRS_ALIGN_TOP) || docking == static_cast<int>(CBRS_ALIGN_BOTTOM))
        DockAt(static_cast<DWORD>(docking));
    const int visible = static_cast<int>(app->GetProfileInt(section.c_str(), "Visible", -1));
    if (visible == 0 || visible == 1) ShowBar(visible);
}

void CToolBar::SaveBarState(const char* profileName) {
    CWinApp* app = AfxGetApp();
    if (!app || !m_hWnd) return;
    const CString section = BarSection(profileName);
    app->WriteProfileInt(section.c_str(), "BarID", static_cast<int>(::GetDlgCtrlID(m_hWnd)));
    app->WriteProfileInt(section.c_str(), "Visible", IsBarVisible() ? 1 : 0);
    app->WriteProfileInt(section.c_str(), "Docking",
                         static_cast<int>(IsDockedAtBottom() ? CBRS_ALIGN_BOTTOM : CBRS_ALIGN_TOP));
}

LRESULT CToolBar::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    // Dragging the bar by its background (not a button) to the other half of the frame
    // docks it on that side.
    switch (msg) {
    case WM_LBUTTONDOWN: {
        POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const LRESULT hit = SendMessage(TB_HITTEST, 0, reinterpret_cast<LPARAM>(&pt));
        if (hit < 0) {
            m_bDragging = TRUE;
            ::SetCapture(m_hWnd);
            return 0;
        }
        break;
    }
    case WM_LBUTTONUP:
        if (m_bDragging) {
            m_bDragging = FALSE;
            ::ReleaseCapture();
            HWND frame = ::GetParent(m_hWnd);
            POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            ::MapWindowPoints(m_hWnd, frame, &pt, 1);
            RECT client = {};
            ::GetClientRect(frame, &client);
            if (::PtInRect(&client, pt))
                DockAt(pt.y > (client.bottom - client.top) / 2 ? CBRS_ALIGN_BOTTOM : CBRS_ALIGN_TOP);
            return 0;
        }
        break;
    case WM_CAPTURECHANGED:
        m_bDragging = FALSE;
        break;
    default:
        break;
    }
    return CWnd::WindowProc(msg, wParam, lParam);
}
