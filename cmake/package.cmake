# The release a Windows user takes: `cmake --build build/win --target package` (or `cpack` in
# build/win) writes Jotwell-<version>-win32.zip holding Jotwell.exe, the README and the two
# sample files; the release_zip test makes and checks the same zip. The version is
# res/Version.h's. Only the 32-bit build is released.
if(NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
  return()
endif()

file(STRINGS ${CMAKE_SOURCE_DIR}/res/Version.h JOTWELL_VERSION_LINES REGEX "^#define JOTWELL_VERSION_[A-Z]+ [0-9]+$")
set(JOTWELL_VERSION_NUMBERS)
foreach(field MAJOR MINOR PATCH)
  string(REGEX MATCH "JOTWELL_VERSION_${field} ([0-9]+)" found "${JOTWELL_VERSION_LINES}")
  if(NOT found)
    message(FATAL_ERROR "res/Version.h defines no JOTWELL_VERSION_${field}")
  endif()
  list(APPEND JOTWELL_VERSION_NUMBERS ${CMAKE_MATCH_1})
endforeach()
list(JOIN JOTWELL_VERSION_NUMBERS "." JOTWELL_VERSION)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/Version.h)

install(TARGETS Jotwell RUNTIME DESTINATION .)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/samples/Sample.txt
              ${CMAKE_SOURCE_DIR}/samples/WebInput.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Jotwell)
set(CPACK_PACKAGE_VENDOR Velmora)
set(CPACK_PACKAGE_VERSION ${JOTWELL_VERSION})
set(JOTWELL_ZIP_NAME Jotwell-${JOTWELL_VERSION}-win32)
set(CPACK_PACKAGE_FILE_NAME ${JOTWELL_ZIP_NAME})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)  # the four files at the zip's top
include(CPack)

# Needs no Wine: runs wherever the 32-bit program is built.
add_test(NAME release_zip
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/package/release_zip_test.sh ${CMAKE_CPACK_COMMAND} ${CMAKE_COMMAND}
                 ${CMAKE_BINARY_DIR} ${JOTWELL_ZIP_NAME} $<TARGET_FILE:Jotwell> ${CMAKE_SOURCE_DIR} ${JOTWELL_VERSION})
