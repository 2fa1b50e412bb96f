# The wasm32 build (preset wasm32, configured through emcmake): the extension as a side module
# from the same sources, and the substitute host's programs: for Node, which load the module from
# the build folder with dlopen and find its seven entry points with dlsym, as the native host
# does; and notavo-sim once more for a page (web/), which carries the module in the page. Included
# by the top CMakeLists.txt when the compiler is emscripten's.

# Exceptions as WebAssembly's own: emcc's default turns every throw into an abort, and both the
# entry points and the readers catch what they throw. Everything linked into a program that
# loads a side module is position-independent.
add_compile_options(-fwasm-exceptions)
add_link_options(-fwasm-exceptions)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

# emcc's own steps at -O1 and above run Debian's node modules (acorn), which node does not look
# for there by itself.
set(ENV{NODE_PATH} /usr/share/nodejs)
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)

# The libraries, built from Debian's sources at this build's optimisation level into the user's
# cache (tools/wasm_libraries.sh), then found there and nowhere else.
string(TOUPPER "${CMAKE_BUILD_TYPE}" QUOR_BUILD_TYPE)
separate_arguments(QUOR_WASM_LIBRARY_FLAGS UNIX_COMMAND "${CMAKE_CXX_FLAGS_${QUOR_BUILD_TYPE}}")
list(FILTER QUOR_WASM_LIBRARY_FLAGS INCLUDE REGEX "^-O")
if(NOT QUOR_WASM_LIBRARY_FLAGS)
  set(QUOR_WASM_LIBRARY_FLAGS -O0)
endif()
execute_process(COMMAND bash ${PROJECT_SOURCE_DIR}/tools/wasm_libraries.sh ${QUOR_WASM_LIBRARY_FLAGS}
                OUTPUT_VARIABLE QUOR_WASM_LIBRARIES OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE QUOR_WASM_LIBRARIES_RESULT)
if(NOT QUOR_WASM_LIBRARIES_RESULT EQUAL 0)
  message(FATAL_ERROR "tools/wasm_libraries.sh could not build the libraries for wasm32")
endif()
message(STATUS "wasm32 libraries: ${QUOR_WASM_LIBRARIES}")
list(PREPEND CMAKE_FIND_ROOT_PATH ${QUOR_WASM_LIBRARIES})
set(ENV{PKG_CONFIG_LIBDIR} ${QUOR_WASM_LIBRARIES}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")

# The host's programs take the headless stand-ins whole, as natively, since only the module
# calls most of them; CMake knows no such link feature for emscripten by itself.
set(CMAKE_LINK_LIBRARY_USING_WHOLE_ARCHIVE
    "LINKER:--whole-archive" "<LINK_ITEM>" "LINKER:--no-whole-archive")
set(CMAKE_LINK_LIBRARY_USING_WHOLE_ARCHIVE_SUPPORTED TRUE)

# The module is a side module (-sSIDE_MODULE=1, in the top CMakeLists.txt), which emscripten
# loads with dlopen; it keeps its name.
set_property(GLOBAL PROPERTY TARGET_SUPPORTS_SHARED_LIBS TRUE)

# The programs find the dialog's resource script embedded in them, under one folder whatever
# the machine. The Node programs load the module from the build folder, where it was built
# (node_files.js shows them the machine's files at their own paths), so that a change to the
# extension links the module again and no program; the page's program finds it in that folder,
# where the page writes it.
set(QUOR_EMBEDDED /quor-note-spacing)
set(QUOR_LOADED_MODULE $<TARGET_FILE:QuorNoteSpacing>)
set(QUOR_LOADED_RESOURCES ${QUOR_EMBEDDED}/resources)
set(QUOR_PAGE_MODULE ${QUOR_EMBEDDED}/QuorNoteSpacing.nxt)

# What every program of the substitute host is linked with: MAIN_MODULE=2 keeps only the system
# functions it is told to export, which are exactly what the side module imports
# (simhost/wasm/side_module_imports.js), and its main. The dialog's resource script is embedded.
# The side module is not named on the link, which would make a page fetch it at start-up.
function(quor_wasm_program target)
  set(imports ${PROJECT_BINARY_DIR}/QuorNoteSpacing.imports)
  if(NOT TARGET quor_wasm_imports)
    add_custom_command(OUTPUT ${imports}
      COMMAND node ${PROJECT_SOURCE_DIR}/simhost/wasm/side_module_imports.js
              $<TARGET_FILE:QuorNoteSpacing> ${imports} _main
      DEPENDS QuorNoteSpacing ${PROJECT_SOURCE_DIR}/simhost/wasm/side_module_imports.js
      COMMENT "Listing what QuorNoteSpacing.nxt imports" VERBATIM)
    add_custom_target(quor_wasm_imports DEPENDS ${imports})
  endif()
  add_dependencies(${target} quor_wasm_imports QuorNoteSpacing)
  target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/simhost/wasm/usual_umask.cpp)
  set(resources ${PROJECT_SOURCE_DIR}/resources)
  target_link_options(${target} PRIVATE
    -sMAIN_MODULE=2 "SHELL:-sEXPORTED_FUNCTIONS=@${imports}" -sALLOW_MEMORY_GROWTH=1
    "SHELL:--embed-file ${resources}/note_spacing_dialog.rc@${QUOR_LOADED_RESOURCES}/note_spacing_dialog.rc"
    "SHELL:--embed-file ${resources}/note_spacing_dialog_ids.h@${QUOR_LOADED_RESOURCES}/note_spacing_dialog_ids.h")
  # Linked again when what the module imports changes (the list is written only then), or what
  # it embeds; not when the module alone changes.
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${imports}
    ${resources}/note_spacing_dialog.rc ${resources}/note_spacing_dialog_ids.h)
