#include "game/startup.h"

// The game has no arguments and reads no command line; it ends with exit code 0. Its only environment
// variable, VEVU_DATA_DIR, moves the player's files (engine/player_folder.h).
int main() {
    runGame();
}
