# Host build: portable core, its unit tests and fuzz drivers, and the host tools.
option(KAVRIX_SANITIZE "Build with AddressSanitizer and UBSan" OFF)
if(KAVRIX_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
add_compile_options(-Wall -Wextra)

find_package(ZLIB REQUIRED)

add_library(kavrix_core STATIC ${CORE_SOURCES} ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
target_include_directories(kavrix_core PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(kavrix_core PUBLIC ZLIB::ZLIB)

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SRC} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

file(GLOB NATIVE_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
if(NATIVE_TESTS)
  add_executable(kavrix-tests ${NATIVE_TESTS})
  target_link_libraries(kavrix-tests kavrix_core GTest::gtest_main)
  gtest_discover_tests(kavrix-tests WORKING_DIRECTORY ${CMAKE_BINARY_DIR} DISCOVERY_TIMEOUT 60)
endif()

# Fuzz targets define LLVMFuzzerTestOneInput; here each runs under a bounded
# random driver so that plain `make test` exercises them under the sanitizers.
file(GLOB FUZZ_TARGETS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/fuzz_*.cpp)
foreach(src ${FUZZ_TARGETS})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src} ${CMAKE_SOURCE_DIR}/tests/fuzz/driver.cpp)
  target_link_libraries(${name} kavrix_core)
  add_test(NAME ${name} COMMAND ${name} 200000)
endforeach()

file(GLOB TOOL_DIRS CONFIGURE_DEPENDS LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/tools/*)
foreach(d ${TOOL_DIRS})
  if(EXISTS ${d}/native.cmake)
    include(${d}/native.cmake)
  endif()
endforeach()
