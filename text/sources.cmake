# Files of text/: every conversion of text, below the framework and the application (it
# includes nothing of theirs). Portable files go into the core, the rest into jotwell_text.
list(APPEND JOTWELL_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/AnsiText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextEncoding.cpp
)
list(APPEND JOTWELL_TEXT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/BstrText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CodePageText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SystemCodePage.cpp
)
