// Putting a text into another program's window once that window is known: the
// clipboard step, the click at the drop point, bringing the window forward, clearing
// the field, and the four delivery methods of the destination rules. DeliverEntry runs
// them for a drop, in order.
#pragma once

#include "destination/DestinationRuleTable.h"
#include "framework/Handles.h"
#include "text/TextEncoding.h"

#include <windows.h>

#include <string>

// What the drop asks the system about other programs: the answers that depend on their
// integrity level, DPI awareness and hung state, which Wine does not give as Windows does.
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
};

struct DropResult {
    DropOutcome Outcome = DropOutcome::Nothing;
    POINT ClientPoint = {};  // where the click went, in the target's client coordinates
    std::wstring Program;    // for Blocked and StoppedAnswering: the program's file name
};

// The whole drop: own-window check, the target's reachability and hung state, the
// clipboard, the click at the point under the pointer in the target's DPI context,
// activation, the clearing of a text field, and the rule's method. A target Windows
// blocks, or that stopped answering, gets nothing more once that is known.
DropResult DeliverEntry(HWND target, POINT screen, const DestinationMatch& match, const DropOptions& options,
                        const DeliverySystem& system = SystemDelivery());

// The point under the pointer in target's client coordinates, as target reads them: in
// its own DPI context (Windows 10 1607+), through the per-monitor conversions (8.1), or
// as the system converts it (7). screen is the pointer's position in Jotwell's coordinates;
// ownWindow is one of Jotwell's windows.
POINT TargetClientPoint(HWND target, POINT screen, HWND ownWindow, const DeliverySystem& system = SystemDelivery());

// Whether a Ctrl-drop may empty the field: not on file lists, trees and the desktop,
// where Ctrl+A and Delete would select and delete files.
bool ClearsField(HWND target, const char* className);

// Lets go of Shift and the Windows keys that the user still holds, for the whole system,
// so that the keys sent next mean exactly what they are (Ctrl+V, not Ctrl+Shift+V).
void ReleaseHeldModifiers();

// The file name of the program that owns window ("notepad.exe"), or its title.
std::wstring ProgramName(HWND window);

// How long one sent message may take before the target counts as not responding.
constexpr UINT kDeliverySendTimeoutMs = 3000;

// How long a window the system calls hung has to answer before it counts as stopped.
constexpr UINT kHungConfirmTimeoutMs = 1000;

// Whether the program of a top-level window has stopped answering: the system calls it
// hung (IsHungAppWindow) and it does not answer a message within kHungConfirmTimeoutMs.
// Wine calls a window hung whose thread has taken no message for 5 s while that thread is
// busy for a moment, as when it passes on the very mouse release of a drop over it; the
// message tells that apart from a program that really stopped.
bool StoppedAnswering(HWND window);

// Puts text (with each backslash-n expanded to CR LF) on the clipboard: text in the ANSI
// code page as CF_TEXT, UTF-8 text as CF_UNICODETEXT (the system offers CF_TEXT from it to
// programs that ask for that). TRUE when the clipboard now holds it.
BOOL PutTextOnClipboard(HWND owner, const std::string& text, TextEncoding encoding = TextEncoding::Ansi);
// The same on a clipboard already open.
BOOL PutTextOnClipboard(const ClipboardSession& clipboard, const std::string& text, TextEncoding encoding);

// A left click (button down and up) at x, y in window's client coordinates; when Alt
// is held, Alt is released for the whole system and the click is repeated. FALSE when
// the window is gone or did not answer a click in time.
BOOL ClickAt(HWND window, int x, int y);

// Brings a top-level window with a caption or border to the front. A window whose
// program has stopped answering is left alone: joining its input would hold this thread.
void ActivateTopLevel(HWND window);

// Ctrl+A then Delete, as key messages sent to window.
void ClearTarget(HWND window);

// Posts WM_PASTE. FALSE when the window no longer exists.
BOOL DeliverByPaste(HWND window);

// Ctrl down, V down, WM_COMMAND for command (unless 0), V up, Ctrl up. FALSE when the
// window no longer exists or stopped answering.
BOOL DeliverByCtrlV(HWND window, DWORD command);

// Sends WM_USER + offset with wParam. FALSE when the window no longer exists or did not answer.
BOOL DeliverByUser(HWND window, DWORD offset, DWORD wParam);

// A key as system keyboard input, to whatever has the keyboard focus: key in the hotkey
// control's form (a Keybd rule's Param1, KeybdKey), Ctrl+V for 0. Always TRUE.
BOOL DeliverByKeybd(DWORD key = 0);
