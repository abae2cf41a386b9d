# Cross-compiles for 64-bit Windows (the Wine tests where no 32-bit program can run).
set(JOTWELL_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
