# Sketch files: read as the game reads them, played through the sketch
# clockwork, and round-tripped through the file writer and the text form.
add_executable(fuzz_sketch sketch_fuzz.cpp)
target_link_libraries(fuzz_sketch PRIVATE qvx_effects)
target_link_options(fuzz_sketch PRIVATE -fsanitize=fuzzer,address,undefined)
