# Every reader fed 10 MB of random and of hostile bytes: time and memory per
# read against the budget.
add_executable(bench_hostile_files hostile_files_bench.cpp)
target_link_libraries(bench_hostile_files PRIVATE qvx_shell qvx_hero qvx_formats qvx_resources qvx_video)
