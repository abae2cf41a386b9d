#include "framework/WholeFile.h"

#include <algorithm>
#include <new>

#include "framework/Handles.h"

namespace {

// Reads and writes go in pieces a DWORD count can hold.
constexpr size_t kChunk = size_t{1} << 24;

std::string FolderOf(const char* path) {
    const std::string_view p(path);
    const size_t slash = p.find_last_of("\\/");
    return slash == std::string_view::npos ? std::string(".") : std::string(p.substr(0, slash + 1));
}

}  // namespace

DWORD AfxReadWholeFile(const char* path, std::string& bytes) {
    UniqueHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return GetLastError();
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file.Get(), &size)) return GetLastError();
    if (size.QuadPart > 0x7FFFFFFF) return ERROR_NOT_ENOUGH_MEMORY;
    std::string data;
    try {
        data.resize(static_cast<size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    size_t done = 0;
    while (done < data.size()) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min(data.size() - done, kChunk));
        if (!ReadFile(file.Get(), &data[done], want, &got, nullptr)) return GetLastError();
        if (got == 0) break;  // the file shrank while we read it
        done += got;
    }
    data.resize(done);
    bytes.swap(data);
    return ERROR_SUCCESS;
}

DWORD AfxWriteFileSafely(const char* path, std::string_view bytes) {
    char temp[MAX_PATH] = {};
    if (!GetTempFileNameA(FolderOf(path).c_str(), "MFC", 0, temp)) return GetLastError();
    DWORD error = ERROR_SUCCESS;
    {
        UniqueHandle file(CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            error = GetLastError();
        } else {
            size_t done = 0;
            while (error == ERROR_SUCCESS && done < bytes.size()) {
                DWORD wrote = 0;
                const DWORD want = static_cast<DWORD>(std::min(bytes.size() - done, kChunk));
                if (!WriteFile(file.Get(), bytes.data() + done, want, &wrote, nullptr) || wrote == 0)
                    error = GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
                done += wrote;
            }
            if (error == ERROR_SUCCESS && !FlushFileBuffers(file.Get())) error = GetLastError();
            if (error == ERROR_SUCCESS && !CloseHandle(file.Release())) error = GetLastError();
        }
    }
    if (error == ERROR_SUCCESS &&
        !MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = GetLastError();
    if (error != ERROR_SUCCESS) DeleteFileA(temp);
    return error;
}
