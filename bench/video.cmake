# Video: decoding, converting and uploading one 800x600 picture, as a share of
# the picture's period. Needs an X display and the ffmpeg command (or a clip
# named by QVX_BENCH_VIDEO, such as the demo's intro).
add_executable(video_bench ${CMAKE_CURRENT_LIST_DIR}/video_bench.cpp)
target_link_libraries(video_bench PRIVATE qvx_shell benchmark::benchmark)
