#include "framework/WholeFile.h"

#include <aclapi.h>

#include <algorithm>
#include <memory>
#include <new>

#include "framework/Handles.h"

namespace {

// Reads and writes go in pieces a DWORD count can hold.
constexpr size_t kChunk = size_t{1} << 24;

std::wstring FolderOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash + 1);
}

HANDLE WINAPI SystemCreateFile(const wchar_t* path, DWORD access, DWORD share, SECURITY_ATTRIBUTES* security,
                               DWORD disposition, DWORD flags, HANDLE templateFile) {
    return CreateFileW(path, access, share, security, disposition, flags, templateFile);
}

BOOL WINAPI SystemWriteFile(HANDLE file, const void* data, DWORD size, DWORD* written, OVERLAPPED* overlapped) {
    return WriteFile(file, data, size, written, overlapped);
}

const AfxFileSystem kSystem = {&SystemCreateFile, &SystemWriteFile};
const AfxFileSystem* g_files = &kSystem;

// A path as GetFinalPathNameByHandleW gives it ("\\?\C:\...", "\\?\UNC\server\...") in
// the plain form, which every call takes, when it fits that form.
std::wstring PlainPath(const std::wstring& path) {
    std::wstring plain = path;
    if (path.compare(0, 8, L"\\\\?\\UNC\\") == 0) plain = L"\\\\" + path.substr(8);
    else if (path.compare(0, 4, L"\\\\?\\") == 0) plain = path.substr(4);
    return plain.size() < MAX_PATH ? plain : path;
}

// The path of the open `file` after every link, or `fallback` when the system cannot tell.
std::wstring FinalPathOf(HANDLE file, const std::wstring& fallback) {
    std::wstring resolved(MAX_PATH, L'\0');
    DWORD length = GetFinalPathNameByHandleW(file, &resolved[0], static_cast<DWORD>(resolved.size()), 0);
    if (length >= resolved.size()) {
        resolved.resize(length);
        length = GetFinalPathNameByHandleW(file, &resolved[0], static_cast<DWORD>(resolved.size()), 0);
    }
    if (length == 0 || length >= resolved.size()) return fallback;
    resolved.resize(length);
    return PlainPath(resolved);
}

// The file a save writes: through symbolic links and junctions, the file they name, whose
// folder then takes the temporary file and which is replaced, so a link stays a link.
struct SaveTarget {
    std::wstring path;
    bool exists = false;
    DWORD attributes = 0;
};

SaveTarget FindSaveTarget(const std::wstring& path) {
    SaveTarget target;
    target.path = path;
    UniqueHandle file(CreateFileW(AfxLongPath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) {
        target.attributes = GetFileAttributesW(AfxLongPath(path).c_str());
        target.exists = target.attributes != INVALID_FILE_ATTRIBUTES;
        return target;
    }
    target.exists = true;
    BY_HANDLE_FILE_INFORMATION info = {};
    if (GetFileInformationByHandle(file.Get(), &info)) target.attributes = info.dwFileAttributes;
    target.path = FinalPathOf(file.Get(), path);
    return target;
}

DWORD WriteAll(HANDLE file, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD wrote = 0;
        const DWORD want = static_cast<DWORD>(std::min(bytes.size() - done, kChunk));
        if (!g_files->writeFile(file, bytes.data() + done, want, &wrote, nullptr) || wrote == 0)
            return GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
        done += wrote;
    }
    return ERROR_SUCCESS;
}

bool SetFileSize(HANDLE file, size_t size) {
    LARGE_INTEGER end = {};
    end.QuadPart = static_cast<LONGLONG>(size);
    return SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
}

// The new contents written over the old in the file itself: for a folder that takes no new
// file while the file is writable. Not safe from a crash part way, but the file keeps all it
// is (links, attributes, permissions), and room for the new contents is taken before a byte
// of the old is overwritten, so a full disk fails without harm.
DWORD WriteInPlace(const std::wstring& path, std::string_view bytes) {
    UniqueHandle file(g_files->createFile(AfxLongPath(path).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return GetLastError();
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file.Get(), &size)) return GetLastError();
    if (static_cast<ULONGLONG>(size.QuadPart) < bytes.size() && !SetFileSize(file.Get(), bytes.size()))
        return GetLastError();
    const LARGE_INTEGER start = {};
    if (!SetFilePointerEx(file.Get(), start, nullptr, FILE_BEGIN)) return GetLastError();
    DWORD error = WriteAll(file.Get(), bytes);
    if (error == ERROR_SUCCESS && !SetFileSize(file.Get(), bytes.size())) error = GetLastError();
    if (error == ERROR_SUCCESS && !FlushFileBuffers(file.Get())) error = GetLastError();
    if (error == ERROR_SUCCESS && !CloseHandle(file.Release())) error = GetLastError();
    return error;
}

