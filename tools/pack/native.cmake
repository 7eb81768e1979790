# The package builder, a host tool; its library also serves the native tests.
add_library(kavrix_pack STATIC
  ${CMAKE_CURRENT_LIST_DIR}/PackProject.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PackBuild.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PackInspect.cpp)
target_link_libraries(kavrix_pack PUBLIC kavrix_core)
add_executable(kavrix-pack ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(kavrix-pack kavrix_pack)
if(TARGET kavrix-tests)
  target_link_libraries(kavrix-tests kavrix_pack)
  add_dependencies(kavrix-tests kavrix-pack)
endif()
