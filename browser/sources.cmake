# Files of browser/: portable core files and Windows-layer files (see the top-level CMakeLists.txt).
list(APPEND JOTWELL_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/AutoInput.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BrowserText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BusyRetry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ChainedBrowserAccess.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DevToolsActivePort.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TagIndexReport.cpp
)
list(APPEND JOTWELL_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/BrowserCommands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BrowserListener.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BrowserWorker.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DevToolsBrowserAccess.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DevToolsSession.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MessageBoxNotifications.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ShellBrowserAccess.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UserBrowsers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WinHttpClient.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WorkerMessageFilter.cpp
)
