# Scene engine: one frame of the per-frame update with N animated, moving
# objects in the depth-sorted layer.
add_executable(scene_bench ${CMAKE_CURRENT_LIST_DIR}/scene_update_bench.cpp)
target_link_libraries(scene_bench PRIVATE qvx_scene benchmark::benchmark benchmark::benchmark_main)
