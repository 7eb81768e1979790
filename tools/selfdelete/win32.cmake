# Test program: removes its own file (and with /folder its folder) through the
# self-delete batch, the way the agent and span copies end.
add_executable(kavrix-selfdelete WIN32 ${CMAKE_CURRENT_LIST_DIR}/SelfDelete.cpp)
target_link_libraries(kavrix-selfdelete kavrix_win)
