# Test helper: reads an open message box of another process and answers it.
add_executable(kavrix-msgbox-helper ${CMAKE_CURRENT_LIST_DIR}/MsgBoxHelper.cpp)
target_link_libraries(kavrix-msgbox-helper kavrix_win)
