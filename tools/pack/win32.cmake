# The package builder for Windows hosts (a console program).
add_executable(kavrix-pack
  ${CMAKE_CURRENT_LIST_DIR}/main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PackProject.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PackBuild.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PackInspect.cpp)
target_link_libraries(kavrix-pack kavrix_core)
