# suite_program(): one program of the suite, from its registry line.
#
#   suite_program(NAME KIND THEME "description" [SOURCE file] [DEFINES d ...])
#
# KIND is console or picture. The source is programs/THEME/NAME.cpp unless
# SOURCE names another file of that folder (programs that share one source
# and differ in build-time constants, given by DEFINES).
#
# A console program links the arithmetic toolkit and the trace check. A
# picture program links the drawing toolkit too, and gets a second build,
# its capture variant in bin/capture/ under the same name, which runs with no
# display and saves every stage as a PNG. Each program also becomes a CTest
# smoke test: one run end to end, console programs with standard input at end
# of file, picture programs through their capture variant.

set_property(GLOBAL PROPERTY SUITE_CATALOGUE "")

function(suite_program name kind theme description)
    cmake_parse_arguments(arg "" "SOURCE" "DEFINES" ${ARGN})
    if(NOT arg_SOURCE)
        set(arg_SOURCE ${name}.cpp)
    endif()
    set(source ${CMAKE_CURRENT_SOURCE_DIR}/${theme}/${arg_SOURCE})

    add_executable(${name} ${source})
    target_compile_definitions(${name} PRIVATE ${arg_DEFINES})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${SUITE_BIN_DIR})

    if(kind STREQUAL "console")
        target_link_libraries(${name} PRIVATE arith trace_guard)
        add_test(NAME run.${name}
                 COMMAND sh -c "exec \"$0\" </dev/null >/dev/null" $<TARGET_FILE:${name}>)
    elseif(kind STREQUAL "picture")
        target_link_libraries(${name} PRIVATE arith draw)
        set(capture ${name}.capture)
        add_executable(${capture} ${source})
        target_compile_definitions(${capture} PRIVATE ${arg_DEFINES})
        target_link_libraries(${capture} PRIVATE arith draw_capture)
        set_target_properties(${capture} PROPERTIES
            OUTPUT_NAME ${name} RUNTIME_OUTPUT_DIRECTORY ${SUITE_CAPTURE_DIR})
        add_test(NAME run.${name} COMMAND ${capture} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/smoke)
    else()
        message(FATAL_ERROR "suite_program(${name}): kind must be console or picture")
    endif()
    set_tests_properties(run.${name} PROPERTIES TIMEOUT 120 LABELS run)

    set_property(GLOBAL APPEND PROPERTY SUITE_CATALOGUE "${name}|${kind}|${theme}|${description}")
endfunction()

# suite_catalogue(): writes the registry for the launcher (catalogue.tsv) and
# for the tests (catalogue.hpp), in registry order.
function(suite_catalogue)
    get_property(entries GLOBAL PROPERTY SUITE_CATALOGUE)
    set(tsv "")
    set(cpp "// Generated from the program registry: name, kind, theme, description.\n")
    string(APPEND cpp "#pragma once\nstruct CatalogueEntry {\n    const char *name, *kind, *theme, *description;\n};\n")
    string(APPEND cpp "static const CatalogueEntry catalogue[] = {\n")
    foreach(entry IN LISTS entries)
        string(REPLACE "|" ";" fields "${entry}")
        list(GET fields 0 name)
        list(GET fields 1 kind)
        list(GET fields 2 theme)
        list(GET fields 3 description)
        string(APPEND tsv "${name}\t${kind}\t${theme}\t${description}\n")
        string(REPLACE "\"" "\\\"" quoted "${description}")
        string(APPEND cpp "    {\"${name}\", \"${kind}\", \"${theme}\", \"${quoted}\"},\n")
    endforeach()
    string(APPEND cpp "};\n")
    # Rewritten only when they change, so that a new configure rebuilds nothing.
    file(WRITE ${CMAKE_BINARY_DIR}/catalogue.tsv.new "${tsv}")
    file(WRITE ${CMAKE_BINARY_DIR}/generated/catalogue.hpp.new "${cpp}")
    file(COPY_FILE ${CMAKE_BINARY_DIR}/catalogue.tsv.new
         ${CMAKE_BINARY_DIR}/catalogue.tsv ONLY_IF_DIFFERENT)
    file(COPY_FILE ${CMAKE_BINARY_DIR}/generated/catalogue.hpp.new
         ${CMAKE_BINARY_DIR}/generated/catalogue.hpp ONLY_IF_DIFFERENT)
endfunction()
