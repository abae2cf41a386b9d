# Files of app/: portable core files and Windows-layer files (see the top-level CMakeLists.txt).
list(APPEND JOTWELL_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/StartupOptions.cpp
)
list(APPEND JOTWELL_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/AboutDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/JotwellApp.cpp
)
