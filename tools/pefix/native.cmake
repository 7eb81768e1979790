add_executable(kavrix-pefix ${CMAKE_CURRENT_LIST_DIR}/MovePeHeader.cpp)
