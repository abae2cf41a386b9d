# Files of app/: portable core files and Windows-layer files (see the top-level CMakeLists.txt).
list(APPEND JOTWELL_CORE_SOURCES
)
list(APPEND JOTWELL_WIN_SOURCES
)
