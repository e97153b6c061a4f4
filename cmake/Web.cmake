# The web build (the `web` preset, Emscripten): SDL2, zlib, libpng, libogg, libvorbis and FreeType come
# from the prefix that scripts/web-libs.sh builds, never from Emscripten's ports, which download.
include(cmake/ForeignPrefix.cmake)
vevu_use_foreign_prefix(VEVU_WEB_PREFIX "for the web" "build the page with scripts/web.sh"
                        "scripts/web-libs.sh prints" APPEND)
set(VEVU_BUILD_TESTS OFF)
set(VEVU_BUILD_BENCH OFF)

# The game's loops hand control to the browser inside Flip and SleepMillis through Asyncify (which also
# waits for the player's files to load from IndexedDB, through IDBFS: engine/file_store.h). SDL's
# audio needs Emscripten's helpers that web/library_functions.txt names (the one that resumes the page's
# audio on the first gesture among them); a file, because a dollar sign does not survive the build's shell.
# web/player_files.js keeps the player's folder in IndexedDB and opens the replay files the page is given.
set(VEVU_WEB_LINK_OPTIONS
    -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536 -sALLOW_MEMORY_GROWTH -sINITIAL_MEMORY=64MB
    -sENVIRONMENT=web -lidbfs.js
    "-sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${CMAKE_SOURCE_DIR}/web/library_functions.txt"
    "-sEXPORTED_RUNTIME_METHODS=[]" -lGL --js-library "${CMAKE_SOURCE_DIR}/web/library_framebuffer.js"
    --post-js "${CMAKE_SOURCE_DIR}/web/player_files.js")

# Links target into <name>.js and <name>.wasm in its output folder; with a shell, makes <name>.html from
# it beside them (the shell's @VEVU_GAME_SCRIPT@ loads the game).
function(vevu_web_page target name)
    set_target_properties(${target} PROPERTIES OUTPUT_NAME ${name} SUFFIX ".js"
                          LINK_DEPENDS "${CMAKE_SOURCE_DIR}/web/library_framebuffer.js;${CMAKE_SOURCE_DIR}/web/player_files.js")
    target_link_options(${target} PRIVATE ${VEVU_WEB_LINK_OPTIONS})
    get_target_property(folder ${target} RUNTIME_OUTPUT_DIRECTORY)
    if(NOT folder)
        set(folder "${CMAKE_BINARY_DIR}")
    endif()
    if(ARGC GREATER 2)
        set(VEVU_GAME_SCRIPT "<script async src=\"${name}.js\"></script>")
        configure_file("${ARGV2}" "${folder}/${name}.html" @ONLY)
    endif()
endfunction()

# The page a person serves, in build/web/page/ (only the page's files: see cmake/WebPage.cmake), made
# again whenever the game or one of the page's sources changes.
# The page's own words (its lines before the game runs, its messages) come from the same catalogues as
# the game's: tools/page_words.py takes the template's texts that web/ uses and their translations.
function(vevu_web_page_folder target)
    set(page "${CMAKE_BINARY_DIR}/page")
    set(words "${CMAKE_BINARY_DIR}/page_words.js")
    file(GLOB icons CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/web/icons/*.png")
    set(catalogues "")
    foreach(mo IN LISTS VEVU_PAGE_CATALOGUE_FILES)
        get_filename_component(code "${mo}" NAME_WE)
        list(APPEND catalogues "${code}=${mo}")
    endforeach()
    add_custom_command(
        OUTPUT "${words}"
        COMMAND "${VEVU_HOST_PYTHON}" "${CMAKE_SOURCE_DIR}/tools/page_words.py"
                "${CMAKE_SOURCE_DIR}/po/vevu.pot" "${words}" ${catalogues}
        DEPENDS "${CMAKE_SOURCE_DIR}/tools/page_words.py" "${CMAKE_SOURCE_DIR}/po/vevu.pot"
                ${VEVU_PAGE_CATALOGUE_FILES}
        COMMENT "The page's words in every language" VERBATIM)
    add_custom_command(
        OUTPUT "${page}/index.html" "${page}/sw.js"
        COMMAND "${CMAKE_COMMAND}" -DBUILT=$<TARGET_FILE_DIR:${target}> "-DSOURCE=${CMAKE_SOURCE_DIR}/web"
                "-DPAGE=${page}" "-DWORDS=${words}" -P "${CMAKE_SOURCE_DIR}/cmake/WebPage.cmake"
        DEPENDS ${target} "${words}" "${CMAKE_SOURCE_DIR}/cmake/WebPage.cmake" "${CMAKE_SOURCE_DIR}/web/shell.html"
                "${CMAKE_SOURCE_DIR}/web/sw.js" "${CMAKE_SOURCE_DIR}/web/manifest.webmanifest" ${icons}
                "${CMAKE_SOURCE_DIR}/LICENSE"
        COMMENT "The web page in ${page}" VERBATIM)
    add_custom_target(vevu_web_page_folder ALL DEPENDS "${page}/index.html" "${page}/sw.js")
endfunction()

# The crowded battlefield drawn in the page, frame after frame (scripts/web-figures.sh); built on demand
# into build/web/bench/.
function(vevu_web_bench_page)
    add_executable(vevu_web_bench EXCLUDE_FROM_ALL "${CMAKE_SOURCE_DIR}/bench/web/battlefield_page.cpp"
                                                   "${CMAKE_SOURCE_DIR}/bench/crowded_battlefield.cpp")
    target_include_directories(vevu_web_bench PRIVATE "${CMAKE_SOURCE_DIR}/bench")
    target_compile_options(vevu_web_bench PRIVATE ${VEVU_WARNINGS})
    target_link_libraries(vevu_web_bench PRIVATE vevu_core)
    set_target_properties(vevu_web_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/bench")
    vevu_web_page(vevu_web_bench index "${CMAKE_SOURCE_DIR}/web/bench_shell.html")
endfunction()

# The recorded replays of tests/replays played by the WebAssembly build and compared digest by digest
# with what the desktop recorded, as vevu_replay does there (web/test.mjs opens it with ?replays=...):
# the page must compute the very game the desktop does. Built into build/web/replay/, the replays
# packed beside it.
function(vevu_web_replay_page)
    file(GLOB driver CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/tools/driver/*.cpp")
    file(GLOB replays CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/tests/replays/*.vrp")
    add_executable(vevu_web_replay "${CMAKE_SOURCE_DIR}/tools/replay.cpp" ${driver})
    target_include_directories(vevu_web_replay PRIVATE "${CMAKE_SOURCE_DIR}/tools")
    target_compile_options(vevu_web_replay PRIVATE ${VEVU_WARNINGS})
    target_link_libraries(vevu_web_replay PRIVATE vevu_core)
    target_link_options(vevu_web_replay PRIVATE --preload-file "${CMAKE_SOURCE_DIR}/tests/replays@/replays")
    set_target_properties(vevu_web_replay PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/replay")
    vevu_web_page(vevu_web_replay index "${CMAKE_SOURCE_DIR}/web/replay_shell.html")
    # The shell reads the frame it asked for (?frame=...) from the page's files.
    target_link_options(vevu_web_replay PRIVATE "-sEXPORTED_RUNTIME_METHODS=[FS]")
    set_property(TARGET vevu_web_replay APPEND PROPERTY LINK_DEPENDS ${replays})
endfunction()
