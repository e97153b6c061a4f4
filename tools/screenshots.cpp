// Renders the README's screenshots headless: the real tProgram on the manual clock with a fixed seed,
// played through injected keys only, so the same tree always gives the same PNG bytes.
//
//   vevu_screenshots [out-dir]     default docs/screenshots
//
// Writes title.png (the intro's title over the formation), map.png (the mothership over the mission
// map), options.png (the options screen over the map), replays.png (the replays listed from the options),
// abducting.png (the larva reeling a civilian up in its beam), upgrade_menu.png (the menu opened
// beside the landed homebase) and boss.png (the boss of the last mission firing at the homebase, the
// larva in the air).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>

#include "buildings/homebase.h"
#include "engine/engine.h"
#include "sessions/game_sessions.h"
#include "sessions/session_file.h"
#include "sessions/session_recorder.h"
#include "entities/person.h"
#include "entities/super_copter.h"
#include "game/game_clock.h"
#include "intro/intro.h"
#include "player/abduction_beam.h"
#include "player/foo.h"
#include "driver/harness.h"
#include "world/map.h"

namespace {

constexpr int kSeed = 2026;
// Drawing is the slow part of a pass and changes nothing in play: the pictures are drawn on demand.
constexpr int kDrawEvery = 1000;

std::filesystem::path outDir;
bool allSaved = true;

void announce(bool written, const std::string& path) {
    if (written) {
        std::printf("wrote %s\n", path.c_str());
    } else {
        std::fprintf(stderr, "screenshots: cannot write %s\n", path.c_str());
        allSaved = false;
    }
}

// The battlefield or the map drawn now and saved.
void save(Harness& game, const std::string& name) {
    const std::string path = (outDir / name).string();
    announce(game.saveFrame(path), path);
}

void report(bool reached, const char* what) {
    if (reached) return;
    std::fprintf(stderr, "screenshots: %s did not happen in time\n", what);
    allSaved = false;
}

tFoo& larva(Harness& game) {
    return *game.program().player;
}

// One pass's steering: Left or Right held while the larva is not within tolerance of x. Let go a
// little early, as the larva slides on after the key is released; nudged on when it came to rest
// short of the place. True once it is there.
bool steerToward(Harness& game, float x, float tolerance) {
    const float dx = x - larva(game).x;
    InjectKeyUp(KEY_LEFT);
    InjectKeyUp(KEY_RIGHT);
    if (std::fabs(dx) <= tolerance) return true;
    if (std::fabs(dx) > tolerance + 24 || std::fabs(larva(game).xVel) < 10)
        InjectKeyDown(dx > 0 ? KEY_RIGHT : KEY_LEFT);
    return false;
}

bool walkTo(Harness& game, float x, float tolerance) {
    return game.runUntil([&] { return steerToward(game, x, tolerance); }, 20000);
}

// From the map screen to a hatched larva beside its landed homebase.
bool openMission(Harness& game, int missionId) {
    game.startMission(missionId);
    return game.runUntil([&] { return larva(game).state == states::IDLE; }, 10000);
}

// The civilian nearest the larva that is well clear of the homebase, so the beam stands out.
std::shared_ptr<tCivilian> victimAwayFromHome(Harness& game) {
    std::shared_ptr<tCivilian> nearest;
    float best = std::numeric_limits<float>::max();
    for (const auto& civilian : game.program().actorList->typed<tCivilian>()) {
        if (std::fabs(civilian->x - game.program().playerBase->x) < 200) continue;
        const float distance = std::fabs(civilian->x - larva(game).x);
        if (distance < best) best = distance, nearest = civilian;
    }
    return nearest;
}

void titleScreen() {
    Harness game(4, kSeed);
    tIntro intro;
    Delta::Start();
    // Driven the way tProgram::showIntro drives it, 4 ms of manual clock per pass.
    auto introPass = [&] {
        AdvanceMillis(4);
        Delta::Update();
        intro.update();
    };
    for (int ms = 0; ms < 30000 && !intro.inputReady; ms += 4)
        introPass();
    report(intro.inputReady, "the intro's title");
    // The title fades in within a second; the stars go on rising meanwhile.
    for (int ms = 0; ms < 1500; ms += 4)
        introPass();
    Cls();
    intro.draw();
    Flip(0);
    const std::string path = (outDir / "title.png").string();
    announce(SaveBackBufferPng(path), path);
}

// Sessions as the game records them: passes of 10 ms, a mission begun and ended every few minutes.
void writeSampleSessions() {
    const std::filesystem::path folder = ReplaysFolder();
    std::filesystem::create_directories(folder);
    struct Sample {
        const char* date;
        int minutes;
        int missions, won;
    };
    for (const Sample& sample : {Sample{"2026-12-09 21:14:03", 38, 3, 2}, Sample{"2026-12-08 19:02:45", 12, 1, 1},
                                 Sample{"2026-12-06 17:30:12", 4, 1, 0}}) {
        SessionStart start = NewSessionStart(CampaignRecord{});
        start.date = sample.date;
        std::string name = sample.date;
        std::replace(name.begin(), name.end(), ' ', '_');
        std::replace(name.begin(), name.end(), ':', '-');
        const std::string path = (folder / (name + ".vrp")).string();
        SessionWriter writer;
        std::string error;
        if (!writer.open(path, start, error)) {
            std::fprintf(stderr, "vevu_screenshots: a sample session: %s\n", error.c_str());
            return;
        }
        const int passes = sample.minutes * 6000;
        for (int pass = 0; pass < passes; ++pass) {
            const int mission = pass * sample.missions / passes;
            if (pass == mission * passes / sample.missions + 100) writer.addMark(SessionMark::MissionStarted, mission);
            if (pass == (mission + 1) * passes / sample.missions - 100)
                writer.addMark(mission < sample.won ? SessionMark::MissionWon : SessionMark::MissionLeft, mission);
            writer.addPass(PassRecord{});
        }
        writer.finish();
        if (sample.won == 0) MarkSessionKept(path, true, error);
    }
}

void mapScreen() {
    Harness game(4, kSeed);
    game.drawEvery = kDrawEvery;
    game.runFor(600); // the fade from black
    game.holdKeys({KEY_DOWN, KEY_LEFT}, 700);
    save(game, "map.png");
    // P on the map: the options over it, the cursor on the fire key's binding.
    game.press(KEY_P);
    for (int i = 0; i < 10; ++i)
        game.press(KEY_DOWN);
    save(game, "options.png");
    // Its first entry: the replays, three sessions in the player's folder, the oldest kept.
    writeSampleSessions();
    for (int i = 0; i < 10; ++i)
        game.press(KEY_UP);
    game.press(KEY_Z);
    save(game, "replays.png");
}

void abductingAndMenu() {
    Harness game(4, kSeed);
    game.drawEvery = kDrawEvery;
    report(openMission(game, 1), "the larva's hatching");
    auto victim = victimAwayFromHome(game);
    if (!victim) {
        report(false, "a civilian to abduct");
        return;
    }
    report(walkTo(game, victim->x, 40), "the walk to a civilian");
    game.holdKeys({KEY_UP}, 300);
    game.runFor(300);
    // The beam is narrow and the civilian walks on: keep over it until the beam lifts it.
    InjectKeyDown(KEY_X);
    report(game.runUntil(
               [&] {
                   steerToward(game, victim->x, 2);
                   auto beam = std::dynamic_pointer_cast<tAbductionBeam>(larva(game).weapon);
                   return beam && beam->lastHit == victim && victim->y < game.program().map->groundLevel - 40;
               },
               8000),
           "the beam's catch");
    InjectKeyUp(KEY_LEFT);
    InjectKeyUp(KEY_RIGHT);
    save(game, "abducting.png");
    game.runFor(2500);
    InjectKeyUp(KEY_X);
    game.pass();

    // Home, down to the ground, and step up beside the homebase: X opens the menu there.
    const float home = game.program().playerBase->x;
    report(walkTo(game, home, 6), "the way home");
    InjectKeyDown(KEY_DOWN);
    report(game.runUntil([&] { return larva(game).isGrounded(); }, 5000), "the landing");
    InjectKeyUp(KEY_DOWN);
    report(
        game.runUntil([&] { return steerToward(game, home, 6) && std::fabs(larva(game).xVel) < 1; }, 10000),
        "the step beside the homebase");
    InjectKeyDown(KEY_X);
    report(game.runUntil([&] { return game.program().state == gamestate::MENU; }, 1000), "the menu");
    InjectKeyUp(KEY_X);
    game.runFor(300);
    game.press(KEY_RIGHT);
    game.runFor(400);
    save(game, "upgrade_menu.png");
}

void bossFight() {
    Harness game(4, kSeed);
    game.drawEvery = kDrawEvery;
    report(openMission(game, 3), "the larva's hatching");
    std::shared_ptr<tSuperCopter> boss;
    for (const auto& copter : game.program().actorList->typed<tSuperCopter>())
        boss = copter;
    if (!boss) {
        report(false, "the boss");
        return;
    }
    // Up into the air, then wait for the boss's patrol to bring it over the homebase.
    game.holdKeys({KEY_UP}, 500);
    report(game.runUntil([&] { return std::fabs(boss->x - larva(game).x) < 200; }, 120000),
           "the boss's approach");
    game.runFor(100);
    save(game, "boss.png");
}

} // namespace

int main(int argc, char** argv) {
    outDir = argc >= 2 ? argv[1] : "docs/screenshots";
    std::error_code error;
    std::filesystem::create_directories(outDir, error);
    if (error) {
        std::fprintf(stderr, "screenshots: cannot make %s: %s\n", outDir.string().c_str(),
                     error.message().c_str());
        return 1;
    }
    titleScreen();
    mapScreen();
    abductingAndMenu();
    bossFight();
    return allSaved ? 0 : 1;
}
