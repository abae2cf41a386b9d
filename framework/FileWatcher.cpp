#include "framework/FileWatcher.h"

#include <string>

#include "framework/WholeFile.h"

CFileStamp CFileStamp::Of(const wchar_t* path) {
    CFileStamp stamp;
    if (!path || !*path) return stamp;
    const std::wstring longPath = AfxLongPath(path);
    // A handle follows symbolic links (the attributes by name describe the link itself), and
    // asking for no access opens a file another program holds without sharing.
    UniqueHandle file(CreateFileW(longPath.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info = {};
    if (file && GetFileInformationByHandle(file.Get(), &info)) {
        if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return stamp;
        stamp.exists = true;
        stamp.size = (static_cast<ULONGLONG>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
        stamp.lastWrite = info.ftLastWriteTime;
        return stamp;
    }
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(longPath.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return stamp;
    stamp.exists = true;
    stamp.size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    stamp.lastWrite = data.ftLastWriteTime;
    return stamp;
}

BOOL CFileWatcher::Start(const wchar_t* path, HWND window, UINT message) {
    Stop();
    if (!path || !*path || !window) return FALSE;
    std::wstring folder = AfxFinalPath(path);
    const size_t slash = folder.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return FALSE;
    folder.resize(slash == 2 && folder[1] == L':' ? slash + 1 : slash);  // "C:\" keeps its backslash
    UniqueChangeNotification change(FindFirstChangeNotificationW(
        AfxLongPath(folder).c_str(), FALSE,
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
