#pragma once
// One copy of the game at a time writes a player's folder. The first copy to start holds the folder's
// lock file, vevu.lock, for as long as it runs (Linux: an advisory flock, which the system drops when
// the process ends, however it ends; Windows: the file opened without sharing, closed by the system
// likewise; the page: a lock of the Web Locks API, held by one tab, web/player_files.js). A second copy
// (a second double click, a portable copy on the same folder) reads the player's files and writes none.
#include <filesystem>
#include <string>

constexpr const char* kFolderLockName = "vevu.lock";

class TFolderLock {
  public:
    enum class State {
        Held,
        HeldElsewhere, // another copy of the game holds it
        Unavailable, // no lock can be had here (a folder that cannot be written, a file system without locks)
    };
    TFolderLock() = default;
    ~TFolderLock();
    TFolderLock(const TFolderLock&) = delete;
    TFolderLock& operator=(const TFolderLock&) = delete;

    // Tries once to hold folder's lock, making the folder where it is missing; Unavailable says why in
    // *error. A lock held already is kept.
    State take(const std::filesystem::path& folder, std::string* error);
    void release();

  private:
#ifdef _WIN32
    void* handle_ = nullptr;
#elif !defined(__EMSCRIPTEN__) // the page holds its lock in the browser
    int fd_ = -1;
#endif
    bool held_ = false;
};
