#include "game/startup.h"

// The game has no arguments, reads no command line, environment or file, and ends with exit code 0.
int main() {
    runGame();
}
