#include "view/Delivery.h"

#include "framework/Handles.h"
#include "framework/KeyState.h"
#include "view/DropClipboard.h"

namespace {

// A key that means nothing to any program.
constexpr BYTE kUnassignedKey = 0xE8;

enum class Sent { Ok, Failed, Denied };

// Every message to a target goes through here. Like SendMessageA it waits until the
// target has handled the message (and, as SendMessageA does, handles messages sent to
// this thread meanwhile, so a target that calls back cannot deadlock us), but a target
// that is hung, or does not answer within the time-out, no longer freezes Jotwell.
// Failed when the window is gone or did not answer in time; Denied when Windows blocked it.
Sent SendAndWait(const DeliverySystem& system, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SetLastError(ERROR_SUCCESS);
    if (system.SendMessageTimeout(window, message, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                                  kDeliverySendTimeoutMs, &result) != 0)
        return Sent::Ok;
    return GetLastError() == ERROR_ACCESS_DENIED ? Sent::Denied : Sent::Failed;
}

// Key messages carry repeat count 1, also for key-up.
constexpr LPARAM kKeyRepeatOnce = 1;

Sent SendKey(const DeliverySystem& system, HWND window, UINT message, WPARAM key) {
    return SendAndWait(system, window, message, key, kKeyRepeatOnce);
}

Sent SendClick(const DeliverySystem& system, HWND window, LPARAM point) {
    const Sent down = SendAndWait(system, window, WM_LBUTTONDOWN, MK_LBUTTON, point);
    return down == Sent::Ok ? SendAndWait(system, window, WM_LBUTTONUP, 0, point) : down;
}

bool IsGone(HWND window) {
    return window == nullptr || !IsWindow(window);
}

void PressKey(BYTE virtualKey, DWORD flags) {
    keybd_event(virtualKey, 0, flags, 0);
    // Lets the target's thread see each key in turn.
    Sleep(10);
}

// A left click (button down and up) at a point of window's client area; when Alt is held,
// Alt is released for the whole system and the click is repeated.
Sent ClickAt(const DeliverySystem& system, HWND window, POINT at) {
    const LPARAM point = MAKELPARAM(static_cast<WORD>(at.x), static_cast<WORD>(at.y));
    Sent answered = SendClick(system, window, point);
    if (IsKeyDown(VK_MENU)) {
        // Alt held: release it for the whole system, then click once more.
        keybd_event(VK_MENU, 0, KEYEVENTF_KEYUP, 0);
        if (answered == Sent::Ok) answered = SendClick(system, window, point);
    }
    return answered;
}

// Whether the program of a top-level window has stopped answering: the system calls it
// hung (IsHungAppWindow) and it does not answer a message within kHungConfirmTimeoutMs.
// Wine calls a window hung whose thread has taken no message for 5 s while that thread is
// busy for a moment, as when it passes on the very mouse release of a drop over it; the
// message tells that apart from a program that really stopped.
bool StoppedAnswering(const DeliverySystem& system, HWND window) {
    if (!system.IsHungAppWindow(window)) return false;
    DWORD_PTR result = 0;
    return system.SendMessageTimeout(window, WM_NULL, 0, 0, SMTO_NORMAL, kHungConfirmTimeoutMs, &result) == 0;
}

Sent ClearTarget(const DeliverySystem& system, HWND window) {
    struct KeyMessage {
        UINT Message;
        WPARAM Key;
    };
    // Ctrl+A selects all, Delete removes it.
    static const KeyMessage kSelectAllDelete[] = {
        {WM_KEYDOWN, VK_CONTROL}, {WM_KEYDOWN, 'A'},       {WM_KEYUP, 'A'},
        {WM_KEYUP, VK_CONTROL},   {WM_KEYDOWN, VK_DELETE}, {WM_KEYUP, VK_DELETE},
    };
    for (const KeyMessage& key : kSelectAllDelete) {
        const Sent sent = SendKey(system, window, key.Message, key.Key);
        if (sent != Sent::Ok) return sent;  // no further keys for a target that stopped answering
    }
    return Sent::Ok;
}

// ClearTarget with Ctrl down in the target thread's own key state. A standard edit control
// takes Ctrl+A only when GetKeyState in its thread says Ctrl is down; the user holds Ctrl,
// but that key went to Jotwell, and after ActivateTopLevel detaches again the target's key
// state does not show it (seen under Wine). For the six messages this thread joins the
// target's input state, marks Ctrl down there, and afterwards puts the mark back.
Sent ClearWithCtrlState(const DeliverySystem& system, HWND target) {
    const DWORD ours = GetCurrentThreadId();
    const DWORD theirs = GetWindowThreadProcessId(target, nullptr);
    const bool attached = theirs && theirs != ours && AttachThreadInput(ours, theirs, TRUE);
    BYTE keys[256] = {};
    const bool marked = attached && GetKeyboardState(keys) && !(keys[VK_CONTROL] & 0x80);
    if (marked) {
        keys[VK_CONTROL] |= 0x80;
        SetKeyboardState(keys);
    }
    const Sent sent = ClearTarget(system, target);
    if (marked && GetKeyboardState(keys)) {
        keys[VK_CONTROL] &= static_cast<BYTE>(~0x80);
        SetKeyboardState(keys);
    }
    if (attached) AttachThreadInput(ours, theirs, FALSE);
    return sent;
}

Sent DeliverByCtrlV(const DeliverySystem& system, HWND window, DWORD command) {
    if (IsGone(window)) return Sent::Failed;
    Sent sent = SendKey(system, window, WM_KEYDOWN, VK_CONTROL);
    if (sent == Sent::Ok) sent = SendKey(system, window, WM_KEYDOWN, 'V');
    // As a command from an accelerator: the identifier in the low word, 1 in the high word.
    if (sent == Sent::Ok && command != 0)
        sent = SendAndWait(system, window, WM_COMMAND, (command & 0xFFFF) | 0x10000, 0);
    if (sent == Sent::Ok) sent = SendKey(system, window, WM_KEYUP, 'V');
    if (sent == Sent::Ok) sent = SendKey(system, window, WM_KEYUP, VK_CONTROL);
    return sent;
}

Sent DeliverByUser(const DeliverySystem& system, HWND window, DWORD offset, DWORD wParam) {
    if (IsGone(window)) return Sent::Failed;
    return SendAndWait(system, window, WM_USER + offset, wParam, 0);
}

bool HasFrame(HWND window) {
    return (GetWindowLongA(window, GWL_STYLE) & (WS_BORDER | WS_DLGFRAME)) != 0;
}

// Brings a top-level window with a caption or border to the front. A window whose
// program has stopped answering is left alone: joining its input would hold this thread.
void ActivateTopLevel(const DeliverySystem& system, HWND window) {
    if (!window || system.IsHungAppWindow(window) || !HasFrame(window)) return;
    const DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    const DWORD windowThread = GetWindowThreadProcessId(window, nullptr);
    // Fails harmlessly when both are the same thread.
    AttachThreadInput(windowThread, foregroundThread, TRUE);
    SetForegroundWindow(window);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    AttachThreadInput(windowThread, foregroundThread, FALSE);
}

// Keyboard input goes to the foreground input queue. Under Wine, detaching the target's
// thread again at the end of ActivateTopLevel leaves that queue with Jotwell's thread, so
// Ctrl+V would come back to Jotwell; one more SetForegroundWindow, without attaching,
// hands the queue to the target's thread (on Windows it is already there).
void EnsureForegroundInput(HWND top) {
    if (HasFrame(top)) SetForegroundWindow(top);  // ActivateTopLevel left a frameless one alone too
}

HWND TopLevelOf(HWND window) {
    HWND top = window;
    for (HWND parent = GetParent(top); parent; parent = GetParent(top)) top = parent;
    return top;
}

// Run-time lookups of what Windows 7 lacks.
template <typename Function>
Function Lookup(const char* name) {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

bool SystemIntegrityAboveOurs(HWND window);

DeliverySystem MakeSystemDelivery() {
    DeliverySystem system = {};
    system.IsHungAppWindow = &::IsHungAppWindow;
    system.IntegrityAboveOurs = &SystemIntegrityAboveOurs;
    system.SendMessageTimeout = &::SendMessageTimeoutA;
    system.GetCursorPos = &::GetCursorPos;
    system.ScreenToClient = &::ScreenToClient;
    system.ClientToScreen = &::ClientToScreen;
    system.GetWindowDpiAwarenessContext =
        Lookup<decltype(system.GetWindowDpiAwarenessContext)>("GetWindowDpiAwarenessContext");
    system.GetThreadDpiAwarenessContext =
        Lookup<decltype(system.GetThreadDpiAwarenessContext)>("GetThreadDpiAwarenessContext");
    system.SetThreadDpiAwarenessContext =
        Lookup<decltype(system.SetThreadDpiAwarenessContext)>("SetThreadDpiAwarenessContext");
    system.AreDpiAwarenessContextsEqual =
        Lookup<decltype(system.AreDpiAwarenessContextsEqual)>("AreDpiAwarenessContextsEqual");
    system.LogicalToPhysicalPointForPerMonitorDPI =
        Lookup<decltype(system.LogicalToPhysicalPointForPerMonitorDPI)>("LogicalToPhysicalPointForPerMonitorDPI");
    system.PhysicalToLogicalPointForPerMonitorDPI =
        Lookup<decltype(system.PhysicalToLogicalPointForPerMonitorDPI)>("PhysicalToLogicalPointForPerMonitorDPI");
    system.GetGUIThreadInfo = &::GetGUIThreadInfo;
    return system;
}

// The integrity level of a process token: the last part of its label's SID.
bool TokenIntegrity(HANDLE token, DWORD* level) {
    DWORD size = 0;
    GetTokenInformation(token, TokenIntegrityLevel, nullptr, 0, &size);
    if (size == 0) return false;
    std::string buffer(size, '\0');
    if (!GetTokenInformation(token, TokenIntegrityLevel, &buffer[0], size, &size)) return false;
    const auto* label = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer.data());
    const UCHAR count = *GetSidSubAuthorityCount(label->Label.Sid);
    if (count == 0) return false;
    *level = *GetSidSubAuthority(label->Label.Sid, count - 1u);
    return true;
}

// Jotwell's own level does not change while it runs.
DWORD OwnIntegrity() {
    static const DWORD level = [] {
        DWORD ours = 0;
        HANDLE raw = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) return ours;
        UniqueHandle token(raw);
        TokenIntegrity(token.Get(), &ours);
        return ours;
    }();
    return level;
}

