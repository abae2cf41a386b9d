// Move-only owners for Win32 resources: each releases what it holds on every path.
#pragma once

#include <windows.h>
#include <ole2.h>  // OleInitialize; not in <windows.h> under WIN32_LEAN_AND_MEAN
#include <winhttp.h>

#include <utility>

// A kernel handle closed with CloseHandle (mutexes, threads, files).
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE h) : m_h(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& o) noexcept : m_h(o.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        if (this != &o) { Reset(); m_h = o.Release(); }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    HANDLE Get() const { return m_h; }
    explicit operator bool() const { return m_h != nullptr; }
    HANDLE Release() { HANDLE h = m_h; m_h = nullptr; return h; }
    void Reset(HANDLE h = nullptr) {
        if (m_h) CloseHandle(m_h);
        m_h = (h == INVALID_HANDLE_VALUE) ? nullptr : h;
    }

private:
    HANDLE m_h = nullptr;
};

// An open registry key closed with RegCloseKey.
class RegKey {
public:
    RegKey() = default;
    explicit RegKey(HKEY k) : m_k(k) {}
    ~RegKey() { Close(); }
    RegKey(RegKey&& o) noexcept : m_k(o.Release()) {}
    RegKey& operator=(RegKey&& o) noexcept {
        if (this != &o) { Close(); m_k = o.Release(); }
        return *this;
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    HKEY Get() const { return m_k; }
    HKEY* Receive() { Close(); return &m_k; }
    explicit operator bool() const { return m_k != nullptr; }
    HKEY Release() { HKEY k = m_k; m_k = nullptr; return k; }
    // Closes the key now; false when RegCloseKey failed.
    bool Close() {
        if (!m_k) return true;
        const LONG rc = RegCloseKey(m_k);
        m_k = nullptr;
        return rc == ERROR_SUCCESS;
    }

private:
    HKEY m_k = nullptr;
};

// Movable global memory, freed unless handed over (to the clipboard) with Release.
class GlobalMemory {
public:
    GlobalMemory() = default;
    GlobalMemory(UINT flags, SIZE_T bytes) : m_h(GlobalAlloc(flags, bytes)) {}
    ~GlobalMemory() { if (m_h) GlobalFree(m_h); }
    GlobalMemory(GlobalMemory&& o) noexcept : m_h(o.Release()) {}
    GlobalMemory& operator=(GlobalMemory&& o) noexcept {
        if (this != &o) { if (m_h) GlobalFree(m_h); m_h = o.Release(); }
        return *this;
    }
    GlobalMemory(const GlobalMemory&) = delete;
    GlobalMemory& operator=(const GlobalMemory&) = delete;

    HGLOBAL Get() const { return m_h; }
    explicit operator bool() const { return m_h != nullptr; }
    HGLOBAL Release() { HGLOBAL h = m_h; m_h = nullptr; return h; }

private:
    HGLOBAL m_h = nullptr;
};

// A lock on global memory, unlocked at the end of the scope.
class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL h) : m_h(h), m_p(h ? GlobalLock(h) : nullptr) {}
    ~GlobalLockGuard() { if (m_p) GlobalUnlock(m_h); }
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;

    void* Get() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    SIZE_T Size() const { return m_h ? GlobalSize(m_h) : 0; }

private:
    HGLOBAL m_h;
    void* m_p;
};

// How long opening the clipboard is tried while another program holds it open for a moment
// (clipboard tools, remote desktop's clipboard helper, Office).
constexpr DWORD kClipboardWaitMs = 500;

// The clipboard, open for the lifetime of this object. Opening is tried again for up to
// waitMs; a clipboard that opens at once costs no wait. Messages sent to this thread are
// handled meanwhile: the holder may be waiting for this thread to render delayed data.
class ClipboardSession {
public:
    explicit ClipboardSession(HWND owner, DWORD waitMs = kClipboardWaitMs) : m_open(Open(owner, waitMs)) {}
    ~ClipboardSession() { if (m_open) CloseClipboard(); }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;

    bool IsOpen() const { return m_open; }

private:
    static bool Open(HWND owner, DWORD waitMs) {
        if (OpenClipboard(owner)) return true;
        const DWORD start = GetTickCount();
        for (DWORD pause = 1; GetTickCount() - start < waitMs; pause = pause < 16 ? pause * 2 : 16) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, pause, QS_SENDMESSAGE);
            MSG msg;
            PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
            if (OpenClipboard(owner)) return true;
        }
        return false;
    }

    bool m_open;
};

