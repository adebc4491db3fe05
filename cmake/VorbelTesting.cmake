# vorbel_add_test(NAME <name> SOURCES <files...> LIBS <targets...> [ENV <VAR=value...>])
# One Qt Test executable per class or behaviour, registered with CTest. GUI tests run offscreen.
function(vorbel_add_test)
    cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS;ENV" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE vorbel_options Qt6::Test ${T_LIBS})
    set_target_properties(${T_NAME} PROPERTIES AUTOMOC ON)
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 120)
    endif()
    set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT}
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VORBEL_SOURCE_DIR=${PROJECT_SOURCE_DIR};${T_ENV}")
endfunction()