// The answer for the last target's process, kept with a handle to it: a process's level does
// not change, and its id is not given to another process while a handle to it is open.
struct KnownProcess {
    DWORD Id = 0;
    UniqueHandle Process;
    bool Above = false;
};

bool AskIntegrityAboveOurs(DWORD processId, DWORD ours, UniqueHandle* kept) {
    UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    // A process Jotwell may not even look at (a protected or system one) is out of reach too.
    if (!process) return GetLastError() == ERROR_ACCESS_DENIED;
    HANDLE raw = nullptr;
    // The token of an elevated program refuses a query from below.
    const bool opened = OpenProcessToken(process.Get(), TOKEN_QUERY, &raw) != FALSE;
    const DWORD error = GetLastError();
    *kept = std::move(process);
    if (!opened) return error == ERROR_ACCESS_DENIED;
    UniqueHandle token(raw);
    DWORD theirs = 0;
    return TokenIntegrity(token.Get(), &theirs) && theirs > ours;
}

bool SystemIntegrityAboveOurs(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == 0 || processId == GetCurrentProcessId()) return false;
    const DWORD ours = OwnIntegrity();
    if (ours == 0) return false;  // a system without integrity levels
    static KnownProcess known;  // the drop runs on the UI thread only
    if (known.Process && known.Id == processId) return known.Above;
    UniqueHandle kept;
    const bool above = AskIntegrityAboveOurs(processId, ours, &kept);
    known.Id = processId;
    known.Process = std::move(kept);
    known.Above = above;
    return above;
}

