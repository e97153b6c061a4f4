#pragma once
#include <cstddef>
#include <string_view>

// Decodes the UTF-8 sequence at text[i] into codePoint and moves i past it. False for a malformed
// sequence (a stray continuation byte, or a lead byte whose continuation bytes run out); i is then past
// the lead byte and the continuation bytes that did follow it.
inline bool DecodeUtf8(std::string_view text, std::size_t& i, char32_t& codePoint) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char first = byte(i++);
    codePoint = first;
    if (first < 0x80) return true;
    int extra = first >= 0xF0 ? 3 : first >= 0xE0 ? 2 : first >= 0xC0 ? 1 : -1;
    if (extra < 0) return false;
    codePoint = first & (0x3F >> extra);
    for (; extra > 0; --extra) {
        if (i >= text.size() || (byte(i) & 0xC0) != 0x80) return false;
        codePoint = (codePoint << 6) | (byte(i++) & 0x3F);
    }
    return true;
}
