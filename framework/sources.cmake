# Files of framework/: the small application framework, the library jotwell_framework. It
# includes nothing of the application's folders (tests/layering_test.sh checks that).
list(APPEND JOTWELL_FRAMEWORK_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/Clipboard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ClipboardRestore.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CmdTarget.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CommandLineInfo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DocTemplate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Document.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Dpi.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileDialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileWatcher.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FrameWnd.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RecentFileList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StringArray.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ToolBar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ToolTipCtrl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/View.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WholeFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WinApp.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Wnd.cpp
)