// Where Windows 10 lets a thread take another window's DPI context, the conversion runs
// in the target's context; the thread's own context comes back after. A target of the
// thread's own awareness needs no switch.
class ThreadDpiContext {
public:
    ThreadDpiContext(const DeliverySystem& system, HWND window) : m_system(system) {
        if (!system.GetWindowDpiAwarenessContext || !system.GetThreadDpiAwarenessContext ||
            !system.SetThreadDpiAwarenessContext || !system.AreDpiAwarenessContextsEqual)
            return;
        const DpiContext theirs = system.GetWindowDpiAwarenessContext(window);
        m_supported = true;
        if (theirs && !system.AreDpiAwarenessContextsEqual(theirs, system.GetThreadDpiAwarenessContext()))
            m_previous = system.SetThreadDpiAwarenessContext(theirs);
    }
    ~ThreadDpiContext() {
        if (m_previous) m_system.SetThreadDpiAwarenessContext(m_previous);
    }
    ThreadDpiContext(const ThreadDpiContext&) = delete;
    ThreadDpiContext& operator=(const ThreadDpiContext&) = delete;
    bool Switched() const { return m_previous != nullptr; }
    // Windows 10 1607 or later: the thread's context is the target's now, switched or not.
    bool Supported() const { return m_supported; }

private:
    const DeliverySystem& m_system;
    DpiContext m_previous = nullptr;
    bool m_supported = false;
};

