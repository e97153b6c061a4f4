#include "sessions/packed_numbers.h"

#include <algorithm>

void PackedWriter::put(std::uint64_t value) {
    while (value >= 0x80) {
        bytes.push_back(static_cast<char>(value | 0x80));
        value >>= 7;
    }
    bytes.push_back(static_cast<char>(value));
}

void PackedWriter::putSigned(std::int64_t value) {
    put((static_cast<std::uint64_t>(value) << 1) ^ static_cast<std::uint64_t>(value >> 63));
}

void PackedReader::fail(const std::string& what) {
    if (fault.empty()) fault = what;
}

std::uint64_t PackedReader::get() {
    std::uint64_t v = 0;
    for (int shift = 0; shift < 64 && !failed(); shift += 7) {
        if (at >= bytes.size()) {
            fail("the data is damaged (it ends in the middle)");
            break;
        }
        const auto b = static_cast<unsigned char>(bytes[at++]);
        v |= std::uint64_t{b & 0x7Fu} << shift;
        if (!(b & 0x80)) return v;
    }
    fail("the data is damaged (a number longer than 64 bits)");
    return 0;
}

std::uint64_t PackedReader::get(std::uint64_t most, const char* what) {
    const std::uint64_t v = get();
    if (v > most) fail("the data is damaged (" + std::string(what) + " " + std::to_string(v) + ")");
    return failed() ? 0 : v;
}

std::int64_t PackedReader::getSigned() {
    const std::uint64_t v = get();
    return static_cast<std::int64_t>(v >> 1) ^ -static_cast<std::int64_t>(v & 1);
}

bool PackedReader::hold(std::size_t bytesHeld) {
    if (bytesHeld > mostHeld - std::min(held, mostHeld))
        fail("too large: holding it would take more than " + std::to_string(mostHeld >> 20) + " MiB");
    else
        held += bytesHeld;
    return !failed();
}

std::size_t PackedReader::count(std::size_t bytesEach, std::size_t heldEach, const char* what) {
    const std::uint64_t n = get();
    const std::size_t left = bytes.size() - std::min(at, bytes.size());
    if (!failed() && n > left / bytesEach)
        fail("the data is damaged (" + std::to_string(n) + " " + what + " in " + std::to_string(left) +
             " bytes)");
    if (failed() || !hold(static_cast<std::size_t>(n) * heldEach)) return 0;
    return static_cast<std::size_t>(n);
}