// A COM interface pointer, released by its owner.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(ComPtr&& o) noexcept : m_p(o.m_p) { o.m_p = nullptr; }
    ComPtr& operator=(ComPtr&& o) noexcept {
        if (this != &o) { Reset(); m_p = o.m_p; o.m_p = nullptr; }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    // For out-parameters: releases what is held and hands out the slot.
    T** Receive() { Reset(); return &m_p; }
    void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }
    void Reset() { if (m_p) { m_p->Release(); m_p = nullptr; } }

    template <typename U>
    HRESULT As(ComPtr<U>& out) const {
        if (!m_p) return E_POINTER;
        return m_p->QueryInterface(__uuidof(U), out.ReceiveVoid());
    }

private:
    T* m_p = nullptr;
};

// OLE initialised for the calling thread for the lifetime of this object.
class OleInitScope {
public:
    OleInitScope() : m_hr(OleInitialize(nullptr)) {}
    ~OleInitScope() { if (SUCCEEDED(m_hr)) OleUninitialize(); }
    OleInitScope(const OleInitScope&) = delete;
    OleInitScope& operator=(const OleInitScope&) = delete;
    bool Succeeded() const { return SUCCEEDED(m_hr); }

private:
    HRESULT m_hr;
};

// A BSTR freed with SysFreeString.
class UniqueBstr {
public:
    UniqueBstr() = default;
    explicit UniqueBstr(BSTR b) : m_b(b) {}
    ~UniqueBstr() { Reset(); }
    UniqueBstr(UniqueBstr&& o) noexcept : m_b(o.m_b) { o.m_b = nullptr; }
    UniqueBstr& operator=(UniqueBstr&& o) noexcept {
        if (this != &o) { Reset(); m_b = o.m_b; o.m_b = nullptr; }
        return *this;
    }
    UniqueBstr(const UniqueBstr&) = delete;
    UniqueBstr& operator=(const UniqueBstr&) = delete;

    BSTR Get() const { return m_b; }
    BSTR* Receive() { Reset(); return &m_b; }
    UINT Length() const { return m_b ? SysStringLen(m_b) : 0; }
    // Hands the string over (e.g. into a VARIANT that will free it).
    BSTR Release() { BSTR b = m_b; m_b = nullptr; return b; }
    void Reset() { if (m_b) { SysFreeString(m_b); m_b = nullptr; } }

private:
    BSTR m_b = nullptr;
};

// A VARIANT cleared with VariantClear (releasing the string or interface it holds).
class UniqueVariant {
public:
    UniqueVariant() { VariantInit(&m_v); }
    ~UniqueVariant() { VariantClear(&m_v); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;

    VARIANT& Get() { return m_v; }
    const VARIANT& Get() const { return m_v; }
    // For out-parameters: clears what is held first.
    VARIANT* Receive() { VariantClear(&m_v); return &m_v; }

private:
    VARIANT m_v;
};

// A menu loaded from resources, destroyed with DestroyMenu.
class UniqueMenu {
public:
    UniqueMenu() = default;
    explicit UniqueMenu(HMENU m) : m_m(m) {}
    ~UniqueMenu() { if (m_m) DestroyMenu(m_m); }
    UniqueMenu(const UniqueMenu&) = delete;
    UniqueMenu& operator=(const UniqueMenu&) = delete;

    HMENU Get() const { return m_m; }
    explicit operator bool() const { return m_m != nullptr; }

private:
    HMENU m_m = nullptr;
};

// A WinHTTP session, connection, request or WebSocket handle closed with WinHttpCloseHandle.
class InternetHandle {
public:
    InternetHandle() = default;
    explicit InternetHandle(HINTERNET h) : m_h(h) {}
    ~InternetHandle() { Reset(); }
    InternetHandle(InternetHandle&& o) noexcept : m_h(o.m_h) { o.m_h = nullptr; }
    InternetHandle& operator=(InternetHandle&& o) noexcept {
        if (this != &o) { Reset(); m_h = o.m_h; o.m_h = nullptr; }
        return *this;
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;

    HINTERNET Get() const { return m_h; }
    explicit operator bool() const { return m_h != nullptr; }
    void Reset(HINTERNET h = nullptr) {
        if (m_h) WinHttpCloseHandle(m_h);
        m_h = h;
    }

private:
    HINTERNET m_h = nullptr;
};
