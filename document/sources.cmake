# Files of document/: portable core files and Windows-layer files (see the top-level CMakeLists.txt).
list(APPEND JOTWELL_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/EntryFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EntryList.cpp
)
list(APPEND JOTWELL_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/JotwellDoc.cpp
)
