#include "engine/file_store.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>

#include "engine/utf8_paths.h"
#include "engine/words.h"

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

namespace fs = std::filesystem;

namespace {

#ifdef __EMSCRIPTEN__
// The page's IndexedDB file system at /vevu, loaded before the first read (web/player_files.js); 1 when it
// is there, 0 when the browser keeps no files (the folder then lives in memory).
EM_ASYNC_JS(int, vevu_mount_browser_files, (), { return await Module["vevuMountFiles"](); });

// Tells the page that files changed: it copies them to IndexedDB.
void browserFilesWritten() {
    EM_ASM({ Module["vevuFilesWritten"](); });
}
#endif

// The pause before a write that failed `failures` times is tried again: 1 s, 2 s, 4 s ... a minute.
std::chrono::milliseconds retryPause(int failures) {
    const std::chrono::milliseconds pause(1000LL << std::clamp(failures - 1, 0, 6));
    return std::min(pause, std::chrono::milliseconds(60000));
}

std::string fileNameText(const fs::path& folder, const std::string& name) {
    return Utf8FromPath(folder / PathFromUtf8(name));
}

} // namespace

TFileStore::TFileStore(const fs::path& folder) : TFileStore(PlayerFolders{folder, folder, ""}) {}

TFileStore::TFileStore(PlayerFolders folders) : folders_(std::move(folders)) {}

TFileStore::~TFileStore() {
    flush();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (writer_.joinable()) writer_.join();
}

fs::path TFileStore::folderOf(PlayerFileKind kind) const {
    return kind == PlayerFileKind::Settings ? folders_.settings : folders_.progress;
}

void TFileStore::notice(const std::string& line) {
    std::fprintf(stderr, "vevu: %s\n", line.c_str());
    std::lock_guard<std::mutex> lock(mutex_);
    notices_.push_back(line);
}

std::vector<std::string> TFileStore::takeNotices() {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> taken;
    taken.swap(notices_);
    return taken;
}

void TFileStore::injectWriteFault(WriteFault fault) {
    std::lock_guard<std::mutex> lock(mutex_);
    fault_ = fault;
}

void TFileStore::useRetryClock(RetryClock clock) {
    std::lock_guard<std::mutex> lock(mutex_);
    retryClock_ = std::move(clock);
}

void TFileStore::retryClockMoved() {
    std::lock_guard<std::mutex> lock(mutex_);
    wake_.notify_all();
}

std::chrono::steady_clock::time_point TFileStore::now() const {
    return retryClock_ ? retryClock_() : std::chrono::steady_clock::now();
}

bool TFileStore::writeDue() const {
    const auto at = now();
    for (const auto& [name, job] : pending_)
        if (job.due <= at) return true;
    return false;
}

bool TFileStore::heldElsewhere() {
    std::string told;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!lockTried_ && !folders_.progress.empty()) {
            lockTried_ = true;
            // A lock that cannot be had (a folder nobody can write) stops nothing: the writes say why.
            std::string why;
            heldElsewhere_ = folderLock_.take(folders_.progress, &why) == TFolderLock::State::HeldElsewhere;
            if (heldElsewhere_)
                told = Tr("Another copy of the game is using the player's files: this one saves nothing");
        }
    }
    if (!told.empty()) notice(told);
    return heldElsewhere_;
}

LoadedFile TFileStore::load(const PlayerFile& file, const ContentsCheck& check) {
    LoadedFile loaded;
    const fs::path folder = folderOf(file.kind);
    if (folder.empty()) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!folders_.error.empty() && !toldNoFolder_) {
            toldNoFolder_ = true;
            loaded.notice = Placed(Tr("Nothing can be saved: %s"), {folders_.error});
        }
    }
    if (folder.empty()) {
        if (!loaded.notice.empty()) notice(loaded.notice);
        return loaded;
    }
    flush(); // a read after a save sees what was saved
#ifndef __EMSCRIPTEN__
    {
        // The writing thread starts with the first read (at start-up), so no save waits for its start.
        std::lock_guard<std::mutex> lock(mutex_);
        if (!writer_.joinable()) writer_ = std::thread([this] { writerLoop(); });
    }
#endif
#ifdef __EMSCRIPTEN__
    static const bool browserKeepsFiles = vevu_mount_browser_files() != 0;
    static bool toldBrowser = false;
    if (!browserKeepsFiles && !toldBrowser) {
        toldBrowser = true;
        notice(Tr("This browser keeps no files: nothing is saved once the page closes"));
    }
