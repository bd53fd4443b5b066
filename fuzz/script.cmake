# Stored script functions: read, run through the interpreter, and round-trip
# through the text form.
add_executable(fuzz_script script_functions_fuzz.cpp)
target_link_libraries(fuzz_script PRIVATE qvx_script)
target_link_options(fuzz_script PRIVATE -fsanitize=fuzzer,address,undefined)
