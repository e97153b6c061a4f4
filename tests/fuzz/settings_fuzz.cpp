// The settings' key = value reader on any text: a file read is written out again as it was (every line
// kept), reads back the same, and takes a changed value; nothing crashes, hangs or allocates without bound.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/key_value_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    TKeyValueFile file;
    const std::string empty = file.text();
    if (file.read(text, 3).verdict != FileVerdict::Good) {
        if (file.text() != empty) std::abort(); // a file refused leaves the file as it was
        return 0;
    }
    const std::string written = file.text();
    TKeyValueFile again;
    if (again.read(written, 3).verdict != FileVerdict::Good || again.text() != written) std::abort();
    for (const std::string& key : file.keys())
        if (again.get(key) != file.get(key)) std::abort();
    if (!again.set("music_volume", "42") || again.getInt("music_volume") != 42) std::abort();
    TKeyValueFile third;
    if (third.read(again.text(), 3).verdict != FileVerdict::Good || third.getInt("music_volume") != 42) std::abort();
    return 0;
}