endfunction()

# A program for Node: one .js file, since Node 20 would otherwise fetch its .wasm, which sees the
# machine's files at their own paths and returns its exit status.
function(quor_wasm_host target)
  quor_wasm_program(${target})
  target_link_options(${target} PRIVATE -sSINGLE_FILE=1 -sEXIT_RUNTIME=1 -lnodefs.js
    "SHELL:--pre-js ${PROJECT_SOURCE_DIR}/simhost/wasm/node_files.js")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS
    ${PROJECT_SOURCE_DIR}/simhost/wasm/node_files.js)
endfunction()

# notavo-sim for the page: the same command, whose main the page calls with the arguments a user
# would type, in a fresh program for every run, as a command is a process (web/try_page.js). The
# program is a factory (NotavoSim) that takes its WebAssembly as bytes: the page
# (web/make_page.js) carries them, with the side module, so that it fetches nothing. Then the
# page itself, try.html.
function(quor_wasm_page target source)
  add_executable(${target} ${source})
  target_link_libraries(${target} PRIVATE $<LINK_LIBRARY:WHOLE_ARCHIVE,simhost_headless>
                        notavo_sim_support)
  target_compile_definitions(${target} PRIVATE
    QUOR_DEFAULT_MODULE="${QUOR_PAGE_MODULE}" QUOR_VERSION="${QUOR_VERSION}")
  quor_wasm_program(${target})
  target_link_options(${target} PRIVATE -sENVIRONMENT=web -sMODULARIZE=1
    -sEXPORT_NAME=NotavoSim -sINVOKE_RUN=0 -sEXIT_RUNTIME=0
    "SHELL:-sEXPORTED_RUNTIME_METHODS=callMain,FS")
  set(web ${PROJECT_SOURCE_DIR}/web)
  set(page ${PROJECT_BINARY_DIR}/web/try.html)
  add_custom_command(OUTPUT ${page}
    COMMAND node ${web}/make_page.js $<TARGET_FILE:${target}>
            $<TARGET_FILE_DIR:${target}>/${target}.wasm $<TARGET_FILE:QuorNoteSpacing> ${page}
    DEPENDS ${target} QuorNoteSpacing ${web}/make_page.js ${web}/try.html ${web}/try_page.js
    COMMENT "Making the page web/try.html" VERBATIM)
  add_custom_target(try-page ALL DEPENDS ${page})
endfunction()

# The scenario suite under Node: tests/scenarios, with the module and the scenario files it runs
# loaded as the native suite loads them. It is not a ctest test: the wasm suite runs it and
# compares each case's verdict with the native run's (simhost/wasm/compare_suite.sh).
function(quor_wasm_scenario_suite)
  find_package(GTest REQUIRED)
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/scenarios/*.cpp)
  # The scenario tests name their rows through the test support's row names.
  add_executable(tests_scenarios ${sources} ${PROJECT_SOURCE_DIR}/tests/support/row_name.cpp)
  target_link_libraries(tests_scenarios PRIVATE GTest::gtest GTest::gtest_main
                        $<LINK_LIBRARY:WHOLE_ARCHIVE,simhost_headless>)
  target_compile_definitions(tests_scenarios PRIVATE QUOR_MODULE_PATH="${QUOR_LOADED_MODULE}"
                             QUOR_SCENARIO_DIR="${PROJECT_SOURCE_DIR}/samples/scenarios")
  quor_wasm_host(tests_scenarios)
endfunction()
