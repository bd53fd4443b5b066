# Script interpreter: instructions per second, reading stored functions and
# parsing their text form.
add_executable(script_bench ${CMAKE_CURRENT_LIST_DIR}/script_interpreter_bench.cpp)
target_link_libraries(script_bench PRIVATE qvx_script benchmark::benchmark benchmark::benchmark_main)
