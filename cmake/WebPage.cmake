# Run by the build (cmake -P) after the game is linked for the web: puts the page a person serves into
# PAGE and nothing else there. The script and the WebAssembly are named by their content's hash, so a
# browser or the service worker never pairs one release's script with another's WebAssembly; the
# service worker's cache is named by the hash of every file it keeps.
# Inputs: BUILT (the folder holding index.js and index.wasm), SOURCE (web/), PAGE (the page's folder),
# WORDS (the page's words in every language: tools/page_words.py).
foreach(input BUILT SOURCE PAGE WORDS)
    if(NOT DEFINED ${input})
        message(FATAL_ERROR "WebPage.cmake needs -D${input}=...")
    endif()
endforeach()

function(short_hash file out)
    file(SHA256 "${file}" hash)
    string(SUBSTRING "${hash}" 0 12 hash)
    set(${out} "${hash}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE "${PAGE}")
file(MAKE_DIRECTORY "${PAGE}/icons")

short_hash("${BUILT}/index.js" js_hash)
short_hash("${BUILT}/index.wasm" wasm_hash)
set(VEVU_GAME_JS "index.${js_hash}.js")
set(VEVU_GAME_WASM "index.${wasm_hash}.wasm")
file(COPY_FILE "${BUILT}/index.js" "${PAGE}/${VEVU_GAME_JS}")
file(COPY_FILE "${BUILT}/index.wasm" "${PAGE}/${VEVU_GAME_WASM}")
file(SIZE "${BUILT}/index.js" VEVU_GAME_JS_BYTES)
file(SIZE "${BUILT}/index.wasm" VEVU_GAME_WASM_BYTES)
math(EXPR VEVU_PAGE_BYTES "${VEVU_GAME_JS_BYTES} + ${VEVU_GAME_WASM_BYTES}")
file(READ "${WORDS}" VEVU_PAGE_WORDS)
string(STRIP "${VEVU_PAGE_WORDS}" VEVU_PAGE_WORDS)
configure_file("${SOURCE}/shell.html" "${PAGE}/index.html" @ONLY)
# The prompts' pictures, for the page's line of keys when a pad is in use.
file(COPY_FILE "${SOURCE}/../assets/Gfx/prompts.png" "${PAGE}/prompts.png")
file(COPY_FILE "${SOURCE}/manifest.webmanifest" "${PAGE}/manifest.webmanifest")
# The licences of the code, the art and the CJK font the program carries, as the Windows zip has them.
file(COPY_FILE "${SOURCE}/../LICENSE" "${PAGE}/LICENSE.txt")
file(GLOB icons RELATIVE "${SOURCE}/icons" "${SOURCE}/icons/*.png")
list(SORT icons)

set(files index.html manifest.webmanifest LICENSE.txt prompts.png ${VEVU_GAME_JS} ${VEVU_GAME_WASM})
foreach(icon IN LISTS icons)
    file(COPY_FILE "${SOURCE}/icons/${icon}" "${PAGE}/icons/${icon}")
    list(APPEND files "icons/${icon}")
endforeach()

# The service worker keeps the page under "./" (what a visitor navigates to) and every other file; it
# checks that the page it keeps names the hashed script and WebAssembly it keeps. Its cache is named by
# every kept file and by the worker's own code.
file(SHA256 "${SOURCE}/sw.js" version)
set(VEVU_PAGE_FILES "\"./\"")
set(VEVU_PAGE_KEPT_BYTES 0)
foreach(file IN LISTS files)
    short_hash("${PAGE}/${file}" hash)
    string(APPEND version "${hash}")
    file(SIZE "${PAGE}/${file}" bytes)
    math(EXPR VEVU_PAGE_KEPT_BYTES "${VEVU_PAGE_KEPT_BYTES} + ${bytes}")
    if(NOT file STREQUAL "index.html")
        string(APPEND VEVU_PAGE_FILES ", \"${file}\"")
    endif()
endforeach()
string(SHA256 VEVU_PAGE_VERSION "${version}")
string(SUBSTRING "${VEVU_PAGE_VERSION}" 0 12 VEVU_PAGE_VERSION)
set(VEVU_PAGE_FILES "[${VEVU_PAGE_FILES}]")
set(VEVU_PAGE_HASHED_FILES "[\"${VEVU_GAME_JS}\", \"${VEVU_GAME_WASM}\"]")
configure_file("${SOURCE}/sw.js" "${PAGE}/sw.js" @ONLY)
