#include "engine/folder_lock.h"

#include <cerrno>
#include <system_error>

#include "engine/atomic_file.h"
#include "engine/utf8_paths.h"

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#elif defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

#ifdef __EMSCRIPTEN__
namespace {
// The page's tab asks the browser for the folder's lock: 1 held, 0 held by another tab, -1 the browser
// has no locks (web/player_files.js).
EM_ASYNC_JS(int, vevu_hold_player_folder, (), {
    if (!Module["vevuHoldFolder"]) return -1;
    return await Module["vevuHoldFolder"]();
});
} // namespace
#endif

TFolderLock::~TFolderLock() {
    release();
}

TFolderLock::State TFolderLock::take(const fs::path& folder, std::string* error) {
    if (held_) return State::Held;
#ifdef __EMSCRIPTEN__
    (void)folder;
    const int answer = vevu_hold_player_folder();
    if (answer < 0) {
        if (error) *error = "this browser has no locks";
        return State::Unavailable;
    }
    held_ = answer == 1;
    return held_ ? State::Held : State::HeldElsewhere;
#else
    const std::string made = MakeFolders(folder);
    if (!made.empty()) {
        if (error) *error = made;
        return State::Unavailable;
    }
    const fs::path path = folder / kFolderLockName;
#ifdef _WIN32
    // No sharing at all: a second copy's open fails with a sharing violation for as long as this one runs.
    HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        if (code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION) return State::HeldElsewhere;
        if (error) *error = std::system_category().message(static_cast<int>(code));
        return State::Unavailable;
    }
    handle_ = handle;
#else
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        if (error) *error = std::generic_category().message(errno);
        return State::Unavailable;
    }
    int taken;
    do {
        taken = flock(fd, LOCK_EX | LOCK_NB);
    } while (taken != 0 && errno == EINTR);
    if (taken != 0) {
        const int code = errno;
        close(fd);
        if (code == EWOULDBLOCK) return State::HeldElsewhere;
        if (error) *error = std::generic_category().message(code);
        return State::Unavailable;
    }
    fd_ = fd;
#endif
    held_ = true;
    return State::Held;
#endif
}

void TFolderLock::release() {
    if (!held_) return;
    held_ = false;
#if defined(_WIN32)
    CloseHandle(static_cast<HANDLE>(handle_));
    handle_ = nullptr;
#elif !defined(__EMSCRIPTEN__)
    close(fd_); // drops the flock
    fd_ = -1;
#endif
    // The page's tab holds its lock for the page's life: the store is made once there.
}