// Sends that Windows blocked make the drop Blocked; others that failed, Gone or
// StoppedAnswering depending on whether the window is still there.
DropOutcome FailedOutcome(Sent sent, HWND target) {
    if (sent == Sent::Denied) return DropOutcome::Blocked;
    return IsGone(target) ? DropOutcome::Gone : DropOutcome::StoppedAnswering;
}

// Posts WM_PASTE. FALSE when the window no longer exists.
BOOL DeliverByPaste(HWND window) {
    if (IsGone(window)) return FALSE;
    PostMessageA(window, WM_PASTE, 0, 0);
    return TRUE;
}

// A key as system keyboard input, to whatever has the keyboard focus: key in the hotkey
// control's form (a Keybd rule's Param1, KeybdKey), Ctrl+V for 0.
void DeliverByKeybd(DWORD key) {
    const std::uint32_t typed = KeybdKey(key);
    const struct {
        std::uint32_t Flag;
        BYTE Key;
    } modifiers[] = {{kKeyControl, VK_CONTROL}, {kKeyAlt, VK_MENU}, {kKeyShift, VK_SHIFT}};
    for (const auto& modifier : modifiers) {
        if (typed & modifier.Flag) PressKey(modifier.Key, 0);
    }
    const BYTE virtualKey = static_cast<BYTE>(typed & 0xFF);
    const DWORD extended = (typed & kKeyExtended) ? KEYEVENTF_EXTENDEDKEY : 0;
    PressKey(virtualKey, extended);
    PressKey(virtualKey, extended | KEYEVENTF_KEYUP);
    for (auto modifier = std::rbegin(modifiers); modifier != std::rend(modifiers); ++modifier) {
        if (typed & modifier->Flag) PressKey(modifier->Key, KEYEVENTF_KEYUP);
    }
}

