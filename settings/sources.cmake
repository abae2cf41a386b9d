# Files of settings/: the settings table (portable, header only), its reader and writer and the
# registry path access, below the document and the destination rules (see the top-level
# CMakeLists.txt). It includes nothing of the application's other folders.
list(APPEND JOTWELL_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ProfileAccess.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RegPath.cpp
)
