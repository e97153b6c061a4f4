# The Windows build (the `windows` preset, Debian's MinGW-w64): SDL2, zlib, libpng, libogg, libvorbis,
# FreeType and GoogleTest come from the prefix that scripts/foreign-libs.sh builds. Everything is linked
# statically, the C++ and thread runtimes too, so vevu.exe needs no DLL beyond Windows' own.
include(cmake/ForeignPrefix.cmake)
# Ours before the compiler's own folder, which may hold a zlib that is a DLL.
vevu_use_foreign_prefix(VEVU_WINDOWS_PREFIX "for Windows" "build with scripts/windows.sh"
                        "scripts/foreign-libs.sh windows prints" PREPEND)
set(VEVU_BUILD_BENCH OFF)
add_link_options(-static)

# The tests run under Wine on the build machine (CTest's crosscompiling emulator).
find_program(VEVU_WINE NAMES wine64 wine)
if(VEVU_WINE AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
    set(CMAKE_CROSSCOMPILING_EMULATOR "${VEVU_WINE}")
endif()

# The game's program: a window, no console; its icon, version information and manifest (per-monitor DPI
# awareness, so Windows never blurs the whole-number scaling; UTF-8 as the process's code page).
function(vevu_windows_program target)
    set(resources "${CMAKE_BINARY_DIR}/windows")
    configure_file("${CMAKE_SOURCE_DIR}/packaging/windows/vevu.manifest.in" "${resources}/vevu.manifest" @ONLY)
    set(VEVU_ICON "${CMAKE_SOURCE_DIR}/packaging/icons/org.vevuzudevur.Vevu.ico")
    set(VEVU_MANIFEST "${resources}/vevu.manifest")
    configure_file("${CMAKE_SOURCE_DIR}/packaging/windows/vevu.rc.in" "${resources}/vevu.rc" @ONLY)
    set_source_files_properties("${resources}/vevu.rc" PROPERTIES OBJECT_DEPENDS "${VEVU_ICON};${VEVU_MANIFEST}")
    target_sources(${target} PRIVATE "${resources}/vevu.rc")
    set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
endfunction()

# SDL's pkg-config file makes every program a windowed one (-mwindows) whose main is renamed and called by
# SDL2main: only the game's program is windowed, and every program's main is its own (the game reads its
# command line itself, wide, so that a replay file named in any script opens: engine/utf8_paths.h; the
# tests' main is GoogleTest's).
function(vevu_windows_plain_sdl)
    get_target_property(compile_options PkgConfig::SDL2 INTERFACE_COMPILE_OPTIONS)
    get_target_property(link_options PkgConfig::SDL2 INTERFACE_LINK_OPTIONS)
    get_target_property(libraries PkgConfig::SDL2 INTERFACE_LINK_LIBRARIES)
    list(REMOVE_ITEM compile_options -Dmain=SDL_main)
    list(APPEND compile_options -DSDL_MAIN_HANDLED) # SDL.h would rename main too
    list(REMOVE_ITEM link_options -mwindows)
    list(FILTER libraries EXCLUDE REGEX "SDL2main")
    set_target_properties(PkgConfig::SDL2 PROPERTIES INTERFACE_COMPILE_OPTIONS "${compile_options}"
                                                     INTERFACE_LINK_OPTIONS "${link_options}"
                                                     INTERFACE_LINK_LIBRARIES "${libraries}")
endfunction()
