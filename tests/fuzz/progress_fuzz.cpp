// The saved campaign's reader on any bytes: the frame, then the campaign record. A record read must be
// one the game would write again byte for byte; nothing crashes, hangs or allocates without bound.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "campaign/persistence.h"
#include "engine/file_frame.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Unframed unframed = UnframeFile(bytes, tPersistence::kRecordVersion);
    if (unframed.check.verdict != FileVerdict::Good) {
        if (!unframed.contents.empty() || unframed.check.why.empty()) std::abort();
        return 0;
    }
    tPersistence record;
    const FileCheck check = record.decode(unframed.contents, unframed.version);
    if (check.verdict == FileVerdict::Good) {
        if (record.encode() != unframed.contents) std::abort();
        if (FrameFile(record.encode(), unframed.version) != bytes) std::abort();
    } else if (record.encode() != tPersistence().encode()) {
        std::abort(); // a record refused leaves the record as it was
    }
    return 0;
}
