#pragma once
// Numbers packed seven bits a byte (LEB128), as the replay files hold them, and a reader that trusts
// nothing it reads: the first fault is kept in words and every read after it answers 0, and what the
// numbers will take once held in memory is counted against a limit, so that no count a file declares
// makes the reader allocate without bound.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

struct PackedWriter {
    std::string bytes;
    void put(std::uint64_t value);
    // Small magnitudes of either sign stay small (zigzag).
    void putSigned(std::int64_t value);
};

struct PackedReader {
    std::string_view bytes;
    std::size_t at = 0;
    std::size_t held = 0;    // bytes what was read takes in memory
    std::size_t mostHeld = 0; // refused beyond it
    std::string fault;

    bool failed() const { return !fault.empty(); }
    void fail(const std::string& what);
    std::uint64_t get();
    // A number no larger than most; what names it in the message ("a frame time of").
    std::uint64_t get(std::uint64_t most, const char* what);
    std::int64_t getSigned();
    // What is read will hold this many more bytes: refused past mostHeld.
    bool hold(std::size_t bytesHeld);
    // A count of entries that each take at least bytesEach of the data and heldEach of memory: refused
    // when the rest of the data cannot be that many entries, or holding them is too much.
    std::size_t count(std::size_t bytesEach, std::size_t heldEach, const char* what);
};
