# Mixer: the share of one core that one second of output costs with eight
# effects and two streamed music voices.
pkg_check_modules(VORBISENC REQUIRED IMPORTED_TARGET vorbisenc vorbis ogg)
add_executable(mixer_bench ${CMAKE_CURRENT_LIST_DIR}/mixer_bench.cpp)
target_include_directories(mixer_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_compile_definitions(mixer_bench PRIVATE QVX_HAVE_VORBISENC)
target_link_libraries(mixer_bench PRIVATE qvx_sound PkgConfig::VORBISENC benchmark::benchmark benchmark::benchmark_main)
