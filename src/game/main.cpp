#include "engine/utf8_paths.h"
#include "game/startup.h"

// `vevu` starts the game; `vevu FILE` plays the replay FILE first (what opening a .vrp file does). The
// game ends with exit code 0. Its only environment variable, VEVU_DATA_DIR, moves the player's files
// (engine/player_folder.h).
int main(int argc, char** argv) {
    const std::vector<std::string> arguments = ProgramArguments(argc, argv);
    runGame(arguments.size() > 1 ? arguments[1] : "");
}
