// Files read and written in one piece. Reading takes the whole file into memory; writing
// goes through a temporary file in the same folder that replaces the old file only once it
// is completely written, so a failure at any point leaves the old file as it was. A save
// keeps what the file is: through a symbolic link it writes the file the link names (the
// link stays), and the file keeps its attributes and permissions. Where the folder takes no
// new file but the file itself is writable, the file is written in place instead.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// Paths are UTF-16 throughout the program (std::wstring); they are converted only where they
// meet a text of another kind (a message, the registry's value of an earlier version).

// Reads the whole file, sharing it for reading only. Returns ERROR_SUCCESS or the system
// error; on failure `bytes` is left as it was.
DWORD AfxReadWholeFile(const wchar_t* path, std::string& bytes);

// Writes `bytes` to `path` safely (see above). Returns ERROR_SUCCESS or the system error.
DWORD AfxWriteFileSafely(const wchar_t* path, std::string_view bytes);

// `path` in the form the file functions take at any length: a full path of MAX_PATH or more
// gets the "\\?\" prefix ("\\?\UNC\" for a share), which lifts the limit; others stay.
std::wstring AfxLongPath(const std::wstring& path);

// The file `path` names through symbolic links and junctions, as a plain full path (the
// "\\?\" form only when too long for the plain one); `path` itself when it cannot be opened.
std::wstring AfxFinalPath(const std::wstring& path);

// The calls a save opens and writes its files with: the system's, or a test's stand-in for
// what Wine cannot show on demand (a folder that takes no new file, a disk that fills up or a
// share that drops part way). Null restores the system's.
struct AfxFileSystem {
    HANDLE(WINAPI* createFile)(const wchar_t* path, DWORD access, DWORD share, SECURITY_ATTRIBUTES* security,
                               DWORD disposition, DWORD flags, HANDLE templateFile);
    BOOL(WINAPI* writeFile)(HANDLE file, const void* data, DWORD size, DWORD* written, OVERLAPPED* overlapped);
};
void AfxSetFileSystem(const AfxFileSystem* system);
