#pragma once
// The text lines that begin a replay file, read as nothing in them is trusted: a line is at most
// kLongestHeaderLine bytes (a longer one is not a header the game wrote, and is never shown whole), and
// every field is taken whole: a number is its digits (a '-' before them where it may be negative) and
// nothing else, within the range of what holds it; a name is of its own characters and within its length.
#include <charconv>
#include <cstddef>
#include <optional>
#include <string_view>

// Every header line a writer makes is far shorter.
constexpr std::size_t kLongestHeaderLine = 200;

// The next line (without its end) from at, which moves past it; nothing when there is no whole line of
// header length there.
std::optional<std::string_view> NextHeaderLine(std::string_view bytes, std::size_t& at);

// A header line split at its first space: "seed 1234" is the word "seed" and the value "1234".
struct HeaderField {
    std::string_view word;
    std::string_view value;
};
HeaderField SplitHeaderLine(std::string_view line);

// A whole field as a number within the range of Number; false for anything else ("12x", " 12", "+12",
// "", a number too large).
template <typename Number> bool ParseWholeNumber(std::string_view text, Number& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

// A version as the game names itself ("1.0.0", "1.2.0-beta"): 1 to kLongestVersion letters, digits and
// ".+-_".
constexpr std::size_t kLongestVersion = 32;
bool IsVersionName(std::string_view text);
