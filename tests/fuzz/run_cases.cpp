// Feeds files to a fuzz target's entry point without libFuzzer: the ordinary builds read every seed and
// every case a fuzzer found, so a mended fault stays mended where there is no clang. The arguments are
// files or folders (their files in name order; a folder that is not there holds none); finding no file at
// all is a failure, since then nothing was tested.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    for (int i = 1; i < argc; ++i) {
        const fs::path path = argv[i];
        std::error_code error;
        if (fs::is_directory(path, error)) {
            std::vector<fs::path> inFolder;
            for (const fs::directory_entry& entry : fs::directory_iterator(path))
                if (entry.is_regular_file()) inFolder.push_back(entry.path());
            std::sort(inFolder.begin(), inFolder.end());
            files.insert(files.end(), inFolder.begin(), inFolder.end());
        } else if (fs::exists(path, error)) {
            files.push_back(path);
        } else {
            std::printf("%s is not there: no cases from it\n", path.string().c_str());
        }
    }
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        if (!in) {
            std::fprintf(stderr, "%s cannot be read\n", file.string().c_str());
            return 1;
        }
        // Named before it is read: a case that crashes is the last one named.
        std::printf("%s (%zu bytes)\n", file.string().c_str(), bytes.size());
        std::fflush(stdout);
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    std::printf("%zu cases read\n", files.size());
    return files.empty() ? 1 : 0;
}
