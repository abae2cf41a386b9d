# Cross-compiles for 32-bit Windows (the product).
set(JOTWELL_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
