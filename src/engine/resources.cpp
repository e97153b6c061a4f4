#include "engine/resources.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "engine/embedded_table.h"

namespace {
struct Entry {
    const unsigned char* bytes;
    std::size_t size;
};

struct Table {
    std::map<std::string, Entry> entries;
    bool filled = false;
};

Table& table() {
    static Table* instance = new Table; // lives to the very end: assets may be opened from any destructor
    return *instance;
}

void ensureFilled() {
    if (!table().filled) FillResourceTable();
}
} // namespace

void FillResourceTable() {
    Table& t = table();
    t.filled = true;
    const EmbeddedAsset* assets = EmbeddedAssets();
    for (std::size_t i = 0; i < EmbeddedAssetCount(); ++i) {
        const EmbeddedAsset& asset = assets[i];
        if (!asset.name || !asset.begin || asset.end < asset.begin) continue;
        // Entries registered by hand win over the embedded files of the same name.
        t.entries.emplace(asset.name, Entry{asset.begin, static_cast<std::size_t>(asset.end - asset.begin)});
    }
}

void RegisterResource(const std::string& name, const unsigned char* bytes, std::size_t size) {
    ensureFilled();
    table().entries[name] = Entry{bytes, size};
}

bool UnregisterResource(const std::string& name) {
    ensureFilled();
    return table().entries.erase(name) > 0;
}

ResourceData OpenResource(const std::string& path) {
    ResourceData data;
    const std::string prefix = kEmbeddedPrefix;
    if (path.compare(0, prefix.size(), prefix) == 0) {
        ensureFilled();
        auto found = table().entries.find(path.substr(prefix.size()));
        if (found == table().entries.end()) return data;
        data.bytes = found->second.bytes;
        data.size = found->second.size;
        data.found = data.bytes != nullptr || data.size == 0;
        return data;
    }
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(path, ignored)) return data;
    std::ifstream file(path, std::ios::binary);
    if (!file) return data;
    auto bytes = std::make_shared<std::vector<unsigned char>>(std::istreambuf_iterator<char>(file),
                                                              std::istreambuf_iterator<char>());
    if (file.bad()) return data;
    data.owned = bytes;
    data.bytes = bytes->data();
    data.size = bytes->size();
    data.found = true;
    return data;
}

std::vector<std::string> ResourceNames() {
    ensureFilled();
    std::vector<std::string> names;
    for (const auto& [name, entry] : table().entries)
        names.push_back(name);
    return names;
}
