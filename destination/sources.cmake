# Files of destination/: portable core files and Windows-layer files (see the top-level CMakeLists.txt).
list(APPEND JOTWELL_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/DestinationRuleTable.cpp
)
list(APPEND JOTWELL_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/DestinationRuleTableLoad.cpp
)
