#pragma once
// Where a player's files live on each platform.
//
//     VEVU_DATA_DIR set    everything in that folder (portable installs, tests)
//     Linux (POSIX)        settings in $XDG_CONFIG_HOME/org.vevuzudevur.Vevu (default ~/.config/...),
//                          progress in $XDG_DATA_HOME/org.vevuzudevur.Vevu (default ~/.local/share/...);
//                          beside the program when a file named portable.txt sits there (the
//                          self-contained Linux folder, scripts/linux-portable.sh)
//     Windows              %APPDATA%\The Vevu Zudevur; beside vevu.exe when a file named portable.txt
//                          sits there (the portable zip's read-me says so)
//     the web page         /vevu, where the page keeps an IndexedDB file system (see file_store.h)
//     headless             nowhere unless VEVU_DATA_DIR is set: tests and tools never reach the player's
//                          own files (they give the store a folder of their own)
#include <filesystem>
#include <string>

enum class PlayerFileKind { Settings, Progress };

struct PlayerFolders {
    std::filesystem::path settings;
    std::filesystem::path progress;
    std::string error; // why there are none ("HOME is not set"); empty when found or deliberately none
};

constexpr const char* kAppId = "org.vevuzudevur.Vevu"; // the desktop entry's id names the folders
constexpr const char* kWindowsFolderName = "The Vevu Zudevur";
constexpr const char* kPortableMarker = "portable.txt";
constexpr const char* kBrowserFolder = "/vevu";

// The running program's folder (empty on the web or when unknown).
std::filesystem::path ProgramFolder();

// The platform's folders as the environment gives them now; headless: none, unless VEVU_DATA_DIR is set.
// A portable.txt in programFolder keeps them there.
PlayerFolders FindPlayerFolders(bool headless, const std::filesystem::path& programFolder = ProgramFolder());