// The file's own permissions onto the new file, whose handle is `to`: a DACL that is not just
// inherited from the folder (inheritance turned off, or entries of the file's own beside the
// inherited ones). A new file in the same folder inherits the rest by itself. (A DACL of
// nothing but entries of its own and no inheritance turned off is what Wine makes up from a
// Unix file's mode; set on the new file it would not give that mode back, so it is left.)
void CopyOwnPermissions(const std::wstring& from, HANDLE to) {
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR sd = nullptr;
    std::wstring named = AfxLongPath(from);
    if (GetNamedSecurityInfoW(&named[0], SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, &dacl, nullptr, &sd) != ERROR_SUCCESS)
        return;
    struct LocalFreer {
        void operator()(void* p) const { LocalFree(p); }
    };
    const std::unique_ptr<void, LocalFreer> owner(sd);
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    if (!dacl || !GetSecurityDescriptorControl(sd, &control, &revision)) return;
    const bool isProtected = (control & SE_DACL_PROTECTED) != 0;
    bool inherited = false, own = false;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void* ace = nullptr;
        if (!GetAce(dacl, i, &ace)) return;
        (static_cast<ACE_HEADER*>(ace)->AceFlags & INHERITED_ACE ? inherited : own) = true;
    }
    if (!isProtected && !(inherited && own)) return;
    SetSecurityInfo(to, SE_FILE_OBJECT,
                    DACL_SECURITY_INFORMATION |
                        (isProtected ? PROTECTED_DACL_SECURITY_INFORMATION : UNPROTECTED_DACL_SECURITY_INFORMATION),
                    nullptr, nullptr, dacl, nullptr);
}

// Puts what the target is onto the new file before it takes the target's place: its
// attributes (hidden, say) and its own permissions.
void KeepWhatTheFileIs(const SaveTarget& target, const wchar_t* temp, HANDLE file) {
    if (!target.exists) return;
    CopyOwnPermissions(target.path, file);
    const DWORD kept = target.attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    if (kept != 0) SetFileAttributesW(temp, kept);
}

}  // namespace

std::wstring AfxLongPath(const std::wstring& path) {
    if (path.size() < MAX_PATH || path.compare(0, 4, L"\\\\?\\") == 0) return path;
    if (path.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + path.substr(2);
    if (path.size() > 2 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/')) return L"\\\\?\\" + path;
    return path;  // a relative path has no long form
}

std::wstring AfxFinalPath(const std::wstring& path) {
    UniqueHandle file(CreateFileW(AfxLongPath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return file ? FinalPathOf(file.Get(), path) : path;
}

void AfxSetFileSystem(const AfxFileSystem* system) { g_files = system ? system : &kSystem; }

DWORD AfxReadWholeFile(const wchar_t* path, std::string& bytes) {
    UniqueHandle file(CreateFileW(AfxLongPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
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

DWORD AfxWriteFileSafely(const wchar_t* path, std::string_view bytes) {
    const SaveTarget target = FindSaveTarget(path);
    // The temporary file's name: the folder's, a fixed start and a unique number, as
    // GetTempFileNameW makes it, without its limit of MAX_PATH for the folder.
    std::wstring temp;
    UniqueHandle file;
    const std::wstring folder = FolderOf(target.path);
    for (unsigned tries = 0; tries < 16 && !file; ++tries) {
        wchar_t name[32] = {};
        wsprintfW(name, L"MFC%04X.tmp", (GetTickCount() + tries * 7919 + GetCurrentProcessId()) & 0xFFFF);
        temp = folder + name;
        file = UniqueHandle(g_files->createFile(AfxLongPath(temp).c_str(), GENERIC_WRITE | WRITE_DAC, 0, nullptr,
                                                CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file && GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    if (!file) {
        const DWORD error = GetLastError();
        return target.exists ? WriteInPlace(target.path, bytes) : error;
    }
    DWORD error = WriteAll(file.Get(), bytes);
    if (error == ERROR_SUCCESS) KeepWhatTheFileIs(target, AfxLongPath(temp).c_str(), file.Get());
    if (error == ERROR_SUCCESS && !FlushFileBuffers(file.Get())) error = GetLastError();
    if (error == ERROR_SUCCESS && !CloseHandle(file.Release())) error = GetLastError();
    file.Reset();
    // A rename replaces the old file in one step: a crash leaves the one or the other whole.
    // (Not ReplaceFileW, which Wine carries out as two renames, with no file between them.)
    if (error == ERROR_SUCCESS && !MoveFileExW(AfxLongPath(temp).c_str(), AfxLongPath(target.path).c_str(),
                                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = GetLastError();
    if (error != ERROR_SUCCESS) DeleteFileW(AfxLongPath(temp).c_str());
    return error;
}
