// The session files' reader on any bytes: a file read holds only passes the game can play (frame times
// within bounds, known event kinds, characters within Unicode) and marks of known kinds; nothing
// crashes, hangs or allocates without bound.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "sessions/session_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    SessionRecording recording;
    std::string error;
    if (!ReadSession(bytes, recording, error)) {
        if (error.empty()) std::abort(); // a refusal always says why
        return 0;
    }
    for (const PassRecord& pass : recording.passes) {
        if (pass.frameMs < 0 || pass.frameMs > kLongestPassMs) std::abort();
        for (const InputEvent& event : pass.events)
            if (event.kind >= InputEvent::kKinds || event.code > 0x10FFFF) std::abort();
    }
    for (const SessionMark& mark : recording.marks)
        if (mark.kind < 1 || mark.kind > SessionMark::kLastKind || mark.mission < 0 || mark.mission > 3 ||
            mark.pass > static_cast<int>(recording.passes.size()))
            std::abort();
    return 0;
}
