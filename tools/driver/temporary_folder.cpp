#include "driver/temporary_folder.h"

#include <random>
#include <stdexcept>
#include <string>

namespace fs = std::filesystem;

TemporaryFolder::TemporaryFolder() {
    std::error_code error;
    const fs::path base = fs::temp_directory_path(error);
    std::random_device entropy;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate = base / ("vevu-player-" + std::to_string(entropy()));
        if (fs::create_directory(candidate, error)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary folder under " + base.string());
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
}
