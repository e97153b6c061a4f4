#include "engine/atomic_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <system_error>
#include <vector>

#include "engine/utf8_paths.h"

#ifdef _WIN32
#include <process.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

int processId() {
#ifdef _WIN32
    return _getpid();
#else
    return static_cast<int>(getpid());
#endif
}

// Each process writes its own temporary file, so two copies of the game never write into one.
std::string temporaryName(const std::string& name) {
    return name + "." + std::to_string(processId()) + ".tmp";
}

// A file's UTF-8 name in the folder, in the platform's own path (Windows: UTF-16, not the code page).
fs::path inFolder(const fs::path& folder, const std::string& name) {
    return folder / PathFromUtf8(name);
}

std::string errnoText(int code) {
    return std::generic_category().message(code);
}

// A fault injected for a folder's flush (tests), else "".
std::string injectedSyncFault(const fs::path& folder, const WriteFault* fault) {
    if (!fault || fault->syncErrorCode == 0) return "";
    std::error_code ec;
    return fs::equivalent(folder, fault->syncFolder, ec) ? errnoText(fault->syncErrorCode) : "";
}

#ifdef _WIN32

std::string lastErrorText() {
    std::string text = std::system_category().message(static_cast<int>(GetLastError()));
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == '.'))
        text.pop_back();
    return text;
}

std::string writeAndFlush(const fs::path& path, std::string_view bytes, const WriteFault* fault) {
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return lastErrorText();
    std::string error;
    std::size_t written = 0;
    while (error.empty() && written < bytes.size()) {
        std::size_t chunk = std::min<std::size_t>(bytes.size() - written, 1 << 20);
        if (fault && fault->errorCode != 0) {
            if (written >= fault->afterBytes) {
                error = errnoText(fault->errorCode);
                break;
            }
            chunk = std::min(chunk, fault->afterBytes - written);
        }
        DWORD done = 0;
        if (!WriteFile(file, bytes.data() + written, static_cast<DWORD>(chunk), &done, nullptr)) {
            error = lastErrorText();
        }
        written += done;
    }
    if (error.empty() && fault && fault->errorCode != 0) error = errnoText(fault->errorCode);
    if (error.empty() && !FlushFileBuffers(file)) error = lastErrorText();
    if (!CloseHandle(file) && error.empty()) error = lastErrorText();
    return error;
}

// A virus scanner, an indexer or a backup program may hold the file being replaced for a moment: the
// rename is refused with a sharing or access error. It is tried a few more times before it counts.
std::string renameOver(const fs::path& from, const fs::path& to) {
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return "";
        const DWORD code = GetLastError();
        const bool heldForAMoment =
            code == ERROR_SHARING_VIOLATION || code == ERROR_ACCESS_DENIED || code == ERROR_LOCK_VIOLATION;
        if (!heldForAMoment || attempt == 5) return lastErrorText();
        Sleep(100 * attempt);
    }
}

std::string syncFolder(const fs::path& folder, const WriteFault* fault) {
    // MOVEFILE_WRITE_THROUGH has already waited for the rename to reach the disk, and the file system
    // journals a folder made.
    return injectedSyncFault(folder, fault);
}

bool processAlive(int pid) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (!process) return GetLastError() == ERROR_ACCESS_DENIED; // someone else's, running
    DWORD code = 0;
    const bool running = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    CloseHandle(process);
    return running;
}

#else

std::string writeAndFlush(const fs::path& path, std::string_view bytes, const WriteFault* fault) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return errnoText(errno);
    std::string error;
    std::size_t written = 0;
    while (error.empty() && written < bytes.size()) {
        std::size_t chunk = bytes.size() - written;
        if (fault && fault->errorCode != 0) {
            if (written >= fault->afterBytes) {
                error = errnoText(fault->errorCode);
                break;
            }
            chunk = std::min(chunk, fault->afterBytes - written);
        }
        const ssize_t done = write(fd, bytes.data() + written, chunk);
        if (done < 0) {
            if (errno != EINTR) error = errnoText(errno);
        } else {
            written += static_cast<std::size_t>(done);
        }
    }
    if (error.empty() && fault && fault->errorCode != 0) error = errnoText(fault->errorCode);
    if (error.empty() && fsync(fd) != 0) error = errnoText(errno);
    if (close(fd) != 0 && error.empty()) error = errnoText(errno);
    return error;
}

std::string renameOver(const fs::path& from, const fs::path& to) {
    if (std::rename(from.c_str(), to.c_str()) == 0) return "";
    return errnoText(errno);
}

// The rename itself is made durable by flushing the folder that holds the names: a failure there is a
// failed write. File systems that cannot flush a folder (they report EINVAL) have nothing more to flush.
std::string syncFolder(const fs::path& folder, const WriteFault* fault) {
    std::string error = injectedSyncFault(folder, fault);
#ifndef __EMSCRIPTEN__ // the page's files reach the disk when web/player_files.js copies them to IndexedDB
    if (!error.empty()) return error;
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return "the folder cannot be flushed: " + errnoText(errno);
    if (fsync(fd) != 0 && errno != EINVAL) error = "the folder cannot be flushed: " + errnoText(errno);
    close(fd);
#endif
    return error;
}

