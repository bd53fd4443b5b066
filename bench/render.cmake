# Sprite renderer frame time against a bare immediate-mode loop drawing the
# same quads with the same textures. Needs an X display (run under xvfb-run).
add_executable(render_bench ${CMAKE_CURRENT_LIST_DIR}/render_sprites_bench.cpp)
target_link_libraries(render_bench PRIVATE qvx_render_gl qvx_platform benchmark::benchmark)
