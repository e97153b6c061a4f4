#include "engine/file_store.h"

#include <chrono>
#include <cstdio>
#include <memory>

#include "engine/utf8_paths.h"

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
                told = "Another copy of the game is using the player's files: this one saves nothing";
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
            loaded.notice = "Nothing can be saved: " + folders_.error;
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
        notice("This browser keeps no files: nothing is saved once the page closes");
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
    if (mainVerdict.why == "missing") return loaded; // nothing saved yet (or the player removed it)

    // The file is bad: it stays for the player, and is set aside before that name is written again.
    {
        std::lock_guard<std::mutex> lock(mutex_);
        aside_[file.name] = mainVerdict.verdict == FileVerdict::Newer ? ".newer-version" : ".damaged";
    }
    FileCheck backupVerdict;
    const bool fromBackup = examine(file.name + ".bak", &backupVerdict);
    loaded.from = fromBackup ? LoadedFile::From::Backup : LoadedFile::From::Nothing;
    if (!fromBackup) loaded.contents.clear();
    const std::string what = mainVerdict.verdict == FileVerdict::Newer
                                 ? " is from a newer version"
                                 : " is damaged (" + mainVerdict.why + ")";
    loaded.notice =
        file.title + what + ": " + (fromBackup ? "its backup is used" : file.fallback) + ", the file is kept";
    notice(loaded.notice);
    return loaded;
}

void TFileStore::save(const PlayerFile& file, std::string contents) {
    Job job{file, file.framed ? FrameFile(contents, file.version) : std::move(contents)};
    if (folderOf(file.kind).empty()) return; // nowhere to keep it: told once at load
    if (heldElsewhere()) return;             // the other copy's files are not ours to write: told once
#ifdef __EMSCRIPTEN__
    // The page has no threads: writing to memory takes no longer than handing the bytes over would.
    writeJob(job);
    browserFilesWritten();
#else
    {
        std::lock_guard<std::mutex> lock(mutex_);
        pending_[file.name] = std::move(job);
        if (!writer_.joinable()) writer_ = std::thread([this] { writerLoop(); });
    }
    wake_.notify_one();
#endif
}

bool TFileStore::flush(int timeoutMs) {
    std::unique_lock<std::mutex> lock(mutex_);
    return idle_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                          [this] { return pending_.empty() && !busy_; });
}

void TFileStore::writerLoop() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (true) {
        wake_.wait(lock, [this] { return stopping_ || !pending_.empty(); });
        if (pending_.empty()) {
            if (stopping_) return;
            continue;
        }
        auto first = pending_.begin();
        Job job = std::move(first->second);
        pending_.erase(first);
        busy_ = true;
        lock.unlock();
        writeJob(job);
        lock.lock();
        busy_ = false;
        if (pending_.empty()) idle_.notify_all();
    }
}

void TFileStore::writeJob(const Job& job) {
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
    std::string error;
    if (!asideSuffix.empty()) {
        std::error_code ec;
        if (!fs::exists(folder / PathFromUtf8(file.name), ec)) {
            std::lock_guard<std::mutex> lock(mutex_);
            aside_.erase(file.name); // the player has moved it away already
        } else {
            std::string why;
            const std::string asideName = MoveFileAside(folder, file.name, asideSuffix, &why);
            if (asideName.empty()) {
                // Never written over: this name waits until the bad file can be set aside.
                error = "the old file cannot be set aside: " + why;
            } else {
                {
                    std::lock_guard<std::mutex> lock(mutex_);
                    aside_.erase(file.name);
                }
                notice(file.name + " was kept as " + asideName);
            }
        }
    }
    if (error.empty()) error = ReplaceFileAtomically(folder, file.name, job.bytes, true, &fault);
    std::string told;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        std::string& last = lastError_[file.name];
        if (error != last && !error.empty()) told = error;
        last = error;
    }
    if (!told.empty()) {
        std::fprintf(stderr, "vevu: cannot write %s\n", fileNameText(folder, file.name).c_str());
        notice(file.title + " could not be saved (" + told + "): play goes on");
    }
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
