// Putting a text into another program's window once that window is known: the
// clipboard step, the click at the drop point, bringing the window forward, clearing
// the field, and the four delivery methods of the destination rules. DeliverEntry runs
// them for a drop, in order.
#pragma once

#include "destination/DestinationRuleTable.h"
#include "text/TextEncoding.h"

#include <windows.h>

#include <string>

// What the drop asks the system about other programs: the answers that depend on their
// integrity level, DPI awareness, hung state and caret, which Wine does not give as Windows does.
// Tests replace single functions and keep the rest. A DPI function is null where the
// system lacks it (looked up at run time: Jotwell loads on Windows 7).
using DpiContext = HANDLE;
struct DeliverySystem {
    BOOL(WINAPI* IsHungAppWindow)(HWND window);
    // Whether the window's process runs at an integrity level above Jotwell's, where
    // Windows drops Jotwell's messages and input (User Interface Privilege Isolation).
    bool (*IntegrityAboveOurs)(HWND window);
    // Every message to a target; a send that Windows blocks fails with ERROR_ACCESS_DENIED.
    LRESULT(WINAPI* SendMessageTimeout)(HWND, UINT, WPARAM, LPARAM, UINT, UINT, PDWORD_PTR);
    // In the calling thread's DPI context, as these calls answer on Windows 10.
    BOOL(WINAPI* GetCursorPos)(POINT* point);
    BOOL(WINAPI* ScreenToClient)(HWND window, POINT* point);
    BOOL(WINAPI* ClientToScreen)(HWND window, POINT* point);
    // Windows 10 1607 and later.
    DpiContext(WINAPI* GetWindowDpiAwarenessContext)(HWND window);
    DpiContext(WINAPI* GetThreadDpiAwarenessContext)();
    DpiContext(WINAPI* SetThreadDpiAwarenessContext)(DpiContext context);
    BOOL(WINAPI* AreDpiAwarenessContextsEqual)(DpiContext a, DpiContext b);
    // Windows 8.1 and later.
    BOOL(WINAPI* LogicalToPhysicalPointForPerMonitorDPI)(HWND window, POINT* point);
    BOOL(WINAPI* PhysicalToLogicalPointForPerMonitorDPI)(HWND window, POINT* point);
    // The focused window and the caret of a thread: a Ctrl-drop clears only a text field.
    BOOL(WINAPI* GetGUIThreadInfo)(DWORD thread, GUITHREADINFO* info);
};

// The system's own answers.
const DeliverySystem& SystemDelivery();

// A drop onto target at screen (the release point in Jotwell's coordinates).
class CClipboardRestore;

struct DropOptions {
    HWND OwnWindow = nullptr;       // nothing is dropped inside this window's rectangle
    HWND ClipboardOwner = nullptr;
    std::string Text;               // the entry's Text or Explanation, as stored
    TextEncoding Encoding = TextEncoding::Ansi;
    bool Clear = false;             // Ctrl held: empty the field first (text fields only)
    // "Restore Clipboard after Drop": the text is offered through it, and what the
    // clipboard held comes back once the target has read it.
    CClipboardRestore* Restore = nullptr;
};

enum class DropOutcome {
    Delivered,
    Nothing,           // no target, or Jotwell's own window: nothing done
    Gone,              // the target went away during the drop
    Blocked,           // Windows does not let Jotwell reach the target; the text is on the clipboard
    StoppedAnswering,  // the target's program does not answer; the text is on the clipboard
    ClipboardBusy,     // another program held the clipboard open: nothing was sent anywhere
};

struct DropResult {
    DropOutcome Outcome = DropOutcome::Nothing;
    POINT ClientPoint = {};  // where the click went, in the target's client coordinates
    std::wstring Program;    // for Blocked and StoppedAnswering: the program's file name
};

// The whole drop: own-window check, the clipboard, the target's reachability and hung
// state, the click at the point under the pointer in the target's DPI context,
// activation, the clearing of a text field, and the rule's method. Without the text on the
// clipboard nothing is sent; a target Windows blocks, or that stopped answering, gets
// nothing more once that is known.
DropResult DeliverEntry(HWND target, POINT screen, const DestinationMatch& match, const DropOptions& options,
                        const DeliverySystem& system = SystemDelivery());

// How long one sent message may take before the target counts as not responding.
constexpr UINT kDeliverySendTimeoutMs = 3000;

// How long a window the system calls hung has to answer before it counts as stopped.
constexpr UINT kHungConfirmTimeoutMs = 1000;

// The file name of the program that owns window ("notepad.exe"), or its title.
std::wstring ProgramName(HWND window);
