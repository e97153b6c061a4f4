#pragma once
// A folder of its own under the system's temporary folder, made atomically (test processes running at
// once never share one) and removed with everything in it when the object goes. Tests and the harness
// keep the player's files here, never in the player's own folders.
#include <filesystem>

class TemporaryFolder {
  public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};
