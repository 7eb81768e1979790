# The same baseline loop on the host, for the native inflate-and-write figure.
add_executable(kavrix-bench-inflate ${CMAKE_CURRENT_LIST_DIR}/BenchInflate.cpp)
target_link_libraries(kavrix-bench-inflate kavrix_core)
