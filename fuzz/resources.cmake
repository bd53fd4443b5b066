# Image archive reader.
add_executable(fuzz_wgw resources_archive_fuzz.cpp)
target_link_libraries(fuzz_wgw PRIVATE qvx_resources)
target_link_options(fuzz_wgw PRIVATE -fsanitize=fuzzer,address,undefined)
