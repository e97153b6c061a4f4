#include "sessions/header_lines.h"

#include <algorithm>

std::optional<std::string_view> NextHeaderLine(std::string_view bytes, std::size_t& at) {
    if (at > bytes.size()) return std::nullopt;
    // Looked for only as far as a line may go: a header without line ends costs no more than a short one.
    const std::string_view window = bytes.substr(at, kLongestHeaderLine + 1);
    const std::size_t end = window.find('\n');
    if (end == std::string_view::npos) return std::nullopt;
    const std::string_view line = window.substr(0, end);
    at += end + 1;
    return line;
}

HeaderField SplitHeaderLine(std::string_view line) {
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos) return {line, {}};
    return {line.substr(0, space), line.substr(space + 1)};
}

bool IsVersionName(std::string_view text) {
    return !text.empty() && text.size() <= kLongestVersion &&
           std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                      c == '.' || c == '+' || c == '-' || c == '_';
           });
}
