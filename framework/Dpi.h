// Dots per inch of a window, and sizes given at 96 DPI (100 %) scaled to it. Jotwell is
// per-monitor DPI aware: it draws at each monitor's scaling itself, and keeps every size
// it stores (column widths, the window's size) at 96 DPI, so a profile means the same on
// any screen.
#pragma once

#include <windows.h>

constexpr UINT kDefaultDpi = 96;

// Messages of Windows 8.1 and 10 (WM_DPICHANGED, WM_DPICHANGED_AFTERPARENT).
constexpr UINT kDpiChanged = 0x02E0;
constexpr UINT kDpiChangedAfterParent = 0x02E3;

// GetDpiForWindow where the system has it (Windows 10 1607+, looked up at run time),
// otherwise the screen's (system) DPI.
UINT WindowDpi(HWND window);
// The system's DPI, which the system's metrics and fonts are given in.
UINT SystemDpi();

inline int ScaleToDpi(int value96, UINT dpi) { return MulDiv(value96, static_cast<int>(dpi), kDefaultDpi); }
inline int UnscaleFromDpi(int value, UINT dpi) {
    return dpi ? MulDiv(value, kDefaultDpi, static_cast<int>(dpi)) : value;
}
