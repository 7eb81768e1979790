# A DLL for the tests to plant beside a program under the name of a system DLL:
# when anything loads it, it leaves a marker file "<its own path>.loaded".
add_library(kavrix-plant SHARED ${CMAKE_CURRENT_LIST_DIR}/Plant.cpp)
set_target_properties(kavrix-plant PROPERTIES PREFIX "")
target_link_libraries(kavrix-plant kernel32)
