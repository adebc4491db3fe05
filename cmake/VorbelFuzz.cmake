# vorbel_add_fuzzer(NAME <name> SOURCES <files...> LIBS <targets...> [CORPUS <dir>])
# libFuzzer targets; only built with -DVORBEL_FUZZ=ON and clang. Not part of the test run.
# With VORBEL_FUZZ the options target instruments every library for coverage and ASan/UBSan
# (see VorbelOptions.cmake), so the parsers inside the libraries are what the fuzzer explores.
function(vorbel_add_fuzzer)
    cmake_parse_arguments(F "" "NAME;CORPUS" "SOURCES;LIBS" ${ARGN})
    add_executable(${F_NAME} ${F_SOURCES})
    target_link_libraries(${F_NAME} PRIVATE vorbel_options ${F_LIBS})
    target_compile_options(${F_NAME} PRIVATE -fsanitize=fuzzer)
    target_link_options(${F_NAME} PRIVATE -fsanitize=fuzzer)
endfunction()