#endif
    if (!heldElsewhere()) RemoveStaleTemporaryFiles(folder, file.name);

    auto examine = [&](const std::string& name, FileCheck* verdict) -> bool {
        const FileRead read = ReadWholeFile(folder / PathFromUtf8(name), file.maxBytes);
        switch (read.outcome) {
        case FileRead::Outcome::Missing:
            *verdict = FileCheck::damaged("missing");
            return false;
        case FileRead::Outcome::TooLarge:
            *verdict = FileCheck::damaged("it is far too large");
            return false;
        case FileRead::Outcome::Failed:
            *verdict = FileCheck::damaged("it cannot be read: " + read.error);
            return false;
        case FileRead::Outcome::Read:
            break;
        }
        std::string_view contents = read.bytes;
        std::uint32_t version = 0;
        if (file.framed) {
            const Unframed unframed = UnframeFile(read.bytes, file.version);
            if (unframed.check.verdict != FileVerdict::Good) {
                *verdict = unframed.check;
                return false;
            }
            contents = unframed.contents;
            version = unframed.version;
        }
        *verdict = check ? check(contents, version) : FileCheck::good();
        if (verdict->verdict != FileVerdict::Good) return false;
        loaded.contents.assign(contents);
        loaded.version = version;
        return true;
    };

    FileCheck mainVerdict;
    if (examine(file.name, &mainVerdict)) {
        loaded.from = LoadedFile::From::File;
        return loaded;
    }
    // A missing file may have a backup beside it: the game died while it replaced a damaged file, or
    // the player removed the file. Only when both are missing was nothing saved yet.
    const bool mainMissing = mainVerdict.why == "missing";
    FileCheck backupVerdict;
    const bool fromBackup = examine(file.name + ".bak", &backupVerdict);
    const bool backupMissing = !fromBackup && backupVerdict.why == "missing";
    if (mainMissing && backupMissing) return loaded;

    // A bad file stays for the player, and is set aside before that name is written again.
    const auto asideSuffix = [](const FileCheck& verdict) {
        return verdict.verdict == FileVerdict::Newer ? ".newer-version" : ".damaged";
    };
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!mainMissing) aside_[file.name] = asideSuffix(mainVerdict);
        if (!fromBackup && !backupMissing) aside_[file.name + ".bak"] = asideSuffix(backupVerdict);
    }
    loaded.from = fromBackup ? LoadedFile::From::Backup : LoadedFile::From::Nothing;
    if (!fromBackup) loaded.contents.clear();
    // Whole sentences with blanks, so that each language words them its own way.
    const std::string title = Tr(file.title), fallback = Tr(file.fallback);
    if (!mainMissing) {
        const std::string used = fromBackup ? Tr("its backup is used") : fallback;
        loaded.notice =
            mainVerdict.verdict == FileVerdict::Newer
                ? Placed(Tr("%s is from a newer version: %s, the file is kept"), {title, used})
                : Placed(Tr("%s is damaged (%s): %s, the file is kept"), {title, mainVerdict.why, used});
    } else if (fromBackup) {
        loaded.notice = Placed(Tr("%s is missing: its backup is used"), {title});
    } else if (backupVerdict.verdict == FileVerdict::Newer) {
        loaded.notice =
            Placed(Tr("%s is missing and its backup is from a newer version: %s, the backup is kept"),
                   {title, fallback});
    } else {
        loaded.notice = Placed(Tr("%s is missing and its backup is damaged (%s): %s, the backup is kept"),
                               {title, backupVerdict.why, fallback});
    }
    notice(loaded.notice);
    return loaded;
}

void TFileStore::save(const PlayerFile& file, std::string contents) {
    Job job{file, file.framed ? FrameFile(contents, file.version) : std::move(contents)};
    if (folderOf(file.kind).empty()) return; // nowhere to keep it: told once at load
    if (heldElsewhere()) return;             // the other copy's files are not ours to write: told once
#ifdef __EMSCRIPTEN__
    // The page has no threads: writing to memory takes no longer than handing the bytes over would. A
    // write that failed is tried again at the next save and at each flush.
    {
        std::lock_guard<std::mutex> lock(mutex_);
        pending_[file.name] = std::move(job);
    }
    writePendingHere();
#else
    {
        std::lock_guard<std::mutex> lock(mutex_);
        job.due = now(); // newer contents are tried at once, whatever the older ones went through
        pending_[file.name] = std::move(job);
        if (!writer_.joinable()) writer_ = std::thread([this] { writerLoop(); });
    }
    wake_.notify_one();
#endif
}

#ifdef __EMSCRIPTEN__
void TFileStore::writePendingHere() {
    std::map<std::string, Job> jobs;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        jobs.swap(pending_);
    }
    bool wrote = false;
    for (auto& [name, job] : jobs) {
        if (writeJob(job)) {
            wrote = true;
            continue;
        }
        std::lock_guard<std::mutex> lock(mutex_);
        pending_.emplace(name, std::move(job));
    }
    if (wrote) browserFilesWritten();
}
#endif

bool TFileStore::flush(int timeoutMs) {
#ifdef __EMSCRIPTEN__
    (void)timeoutMs;
    writePendingHere();
    return true;
#else
    {
        // The writes waiting for their next try get it now: at close there is no later.
        std::lock_guard<std::mutex> lock(mutex_);
        const auto at = now();
        for (auto& [name, job] : pending_)
            job.due = std::min(job.due, at);
    }
    return waitForWrites(timeoutMs);
#endif
}

bool TFileStore::waitForWrites(int timeoutMs) {
    std::unique_lock<std::mutex> lock(mutex_);
    wake_.notify_all();
    return idle_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                          [this] { return !busy_ && !writeDue(); });
}