bool processAlive(int pid) {
#ifdef __EMSCRIPTEN__
    (void)pid;
    return false; // one tab writes the folder (web/player_files.js), and every tab has the same pid
#else
    return pid > 0 && (kill(pid, 0) == 0 || errno == EPERM);
#endif
}

#endif

// The n-th name a file set aside may take: name+suffix, then name+suffix+"-2", ...
std::string asideCandidate(const std::string& name, const std::string& suffix, int n) {
    // Appended rather than "-" + to_string(n): g++ 12 at -O3 warns of a false overlapping copy there.
    std::string asideName = name + suffix;
    if (n > 1) asideName.append("-").append(std::to_string(n));
    return asideName;
}

#ifndef _WIN32
// Links folder/name to the first free aside name (a link never replaces a file): that name, or "" with
// the reason in *code (EEXIST: none is free).
std::string linkAside(const fs::path& folder, const std::string& name, const std::string& suffix, int* code) {
    const fs::path from = inFolder(folder, name);
    for (int n = 1; n < 1000; ++n) {
        const std::string asideName = asideCandidate(name, suffix, n);
        if (link(from.c_str(), inFolder(folder, asideName).c_str()) == 0) return asideName;
        if (errno != EEXIST) {
            *code = errno;
            return "";
        }
    }
    *code = EEXIST;
    return "";
}
#endif

// The old file kept as name.bak: linked (or copied where links cannot be made) beside it under a temporary
// name, then renamed over the last backup, so a crash leaves the last backup or the new one.
std::string keepBackup(const fs::path& folder, const std::string& name) {
    const fs::path main = inFolder(folder, name);
    std::error_code ec;
    if (!fs::exists(main, ec)) return "";
    const fs::path staged = inFolder(folder, temporaryName(name + ".bak"));
    fs::remove(staged, ec);
    fs::create_hard_link(main, staged, ec);
    if (ec) {
        ec.clear();
        fs::copy_file(main, staged, fs::copy_options::overwrite_existing, ec);
        if (ec) {
            fs::remove(staged, ec);
            return "cannot keep a backup: " + ec.message();
        }
    }
    std::string error = renameOver(staged, inFolder(folder, name + ".bak"));
    if (!error.empty()) fs::remove(staged, ec);
    return error.empty() ? "" : "cannot keep a backup: " + error;
}

} // namespace

FileRead ReadWholeFile(const fs::path& path, std::size_t maxBytes) {
    FileRead result;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status)) {
        // A name under a regular file cannot exist either.
        const bool absent =
            !ec || ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory;
        result.outcome = absent ? FileRead::Outcome::Missing : FileRead::Outcome::Failed;
        result.error = ec.message();
        return result;
    }
    if (!fs::is_regular_file(status)) {
        result.outcome = FileRead::Outcome::Failed;
        result.error = "it is not a file";
        return result;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        result.outcome = FileRead::Outcome::Failed;
        result.error = errnoText(errno != 0 ? errno : EACCES);
        return result;
    }
    // Read by the file's size, not the most allowed: a small file costs a small buffer. The size is only
    // where reading begins: a file that grew meanwhile is read on to its end, and a byte more than
    // allowed is read, so that a file grown too large is told, never cut.
    std::error_code sized;
    const std::uintmax_t size = fs::file_size(path, sized);
    constexpr std::size_t kPiece = std::size_t{64} << 10;
    const std::size_t limit = maxBytes + 1;
    std::size_t want = sized ? kPiece : static_cast<std::size_t>(std::min<std::uintmax_t>(size + 1, limit));
    std::size_t got = 0;
    for (;;) {
        result.bytes.resize(want);
        in.read(result.bytes.data() + got, static_cast<std::streamsize>(want - got));
        got += static_cast<std::size_t>(in.gcount());
        if (!in || got >= limit) break; // its end, or past the most allowed
        want = std::min(std::max(got * 2, got + kPiece), limit);
    }
    if (in.bad()) {
        result.outcome = FileRead::Outcome::Failed;
        result.error = "it cannot be read";
        result.bytes.clear();
        return result;
    }
    result.bytes.resize(got);
    result.outcome = got > maxBytes ? FileRead::Outcome::TooLarge : FileRead::Outcome::Read;
    if (got > maxBytes) result.bytes.clear();
    return result;
}

std::string MakeFolders(const fs::path& folder, const WriteFault* fault) {
    std::error_code ec;
    if (fs::is_directory(folder, ec)) return "";
    std::vector<fs::path> missing; // innermost first
    for (fs::path at = folder; !at.empty() && !fs::exists(at, ec); at = at.parent_path()) {
        missing.push_back(at);
        if (at == at.parent_path()) break;
    }
    fs::create_directories(folder, ec);
    if (ec) return ec.message();
    // Each folder made is a new name in its parent: flushed there, or a power cut may take it, and all
    // that was saved in it, away.
    for (auto made = missing.rbegin(); made != missing.rend(); ++made) {
        const fs::path parent = made->parent_path().empty() ? fs::path(".") : made->parent_path();
        std::string error = syncFolder(parent, fault);
        if (!error.empty()) return error;
    }
    return "";
}

