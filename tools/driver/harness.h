#pragma once
// The scenario harness: a real tProgram, headless, driven pass by pass on the manual clock.
//
//     Harness game;                 // headless start-up, every asset, theProgram created and init'ed
//     game.startMission(0);         // as if the map screen picked mission 0: state RUNNING
//     game.holdKeys({KEY_RIGHT}, 500);   // hold Right for 500 ms of game time
//     game.press(KEY_X);            // one tap, then one pass
//     game.runUntil([&] { return game.program().state == gamestate::MAP; }, 60000);
//     game.saveFrame("/tmp/frame.png");
//
// One pass = advance the manual clock by frameMs, then updateMain, then drawAll (on every drawEvery-th
// pass only; drawing is the slow part). gameSleep inside a pass advances the clock further, as the real
// game's sleep would. The random generator is seeded with a fixed seed (setSeed to change it). The intro
// is not run: the game starts on the map screen, as right after the intro. Everything is torn down when
// the harness goes out of scope (theProgram is reset); one harness at a time. The player's files (the saved
// campaign, the settings) live in a temporary folder of the harness's own, empty at first, unless a
// folder is given (a test that quits and starts again gives both harnesses the same one).
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>

#include "driver/temporary_folder.h"

#include "engine/engine.h"
#include "game/constants.h"
#include "game/program.h"

class Harness {
  public:
    // frameMs: manual clock per pass (4 ms by default). seed: the random seed after start-up.
    explicit Harness(int frameMs = 4, int seed = 12345, const std::filesystem::path& playerFolder = {});
    ~Harness();
    Harness(const Harness&) = delete;
    Harness& operator=(const Harness&) = delete;

    tProgram& program() { return *theProgram; }

    int frameMs;
    int drawEvery = 1; // draw on every n-th pass (1: every pass)
    int passes = 0;    // passes run so far

    // One pass: clock + frameMs, updateMain, drawAll when due.
    void pass();
    // Passes until at least ms of manual clock have gone by.
    void runFor(int ms);
    // Passes until the predicate holds (checked before every pass); false if maxMs went by first.
    bool runUntil(const std::function<bool()>& done, int maxMs);
    // Keys down, runFor(ms), keys up (and one more pass so the release is seen).
    void holdKeys(std::initializer_list<int> keys, int ms);
    // One tap of the key (one press, its character queued), then one pass.
    void press(int key);
    // Queues a typed character (what NextChar hands out), without a pass.
    void type(int character);
    // From the map screen: the mission id becomes the current mission and the battlefield is built,
    // exactly as the map screen does when the mothership starts a node.
    void startMission(int missionId);
    // Draws a frame now (whatever the draw timer says) and saves the back buffer as PNG.
    bool saveFrame(const std::string& path);
    // Reseeds the random generator.
    static void setSeed(int seed);
    // Milliseconds of game clock since init.
    int now() const;
    // Where the player's files are kept.
    const std::filesystem::path& playerFolder() const { return playerFolder_; }

  private:
    std::optional<TemporaryFolder> ownFolder_;
    std::filesystem::path playerFolder_;
};
