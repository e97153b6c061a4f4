#pragma once
// A text file a person can read and edit, as the settings are kept:
//
//     # The Vevu Zudevur's settings
//     version = 1
//     music_volume = 80
//     fullscreen = no
//
// A version line first (after any comments and blank lines), then one `key = value` a line; a line whose
// first non-blank character is # or ; is a comment. Written again, the file keeps every line it was read
// with, in order, comments and entries this build does not know included: only the values set change, and
// new entries go at the end. Lines that are none of these are kept as they are and named in problems().
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/file_frame.h"

class TKeyValueFile {
  public:
    static constexpr std::size_t kMaxBytes = 1 << 16;

    // A file of this version with no entries.
    explicit TKeyValueFile(int version = 1);

    // Reads a file. Damaged: not text (a NUL or another control character), larger than kMaxBytes, or no
    // version line before the first entry; Newer: its version is above newestVersion. Either way this file
    // is left as it was. A UTF-8 byte order mark and Windows line ends are accepted.
    FileCheck read(std::string_view text, int newestVersion);

    int version() const { return version_; }
    void setVersion(int version) { version_ = version; }

    // The value of the last line that sets the key.
    std::optional<std::string> get(std::string_view key) const;
    // The value as a whole number, or nothing when it is missing or not one.
    std::optional<int> getInt(std::string_view key) const;
    // yes/no, true/false, on/off, 1/0 (any case); nothing otherwise.
    std::optional<bool> getBool(std::string_view key) const;

    // Sets the key's value where it stands (its last line), or adds `key = value` at the end, after a
    // `# comment` line when one is given. Keys are letters, digits, '_', '-' and '.'; false for another key.
    // Line breaks in a value become spaces.
    bool set(std::string_view key, std::string_view value, std::string_view comment = {});
    bool setInt(std::string_view key, int value, std::string_view comment = {});
    bool setBool(std::string_view key, bool value, std::string_view comment = {});
    // Adds `# text` at the end.
    void addComment(std::string_view text);

    // Every key once, in the order of their first lines.
    std::vector<std::string> keys() const;
    // Lines read that were kept as they are without being understood ("line 7 is not key = value").
    const std::vector<std::string>& problems() const { return problems_; }
    // The whole file, lines ending in "\n".
    std::string text() const;

    static bool validKey(std::string_view key);

  private:
    struct Line {
        enum class Kind { Kept, Version, Entry } kind = Kind::Kept; // Kept: blank, comment or not understood
        std::string raw;                                          // as read, for Kept and unchanged lines
        std::string key, value;
        bool changed = false;
    };
    int lastLineOf(std::string_view key) const;

    int version_;
    std::vector<Line> lines_;
    std::vector<std::string> problems_;
};