// The folder made and the new bytes written and flushed to a temporary file beside name (*staged);
// on failure the reason, and no temporary file is left.
static std::string stageFile(const fs::path& folder, const std::string& name, std::string_view bytes,
                             const WriteFault* fault, fs::path* staged) {
    if (std::string made = MakeFolders(folder, fault); !made.empty()) return made;
    *staged = inFolder(folder, temporaryName(name));
    std::string error = writeAndFlush(*staged, bytes, fault);
    std::error_code ec;
    if (!error.empty()) fs::remove(*staged, ec);
    return error;
}

std::string ReplaceFileAtomically(const fs::path& folder, const std::string& name, std::string_view bytes,
                                  bool backup, const WriteFault* fault) {
    std::error_code ec;
    fs::path staged;
    std::string error = stageFile(folder, name, bytes, fault, &staged);
    if (!error.empty()) return error;
    if (backup) {
        error = keepBackup(folder, name);
        if (!error.empty()) {
            fs::remove(staged, ec);
            return error;
        }
    }
    error = renameOver(staged, inFolder(folder, name));
    if (!error.empty()) {
        fs::remove(staged, ec);
        return error;
    }
    return syncFolder(folder, fault);
}

std::string ReplaceDamagedFile(const fs::path& folder, const std::string& name, std::string_view bytes,
                               const std::string& suffix, std::string* asideName, const WriteFault* fault) {
    asideName->clear();
    std::error_code ec;
    fs::path staged;
    std::string error = stageFile(folder, name, bytes, fault, &staged);
    if (!error.empty()) return error;
    const fs::path main = inFolder(folder, name);
#ifndef _WIN32
    int code = 0;
    *asideName = linkAside(folder, name, suffix, &code);
    if (!asideName->empty()) {
        error = renameOver(staged, main);
        if (!error.empty()) {
            unlink(inFolder(folder, *asideName).c_str()); // the damaged file still holds its name
            asideName->clear();
            fs::remove(staged, ec);
            return error;
        }
        return syncFolder(folder, fault);
    }
    if (code == EEXIST) {
        fs::remove(staged, ec);
        return "too many files set aside already";
    }
#endif
    std::string why;
    *asideName = MoveFileAside(folder, name, suffix, &why);
    if (asideName->empty()) {
        fs::remove(staged, ec);
        return "the old file cannot be set aside: " + why;
    }
    error = renameOver(staged, main);
    if (!error.empty()) {
        fs::remove(staged, ec);
        return error;
    }
    return syncFolder(folder, fault);
}

std::string MoveFileAside(const fs::path& folder, const std::string& name, const std::string& suffix,
                          std::string* error) {
    const fs::path from = inFolder(folder, name);
    for (int n = 1; n < 1000; ++n) {
        const std::string asideName = asideCandidate(name, suffix, n);
        const fs::path to = inFolder(folder, asideName);
        std::error_code ec;
        if (fs::exists(to, ec) || ec) continue;
#ifdef _WIN32
        // Without MOVEFILE_REPLACE_EXISTING the move never replaces a file.
        if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH)) return asideName;
        if (GetLastError() == ERROR_ALREADY_EXISTS || GetLastError() == ERROR_FILE_EXISTS) continue;
        if (error) *error = lastErrorText();
        return "";
#else
        // A link fails rather than replace a file that appeared meanwhile; where links cannot be made,
        // the rename follows the check above.
        if (link(from.c_str(), to.c_str()) == 0) {
            if (unlink(from.c_str()) == 0) {
                return asideName;
            }
            const int code = errno;
            unlink(to.c_str());
            if (error) *error = errnoText(code);
            return "";
        }
        if (errno == EEXIST) continue;
        if (std::rename(from.c_str(), to.c_str()) == 0) {
            return asideName;
        }
        if (error) *error = errnoText(errno);
        return "";
#endif
    }
    if (error) *error = "too many files set aside already";
    return "";
}

void RemoveStaleTemporaryFiles(const fs::path& folder, const std::string& name) {
    std::error_code ec;
    const std::string own = temporaryName(name);
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        // Any file may lie there, named in any script: Windows' narrow names cannot hold them all.
        const std::string file = Utf8FromPath(it->path().filename());
        for (const std::string& base : {name, name + ".bak"}) {
            const bool temporary = file.size() > base.size() + 5 &&
                                   file.compare(0, base.size() + 1, base + ".") == 0 &&
                                   file.compare(file.size() - 4, 4, ".tmp") == 0 &&
                                   file.find_first_not_of("0123456789", base.size() + 1) == file.size() - 4;
            // Another writer's file is left to it while it runs (a second copy of the game, which holds no
            // lock, or one of an older version that knows none).
            const bool writerGone = temporary && !processAlive(std::atoi(file.c_str() + base.size() + 1));
            if (writerGone && file != own && file != temporaryName(name + ".bak")) {
                std::error_code ignored;
                fs::remove(it->path(), ignored);
            }
        }
    }
}
