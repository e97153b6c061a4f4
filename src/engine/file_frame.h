#pragma once
// The frame around a whole binary file the game keeps (the saved campaign): a magic word, the version
// of the contents, their length and a CRC-32, so that a truncated, damaged or newer file is recognised
// before a single byte of it is believed.
//
//     bytes 0-7    "VEVUFILE"
//     bytes 8-11   version of the contents, little-endian
//     bytes 12-15  length of the contents, little-endian
//     bytes 16-19  CRC-32 (zlib's) of bytes 8-15 and the contents
//     bytes 20-    the contents, exactly `length` bytes and nothing after them
#include <cstdint>
#include <string>
#include <string_view>

// Whether a file may be believed, and if not, why: damaged (in any way), or written by a newer version of
// the game than the one reading it.
enum class FileVerdict { Good, Damaged, Newer };

struct FileCheck {
    FileVerdict verdict = FileVerdict::Good;
    std::string why; // a few words for the player ("its checksum fails"); empty when good
    static FileCheck good() { return {}; }
    static FileCheck damaged(std::string why) { return {FileVerdict::Damaged, std::move(why)}; }
    static FileCheck newer(std::string why) { return {FileVerdict::Newer, std::move(why)}; }
};

constexpr std::size_t kFrameHeaderBytes = 20;
constexpr std::uint32_t kMaxFramedBytes = 1u << 20; // no file the game writes comes near a megabyte

std::string FrameFile(std::string_view contents, std::uint32_t version);

struct Unframed {
    FileCheck check;
    std::uint32_t version = 0;
    std::string_view contents; // a view into the bytes given
};
// Checks the frame; a version above newestVersion reads as Newer (contents left empty).
Unframed UnframeFile(std::string_view bytes, std::uint32_t newestVersion);
