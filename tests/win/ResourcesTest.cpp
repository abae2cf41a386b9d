// The program's resources as the running system hands them out: the English ones under
// code page 1252, the Japanese ones (text in Shift-JIS) under code page 932.
#include "res/resource.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

HINSTANCE Self() { return GetModuleHandleA(nullptr); }
bool Japanese() { return GetACP() == 932; }

// Owns a loaded menu for the test's scope.
struct MenuHolder {
    explicit MenuHolder(UINT id) : menu(LoadMenuA(Self(), MAKEINTRESOURCEA(id))) {}
    ~MenuHolder() { if (menu) DestroyMenu(menu); }
    MenuHolder(const MenuHolder&) = delete;
    MenuHolder& operator=(const MenuHolder&) = delete;
    HMENU menu;
};

std::string TextAt(HMENU menu, UINT item, UINT flag) {
    char buf[256] = {};
    const int n = GetMenuStringA(menu, item, buf, sizeof buf, flag);
    return std::string(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

// One row per menu position: the command (0 for a separator, -1 for a submenu).
std::vector<int> Layout(HMENU menu) {
    std::vector<int> ids;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (GetSubMenu(menu, i)) { ids.push_back(-1); continue; }
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID;
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        ids.push_back((info.fType & MFT_SEPARATOR) ? 0 : static_cast<int>(info.wID));
    }
    return ids;
}

INT_PTR CALLBACK IgnoreMessages(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

std::string LoadText(UINT id) {
    char buf[512] = {};
    const int n = LoadStringA(Self(), id, buf, sizeof buf);
    return std::string(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

}  // namespace

TEST(Resources, MainMenuHasItsPopupsCommandsAndSeparators) {
    MenuHolder main(IDR_MAINFRAME);
    ASSERT_NE(main.menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(main.menu), 2);
    EXPECT_EQ(TextAt(main.menu, 0, MF_BYPOSITION), "&Menu");
    EXPECT_EQ(TextAt(main.menu, 1, MF_BYPOSITION), "&Web");

    HMENU file = GetSubMenu(main.menu, 0);
    const std::vector<int> fileLayout = {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS, 0,
                                         ID_FILE_MRU_FILE1, 0, -1, ID_HOT_KEY, ID_DELIVERY_RULES, ID_RESTORE_CLIPBOARD, 0,
                                         ID_CLOSE_WINDOW};
    EXPECT_EQ(Layout(file), fileLayout);
    EXPECT_EQ(TextAt(file, ID_FILE_MRU_FILE1, MF_BYCOMMAND), "Recent File");

    const std::vector<int> othersLayout = {ID_REFRESH, ID_EDIT_FILE_BY_TEXT_EDITOR, ID_OPEN_WEBINPUT_FILE, 0,
                                           ID_ALWAYS_ON_TOP, ID_APP_ABOUT};
    EXPECT_EQ(Layout(GetSubMenu(file, 7)), othersLayout);

    const std::vector<int> webLayout = {ID_VIEW_TOOLBAR, 0, ID_AUTO_INPUT, ID_CONVERT_HALF_WIDTH};
    EXPECT_EQ(Layout(GetSubMenu(main.menu, 1)), webLayout);

    if (Japanese()) {
        EXPECT_EQ(TextAt(main.menu, ID_FILE_SAVE, MF_BYCOMMAND), "\x8f\xe3\x8f\x91\x95\xdb\x91\xb6(&S)\tCtrl+S");
        EXPECT_EQ(TextAt(main.menu, ID_VIEW_TOOLBAR, MF_BYCOMMAND), "\xc2\xb0\xd9 \xca\xde\xb0(&T)");
    } else {
        EXPECT_EQ(TextAt(main.menu, ID_FILE_SAVE, MF_BYCOMMAND), "&Save\tCtrl+S");
        EXPECT_EQ(TextAt(main.menu, ID_CONVERT_HALF_WIDTH, MF_BYCOMMAND), "&Convert Ascii Char.");
        EXPECT_EQ(TextAt(file, 7, MF_BYPOSITION), "&Others");
        EXPECT_EQ(TextAt(file, ID_HOT_KEY, MF_BYCOMMAND), "&Hot Key...");
        EXPECT_EQ(TextAt(file, ID_DELIVERY_RULES, MF_BYCOMMAND), "&Delivery Rules...");
        EXPECT_EQ(TextAt(file, ID_RESTORE_CLIPBOARD, MF_BYCOMMAND), "Restore Clipboard after Drop");
    }
}

TEST(Resources, PopupMenusOfTheListAndTheTray) {
    MenuHolder entry(IDR_POPUP_ENTRY);
    ASSERT_NE(entry.menu, nullptr);
    const std::vector<int> entryLayout = {ID_EDIT_COPY, 0, ID_MODIFY_TEXT, ID_MODIFY_EXPLANATION,
                                          ID_INSERT_LINE, ID_DELETE_LINE};
    EXPECT_EQ(Layout(GetSubMenu(entry.menu, 0)), entryLayout);

    MenuHolder tray(IDR_POPUP_TRAY);
    ASSERT_NE(tray.menu, nullptr);
    const std::vector<int> trayLayout = {ID_DISPLAY, 0, ID_INIT_WINDOW_POS, 0, ID_APP_EXIT};
    EXPECT_EQ(Layout(GetSubMenu(tray.menu, 0)), trayLayout);
    if (!Japanese()) {
        EXPECT_EQ(TextAt(tray.menu, ID_APP_EXIT, MF_BYCOMMAND), "E&xit Application");
    }
}

TEST(Resources, Strings) {
    EXPECT_EQ(LoadText(AFX_IDS_APP_TITLE), "Jotwell");
    EXPECT_EQ(LoadText(IDR_TRAYICON), "Jotwell");
    EXPECT_EQ(LoadText(IDR_MAINFRAME),
              "Jotwell\n\nJotw\nJotw Files (*.txt)\n.txt\nJotwell.Document\nJotw Document");
    EXPECT_EQ(LoadText(AFX_IDP_FILE_NOT_FOUND), "%1 was not found.");
    EXPECT_EQ(LoadText(AFX_IDS_UNTITLED), "Untitled");
    if (Japanese()) {
        EXPECT_EQ(LoadText(IDS_DELETE_CONFIRM),
                  "\x82\xb1\x82\xcc\x8d" "s\x82\xf0\x8d\xed\x8f\x9c\x82\xb5\x82\xc4\x82\xe0\x82\xe6\x82\xeb"
                  "\x82\xb5\x82\xa2\x82\xc5\x82\xb7\x82\xa9\x81" "H");
        EXPECT_EQ(LoadText(IDS_COLUMN_TEXT), "\x93]\x91\x97\x95\xb6");
    } else {
        EXPECT_EQ(LoadText(IDS_DELETE_CONFIRM), "Delete This Line?");
        EXPECT_EQ(LoadText(IDS_COLUMN_EXPLANATION), "Explanation");
    }
}

TEST(Resources, AcceleratorTable) {
    HACCEL table = LoadAcceleratorsA(Self(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_NE(table, nullptr);
    ACCEL keys[16] = {};
    const int n = CopyAcceleratorTableA(table, keys, 16);
    DestroyAcceleratorTable(table);
    ASSERT_EQ(n, 10);

    struct Expected { WORD key; BYTE mods; WORD cmd; };
    const Expected expected[] = {
        {'C', FCONTROL, ID_EDIT_COPY},   {'D', FCONTROL | FALT, ID_TAG_INDEX_REPORT},
        {'N', FCONTROL, ID_FILE_NEW},    {'O', FCONTROL, ID_FILE_OPEN},
        {'S', FCONTROL, ID_FILE_SAVE},   {VK_F2, 0, ID_MODIFY_TEXT},
        {VK_F4, 0, ID_MODIFY_EXPLANATION}, {VK_F5, 0, ID_REFRESH},
        {VK_INSERT, 0, ID_INSERT_LINE},  {'F', FCONTROL, ID_FILTER_FOCUS},
    };
    for (const Expected& e : expected) {
        bool found = false;
        for (int i = 0; i < n; ++i) {
            const BYTE mods = keys[i].fVirt & (FCONTROL | FALT | FSHIFT);
            if (keys[i].key == e.key && keys[i].cmd == e.cmd && mods == e.mods && (keys[i].fVirt & FVIRTKEY))
                found = true;
        }
        EXPECT_TRUE(found) << "command " << e.cmd;
    }
}

TEST(Resources, DragCursorHasItsHotSpotAtTheArrowTip) {
    HCURSOR cursor = LoadCursorA(Self(), MAKEINTRESOURCEA(IDC_DRAG));
    ASSERT_NE(cursor, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 1u);
    EXPECT_EQ(info.yHotspot, 1u);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
}

TEST(Resources, IconsAndToolbar) {
    EXPECT_NE(LoadIconA(Self(), MAKEINTRESOURCEA(IDR_MAINFRAME)), nullptr);
    HANDLE tray = LoadImageA(Self(), MAKEINTRESOURCEA(IDR_TRAYICON), IMAGE_ICON, 16, 16, 0);
    EXPECT_NE(tray, nullptr);
    if (tray) DestroyIcon(static_cast<HICON>(tray));

    HRSRC found = FindResourceA(Self(), MAKEINTRESOURCEA(IDR_MAINFRAME), MAKEINTRESOURCEA(RT_TOOLBAR_DATA));
    ASSERT_NE(found, nullptr);
    ASSERT_EQ(SizeofResource(Self(), found), 11u * sizeof(WORD));
    const WORD* data = static_cast<const WORD*>(LockResource(LoadResource(Self(), found)));
    ASSERT_NE(data, nullptr);
    const std::vector<WORD> words(data, data + 11);
    const std::vector<WORD> expected = {1, 16, 15, 7, ID_AUTO_INPUT, 0, ID_CONVERT_HALF_WIDTH, 0,
                                        ID_PREFIX_LINES, 0, ID_CLOSE_WINDOW};
    EXPECT_EQ(words, expected);

    HBITMAP strip = static_cast<HBITMAP>(
        LoadImageA(Self(), MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(strip, nullptr);
    BITMAP bm = {};
    GetObjectA(strip, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 4 * 16);
    EXPECT_EQ(bm.bmHeight, 15);
    EXPECT_EQ(bm.bmBitsPixel, 4);
    DeleteObject(strip);
}

TEST(Resources, DialogTemplates) {
    // A dialog template starts with its style; DIALOGEX templates with a signature instead.
    HRSRC about = FindResourceA(Self(), MAKEINTRESOURCEA(IDD_ABOUTBOX), MAKEINTRESOURCEA(5));
    ASSERT_NE(about, nullptr);
    const WORD* ex = static_cast<const WORD*>(LockResource(LoadResource(Self(), about)));
    EXPECT_EQ(ex[0], 1);
    EXPECT_EQ(ex[1], 0xFFFF);

    HRSRC modify = FindResourceA(Self(), MAKEINTRESOURCEA(IDD_MODIFY), MAKEINTRESOURCEA(5));
    ASSERT_NE(modify, nullptr);
    const DLGTEMPLATE* tpl = static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(Self(), modify)));
    EXPECT_EQ(tpl->cdit, 3);
    EXPECT_EQ(tpl->cx, 215);
    EXPECT_EQ(tpl->cy, 49);
    EXPECT_TRUE(tpl->style & DS_MODALFRAME);
    EXPECT_TRUE((tpl->style & WS_CAPTION) == WS_CAPTION);
    EXPECT_TRUE(tpl->style & WS_SYSMENU);

    // The dialog builds from its template with the controls the code exchanges data with.
    HWND dlg = CreateDialogParamA(Self(), MAKEINTRESOURCEA(IDD_ABOUTBOX), nullptr, IgnoreMessages, 0);
    ASSERT_NE(dlg, nullptr);
    EXPECT_NE(GetDlgItem(dlg, IDC_ABOUT_UPDATE), nullptr);
    EXPECT_NE(GetDlgItem(dlg, IDOK), nullptr);
    // The version line, from res/Version.h.
    bool versionLine = false;
    for (HWND child = GetWindow(dlg, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char text[64] = {};
        GetWindowTextA(child, text, sizeof(text));
        versionLine = versionLine || std::string(text) == "Jotwell Version 2.02";
    }
    EXPECT_TRUE(versionLine);
    DestroyWindow(dlg);
}

TEST(Resources, VersionResource) {
    HRSRC found = FindResourceA(Self(), MAKEINTRESOURCEA(VS_VERSION_INFO), MAKEINTRESOURCEA(16));
    ASSERT_NE(found, nullptr);
    const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(Self(), found)));
    const DWORD size = SizeofResource(Self(), found);
    // The fixed part follows the header and the key "VS_VERSION_INFO", aligned to 32 bits.
    ASSERT_GT(size, 40u + sizeof(VS_FIXEDFILEINFO));
    VS_FIXEDFILEINFO fixed = {};
    memcpy(&fixed, data + 40, sizeof fixed);
    EXPECT_EQ(fixed.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed.dwFileVersionMS, 0x00020002u);
    EXPECT_EQ(fixed.dwFileVersionLS, 0u);
    // Both string blocks name the product.
    const std::wstring text(reinterpret_cast<const wchar_t*>(data), size / sizeof(wchar_t));
    EXPECT_NE(text.find(L"040904b0"), std::wstring::npos);
    EXPECT_NE(text.find(L"041104b0"), std::wstring::npos);
    EXPECT_NE(text.find(L"Velmora"), std::wstring::npos);
}
