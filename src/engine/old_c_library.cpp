// Only in the self-contained Linux program (cmake/LinuxPortable.cmake), which must start on systems whose
// C library is older than the build machine's. The static C++ runtime asks for arc4random (in the C
// library only since 2.36) for std::random_device, which the game never uses; the linker sends it here
// (--wrap=arc4random), to the kernel's random bytes that every C library since 2.25 reaches.
#include <cerrno>
#include <cstdint>
#include <ctime>
#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

namespace {
bool readAll(int fd, void* to, size_t size) {
    auto* bytes = static_cast<unsigned char*>(to);
    while (size > 0) {
        const ssize_t got = read(fd, bytes, size);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        bytes += got;
        size -= static_cast<size_t>(got);
    }
    return true;
}
} // namespace

// arc4random cannot fail: getrandom, then /dev/urandom (a kernel without getrandom), then the clock.
extern "C" uint32_t __wrap_arc4random() {
    uint32_t value = 0;
    ssize_t got;
    do {
        got = getrandom(&value, sizeof value, 0);
    } while (got < 0 && errno == EINTR);
    if (got == static_cast<ssize_t>(sizeof value)) return value;
    const int fd = open("/dev/urandom", O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        const bool read = readAll(fd, &value, sizeof value);
        close(fd);
        if (read) return value;
    }
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint32_t>(now.tv_nsec) ^ static_cast<uint32_t>(now.tv_sec) * 2654435761u;
}
