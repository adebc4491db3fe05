# One INTERFACE target carries the language level, warnings and defines for every target
# of the project. Link it PRIVATE into each library, executable and test.
add_library(vorbel_options INTERFACE)
target_compile_features(vorbel_options INTERFACE cxx_std_20)
target_compile_options(vorbel_options INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align -Woverloaded-virtual
    -Wformat=2 -Wimplicit-fallthrough)
if(VORBEL_WERROR)
    target_compile_options(vorbel_options INTERFACE -Werror)
endif()
target_compile_definitions(vorbel_options INTERFACE
    QT_NO_KEYWORDS               # signals/slots/emit clash with std and our own names
    QT_NO_CAST_TO_ASCII
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_DISABLE_DEPRECATED_BEFORE=0x060000)
target_include_directories(vorbel_options INTERFACE
    ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/generated)

if(VORBEL_SANITIZE)
    # ASan + UBSan for the whole tree, tests included.
    target_compile_options(vorbel_options INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(vorbel_options INTERFACE -fsanitize=address,undefined)
endif()

if(VORBEL_FUZZ)
    # Coverage for libFuzzer plus ASan/UBSan in every target; the fuzzers add the driver.
    target_compile_options(vorbel_options INTERFACE
        -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    target_link_options(vorbel_options INTERFACE -fsanitize=address,undefined)
endif()

configure_file(${PROJECT_SOURCE_DIR}/cmake/vorbel_version.h.in
    ${PROJECT_BINARY_DIR}/generated/vorbel_version.h @ONLY)
