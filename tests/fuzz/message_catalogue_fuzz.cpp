// The compiled catalogue's reader on any bytes: it refuses a damaged file, leaving nothing, or reads one
// whose every text is found again; nothing crashes, reads past the bytes or allocates without bound.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/message_catalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    TMessageCatalogue catalogue;
    const FileCheck check = catalogue.read(bytes);
    if (check.verdict != FileVerdict::Good) {
        if (catalogue.size() != 0 || check.why.empty()) std::abort();
        return 0;
    }
    // Every text a catalogue holds came from the file, so together they are no larger than it.
    if (catalogue.size() > size / 8) std::abort();
    (void)catalogue.headerField("Language");
    if (catalogue.find("") != nullptr) std::abort(); // the header is no translation
    return 0;
}
