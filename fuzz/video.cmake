# Video files: open and decode whatever the bytes hold.
add_executable(fuzz_video video_decoder_fuzz.cpp)
target_link_libraries(fuzz_video PRIVATE qvx_video)
target_link_options(fuzz_video PRIVATE -fsanitize=fuzzer,address,undefined)
