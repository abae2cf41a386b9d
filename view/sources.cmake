# Files of view/: portable core files and Windows-layer files (see the top-level CMakeLists.txt).
list(APPEND JOTWELL_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/EntryFilter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LineBreaks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RowMap.cpp
)
list(APPEND JOTWELL_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/Delivery.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DropClipboard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DropNotice.cpp
  ${CMAKE_CURRENT_LIST_DIR}/JotwellViewDrag.cpp
  ${CMAKE_CURRENT_LIST_DIR}/JotwellViewRows.cpp
  ${CMAKE_CURRENT_LIST_DIR}/JotwellView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ModifyDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextDropTarget.cpp
)
