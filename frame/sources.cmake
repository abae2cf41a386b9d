# Files of frame/: portable core files and Windows-layer files (see the top-level CMakeLists.txt).
list(APPEND JOTWELL_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/HalfWidth.cpp
)
list(APPEND JOTWELL_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ClipboardConversions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DeliveryRulesDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HotKey.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainFrame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TrayIcon.cpp
)
