# Cross-builds for 64-bit ARM Linux (aarch64) with Debian's g++-aarch64-linux-gnu, against Debian's arm64
# libraries installed beside the machine's own (multiarch: dpkg --add-architecture arm64, scripts/arm-test.sh).
# The tests run under qemu-aarch64 (CTest's crosscompiling emulator), which finds the arm64 C library and
# dynamic loader where multiarch put them.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_ASM_COMPILER aarch64-linux-gnu-gcc)
set(PKG_CONFIG_EXECUTABLE aarch64-linux-gnu-pkg-config CACHE FILEPATH "pkg-config for the arm64 libraries")
# The machine's x86_64 libraries live in /usr/lib/x86_64-linux-gnu, which is never searched: only the
# arm64 folders and the architecture-independent ones.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
find_program(VEVU_QEMU_AARCH64 qemu-aarch64)
if(VEVU_QEMU_AARCH64)
    set(CMAKE_CROSSCOMPILING_EMULATOR "${VEVU_QEMU_AARCH64}")
endif()
