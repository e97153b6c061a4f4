#pragma once
#include <string>

// The start-up of the game up to the creation of tProgram: the resource table, every catalogue
// picture and sound, the window (or, headless, the memory back buffer), alpha blending at scale 2,
// the random seed from the clock, the font at 8 pixels, the default colour read back, the anchors
// and the short sleep.
void startGame(bool headless);

// The part of startGame after loading: window or back buffer, drawing defaults, seed, font, default
// colour, anchors and the sleep. Headless runs that already hold the assets start from here.
void prepareGraphics(bool headless);

// startGame, then the game (src/sessions/game_sessions.h), a replay file first when one is named (empty:
// none); the process ends with exit code 0.
[[noreturn]] void runGame(const std::string& replayFile);
