# The web edition, built by emcmake into build-web/: every program of the
# registry becomes NAME.js + NAME.wasm, a module that the program's page
# starts afresh in a worker for every run. The program sources are the
# same; what differs is below them:
#   console/console_web.cpp  the pauses wait for the page, the trace goes
#                            out as Latin-1 bytes through standard output
#   console/main_web.cpp     the entry that ends every run through exit()
#   views/view_web.cpp       every view of the run at once, step by step
#   draw/window_web.cpp      each stage is copied to the page's canvas
#   draw/text_web.cpp        the texts, replayed from a native run
#
# A program that draws text gets, in the web build, the very glyph pixels
# that the native build drew: the native build records them (target
# web_texts) by running the program with a recorder of draw_text's calls,
# and the web build compiles the recording into the program.

# Whether the program's source draws text.
function(suite_renders_text out source)
    file(STRINGS ${source} calls REGEX "draw_text\\(")
    if(calls)
        set(${out} TRUE PARENT_SCOPE)
    else()
        set(${out} FALSE PARENT_SCOPE)
    endif()
endfunction()

if(EMSCRIPTEN)
    set(SUITE_NATIVE_BUILD "" CACHE PATH "The native build that recorded the rendered texts (target web_texts)")

    # The program runs in a worker of its page (web/worker.js). Asyncify
    # lets a wait hand control back to the worker and resume later (every
    # wait is reached by direct calls: a method's pause goes from
    # Steps::pause straight to the console's wait, never through a pointer);
    # exit() at the end runs the atexit functions and flushes the output;
    # the output goes to the page through web/library_page.js. The runtime's
    # own SDL, window emulation and file system stay out (the layers above
    # replace them), and so does everything a page does not need.
    set(suite_web_link_options
        -sASYNCIFY -sASYNCIFY_IGNORE_INDIRECT -sASYNCIFY_STACK_SIZE=16384
        -sMODULARIZE -sEXPORT_NAME=createProgram
        -sEXIT_RUNTIME -sALLOW_MEMORY_GROWTH
        -sENVIRONMENT=worker -sAUTO_JS_LIBRARIES=0 -sUSE_SDL=0 -sFILESYSTEM=0
        -sEXPORTED_RUNTIME_METHODS=UTF8ToString
        --js-library ${PROJECT_SOURCE_DIR}/web/library_page.js)

    function(suite_web_program name kind source)
        # The program's main keeps its source; main_web.cpp calls it.
        target_compile_definitions(${name} PRIVATE main=suite_program_main)
        if(kind STREQUAL "picture")
            target_link_libraries(${name} PRIVATE draw)
        elseif(NOT kind STREQUAL "console")
            message(FATAL_ERROR "suite_program(${name}): kind must be console or picture")
        endif()
        suite_renders_text(renders ${source})
        if(renders)
            set(texts ${SUITE_NATIVE_BUILD}/web-texts/${name}.cpp)
            if(NOT EXISTS ${texts})
                message(FATAL_ERROR "${name} draws text: build the target web_texts of the native build "
                                    "and give its folder as -DSUITE_NATIVE_BUILD=... (./demo web does both)")
            endif()
            target_sources(${name} PRIVATE ${texts})
        endif()
        set_target_properties(${name} PROPERTIES SUFFIX .js
                              LINK_DEPENDS ${PROJECT_SOURCE_DIR}/web/library_page.js)
        target_link_options(${name} PRIVATE ${suite_web_link_options})
    endfunction()
else()
    add_custom_target(web_texts)

    # For a picture program that draws text: NAME.texts, its capture build
    # with the recorder of web/record_texts.cpp, and its run, which writes
    # web-texts/NAME.cpp. Built only as part of web_texts.
    function(suite_web_texts name source identity)
        cmake_parse_arguments(arg "" "" "DEFINES;LIBS" ${ARGN})
        suite_renders_text(renders ${source})
        if(NOT renders)
            return()
        endif()
        set(recorder ${name}.texts)
        add_executable(${recorder} EXCLUDE_FROM_ALL ${source} ${identity}
                       ${PROJECT_SOURCE_DIR}/web/record_texts.cpp)
        target_compile_definitions(${recorder} PRIVATE ${arg_DEFINES})
        target_link_libraries(${recorder} PRIVATE ${arg_LIBS} arith console console_command_line console_guard
                              draw_capture)
        set(output ${CMAKE_BINARY_DIR}/web-texts/${name}.cpp)
        # Run where the smoke runs are, beside the font.
        add_custom_command(OUTPUT ${output}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/web-texts
            COMMAND ${CMAKE_COMMAND} -E env SUITE_TEXTS_OUTPUT=${output} $<TARGET_FILE:${recorder}>
            DEPENDS ${recorder}
            WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/smoke
            COMMENT "Recording the texts that ${name} renders")
        add_custom_target(${name}.texts_source DEPENDS ${output})
        add_dependencies(web_texts ${name}.texts_source)
    endfunction()
endif()