// The point under the pointer in target's client coordinates, as target reads them: in
// its own DPI context (Windows 10 1607+), through the per-monitor conversions (8.1), or
// as the system converts it (7). screen is the pointer's position in Jotwell's coordinates;
// ownWindow is one of Jotwell's windows.
POINT TargetClientPoint(HWND target, POINT screen, HWND ownWindow, const DeliverySystem& system) {
    {
        // Windows 10 1607+: the pointer's position and the conversion both in the target's
        // context, so a per-monitor-aware target gets physical pixels and an unaware one
        // the logical units it reads. The pointer has not moved since the release.
        ThreadDpiContext context(system, target);
        if (context.Switched()) {
            POINT point = {};
            if (system.GetCursorPos(&point) && system.ScreenToClient(target, &point)) return point;
        } else if (context.Supported()) {
            POINT point = screen;  // the same units on both sides
            system.ScreenToClient(target, &point);
            return point;
        }
    }
    if (system.LogicalToPhysicalPointForPerMonitorDPI && system.PhysicalToLogicalPointForPerMonitorDPI) {
        // Windows 8.1: both the point and the target's client origin from Jotwell's units to
        // physical pixels and on to the target's units; their difference is the client point.
        POINT origin = {};
        system.ClientToScreen(target, &origin);
        POINT point = screen;
        for (POINT* p : {&point, &origin}) {
            if (ownWindow) system.LogicalToPhysicalPointForPerMonitorDPI(ownWindow, p);
            system.PhysicalToLogicalPointForPerMonitorDPI(target, p);
        }
        return POINT{point.x - origin.x, point.y - origin.y};
    }
    POINT point = screen;
    system.ScreenToClient(target, &point);
    return point;
}

// The system's edit control, the rich edit controls, the browsers' pages (which draw a caret
// of their own): a field of any of these classes is cleared even where no caret shows.
bool IsTextFieldClass(const char* className) {
    static const char* const kTextFields[] = {"Edit",        "RichEdit",    "RichEdit20A",
                                              "RichEdit20W", "RICHEDIT50W", "RICHEDIT60W",
                                              "Chrome_RenderWidgetHostHWND", "Internet Explorer_Server",
                                              "MozillaWindowClass"};
    for (const char* name : kTextFields)
        if (lstrcmpiA(className, name) == 0) return true;
    return false;
}

// Document windows that show a caret (for screen readers) and where Ctrl+A selects a
// whole document or grid: a word processor's page, a spreadsheet's grid.
bool IsDocumentClass(const char* className) {
    for (const char* name : {"_WwG", "EXCEL7"})
        if (lstrcmpiA(className, name) == 0) return true;
    return false;
}

// Whether a Ctrl-drop may empty the field: only where the focused window of the target's
// thread (the clicked field by now) is a text field, one that shows a caret or of a known
// text field's class. Ctrl+A and Delete elsewhere would select and delete files, cells or a
// whole document.
bool ClearsField(const DeliverySystem& system, HWND target) {
    const DWORD thread = GetWindowThreadProcessId(target, nullptr);
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (!thread || !system.GetGUIThreadInfo(thread, &info)) return false;
    const HWND focus = info.hwndFocus ? info.hwndFocus : info.hwndCaret;
    char className[64] = {};
    if (!focus || !GetClassNameA(focus, className, sizeof(className)) || IsDocumentClass(className)) return false;
    return (info.flags & GUI_CARETBLINKING) || info.hwndCaret || IsTextFieldClass(className);
}

// Lets go of Shift and the Windows keys that the user still holds, for the whole system,
// so that the keys sent next mean exactly what they are (Ctrl+V, not Ctrl+Shift+V).
void ReleaseHeldModifiers() {
    // Mostly none is held: three questions instead of five.
    if (!IsKeyDown(VK_SHIFT) && !IsKeyDown(VK_LWIN) && !IsKeyDown(VK_RWIN)) return;
    struct Held {
        BYTE Key;
        DWORD Flags;
    };
    static const Held kModifiers[] = {
        {VK_LSHIFT, 0}, {VK_RSHIFT, 0}, {VK_LWIN, KEYEVENTF_EXTENDEDKEY}, {VK_RWIN, KEYEVENTF_EXTENDEDKEY}};
    bool released = false;
    bool masked = false;
    for (const Held& held : kModifiers) {
        if (!IsKeyDown(held.Key)) continue;
        if (held.Flags == KEYEVENTF_EXTENDEDKEY && !masked) {
            // A Windows key pressed and released alone opens the Start menu: a key that
            // means nothing (0xE8 is unassigned) in between makes it a modifier that was used.
            keybd_event(kUnassignedKey, 0, 0, 0);
            keybd_event(kUnassignedKey, 0, KEYEVENTF_KEYUP, 0);
            masked = true;
        }
        keybd_event(held.Key, static_cast<BYTE>(MapVirtualKeyA(held.Key, MAPVK_VK_TO_VSC)),
                    held.Flags | KEYEVENTF_KEYUP, 0);
        released = true;
    }
    // Some systems tell only the undistinguished Shift.
    if (!released && IsKeyDown(VK_SHIFT)) {
        keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
        released = true;
    }
    // Lets the foreground thread take the releases before the keys that follow.
    if (released) Sleep(10);
}

}  // namespace

