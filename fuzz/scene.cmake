# Location files: read, entered, and played for a few frames with clicks and
# keys, with every scene, object and hero command installed.
add_executable(fuzz_scene scene_location_fuzz.cpp)
target_link_libraries(fuzz_scene PRIVATE qvx_scene)
target_link_options(fuzz_scene PRIVATE -fsanitize=fuzzer,address,undefined)
