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

// Reads the whole file, sharing it for reading only. Returns ERROR_SUCCESS or the system
// error; on failure `bytes` is left as it was.
DWORD AfxReadWholeFile(const char* path, std::string& bytes);

// Writes `bytes` to `path` safely (see above). Returns ERROR_SUCCESS or the system error.
DWORD AfxWriteFileSafely(const char* path, std::string_view bytes);
