# Path finder: the cost of one walk request on a wide location with roads.
add_executable(hero_bench ${CMAKE_CURRENT_LIST_DIR}/hero_walk_bench.cpp)
target_link_libraries(hero_bench PRIVATE qvx_hero benchmark::benchmark benchmark::benchmark_main)
