# Shared build conventions of the project.

set(LUMETRA4_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor)

# A static library of subsystem logic: QtCore only, linked by the program, the CLI and the tests.
function(lumetra4_logic_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
    target_compile_options(${name} PRIVATE ${LUMETRA4_WARNINGS})
    target_link_libraries(${name} PUBLIC ${ARG_LINKS})
endfunction()

# A QtTest executable registered with CTest; runs headless.
function(lumetra4_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_compile_options(${name} PRIVATE ${LUMETRA4_WARNINGS})
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LINKS})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LUMETRA4_TEST_DATA=${CMAKE_SOURCE_DIR}/tests/data"
        TIMEOUT 300)
endfunction()
