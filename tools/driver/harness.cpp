#include "driver/harness.h"

#include "campaign/persistence.h"
#include "engine/file_store.h"
#include "game/assets.h"
#include "game/game_clock.h"
#include "game/startup.h"
#include "sessions/session.h"

namespace {

// Decoding every picture and sound is the slow part of start-up: once per test process is enough,
// since nothing changes the decoded assets.
void loadAssetsOnce() {
    static bool loaded = false;
    if (loaded && gfx::hud) return;
    FillResourceTable();
    loadAssets();
    loaded = true;
}

} // namespace

Harness::Harness(int frameMs, int seed, const std::filesystem::path& playerFolder) : frameMs(frameMs) {
    if (playerFolder.empty()) {
        ownFolder_.emplace();
        playerFolder_ = ownFolder_->path();
    } else {
        playerFolder_ = playerFolder;
    }
    UsePlayerFolder(playerFolder_); // never the player's own files
    loadAssetsOnce();
    prepareGraphics(true);
    StopAllChannels();
    ResetClassWideState();
    setSeed(seed);
    theProgram = std::make_shared<tProgram>();
    theProgram->init();
}

Harness::~Harness() {
    theProgram.reset();
    UsePlayerFolder({}); // the writes finish before the folder may go
    ResetClassWideState();
    StopAllChannels();
    ClearKeys();
    ShutdownEngine();
}

void Harness::pass() {
    AdvanceMillis(frameMs);
    theProgram->updateMain();
    ++passes;
    if (drawEvery <= 1 || passes % drawEvery == 0) theProgram->drawAll();
}

void Harness::runFor(int ms) {
    const int end = Millis() + ms;
    while (Millis() < end)
        pass();
}

bool Harness::runUntil(const std::function<bool()>& done, int maxMs) {
    const int end = Millis() + maxMs;
    while (!done()) {
        if (Millis() >= end) return false;
        pass();
    }
    return true;
}

void Harness::holdKeys(std::initializer_list<int> keys, int ms) {
    for (int key : keys)
        InjectKeyDown(key);
    runFor(ms);
    for (int key : keys)
        InjectKeyUp(key);
    pass();
}

void Harness::press(int key) {
    InjectKeyTap(key);
    pass();
}

void Harness::type(int character) {
    InjectChar(character);
}

void Harness::startMission(int missionId) {
    if (theProgram->worldData) theProgram->worldData->currentMissionId = missionId;
    theProgram->setGameState(gamestate::RUNNING, missionId);
}

bool Harness::saveFrame(const std::string& path) {
    theProgram->drawTimer = 0;
    theProgram->drawAll();
    return SaveBackBufferPng(path);
}

void Harness::setSeed(int seed) {
    SeedRandom(seed);
}

int Harness::now() const {
    return gameMillisecs();
}
