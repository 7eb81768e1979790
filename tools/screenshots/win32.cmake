# Shows one window of the program at a time for `make screenshots`.
add_executable(kavrix-screenshot-demo WIN32 ${CMAKE_CURRENT_LIST_DIR}/ScreenshotDemo.cpp ${CMAKE_SOURCE_DIR}/app/stub.rc)
target_link_libraries(kavrix-screenshot-demo kavrix_win)
