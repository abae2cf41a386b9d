// CToolBar: a control bar over the common toolbar control, docked at the top or the bottom
// of its frame. The frame's RecalcLayout places it by its docking side; its side and
// visibility are kept in the application's profile.
#pragma once

#include "framework/Wnd.h"

// Control-bar styles, kept by the bar object (never given to the window).
constexpr DWORD CBRS_BORDER_BOTTOM = 0x0200;
constexpr DWORD CBRS_BORDER_TOP = 0x0800;
constexpr DWORD CBRS_ALIGN_LEFT = 0x1000;
constexpr DWORD CBRS_ALIGN_TOP = 0x2000;
constexpr DWORD CBRS_ALIGN_RIGHT = 0x4000;
constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
constexpr DWORD CBRS_ALIGN_ANY = 0xF000;
constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
constexpr DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;
constexpr DWORD CBRS_ALL = 0x0040FFFF;

class CToolBar : public CWnd {
public:
    ~CToolBar() override;
    // Creates the toolbar window as a child of `parent`. The CBRS_* bits of `style` choose
    // the docking side; the rest are window styles.
    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT id = AFX_IDW_TOOLBAR);
    // Loads the layout (RT_TOOLBAR) and bitmap with identifier `resourceId`, buttons scaled
    // to `dpi`. Above 96 DPI the images come from the largest bitmap named
    // "TB<resourceId>_<percent>" (150, 200) that fits the scaled size; otherwise the
    // 100 % images are centred in the larger buttons, never stretched.
    BOOL LoadToolBar(UINT resourceId, UINT dpi = 96);
    // Loads the same bar again for another DPI (WM_DPICHANGED).
    BOOL SetDpi(UINT dpi);

    DWORD GetBarStyle() const { return m_dwStyle; }
    // The sides the bar may be docked to (CBRS_ALIGN_*); only top and bottom are supported.
    void EnableDocking(DWORD sides) { m_dwDockSides = sides & CBRS_ALIGN_ANY; }
    // Docks at the top or bottom (CBRS_ALIGN_TOP or CBRS_ALIGN_BOTTOM) and lays the frame out.
    void DockAt(DWORD side);
    BOOL IsDockedAtBottom() const { return (m_dwStyle & CBRS_ALIGN_BOTTOM) != 0; }
    // The bar's own visibility, whether or not its frame is shown.
    BOOL IsBarVisible() const;
    // Shows or hides the bar and lays the frame out.
    void ShowBar(BOOL show);

    // Bar state in section "<profile>-Bar0": "BarID", "Visible" (0 or 1) and "Docking"
    // (CBRS_ALIGN_TOP or CBRS_ALIGN_BOTTOM). Missing values leave the bar as it is.
    void LoadBarState(const char* profileName);
    void SaveBarState(const char* profileName);

    // Height of the bar when docked: the buttons and a border.
    int CalcHeight() const;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void RelayoutFrame();

    DWORD m_dwStyle = 0;
    DWORD m_dwDockSides = 0;
    UINT m_nResourceId = 0;
    UINT m_nDpi = 96;
    // The larger images in use; the control draws from it and does not own it.
    HBITMAP m_hImages = nullptr;
    BOOL m_bDragging = FALSE;  // the bar is being dragged by its background to another side
};
