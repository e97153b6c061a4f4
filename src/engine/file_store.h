#pragma once
// The player's files (the saved campaign, the settings): found where the platform keeps them
// (player_folder.h), read with a fallback to their backup, and written off the main thread so that
// saving never holds up a frame, and never loses or corrupts a file.
//
// Reading (load): the file, else its backup `<name>.bak`, else nothing (the caller's defaults). A framed
// file (file_frame.h) must pass its frame and then the caller's check of its contents; a text file passes
// the caller's check alone (the settings read their own version line). A file that is cut short, fails its
// checksum or the check, or comes from a newer version of the game is never overwritten or deleted: the
// store says so in one notice line and, before it next writes that name, renames the file to
// `<name>.damaged` or `<name>.newer-version` (or `...-2`, `...-3`: never over another file), which it
// also says.
//
// A missing file with a backup beside it (the game died while it replaced a damaged one, or the player
// removed it) is read from the backup, and says so. A bad backup is set aside as `<name>.bak.damaged`
// before a good file could become the backup over it. A damaged file leaves its name only once its
// replacement is in place (ReplaceDamagedFile), so a write that fails never leaves the backup alone
// with a new campaign that would soon replace it.
//
// Writing (save): returns at once; a thread writes the newest contents of each file (a save superseded
// before it was written is skipped) through ReplaceFileAtomically, keeping the previous file as the
// backup. A save counts once the disk says so: a write that fails (a full disk, a file held by another
// program) is tried again after a pause that grows from 1 s to a minute, and at once by flush (at
// close), until it is written or newer contents replace it. A folder that cannot be written (read-only,
// full, gone) costs a notice, once per reason, and a line once the file is saved after all: the game
// plays on meanwhile. flush waits for the writes.
//
// One copy of the game at a time writes the folders (folder_lock.h: the lock is the progress folder's,
// taken at the first load or save). A second copy reads the files as the first left them, says once that
// it saves nothing, and drops its saves; it sweeps no temporary file either.
//
// Notices are one line each, for the screen; takeNotices hands them out once (the HUD shows them).
//
// The web page: the folder is /vevu and there is no thread (the writes go to memory at once).
// web/player_files.js loads the folder from IndexedDB before the first read (the game waits for it) and
// copies it back after each write and whenever the page asks (when it is hidden). Without IndexedDB the
// files live in memory for the page's life and the first load's notice says so.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "engine/atomic_file.h"
#include "engine/file_frame.h"
#include "engine/folder_lock.h"
#include "engine/player_folder.h"

// One kind of file the game keeps.
struct PlayerFile {
    PlayerFileKind kind = PlayerFileKind::Progress;
    std::string name;               // in its folder: "campaign.sav"
    std::string title;              // for notices: "The saved campaign"
    std::string fallback;           // what the game plays on with when nothing can be read: "a new campaign"
    std::uint32_t version = 1;      // framed: the version written, and the newest one read
    bool framed = true;             // false: text the caller checks alone
    std::size_t maxBytes = 1 << 16; // larger files are damaged, never read whole into memory
};

struct LoadedFile {
    enum class From { Nothing, File, Backup };
    From from = From::Nothing;
    std::string contents;      // without the frame
    std::uint32_t version = 0; // framed files: the version they were written with
    std::string notice;        // what went wrong, in one line (also queued for takeNotices); empty if nothing
};

// Checks the contents of a file; the store falls back to the backup on anything but Good.
using ContentsCheck = std::function<FileCheck(std::string_view contents, std::uint32_t version)>;

class TFileStore {
  public:
    // Every kind of file in `folder` (empty: nowhere; loads find nothing, saves are dropped).
    explicit TFileStore(const std::filesystem::path& folder);
    explicit TFileStore(PlayerFolders folders);
    ~TFileStore(); // waits for the writes still queued
    TFileStore(const TFileStore&) = delete;
    TFileStore& operator=(const TFileStore&) = delete;

    // The folder of a kind of file; empty when there is none (headless without one, or none found).
    std::filesystem::path folderOf(PlayerFileKind kind) const;
    LoadedFile load(const PlayerFile& file, const ContentsCheck& check = {});
    // Queues the contents (unframed) to be written; returns at once.
    void save(const PlayerFile& file, std::string contents);
    // Waits until every queued write has been tried; false if timeoutMs passed first.
    bool flush(int timeoutMs = 10000);
    std::vector<std::string> takeNotices();
    // True when another copy of the game holds the folders' lock: this one writes nothing in them.
    bool heldElsewhere();
    // Tests: every write from now on fails as the fault says (a zero errorCode: none).
    void injectWriteFault(WriteFault fault);
    // Tests: the clock the pauses between tries are counted on, moved by the test (retryClockMoved tells
    // the store it moved), so that no test waits for one; waitForWrites then waits for every write that
    // is due by it, without trying the others at once as flush does.
    using RetryClock = std::function<std::chrono::steady_clock::time_point()>;
    void useRetryClock(RetryClock clock);
    void retryClockMoved();
    bool waitForWrites(int timeoutMs = 10000);

  private:
    struct Job {
        PlayerFile file;
        std::string bytes;                         // as they go to the disk
        int failures = 0;                          // tries that failed so far
        std::chrono::steady_clock::time_point due{}; // when it is tried (again)
    };
    void notice(const std::string& line);
    bool writeJob(const Job& job); // true once the file is on the disk
    void writerLoop();
#ifdef __EMSCRIPTEN__
    void writePendingHere(); // the page's writes, on its only thread
#endif
    std::chrono::steady_clock::time_point now() const; // with mutex_ held
    bool writeDue() const;                             // with mutex_ held
    std::string setAside(const std::filesystem::path& folder, const std::string& name);

    PlayerFolders folders_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::map<std::string, Job> pending_;           // by file name: only the newest contents are written
    std::map<std::string, std::string> aside_;     // file name -> suffix it must be renamed to first
    std::map<std::string, std::string> lastError_; // file name -> the failure last told
    std::vector<std::string> notices_;
    TFolderLock folderLock_;
    bool lockTried_ = false;
    bool heldElsewhere_ = false;
    WriteFault fault_;
    RetryClock retryClock_; // empty: the steady clock
    bool busy_ = false;
    bool stopping_ = false;
    bool toldNoFolder_ = false;
    std::thread writer_;
};

// Tells the platform that a file in the player's folders was written outside the store (the session being
// recorded, as it goes). On the page its folder is copied to the browser's storage within seconds, so that
// a tab that crashes while shown keeps the session up to then; elsewhere the file is on the disk already.
void PlayerFileWrittenAside();

// The process's store holds no lock on the player's folders: another copy of the game does, so nothing
// may be written in them (the session recorder asks before it records).
bool PlayerFolderHeldElsewhere();

// The process's store. Until the game itself opts in (UsePlatformPlayerFolders), it has no folder but the
// one VEVU_DATA_DIR names, so that tests, tools and benchmarks never reach the player's files.
TFileStore& PlayerFiles();
// The game's start-up: the platform's folders from now on (player_folder.h).
void UsePlatformPlayerFolders();
// From now on the process's store keeps every file in `folder` (empty: in none). Tests and tools call
// this with a folder of their own. The previous store finishes its writes first.
void UsePlayerFolder(const std::filesystem::path& folder);
