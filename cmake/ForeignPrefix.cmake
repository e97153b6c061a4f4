# The libraries scripts/foreign-libs.sh builds for another platform, in one prefix: checked to be there,
# then the only place find_package and pkg-config look, static libraries bringing their own dependencies
# (vorbisfile: vorbis, ogg).
#   vevu_use_foreign_prefix(VAR "for the web" "build the page with scripts/web.sh" "scripts/web-libs.sh prints" APPEND)
# PREPEND puts the prefix before the toolchain's own folders, APPEND after them.
macro(vevu_use_foreign_prefix var platform how printer order)
    set(${var} "$ENV{${var}}" CACHE PATH "The prefix ${printer}")
    if(NOT EXISTS "${${var}}/lib/pkgconfig/sdl2.pc")
        message(FATAL_ERROR "No libraries ${platform} in '${${var}}': ${how}, or set ${var} to what ${printer}")
    endif()
    list(${order} CMAKE_FIND_ROOT_PATH "${${var}}")
    list(${order} CMAKE_PREFIX_PATH "${${var}}")
    set(ENV{PKG_CONFIG_LIBDIR} "${${var}}/lib/pkgconfig")
    set(ENV{PKG_CONFIG_PATH} "")
    set(PKG_CONFIG_ARGN --static)
endmacro()
