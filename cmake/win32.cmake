# Windows build: the stub, its helper programs and the tests that run under Wine.
set(KAVRIX_HOST_TOOLS "" CACHE PATH "native build folder with host tools (pefix, kavrix-pack)")
add_compile_options(-Wall -Wextra)
add_compile_definitions(WINVER=0x0600 _WIN32_WINNT=0x0600 _WIN32_IE=0x0600 NOMINMAX)
# One self-contained .exe per program: no MinGW DLLs beside it.
add_link_options(-static -static-libgcc -static-libstdc++)

find_package(ZLIB REQUIRED)

add_library(kavrix_core STATIC ${CORE_SOURCES} ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
target_include_directories(kavrix_core PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(kavrix_core PUBLIC ZLIB::ZLIB)

add_library(kavrix_win STATIC ${WIN32_SOURCES} ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
target_link_libraries(kavrix_win PUBLIC kavrix_core comctl32 gdi32 user32 kernel32 advapi32 shell32)
# Portable code calls a few system-facing functions that the Windows library
# provides (cluster size, user language): the two archives depend on each other.
target_link_libraries(kavrix_core INTERFACE kavrix_win)

# The package reader expects the PE header at offset 256; the linker puts it at
# 0x80, so a host tool moves it after linking.
function(kavrix_fix_pe_header target)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${KAVRIX_HOST_TOOLS}/kavrix-pefix $<TARGET_FILE:${target}>
    VERBATIM)
endfunction()

set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SRC} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

if(EXISTS ${CMAKE_SOURCE_DIR}/app/Stub_win32.cpp)
  add_executable(kavrix-stub WIN32 ${CMAKE_SOURCE_DIR}/app/Stub_win32.cpp ${CMAKE_SOURCE_DIR}/app/stub.rc)
  target_link_libraries(kavrix-stub kavrix_win)
  kavrix_fix_pe_header(kavrix-stub)
endif()

file(GLOB TOOL_DIRS CONFIGURE_DEPENDS LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/tools/*)
foreach(d ${TOOL_DIRS})
  if(EXISTS ${d}/win32.cmake)
    include(${d}/win32.cmake)
  endif()
endforeach()

# Win32-facing tests: one GoogleTest program, run under Wine by CTest's emulator.
# End-to-end tests live in the same program and start the built programs from
# KAVRIX_BIN (this build folder) and KAVRIX_HOST (the native build folder).
file(GLOB WIN32_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/*.cpp)
if(WIN32_TESTS)
  add_executable(kavrix-win-tests ${WIN32_TESTS})
  target_link_libraries(kavrix-win-tests kavrix_win GTest::gtest_main)
  add_test(NAME kavrix-win-tests COMMAND kavrix-win-tests)
  set_tests_properties(kavrix-win-tests PROPERTIES
    ENVIRONMENT "KAVRIX_BIN=${CMAKE_BINARY_DIR};KAVRIX_HOST=${KAVRIX_HOST_TOOLS};KAVRIX_SRC=${CMAKE_SOURCE_DIR}"
    TIMEOUT 1800)
endif()
