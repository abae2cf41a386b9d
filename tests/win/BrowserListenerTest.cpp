// The decisions about who listens on a DevTools port, with the answers Windows gives
// (Wine names no owner of a socket, so they are given here through the seam).
#include "browser/BrowserListener.h"

#include <gtest/gtest.h>

namespace {

// A fake system: the owner of every port, its image and its user.
DWORD g_owner = 0;
const wchar_t* g_image = nullptr;  // null: the image cannot be read
OwnerUser g_user = OwnerUser::Same;
int g_asked = 0;

ListenerSystem FakeListener(DWORD owner, const wchar_t* image, OwnerUser user) {
    g_owner = owner;
    g_image = image;
    g_user = user;
    g_asked = 0;
    return {[](std::uint16_t) { return g_owner; },
            [](DWORD, std::wstring& name) {
                if (!g_image) return false;
                name = g_image;
                return true;
            },
            [](DWORD) {
                ++g_asked;
                return g_user;
            }};
}

}  // namespace

TEST(BrowserListener, OnlyABrowserOfThisUserIsTrusted) {
    const struct {
        const char* what;
        DWORD owner;
        const wchar_t* image;
        OwnerUser user;
        ListenerTrust trust;
    } cases[] = {
        {"Chrome of this user", 4120, L"chrome.exe", OwnerUser::Same, ListenerTrust::OwnBrowser},
        {"Edge, the name in capitals", 4120, L"MSEDGE.EXE", OwnerUser::Same, ListenerTrust::OwnBrowser},
        {"Chrome of another user (a terminal server)", 4120, L"chrome.exe", OwnerUser::Other, ListenerTrust::NotOurs},
        {"Chrome whose token cannot be read", 4120, L"chrome.exe", OwnerUser::Unknown, ListenerTrust::NotOurs},
        {"a program of this user that is no browser", 4120, L"python.exe", OwnerUser::Same, ListenerTrust::NotOurs},
        {"a name that only ends like a browser's", 4120, L"notchrome.exe", OwnerUser::Same, ListenerTrust::NotOurs},
        {"a process whose image cannot be read (another user's service)", 4, nullptr, OwnerUser::Same,
         ListenerTrust::NotOurs},
        {"no owner named (Wine, or nothing listening)", 0, nullptr, OwnerUser::Same, ListenerTrust::Unknown},
    };
    for (const auto& c : cases) {
        const ListenerSystem system = FakeListener(c.owner, c.image, c.user);
        EXPECT_EQ(c.trust, CheckListener(9222, system)) << c.what;
    }
}

TEST(BrowserListener, TheConfiguredPortWithoutAnOwnerOnlyWhenTheUserSetIt) {
    ListenerSystem system = FakeListener(0, nullptr, OwnerUser::Same);
    EXPECT_TRUE(MaySendToConfiguredPort(9222, true, system));
    EXPECT_FALSE(MaySendToConfiguredPort(9222, false, system));
    // An owner that is named decides, whether the port was set or not.
    system = FakeListener(4120, L"chrome.exe", OwnerUser::Same);
    EXPECT_TRUE(MaySendToConfiguredPort(9222, false, system));
    system = FakeListener(4120, L"chrome.exe", OwnerUser::Other);
    EXPECT_FALSE(MaySendToConfiguredPort(9222, true, system));
    system = FakeListener(4120, L"listener.exe", OwnerUser::Same);
    EXPECT_FALSE(MaySendToConfiguredPort(9222, true, system));
    EXPECT_EQ(0, g_asked) << "a program that is no browser needs no look at its user";
}

TEST(BrowserListener, ThePortItselfIsNoPermission) {
    // The system's own answers for a port where nothing listens: no owner, so the default
    // port alone lets nothing through.
    EXPECT_FALSE(MaySendToConfiguredPort(1, false));
}
