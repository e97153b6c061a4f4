#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

// Resource lookup. "incbin::" followed by a name opens the embedded entry of exactly that name
// ("incbin::Gfx\tank.png"); any other path opens a file relative to the working directory.

struct ResourceData {
    const unsigned char* bytes = nullptr;
    std::size_t size = 0;
    bool found = false;
    std::shared_ptr<std::vector<unsigned char>> owned; // holds a file's bytes; embedded data is static
    explicit operator bool() const { return found; }
};

constexpr const char* kEmbeddedPrefix = "incbin::";

// Registers every asset embedded at build time. Lookups do this on their own when nobody has.
void FillResourceTable();
// Adds (or replaces) an entry; the bytes must outlive the table (tests register their own data).
void RegisterResource(const std::string& name, const unsigned char* bytes, std::size_t size);
// Removes an entry registered with RegisterResource; false when there was none.
bool UnregisterResource(const std::string& name);
// The bytes behind a path; found is false when the entry or file does not exist.
ResourceData OpenResource(const std::string& path);
// Names of every registered entry.
std::vector<std::string> ResourceNames();
