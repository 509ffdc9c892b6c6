# The program registry: suite_theme() and suite_program() lines in
# programs/CMakeLists.txt, then suite_catalogue().
#
#   suite_theme(THEME "Title")
#   suite_program(NAME KIND THEME "description" [EXAMPLE "arguments"]
#                 [SOURCE file] [DEFINES d ...] [LIBS lib ...])
#
# A theme is a folder of programs/ and a heading of the menu; the themes are
# shown in the order of their lines. KIND is console or picture. The source
# is programs/THEME/NAME.cpp unless SOURCE names another file of that folder
# (programs that share one source and differ in build-time constants, given
# by DEFINES). LIBS are the libraries of method steps the program calls.
# EXAMPLE is a worked example of the program's parameters.
#
# Each program gets its identity (name, description, example) as a source
# generated from its line. Every program links the arithmetic toolkit, the
# console layer (its command line) and the console's guards (standard
# descriptors, output written in full). A picture program links the drawing
# toolkit too, and gets
# a second build, its capture variant in bin/capture/ under the same name,
# which runs with no display and saves every stage as a PNG. Each program
# also becomes a CTest smoke test: one run end to end, console programs with
# standard input at end of file, picture programs through their capture
# variant.

# The registry is kept field by field, one global property each, so that a
# description or an example keeps every character the generated files can
# hold ("|" and ";" included). Themes and names are lists' items and folder
# or target names.
set_property(GLOBAL PROPERTY SUITE_THEMES "")
set_property(GLOBAL PROPERTY SUITE_PROGRAMS "")
set_property(GLOBAL PROPERTY SUITE_MESSAGE_DOMAINS "")

# suite_messages(DOMAIN file ...): sources of the current folder whose
# messages (marked _("...") or N_("...")) go into the catalogues
# po/LANGUAGE/DOMAIN.po.
function(suite_messages domain)
    get_property(domains GLOBAL PROPERTY SUITE_MESSAGE_DOMAINS)
    if(NOT domain IN_LIST domains)
        set_property(GLOBAL APPEND PROPERTY SUITE_MESSAGE_DOMAINS ${domain})
    endif()
    foreach(file IN LISTS ARGN)
        get_filename_component(path ${file} ABSOLUTE)
        set_property(GLOBAL APPEND PROPERTY SUITE_MESSAGES_${domain} ${path})
    endforeach()
endfunction()

# Stops the configuration when a field cannot be written into the generated
# files: catalogue.tsv holds one program a line, its fields between tabs.
function(suite_check_field where field value)
    if(value MATCHES "[\t\n\r]")
        message(FATAL_ERROR "${where}: the ${field} holds a tab or a line break, which the program "
                            "catalogue cannot store; write it on one line, without tabs")
    endif()
endfunction()

function(suite_theme theme title)
    if(NOT theme MATCHES "^[A-Za-z0-9_.+-]+$")
        message(FATAL_ERROR "suite_theme(${theme}): a theme names a folder and a list item: "
                            "letters, digits and _ . + - only")
    endif()
    suite_check_field("suite_theme(${theme})" title "${title}")
    set_property(GLOBAL APPEND PROPERTY SUITE_THEMES ${theme})
    set_property(GLOBAL PROPERTY SUITE_THEME_TITLE_${theme} "${title}")
endfunction()

# suite_register(NAME KIND THEME DESCRIPTION EXAMPLE): the program's line
# checked and stored for suite_catalogue(); suite_program() calls it first.
function(suite_register name kind theme description example)
    set(where "suite_program(${name})")
    if(NOT name MATCHES "^[A-Za-z0-9_.+-]+$")
        message(FATAL_ERROR "${where}: a program's name is a target's and a file's name: "
                            "letters, digits and _ . + - only")
    endif()
    get_property(names GLOBAL PROPERTY SUITE_PROGRAMS)
    list(FIND names ${name} line)
    if(line GREATER -1)
        message(FATAL_ERROR "${where}: a second line for the same program")
    endif()
    get_property(themes GLOBAL PROPERTY SUITE_THEMES)
    list(FIND themes ${theme} line)
    if(line EQUAL -1)
        message(FATAL_ERROR "${where}: no suite_theme(${theme} ...) line before it")
    endif()
    suite_check_field("${where}" description "${description}")
    suite_check_field("${where}" example "${example}")
    set_property(GLOBAL APPEND PROPERTY SUITE_PROGRAMS ${name})
    foreach(field kind theme description example)
        set_property(GLOBAL PROPERTY SUITE_PROGRAM_${field}_${name} "${${field}}")
    endforeach()
endfunction()

# A string as a C string literal.
function(suite_c_string out text)
    string(REPLACE "\\" "\\\\" text "${text}")
    string(REPLACE "\"" "\\\"" text "${text}")
    set(${out} "\"${text}\"" PARENT_SCOPE)
endfunction()

# Writes a file only when its content changes, so that a new configure
# rebuilds nothing.
function(suite_write_if_changed file content)
    file(WRITE ${file}.new "${content}")
    file(COPY_FILE ${file}.new ${file} ONLY_IF_DIFFERENT)
endfunction()

