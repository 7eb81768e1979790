# The least setup engine that the stub's protocol asks for; packed into the
# example product and into the end-to-end test packages.
add_executable(kavrix-sample-engine WIN32 ${CMAKE_CURRENT_LIST_DIR}/SampleEngine.cpp)
target_link_libraries(kavrix-sample-engine kavrix_core user32 kernel32)
