# The self-contained Linux program (scripts/linux-portable.sh): SDL2, zlib, libpng, libogg, libvorbis and
# FreeType from the prefix scripts/foreign-libs.sh builds, linked in statically with the C++ runtime, so
# the program needs nothing but the C library and libgcc_s (which the C library itself loads to unwind
# threads, so every system has it; the static unwinder would ask for the C library 2.35). SDL loads X11,
# Wayland, KMS/DRM and the sound servers at run time, where the system has them.
include(cmake/ForeignPrefix.cmake)
vevu_use_foreign_prefix(VEVU_LINUX_PREFIX "for the self-contained Linux program" "build with scripts/linux-portable.sh"
                        "scripts/foreign-libs.sh linux-ARCH prints" PREPEND)
set(VEVU_BUILD_BENCH OFF)
set(VEVU_BUILD_TESTS OFF)
add_link_options(-static-libstdc++ -Wl,--wrap=arc4random)
set(VEVU_PORTABLE_SOURCES "${CMAKE_SOURCE_DIR}/src/engine/old_c_library.cpp")