function(suite_program name kind theme description)
    cmake_parse_arguments(PARSE_ARGV 4 arg "" "SOURCE;EXAMPLE" "DEFINES;LIBS")
    suite_register(${name} ${kind} ${theme} "${description}" "${arg_EXAMPLE}")
    if(NOT arg_SOURCE)
        set(arg_SOURCE ${name}.cpp)
    endif()
    set(source ${CMAKE_CURRENT_SOURCE_DIR}/${theme}/${arg_SOURCE})

    # The program's identity.
    suite_c_string(c_name "${name}")
    suite_c_string(c_description "${description}")
    suite_c_string(c_example "${arg_EXAMPLE}")
    set(identity ${CMAKE_BINARY_DIR}/generated/identity/${name}.cpp)
    suite_write_if_changed(${identity} "// Generated from the program registry.\n#include \"console/identity.hpp\"\n\
const char program_name[] = ${c_name};\n\
const char program_description[] = ${c_description};\n\
const char program_example[] = ${c_example};\n")

    add_executable(${name} ${source} ${identity})
    target_compile_definitions(${name} PRIVATE ${arg_DEFINES})
    target_link_libraries(${name} PRIVATE ${arg_LIBS} arith console console_command_line console_guard)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${SUITE_BIN_DIR})

    if(EMSCRIPTEN)
        suite_web_program(${name} ${kind} ${source})
    elseif(kind STREQUAL "console")
        add_test(NAME run.${name}
                 COMMAND sh -c "exec \"$0\" </dev/null >/dev/null" $<TARGET_FILE:${name}>)
    elseif(kind STREQUAL "picture")
        target_link_libraries(${name} PRIVATE draw)
        set(capture ${name}.capture)
        add_executable(${capture} ${source} ${identity})
        target_compile_definitions(${capture} PRIVATE ${arg_DEFINES})
        target_link_libraries(${capture} PRIVATE ${arg_LIBS} arith console console_command_line console_guard
                              draw_capture)
        set_target_properties(${capture} PROPERTIES
            OUTPUT_NAME ${name} RUNTIME_OUTPUT_DIRECTORY ${SUITE_CAPTURE_DIR})
        # The C++ runtime linked in: resolving its symbols at every start
        # would cost a picture run a millisecond (not with the sanitizers,
        # which replace its allocator).
        if(NOT SUITE_SANITIZE)
            target_link_options(${name} PRIVATE -static-libstdc++ -static-libgcc)
            target_link_options(${capture} PRIVATE -static-libstdc++ -static-libgcc)
        endif()
        add_test(NAME run.${name} COMMAND ${capture} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/smoke)
        suite_web_texts(${name} ${source} ${identity} DEFINES ${arg_DEFINES} LIBS ${arg_LIBS})
    else()
        message(FATAL_ERROR "suite_program(${name}): kind must be console or picture")
    endif()
    if(NOT EMSCRIPTEN)
        set_tests_properties(run.${name} PROPERTIES TIMEOUT 120 LABELS run)
    endif()
endfunction()

# suite_catalogue(): writes the registry for the launcher, the benchmark and
# the web edition (catalogue.tsv and themes.tsv, tab-separated) and for the
# launcher and the tests (generated/catalogue.hpp): the programs theme by
# theme, in the order of the themes and then of their lines. In a build it
# also adds suite_programs and suite_captures, which build every program and
# every capture variant (the launcher's menu and gallery need them).
function(suite_catalogue)
    get_property(themes GLOBAL PROPERTY SUITE_THEMES)
    get_property(names GLOBAL PROPERTY SUITE_PROGRAMS)
    set(tsv "")
    set(themes_tsv "")
    set(cpp "// Generated from the program registry.\n#pragma once\n")
    string(APPEND cpp "struct CatalogueEntry {\n    const char *name, *kind, *theme, *description, *example;\n};\n")
    string(APPEND cpp "struct ThemeEntry {\n    const char *theme, *title;\n};\n")
    set(cpp_programs "static const CatalogueEntry catalogue[] = {\n")
    set(cpp_themes "static const ThemeEntry themes[] = {\n")
    set(programs "")
    set(captures "")
    foreach(theme IN LISTS themes)
        get_property(title GLOBAL PROPERTY SUITE_THEME_TITLE_${theme})
        string(APPEND themes_tsv "${theme}\t${title}\n")
        suite_c_string(c_title "${title}")
        string(APPEND cpp_themes "    {\"${theme}\", ${c_title}},\n")
        foreach(name IN LISTS names)
            foreach(field kind theme description example)
                get_property(program_${field} GLOBAL PROPERTY SUITE_PROGRAM_${field}_${name})
            endforeach()
            if(NOT program_theme STREQUAL theme)
                continue()
            endif()
            string(APPEND tsv "${name}\t${program_kind}\t${theme}\t${program_description}\t${program_example}\n")
            suite_c_string(c_description "${program_description}")
            suite_c_string(c_example "${program_example}")
            string(APPEND cpp_programs
                   "    {\"${name}\", \"${program_kind}\", \"${theme}\", ${c_description}, ${c_example}},\n")
            list(APPEND programs ${name})
            if(program_kind STREQUAL "picture")
                list(APPEND captures ${name}.capture)
            endif()
        endforeach()
    endforeach()
    string(APPEND cpp "${cpp_themes}};\n${cpp_programs}};\n")
    # Rewritten only when they change, so that a new configure rebuilds nothing.
    suite_write_if_changed(${CMAKE_BINARY_DIR}/catalogue.tsv "${tsv}")
    suite_write_if_changed(${CMAKE_BINARY_DIR}/themes.tsv "${themes_tsv}")
    suite_write_if_changed(${CMAKE_BINARY_DIR}/generated/catalogue.hpp "${cpp}")

    if(CMAKE_SCRIPT_MODE_FILE)
        return()
    endif()
    add_custom_target(suite_programs)
    if(programs)
        add_dependencies(suite_programs ${programs})
    endif()
    add_custom_target(suite_captures)
    if(captures AND NOT EMSCRIPTEN)
        add_dependencies(suite_captures ${captures})
    endif()
endfunction()