// The file name of the program that owns window ("notepad.exe"), or its title.
std::wstring ProgramName(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    UniqueHandle process(processId ? OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId) : nullptr);
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (process && QueryFullProcessImageNameW(process.Get(), 0, path, &size) && size > 0) {
        const std::wstring full(path, size);
        return full.substr(full.find_last_of(L"\\/") + 1);
    }
    wchar_t title[256] = {};
    GetWindowTextW(GetAncestor(window, GA_ROOT), title, 256);
    return title;
}

const DeliverySystem& SystemDelivery() {
    static const DeliverySystem system = MakeSystemDelivery();
    return system;
}

DropResult DeliverEntry(HWND target, POINT screen, const DestinationMatch& match, const DropOptions& options,
                        const DeliverySystem& system) {
    DropResult result;
    RECT own = {};
    if (options.OwnWindow && GetWindowRect(options.OwnWindow, &own) && PtInRect(&own, screen)) return result;
    if (!target) return result;
    char className[255] = {};
    if (!GetClassNameA(target, className, sizeof(className))) return result;
    // Before anything slow, while the pointer is still where it was released.
    result.ClientPoint = TargetClientPoint(target, screen, options.OwnWindow, system);
    const HWND top = TopLevelOf(target);
    const auto stop = [&](DropOutcome outcome) {
        result.Outcome = outcome;
        if (outcome == DropOutcome::Blocked || outcome == DropOutcome::StoppedAnswering) result.Program = ProgramName(top);
        return result;
    };
    // Without the text on the clipboard the target would paste whatever was there before,
    // after a click and perhaps the clearing of its field: it gets nothing at all.
    if (!PutDropTextOnClipboard(options.ClipboardOwner, options.Text, options.Encoding, options.Restore))
        return stop(DropOutcome::ClipboardBusy);
    // Windows would drop every message and key; a program that has stopped answering would
    // hold this thread when its input is joined. Neither gets anything but the clipboard.
    if (system.IntegrityAboveOurs(top)) return stop(DropOutcome::Blocked);
    if (StoppedAnswering(system, top)) return stop(DropOutcome::StoppedAnswering);
    const Sent clicked = ClickAt(system, target, result.ClientPoint);
    if (clicked != Sent::Ok) return stop(FailedOutcome(clicked, target));
    ActivateTopLevel(system, top);
    if (options.Clear && ClearsField(system, target)) {
        ReleaseHeldModifiers();
        const Sent cleared = ClearWithCtrlState(system, target);
        if (cleared != Sent::Ok) return stop(FailedOutcome(cleared, target));
    }
    Sent sent = Sent::Ok;
    switch (match.Method) {
    case DeliveryMethod::Paste:
        if (!DeliverByPaste(target)) return stop(DropOutcome::Gone);
        break;
    case DeliveryMethod::CtrlV:
        sent = DeliverByCtrlV(system, target, match.Rule.Param1);
        break;
    case DeliveryMethod::User:
        sent = DeliverByUser(system, target, match.Rule.Param1, match.Rule.Param2);
        break;
    case DeliveryMethod::Keybd:
        EnsureForegroundInput(top);
        ReleaseHeldModifiers();
        DeliverByKeybd(match.Rule.Param1);
        break;
    }
    if (sent != Sent::Ok) return stop(FailedOutcome(sent, target));
    result.Outcome = DropOutcome::Delivered;
    return result;
}
