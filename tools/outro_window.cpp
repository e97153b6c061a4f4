// The game's real window showing the outro at once. The game itself reaches the outro only by winning
// the last mission, which a real-window test cannot play; the smoke test stops this one with SIGTERM
// there, as a desktop logging out would stop the game.
#include "engine/engine.h"
#include "game/program.h"
#include "game/startup.h"

int main() {
    CatchStopSignals();
    startGame(false);
    theProgram = std::make_shared<tProgram>();
    theProgram->init();
    theProgram->runOutro();
    EndProgram();
}
