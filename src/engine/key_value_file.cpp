#include "engine/key_value_file.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace {

std::string_view trim(std::string_view text) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

std::optional<int> parseInt(std::string_view text) {
    int value = 0;
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

} // namespace

TKeyValueFile::TKeyValueFile(int version) : version_(version) {
    lines_.push_back({Line::Kind::Version, "", "version", "", false});
}

bool TKeyValueFile::validKey(std::string_view key) {
    return !key.empty() && std::all_of(key.begin(), key.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.';
    });
}

FileCheck TKeyValueFile::read(std::string_view text, int newestVersion) {
    if (text.size() > kMaxBytes) return FileCheck::damaged("it is far too large");
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 && c != '\n' && c != '\r' && c != '\t') return FileCheck::damaged("it is not text");
    }
    std::vector<Line> lines;
    std::vector<std::string> problems;
    std::optional<int> version;
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view raw = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        while (!raw.empty() && raw.back() == '\r') // Windows line ends
            raw.remove_suffix(1);
        ++number;
        Line line;
        line.raw = std::string(raw);
        const std::string_view content = trim(raw);
        const std::size_t equals = content.find('=');
        const bool comment = !content.empty() && (content.front() == '#' || content.front() == ';');
        if (content.empty() || comment) {
            lines.push_back(std::move(line));
            continue;
        }
        const std::string_view key = equals == std::string_view::npos ? content : trim(content.substr(0, equals));
        if (equals == std::string_view::npos || !validKey(key)) {
            if (!version) return FileCheck::damaged("line " + std::to_string(number) + " is not its version line");
            problems.push_back("line " + std::to_string(number) + " is not key = value");
            lines.push_back(std::move(line));
            continue;
        }
        line.key = std::string(key);
        line.value = std::string(trim(content.substr(equals + 1)));
        if (!version) {
            if (line.key != "version") return FileCheck::damaged("line " + std::to_string(number) + " is not its version line");
            version = parseInt(line.value);
            if (!version || *version < 1) return FileCheck::damaged("its version is not a number");
            line.kind = Line::Kind::Version;
        } else {
            line.kind = Line::Kind::Entry;
        }
        lines.push_back(std::move(line));
    }
    if (!version) return FileCheck::damaged("it has no version line");
    if (*version > newestVersion) return FileCheck::newer("it comes from a newer version of the game");
    version_ = *version;
    lines_ = std::move(lines);
    problems_ = std::move(problems);
    return FileCheck::good();
}

int TKeyValueFile::lastLineOf(std::string_view key) const {
    for (int i = static_cast<int>(lines_.size()) - 1; i >= 0; --i)
        if (lines_[i].kind == Line::Kind::Entry && lines_[i].key == key) return i;
    return -1;
}

std::optional<std::string> TKeyValueFile::get(std::string_view key) const {
    const int at = lastLineOf(key);
    if (at < 0) return std::nullopt;
    return lines_[at].value;
}

std::optional<int> TKeyValueFile::getInt(std::string_view key) const {
    const std::optional<std::string> value = get(key);
    return value ? parseInt(*value) : std::nullopt;
}

std::optional<bool> TKeyValueFile::getBool(std::string_view key) const {
    const std::optional<std::string> value = get(key);
    if (!value) return std::nullopt;
    const std::string word = lower(*value);
    if (word == "yes" || word == "true" || word == "on" || word == "1") return true;
    if (word == "no" || word == "false" || word == "off" || word == "0") return false;
    return std::nullopt;
}

bool TKeyValueFile::set(std::string_view key, std::string_view value, std::string_view comment) {
    if (!validKey(key) || key == "version") return false;
    std::string clean(value);
    std::replace(clean.begin(), clean.end(), '\n', ' ');
    std::replace(clean.begin(), clean.end(), '\r', ' ');
    clean = std::string(trim(clean));
    const int at = lastLineOf(key);
    if (at >= 0) {
        if (lines_[at].value != clean) {
            lines_[at].value = clean;
            lines_[at].changed = true;
        }
        return true;
    }
    if (!comment.empty()) addComment(comment);
    lines_.push_back({Line::Kind::Entry, "", std::string(key), clean, true});
    return true;
}

bool TKeyValueFile::setInt(std::string_view key, int value, std::string_view comment) {
    return set(key, std::to_string(value), comment);
}

bool TKeyValueFile::setBool(std::string_view key, bool value, std::string_view comment) {
    return set(key, value ? "yes" : "no", comment);
}

void TKeyValueFile::addComment(std::string_view text) {
    std::string line = "# " + std::string(text);
    std::replace(line.begin(), line.end(), '\n', ' ');
    std::replace(line.begin(), line.end(), '\r', ' ');
    lines_.push_back({Line::Kind::Kept, line, "", "", false});
}

std::vector<std::string> TKeyValueFile::keys() const {
    std::vector<std::string> found;
    for (const Line& line : lines_)
        if (line.kind == Line::Kind::Entry && std::find(found.begin(), found.end(), line.key) == found.end())
            found.push_back(line.key);
    return found;
}

std::string TKeyValueFile::text() const {
    std::string out;
    for (const Line& line : lines_) {
        switch (line.kind) {
        case Line::Kind::Version:
            out += "version = " + std::to_string(version_);
            break;
        case Line::Kind::Entry:
            out += line.changed ? line.key + " = " + line.value : line.raw;
            break;
        case Line::Kind::Kept:
            out += line.raw;
            break;
        }
        out += '\n';
    }
    return out;
}
