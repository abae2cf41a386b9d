// CTrayIcon: one icon in the notification area. It adds, changes and removes the icon
// through the shell and has the icon's mouse events sent to a window as a private message.
// It keeps the icon there when the shell is not ready yet or restarts, and removes the
// icon when the object is destroyed.
#pragma once

#include "framework/CmdTarget.h"

// The shell's notification record in its first form (88 bytes on 32-bit Windows): the
// fields every shell version reads, without the later extensions.
struct TrayIconRecord {
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    HICON hIcon;
    CHAR szTip[64];
};
static_assert(sizeof(TrayIconRecord) == NOTIFYICONDATAA_V1_SIZE, "first form of NOTIFYICONDATAA");
static_assert(sizeof(void*) != 4 || NOTIFYICONDATAA_V1_SIZE == 88, "88 bytes on 32-bit Windows");

// The shell call; Shell_NotifyIconA unless replaced (tests record the records passed).
using ShellNotifyIconFunction = BOOL(WINAPI*)(DWORD message, PNOTIFYICONDATAA data);

class CTrayIcon : public CCmdTarget {
public:
    // While an add fails, the callback window's timer with this id tries again, every
    // kRetryIntervalMs, at most kMaxAddRetries times; the owner passes it to OnRetryTimer.
    static constexpr UINT_PTR kRetryTimerId = 0x7452;
    static constexpr UINT kRetryIntervalMs = 2000;
    static constexpr int kMaxAddRetries = 30;

    // `id` is the icon identifier and the resource identifier of the icon and its tip.
    explicit CTrayIcon(UINT id, ShellNotifyIconFunction shell = &Shell_NotifyIconA);
    ~CTrayIcon() override;
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    // The window that gets `message` for the icon's events, and the shell's start
    // announcement; nothing goes to the shell.
    void SetCallback(CWnd* wnd, UINT message);
    // Shows icon and tip `resourceId`, or removes the icon for 0 or a missing icon.
    BOOL SetIconResource(UINT resourceId);
    // Adds or changes the icon, or removes it for null. False when the shell call failed;
    // the icon then counts as not shown, so the next call (or the retry timer) adds it again.
    BOOL SetIconHandle(HICON icon);
    // Events the owner does not handle itself: none is acted on here.
    virtual LRESULT HandleCallback(WPARAM id, LPARAM event);

    // The registered message "TaskbarCreated", which a shell broadcasts when it starts
    // (again) and holds no icons.
    static UINT TaskbarCreatedMessage();
    // A new shell has none of the old icons: the icon is added again, if one is shown.
    BOOL OnShellRestarted();
    // One more try at a failed add; the timer ends when the icon is there or the tries
    // are used up.
    void OnRetryTimer();

    const TrayIconRecord& Record() const { return m_nid; }
    BOOL IsShown() const { return m_nid.hIcon != nullptr; }

private:
    void LoadTip(UINT resourceId);
    BOOL ApplyWanted();

    TrayIconRecord m_nid;
    ShellNotifyIconFunction m_pfnShell;
    HICON m_hWanted = nullptr;  // the icon asked for, shown or not
    int m_nRetriesLeft = 0;
};
