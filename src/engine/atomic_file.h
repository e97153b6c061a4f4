#pragma once
// Whole files read and replaced so that a crash, a power cut or a full disk at any moment leaves either
// the old file or the new one, whole: the new bytes go to a temporary file in the same folder, are flushed
// to the disk, and the temporary file is renamed over the old one (POSIX: fsync of the file and of the
// folder, rename; Windows: FlushFileBuffers, MoveFileExW with MOVEFILE_REPLACE_EXISTING and
// MOVEFILE_WRITE_THROUGH). The previous file may be kept as `<name>.bak` (a hard link where the file
// system has them, else a copy, put in place the same way).
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

struct FileRead {
    enum class Outcome { Read, Missing, TooLarge, Failed };
    Outcome outcome = Outcome::Missing;
    std::string bytes;
    std::string error; // why it failed, for Failed
};
// The whole file, when it is at most maxBytes long.
FileRead ReadWholeFile(const std::filesystem::path& path, std::size_t maxBytes);

// A seam for tests: a write that fails with `errorCode` (an errno value, ENOSPC for a full disk) once
// `afterBytes` bytes of the new file are written; a flush of the folder `syncFolder` that fails with
// `syncErrorCode` (EIO).
struct WriteFault {
    int errorCode = 0;
    std::size_t afterBytes = 0;
    int syncErrorCode = 0;
    std::filesystem::path syncFolder{};
};

// Makes folder and its missing parents, each flushed into its own parent (POSIX). Returns "" or why not.
std::string MakeFolders(const std::filesystem::path& folder, const WriteFault* fault = nullptr);

// Replaces folder/name with bytes as described above, making the folder (and its parents) first.
// keepBackup: the file being replaced becomes folder/name.bak. Returns an empty string on success, else
// what went wrong in a few words ("No space left on device"); the old file is then untouched and no
// temporary file is left behind.
std::string ReplaceFileAtomically(const std::filesystem::path& folder, const std::string& name,
                                  std::string_view bytes, bool keepBackup, const WriteFault* fault = nullptr);

// Replaces a damaged folder/name with bytes, keeping the damaged file as the first free name+suffix (as
// MoveFileAside names it) and no backup of it; *asideName says where it went. The damaged file leaves
// its name only once the new one is flushed: POSIX links it to its new name and renames the new file
// over it, so some file always holds the name; where links cannot be made, and on Windows, it is
// renamed away just before the new file takes its place (the backup is read meanwhile). On failure
// the damaged file is left as it was where it can be.
std::string ReplaceDamagedFile(const std::filesystem::path& folder, const std::string& name,
                               std::string_view bytes, const std::string& suffix, std::string* asideName,
                               const WriteFault* fault = nullptr);

// Renames folder/name to the first of name+suffix, name+suffix+"-2", ... that does not exist yet, never
// replacing a file. Returns the new name, or an empty string with the reason in *error. The next file
// written in the folder makes the new name last (its flush of the folder).
std::string MoveFileAside(const std::filesystem::path& folder, const std::string& name,
                          const std::string& suffix, std::string* error);

// The temporary files a writer killed mid-write left in the folder for `name`: never this process's own,
// nor one whose writer (the process its name carries) still runs.
void RemoveStaleTemporaryFiles(const std::filesystem::path& folder, const std::string& name);
