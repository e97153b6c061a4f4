#pragma once
// The crowded battlefield of the benchmarks, on the desktop and in the page.

// Fills the running program's battlefield with the boss mission's 40 buildings (its layout, the
// homebase and one more factory group) and 300 actors: the larva, 40 soldiers, 10 tanks, 10 dusters,
// 48 air mines (twelve over each launcher), 60 civilians and cows, 130 matter balls; 200 shots in
// flight and 100 explosions. The program must exist and be initialised.
void populateCrowdedBattlefield();
