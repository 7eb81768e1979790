# Baseline of the extraction benchmark (make bench): the least inflate-and-write
# loop over a package's blocks, run under the same Wine as the stub.
add_executable(kavrix-bench-inflate ${CMAKE_CURRENT_LIST_DIR}/BenchInflate.cpp)
target_link_libraries(kavrix-bench-inflate kavrix_core)
