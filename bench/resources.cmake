# Archive reading speed and peak memory against a plain read of the file.
add_executable(bench_resources resources_archive_bench.cpp)
target_link_libraries(bench_resources PRIVATE qvx_resources benchmark::benchmark)
