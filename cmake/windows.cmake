# Cross build for 32-bit Windows: the framework, the Windows layer, Jotwell.exe and the Wine tests.
set(JOTWELL_FRAMEWORK_LIBS comctl32 comdlg32 shell32 ole32 advapi32 user32 gdi32 kernel32)
set(JOTWELL_WIN_LIBS comctl32 comdlg32 shell32 ole32 oleaut32 uuid winhttp iphlpapi advapi32 user32 gdi32 kernel32)
set(JOTWELL_DEFS WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0600)

if(MINGW)
  add_compile_options(-Wall -Wextra -Wno-unused-parameter -Wno-cast-function-type)
  set(JOTWELL_STATIC -static -static-libgcc -static-libstdc++)
endif()
target_compile_definitions(jotwell_core PUBLIC ${JOTWELL_DEFS})

# Text conversions that need Windows (text/): below the framework and the Windows layer.
add_library(jotwell_text STATIC ${JOTWELL_TEXT_SOURCES})
target_include_directories(jotwell_text PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_definitions(jotwell_text PUBLIC ${JOTWELL_DEFS})
target_link_libraries(jotwell_text PUBLIC jotwell_core oleaut32 kernel32)

# The framework knows no application: its own library, linked by the Windows layer.
add_library(jotwell_framework STATIC ${JOTWELL_FRAMEWORK_SOURCES})
target_include_directories(jotwell_framework PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_definitions(jotwell_framework PUBLIC ${JOTWELL_DEFS})
target_link_libraries(jotwell_framework PUBLIC jotwell_text ${JOTWELL_FRAMEWORK_LIBS})

add_library(jotwell_win STATIC ${JOTWELL_WIN_SOURCES})
target_include_directories(jotwell_win PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_definitions(jotwell_win PUBLIC ${JOTWELL_DEFS})
target_link_libraries(jotwell_win PUBLIC jotwell_framework jotwell_text jotwell_core ${JOTWELL_WIN_LIBS})
# nlohmann-json (header-only) sits in the host's /usr/include, which the cross build must not
# search before the MinGW headers: searched after them, for the Windows layer only.
find_path(JOTWELL_JSON_INCLUDE nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH)
if(MINGW)
  target_compile_options(jotwell_win PRIVATE -idirafter ${JOTWELL_JSON_INCLUDE})
else()
  target_include_directories(jotwell_win PRIVATE ${JOTWELL_JSON_INCLUDE})
endif()

# Resources are compiled as UTF-8 (each .rc carries #pragma code_page(65001)).
if(MINGW)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001 -F pe-x86-64")
  else()
    set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001 -F pe-i386")
  endif()
endif()
set(JOTWELL_RC ${CMAKE_SOURCE_DIR}/res/Jotwell.rc)
# windres does not report what a script includes: the manifest, images and language scripts.
file(GLOB JOTWELL_RC_INPUTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/*.rc ${CMAKE_SOURCE_DIR}/res/*.manifest
     ${CMAKE_SOURCE_DIR}/res/*.h ${CMAKE_SOURCE_DIR}/res/*.bmp ${CMAKE_SOURCE_DIR}/res/*.ico ${CMAKE_SOURCE_DIR}/res/*.cur)
set_source_files_properties(${JOTWELL_RC} PROPERTIES OBJECT_DEPENDS "${JOTWELL_RC_INPUTS}")

add_executable(Jotwell WIN32 app/WinMain.cpp ${JOTWELL_RC})
target_link_libraries(Jotwell PRIVATE jotwell_win)
target_link_options(Jotwell PRIVATE ${JOTWELL_STATIC})

target_link_options(jotwell_core_tests PRIVATE ${JOTWELL_STATIC})

# The program must load on Windows 7: no import of a function that system lacks.
add_test(NAME windows7_imports
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/win/windows7_imports.sh ${CMAKE_OBJDUMP} $<TARGET_FILE:Jotwell>)

# Windows-layer tests under Wine: one binary, with the program's resources linked in.
file(GLOB JOTWELL_WIN_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*.cpp)
if(JOTWELL_WIN_TESTS)
  add_executable(jotwell_win_tests ${JOTWELL_WIN_TESTS} ${JOTWELL_RC})
  target_link_libraries(jotwell_win_tests PRIVATE jotwell_win gtest ws2_32)  # ws2_32: stand-in servers
  target_link_options(jotwell_win_tests PRIVATE ${JOTWELL_STATIC})
  add_test(NAME win_tests COMMAND jotwell_win_tests)
endif()

# Helper programs of the end-to-end tests (message-logging target windows and the like).
file(GLOB JOTWELL_E2E_TOOLS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/tools/*.cpp)
foreach(src ${JOTWELL_E2E_TOOLS})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_compile_definitions(${name} PRIVATE ${JOTWELL_DEFS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${JOTWELL_WIN_LIBS})
  target_link_options(${name} PRIVATE ${JOTWELL_STATIC})
endforeach()
# Tools that drive the program's own code.
if(TARGET jw_devtools_check)
  target_sources(jw_devtools_check PRIVATE ${JOTWELL_RC})
  target_link_libraries(jw_devtools_check PRIVATE jotwell_win psapi)
endif()

# End-to-end tests: shell scripts that start Jotwell.exe under Wine on Xvfb and drive it.
file(GLOB JOTWELL_E2E_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*_test.sh)
foreach(script ${JOTWELL_E2E_TESTS})
  get_filename_component(name ${script} NAME_WE)
  add_test(NAME e2e_${name} COMMAND bash ${script} $<TARGET_FILE_DIR:Jotwell>)
  set_tests_properties(e2e_${name} PROPERTIES TIMEOUT 600 RUN_SERIAL TRUE)
endforeach()

# The same Windows tests once more under the Japanese code page (932).
# Wine names files through the Unix locale, which is ASCII without a ja_JP.UTF-8 locale: the
# tests' file names in other scripts need one, made in the build folder where localedef is.
if(TARGET jotwell_win_tests)
  set(cp932_environment "LANG=ja_JP.UTF-8;LC_ALL=ja_JP.UTF-8")
  find_program(JOTWELL_LOCALEDEF localedef)
  if(JOTWELL_LOCALEDEF)
    set(locales ${CMAKE_BINARY_DIR}/locales)
    if(NOT EXISTS ${locales}/ja_JP.UTF-8)
      file(MAKE_DIRECTORY ${locales})
      execute_process(COMMAND ${JOTWELL_LOCALEDEF} -i ja_JP -f UTF-8 ${locales}/ja_JP.UTF-8 OUTPUT_QUIET ERROR_QUIET)
    endif()
    list(APPEND cp932_environment "LOCPATH=${locales}")
  endif()
  add_test(NAME win_tests_cp932 COMMAND jotwell_win_tests)
  set_tests_properties(win_tests_cp932 PROPERTIES ENVIRONMENT "${cp932_environment}")
endif()

# Figures of the Windows layer (not tests) and the release zip.
include(${CMAKE_SOURCE_DIR}/bench/wine/figures.cmake)
include(${CMAKE_SOURCE_DIR}/cmake/package.cmake)
