#pragma once
#include <cstddef>

// One file embedded into the program at build time (see cmake/EmbedAssets.cmake).
struct EmbeddedAsset {
    const char* name; // resource name with backslashes, e.g. "Gfx\tank.png"
    const unsigned char* begin;
    const unsigned char* end;
};

// The generated table of every embedded asset, sorted by path.
const EmbeddedAsset* EmbeddedAssets();
std::size_t EmbeddedAssetCount();
