#include "browser/BrowserListener.h"

#include "framework/Handles.h"

#include <winsock2.h>  // AF_INET
#include <iphlpapi.h>

#include <memory>
#include <vector>

namespace {

const wchar_t* const kBrowserImages[] = {L"chrome.exe", L"msedge.exe", L"brave.exe",
                                         L"chromium.exe", L"vivaldi.exe", L"opera.exe"};

std::uint16_t NetworkPort(DWORD value) {
    return static_cast<std::uint16_t>(((value & 0xFF) << 8) | ((value >> 8) & 0xFF));
}

DWORD SystemListenerProcess(std::uint16_t port) {
    std::vector<unsigned char> buffer(16 * 1024);
    DWORD size = static_cast<DWORD>(buffer.size());
    DWORD rc = ERROR_INSUFFICIENT_BUFFER;
    for (int tries = 0; tries < 4 && rc == ERROR_INSUFFICIENT_BUFFER; ++tries) {
        buffer.resize(size);
        rc = GetExtendedTcpTable(buffer.data(), &size, FALSE, AF_INET, TCP_TABLE_OWNER_PID_LISTENER, 0);
    }
    if (rc != NO_ERROR) return 0;
    const auto* table = reinterpret_cast<const MIB_TCPTABLE_OWNER_PID*>(buffer.data());
    const DWORD loopback = 0x0100007F;  // 127.0.0.1 in network order
    for (DWORD i = 0; i < table->dwNumEntries; ++i) {
        const MIB_TCPROW_OWNER_PID& row = table->table[i];
        if (NetworkPort(row.dwLocalPort) == port && (row.dwLocalAddr == loopback || row.dwLocalAddr == 0))
            return row.dwOwningPid;
    }
    return 0;
}

bool SystemImageName(DWORD process, std::wstring& name) {
    UniqueHandle handle(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process));
    if (!handle) return false;
    std::wstring path(MAX_PATH, L'\0');
    for (int tries = 0; tries < 4; ++tries) {
        DWORD length = static_cast<DWORD>(path.size());
        if (QueryFullProcessImageNameW(handle.Get(), 0, &path[0], &length)) {
            path.resize(length);
            const std::size_t slash = path.find_last_of(L"\\/");
            name = slash == std::wstring::npos ? path : path.substr(slash + 1);
            return true;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
        path.resize(path.size() * 4);
    }
    return false;
}

// The token user of a process's token; empty when it cannot be read.
std::vector<unsigned char> TokenUser(HANDLE process) {
    HANDLE raw = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &raw)) return {};
    UniqueHandle token(raw);
    DWORD size = 0;
    GetTokenInformation(token.Get(), ::TokenUser, nullptr, 0, &size);
    if (size == 0) return {};
    std::vector<unsigned char> user(size);
    if (!GetTokenInformation(token.Get(), ::TokenUser, user.data(), size, &size)) return {};
    return user;
}

OwnerUser SystemUserOf(DWORD process) {
    UniqueHandle handle(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process));
    if (!handle) return OwnerUser::Other;  // a process Jotwell may not look into is not this user's
    const std::vector<unsigned char> theirs = TokenUser(handle.Get());
    const std::vector<unsigned char> ours = TokenUser(GetCurrentProcess());
    if (theirs.empty() || ours.empty()) return OwnerUser::Unknown;
    const auto* a = reinterpret_cast<const TOKEN_USER*>(theirs.data());
    const auto* b = reinterpret_cast<const TOKEN_USER*>(ours.data());
    return EqualSid(a->User.Sid, b->User.Sid) ? OwnerUser::Same : OwnerUser::Other;
}

}  // namespace

const ListenerSystem& SystemListener() {
    static const ListenerSystem system = {&SystemListenerProcess, &SystemImageName, &SystemUserOf};
    return system;
}

bool IsBrowserImage(const std::wstring& name) {
    for (const wchar_t* image : kBrowserImages)
        if (CompareStringOrdinal(name.c_str(), -1, image, -1, TRUE) == CSTR_EQUAL) return true;
    return false;
}

ListenerTrust CheckListener(std::uint16_t port, const ListenerSystem& system) {
    const DWORD process = system.ListenerProcess(port);
    if (process == 0) return ListenerTrust::Unknown;
    std::wstring image;
    if (!system.ImageName(process, image) || !IsBrowserImage(image)) return ListenerTrust::NotOurs;
    return system.UserOf(process) == OwnerUser::Same ? ListenerTrust::OwnBrowser : ListenerTrust::NotOurs;
}

bool MaySendToConfiguredPort(std::uint16_t port, bool portSetByUser, const ListenerSystem& system) {
    const ListenerTrust trust = CheckListener(port, system);
    return trust == ListenerTrust::OwnBrowser || (trust == ListenerTrust::Unknown && portSetByUser);
}
