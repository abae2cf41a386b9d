// Every value Jotwell keeps in the registry, named once: each profile section and key
// with its default and the range a value must lie in, and the root of the destination
// rule table. Every reader and writer of the program takes its names from here
// (settings/ProfileAccess.h reads and writes the profile values). The names are the
// registry's own; changing one loses the users' settings.
#pragma once

#include <climits>

// The profile lies under HKEY_CURRENT_USER\Software\<company>\<application name>, one
// subkey per section and one value per key; the application's name is its title string.
inline constexpr char kRegistryCompany[] = "Velmora";

// The destination rules lie in "DestWnd" beside the sections, under the same key.
inline constexpr char kDestinationRulesPath[] = "HKEY_CURRENT_USER\\Software\\Velmora\\Jotwell\\DestWnd";

// An integer value, stored as REG_DWORD. A value outside lowest..highest, read or about
// to be written, is replaced by the default.
struct IntSetting {
    const char* section;
    const char* key;
    int defaultValue;
    int lowest;
    int highest;
};

// A text value, stored as REG_SZ.
struct TextSetting {
    const char* section;
    const char* key;
    const char* defaultValue;
};

constexpr int InRangeOrDefault(const IntSetting& setting, int value) {
    return value < setting.lowest || value > setting.highest ? setting.defaultValue : value;
}

namespace Profile {

// 0 = normal window, any other value = topmost.
inline constexpr IntSetting kAlwaysOnTop{"Option", "AlwaysOnTop", 1, INT_MIN, INT_MAX};
// Kept by the document and toggled by its command; nothing else reads it.
inline constexpr IntSetting kActiveDestWindow{"Option", "ActiveDestWindow", 1, INT_MIN, INT_MAX};
// The key that shows or hides the main window from anywhere, as the system's hotkey control
// gives it: the virtual key in the low byte, HOTKEYF_SHIFT (1), HOTKEYF_CONTROL (2),
// HOTKEYF_ALT (4) and HOTKEYF_EXT (8) in the high byte. 0 = none; the default is Ctrl+Alt+J.
inline constexpr IntSetting kHotKey{"Option", "HotKey", 0x064A, 0, 0x0FFF};
// 1 = a drop puts back what the clipboard held once the target has read the entry; 0 = the
// clipboard keeps the dropped text.
inline constexpr IntSetting kRestoreClipboard{"Option", "RestoreClipboard", 0, 0, 1};
// The text "Prefix Lines" puts before each line of the clipboard text; read at each use,
// never written.
inline constexpr TextSetting kAppendToTopText{"Option", "AppendToTopText", ">"};

// Widths in pixels of the list's "Text" and "Explanation" columns.
inline constexpr IntSetting kTextColumnWidth{"Pos", "Separate", 64, 1, 1200};
inline constexpr IntSetting kExplanationColumnWidth{"Pos", "EndPart", 24, 1, 1200};

// The main window's place in screen pixels; -1 in any of them means no saved place.
inline constexpr IntSetting kWindowLeft{"Pos", "x", -1, INT_MIN, INT_MAX};
inline constexpr IntSetting kWindowTop{"Pos", "y", -1, INT_MIN, INT_MAX};
inline constexpr IntSetting kWindowWidth{"Pos", "w", -1, INT_MIN, INT_MAX};
inline constexpr IntSetting kWindowHeight{"Pos", "h", -1, INT_MIN, INT_MAX};

// The file a session's end wrote an unsaved list to, told at the next start and then
// cleared; empty = none.
inline constexpr TextSetting kRecoveryFile{"Option", "RecoveryFile", ""};
// 1 when a session's end could neither save the list nor write its recovery file: told at
// the next start, then cleared.
inline constexpr IntSetting kRecoveryFailed{"Option", "RecoveryFailed", 0, 0, 1};

// Full path of the web input setting file; empty = none.
inline constexpr TextSetting kWebInputFile{"WebInput", "File", ""};
// The browsers' DevTools port on 127.0.0.1; 0 = the shell's windows only. Never written.
inline constexpr IntSetting kDevToolsPort{"WebInput", "DevToolsPort", 9222, 0, 65535};

// The framework's recent-file list: values "File1" (the latest) to "File10", absent when unused.
inline constexpr char kRecentFileSection[] = "Recent File List";
inline constexpr char kRecentFileEntry[] = "File%d";
inline constexpr int kRecentFileCount = 10;

// The framework keeps the toolbar's dock state in "<name>-Bar0" under this name.
inline constexpr char kToolBarStateName[] = "Jotwell";

}  // namespace Profile