void TFileStore::writerLoop() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (true) {
        auto next = pending_.end();
        for (auto it = pending_.begin(); it != pending_.end(); ++it)
            if (next == pending_.end() || it->second.due < next->second.due) next = it;
        const bool due = next != pending_.end() && next->second.due <= now();
        if (!due) {
            // Stopping comes after the last flush: a write still failing then has had its last try.
            if (stopping_) return;
            if (next == pending_.end() || retryClock_) {
                wake_.wait(lock);
            } else {
                wake_.wait_until(lock, next->second.due);
            }
            continue;
        }
        Job job = std::move(next->second);
        pending_.erase(next);
        busy_ = true;
        lock.unlock();
        const bool written = writeJob(job);
        lock.lock();
        busy_ = false;
        if (!written && pending_.count(job.file.name) == 0) { // newer contents replace it otherwise
            ++job.failures;
            job.due = now() + retryPause(job.failures);
            const std::string name = job.file.name;
            pending_.emplace(name, std::move(job));
        }
        idle_.notify_all();
    }
}

// A bad file set aside before its name is written again; "" when it is gone (or was never there).
std::string TFileStore::setAside(const fs::path& folder, const std::string& name) {
    std::string suffix;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = aside_.find(name);
        if (it == aside_.end()) return "";
        suffix = it->second;
    }
    std::error_code ec;
    std::string why, asideName;
    if (fs::exists(folder / PathFromUtf8(name), ec)) {
        asideName = MoveFileAside(folder, name, suffix, &why);
        // Never written over: the name waits until the bad file can be set aside.
        if (asideName.empty()) return "the old file cannot be set aside: " + why;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        aside_.erase(name); // set aside now, or moved away by the player already
    }
    if (!asideName.empty()) notice(Placed(Tr("%s was kept as %s"), {name, asideName}));
    return "";
}

bool TFileStore::writeJob(const Job& job) {
    const PlayerFile& file = job.file;
    const fs::path folder = folderOf(file.kind);
    std::string asideSuffix;
    WriteFault fault;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = aside_.find(file.name);
        if (it != aside_.end()) asideSuffix = it->second;
        fault = fault_;
    }
    // A bad backup goes first: the file written now becomes the backup at the next write.
    std::string error = setAside(folder, file.name + ".bak");
    std::error_code ec;
    const bool replacesDamaged = !asideSuffix.empty() && fs::exists(folder / PathFromUtf8(file.name), ec);
    if (!error.empty()) {
        // The bad backup stays where it is, and so does everything else until it can be set aside.
    } else if (replacesDamaged) {
        // The bad file is no backup: it keeps its name until the new file takes it, then lies aside.
        std::string asideName;
        error = ReplaceDamagedFile(folder, file.name, job.bytes, asideSuffix, &asideName, &fault);
        if (!asideName.empty()) {
            {
                std::lock_guard<std::mutex> lock(mutex_);
                aside_.erase(file.name);
            }
            notice(Placed(Tr("%s was kept as %s"), {file.name, asideName}));
        }
    } else {
        if (!asideSuffix.empty()) {
            std::lock_guard<std::mutex> lock(mutex_);
            aside_.erase(file.name); // the player has moved it away already
        }
        error = ReplaceFileAtomically(folder, file.name, job.bytes, true, &fault);
    }
    std::string told;
    bool savedAfterAll = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        std::string& last = lastError_[file.name];
        if (error != last && !error.empty()) told = error;
        savedAfterAll = error.empty() && !last.empty();
        last = error;
    }
    if (!told.empty()) {
        std::fprintf(stderr, "vevu: cannot write %s\n", fileNameText(folder, file.name).c_str());
        notice(Placed(Tr("%s could not be saved (%s): play goes on, and it is tried again"),
                      {Tr(file.title), told}));
    }
    if (savedAfterAll) notice(Placed(Tr("%s could be saved after all"), {Tr(file.title)}));
    return error.empty();
}

namespace {
std::unique_ptr<TFileStore>& processStore() {
    static std::unique_ptr<TFileStore> store;
    return store;
}
} // namespace

void PlayerFileWrittenAside() {
#ifdef __EMSCRIPTEN__
    EM_ASM({
        if (Module["vevuFilesWrittenAside"]) Module["vevuFilesWrittenAside"]();
    });
#endif
}

bool PlayerFolderHeldElsewhere() {
    return PlayerFiles().heldElsewhere();
}

TFileStore& PlayerFiles() {
    std::unique_ptr<TFileStore>& store = processStore();
    if (!store) store = std::make_unique<TFileStore>(FindPlayerFolders(true));
    return *store;
}

void UsePlatformPlayerFolders() {
    std::unique_ptr<TFileStore>& store = processStore();
    store.reset();
    store = std::make_unique<TFileStore>(FindPlayerFolders(false));
}

void UsePlayerFolder(const fs::path& folder) {
    std::unique_ptr<TFileStore>& store = processStore();
    store.reset();
    store = std::make_unique<TFileStore>(folder);
}
