#include "framework/FileWatcher.h"

#include <string>

CFileStamp CFileStamp::Of(const char* path) {
    CFileStamp stamp;
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!path || !*path || !GetFileAttributesExA(path, GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return stamp;
    stamp.exists = true;
    stamp.size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    stamp.lastWrite = data.ftLastWriteTime;
    return stamp;
}

BOOL CFileWatcher::Start(const char* path, HWND window, UINT message) {
    Stop();
    if (!path || !*path || !window) return FALSE;
    std::string folder(path);
    const size_t slash = folder.find_last_of("\\/");
    if (slash == std::string::npos) return FALSE;
    folder.resize(slash == 2 && folder[1] == ':' ? slash + 1 : slash);  // "C:\" keeps its backslash
    UniqueChangeNotification change(FindFirstChangeNotificationA(
        folder.c_str(), FALSE,
        FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE));
    UniqueHandle stop(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!change || !stop) return FALSE;
    m_change = std::move(change);
    m_stop = std::move(stop);
    m_window = window;
    m_message = message;
    m_thread.Reset(CreateThread(nullptr, 0, &CFileWatcher::Watch, this, 0, nullptr));
    if (!m_thread) {
        m_change = UniqueChangeNotification();
        m_stop.Reset();
        return FALSE;
    }
    return TRUE;
}

void CFileWatcher::Stop() {
    if (m_thread) {
        SetEvent(m_stop.Get());
        WaitForSingleObject(m_thread.Get(), INFINITE);
        m_thread.Reset();
    }
    m_change = UniqueChangeNotification();
    m_stop.Reset();
}

DWORD WINAPI CFileWatcher::Watch(void* self) {
    CFileWatcher* const watcher = static_cast<CFileWatcher*>(self);
    const HANDLE handles[2] = {watcher->m_stop.Get(), watcher->m_change.Get()};
    for (;;) {
        const DWORD woke = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
        if (woke != WAIT_OBJECT_0 + 1) return 0;
        PostMessageA(watcher->m_window, watcher->m_message, 0, 0);
        if (!FindNextChangeNotification(handles[1])) return 0;
    }
}
