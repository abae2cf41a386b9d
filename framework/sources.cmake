# Files of framework/: the small application framework (Windows layer only).
list(APPEND JOTWELL_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/SystemCodePage.cpp
)
