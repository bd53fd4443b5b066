# The small readers of a game directory: sound sets, the caption and comment
# tables, font widths and "options.ini".
foreach(target sound_set tables font options)
  add_executable(fuzz_${target} ${target}_fuzz.cpp)
  target_link_options(fuzz_${target} PRIVATE -fsanitize=fuzzer,address,undefined)
endforeach()
# The options reader alone: the rest of the shell brings the window and the
# renderer, which it does not use.
target_sources(fuzz_options PRIVATE ${PROJECT_SOURCE_DIR}/src/shell/options.cpp)
target_link_libraries(fuzz_sound_set PRIVATE qvx_scene)
target_link_libraries(fuzz_tables PRIVATE qvx_hero qvx_sound)
target_link_libraries(fuzz_font PRIVATE qvx_render_model)
target_link_libraries(fuzz_options PRIVATE qvx_platform_core PkgConfig::INIH)
# Save files: walked as qvxtool shows them, loaded into a game standing in a
# location and played for a few frames.
add_executable(fuzz_save save_fuzz.cpp)
target_link_libraries(fuzz_save PRIVATE qvx_scene)
target_link_options(fuzz_save PRIVATE -fsanitize=fuzzer,address,undefined)
