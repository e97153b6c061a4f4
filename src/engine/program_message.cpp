#include "engine/program_message.h"

#include <cstdio>

#ifdef _WIN32
#include <SDL.h>
#include <windows.h>
#endif

namespace {

#ifdef _WIN32
bool hasStandardOutput(bool error) {
    const HANDLE handle = GetStdHandle(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}
#endif

} // namespace

void TellUser(const std::string& title, const std::string& text, bool error) {
#ifdef _WIN32
    if (!hasStandardOutput(error)) {
        const Uint32 flags = error ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
        // The box takes UTF-8 and needs no SDL_Init; when even it fails there is nowhere left to say it.
        SDL_ShowSimpleMessageBox(flags, title.c_str(), text.c_str(), nullptr);
        return;
    }
#endif
    std::FILE* stream = error ? stderr : stdout;
    std::fputs(text.c_str(), stream);
    std::fflush(stream);
}
