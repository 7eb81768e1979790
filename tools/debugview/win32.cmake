# Outside viewer for the debug channel; the Windows tests capture debug lines with it.
add_executable(kavrix-debugview WIN32 ${CMAKE_CURRENT_LIST_DIR}/DebugView.cpp)
target_link_libraries(kavrix-debugview user32 kernel32)
