// Noticing that a file changed on disk: its stamp (size and last write time) to compare
// before trusting the copy in memory, and a watcher of its folder on a thread of its own.
#pragma once

#include <windows.h>

#include "framework/Handles.h"

// What identifies one state of a file on disk; a missing file has exists == false. Taken
// through symbolic links: the stamp is the named file's, not the link's.
struct CFileStamp {
    bool exists = false;
    ULONGLONG size = 0;
    FILETIME lastWrite = {0, 0};

    static CFileStamp Of(const wchar_t* path);
    bool operator==(const CFileStamp& o) const {
        return exists == o.exists && (!exists || (size == o.size && CompareFileTime(&lastWrite, &o.lastWrite) == 0));
    }
    bool operator!=(const CFileStamp& o) const { return !(*this == o); }
};

// A folder change notification handle, closed with FindCloseChangeNotification.
class UniqueChangeNotification {
public:
    UniqueChangeNotification() = default;
    explicit UniqueChangeNotification(HANDLE h) : m_h(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
    ~UniqueChangeNotification() {
        if (m_h) FindCloseChangeNotification(m_h);
    }
    UniqueChangeNotification(UniqueChangeNotification&& o) noexcept : m_h(o.m_h) { o.m_h = nullptr; }
    UniqueChangeNotification& operator=(UniqueChangeNotification&& o) noexcept {
        if (this != &o) {
            if (m_h) FindCloseChangeNotification(m_h);
            m_h = o.m_h;
            o.m_h = nullptr;
        }
        return *this;
    }
    UniqueChangeNotification(const UniqueChangeNotification&) = delete;
    UniqueChangeNotification& operator=(const UniqueChangeNotification&) = delete;
    HANDLE Get() const { return m_h; }
    explicit operator bool() const { return m_h != nullptr; }

private:
    HANDLE m_h = nullptr;
};

// Posts `message` to `window` whenever a name, size or write time in the watched file's
// folder changes (the receiver compares the file's stamp: the folder holds other files too).
// Stops, and waits for its thread, in Stop and on destruction.
class CFileWatcher {
public:
    CFileWatcher() = default;
    ~CFileWatcher() { Stop(); }
    CFileWatcher(const CFileWatcher&) = delete;
    CFileWatcher& operator=(const CFileWatcher&) = delete;

    // Watches the folder of the file `path` (a full path) names, through symbolic links;
    // false when it cannot be watched.
    BOOL Start(const wchar_t* path, HWND window, UINT message);
    void Stop();
    BOOL IsWatching() const { return m_thread ? TRUE : FALSE; }

private:
    static DWORD WINAPI Watch(void* self);

    UniqueChangeNotification m_change;
    UniqueHandle m_stop;
    UniqueHandle m_thread;
    HWND m_window = nullptr;
    UINT m_message = 0;
};
