#include "engine/player_folder.h"

#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#elif !defined(__EMSCRIPTEN__)
#include <pwd.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
// Wide strings throughout: a user name in any script must reach the right folder.
fs::path environmentPath(const wchar_t* name) {
    const wchar_t* value = _wgetenv(name);
    return value && *value ? fs::path(value) : fs::path();
}

fs::path windowsProgramFolder() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) {
            buffer.resize(length);
            return fs::path(buffer).parent_path();
        }
        buffer.resize(buffer.size() * 2);
    }
}
#else
fs::path environmentPath(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? fs::path(value) : fs::path();
}
#endif

#if !defined(_WIN32) && !defined(__EMSCRIPTEN__)
fs::path homeFolder() {
    fs::path home = environmentPath("HOME");
    if (!home.empty()) return home;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir && *entry->pw_dir)
        return entry->pw_dir;
    return {};
}

// An XDG variable counts only when it holds an absolute path; otherwise its default under the home folder.
fs::path xdgFolder(const char* variable, const fs::path& homeRelativeDefault, std::string* error) {
    const fs::path given = environmentPath(variable);
    if (given.is_absolute()) return given / kAppId;
    const fs::path home = homeFolder();
    if (home.empty()) {
        *error = std::string("neither ") + variable + " nor HOME is set";
        return {};
    }
    return home / homeRelativeDefault / kAppId;
}
#endif

} // namespace

fs::path ProgramFolder() {
#if defined(_WIN32)
    return windowsProgramFolder();
#elif defined(__EMSCRIPTEN__)
    return {};
#else
    // As the kernel knows it, symbolic links resolved: a link to the program in ~/bin still finds its folder.
    std::error_code ec;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : program.parent_path();
#endif
}

PlayerFolders FindPlayerFolders(bool headless, const fs::path& programFolder) {
    PlayerFolders folders;
#ifdef _WIN32
    fs::path moved = environmentPath(L"VEVU_DATA_DIR");
#else
    fs::path moved = environmentPath("VEVU_DATA_DIR");
#endif
    if (!moved.empty()) {
        std::error_code ec;
        const fs::path absolute = fs::absolute(moved, ec);
        folders.settings = folders.progress = ec ? moved : absolute;
        return folders;
    }
    if (headless) return folders;
    // The Windows zip and the self-contained Linux folder keep the player's files beside the program.
    std::error_code ec;
    if (!programFolder.empty() && fs::exists(programFolder / kPortableMarker, ec)) {
        folders.settings = folders.progress = programFolder;
        return folders;
    }
#if defined(__EMSCRIPTEN__)
    folders.settings = folders.progress = kBrowserFolder;
#elif defined(_WIN32)
    const fs::path appData = environmentPath(L"APPDATA");
    if (appData.empty()) {
        folders.error = "APPDATA is not set";
        return folders;
    }
    folders.settings = folders.progress = appData / kWindowsFolderName;
#else
    folders.settings = xdgFolder("XDG_CONFIG_HOME", ".config", &folders.error);
    folders.progress = xdgFolder("XDG_DATA_HOME", fs::path(".local") / "share", &folders.error);
    if (!folders.error.empty()) folders.settings = folders.progress = fs::path();
#endif
    return folders;
}
