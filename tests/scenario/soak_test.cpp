// The soak: long seeded runs of random key presses and holds in each mission (P and the menu keys
// included, Esc only to leave the upgrade menu, never to quit), with the game's invariants checked
// after every pass. The frame time varies from pass to pass, as on a busy machine. CI runs 30 minutes
// of game time per mission; VEVU_SOAK_MINUTES sets another length (docs/testing.md).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>

#include "buildings/air_mine_launcher.h"
#include "buildings/building.h"
#include "buildings/homebase.h"
#include "driver/harness.h"
#include "driver/random_keys.h"
#include "engine/engine.h"
#include "entities/matter_ball.h"
#include "entities/tank.h"
#include "game/game_clock.h"
#include "player/foo.h"

namespace {

int soakMinutes() {
    if (const char* text = std::getenv("VEVU_SOAK_MINUTES")) {
        const int minutes = std::atoi(text);
        if (minutes > 0) return minutes;
    }
    return 30;
}

bool finite(float v) {
    return std::isfinite(v);
}

// What the battlefield started with: the ceilings of the lists follow from it.
struct Census {
    int buildings = 0;     // every building, the homebase included
    int houses = 0;        // each releases three fleeing civilians when destroyed
    int unitCaps = 0;      // the sum of every producer's unit maximum (soldiers, tanks, dusters, mines)
    int ballProducers = 0; // tank factories and airpads: their units leave a matter ball each
    int startMs = 0;
};

Census takeCensus(tProgram& game) {
    Census c;
    c.startMs = gameMillisecs();
    for (const auto& b : game.buildingList->typed<tBuilding>()) {
        ++c.buildings;
        if (objectAs<tHouse>(b.get())) ++c.houses;
        c.unitCaps += b->unitMax;
        if (objectAs<tTankFactory>(b.get()) || objectAs<tAirpad>(b.get())) ++c.ballProducers;
    }
    return c;
}

class Soak {
  public:
    Soak(Harness& harness, int missionId, unsigned seed)
        : h(harness), game(harness.program()), mission(missionId), keys(seed) {}

    void start() {
        h.startMission(mission);
        census = takeCensus(game);
        ++missionsStarted;
    }

    // Every invariant of one pass; the first broken one is reported with the pass and game time.
    std::string check() {
        std::ostringstream fault;
        const int s = game.state;
        if (s != gamestate::PAUSED && s != gamestate::RUNNING && s != gamestate::MENU && s != gamestate::MAP)
            fault << "illegal game state " << s << "; ";
        if (s == gamestate::MENU && !game.currentMenu) fault << "MENU without a menu; ";
        if (s == gamestate::MAP) return fault.str();
        if (!game.player || !game.playerBase || !game.actorList) return fault.str() + "battlefield missing; ";
        tFoo& larva = *game.player;
        tHomebase& base = *game.playerBase;
        if (!(larva.battery >= 0 && larva.battery <= 1000)) fault << "battery " << larva.battery << "; ";
        if (larva.matterBank < 0 || larva.matterBank > 1000) fault << "matter " << larva.matterBank << "; ";
        if (larva.hp > larva.hpMax) fault << "larva hp " << larva.hp << "; ";
        // A hit may leave the larva below 0 for the moment it dies; alive it has 1..40.
        if (larva.hp <= 0 && larva.state != states::DEAD)
            fault << "larva hp " << larva.hp << " but not dead; ";
        static const int larvaStates[] = {states::IDLE,      states::ABDUCTING, states::SHIELDING,
                                          states::KNOCKBACK, states::DEAD,      states::RESPAWN,
                                          states::STUNNED,   states::WAIT,      states::REGENERATING};
        bool legal = false;
        for (int st : larvaStates)
            legal = legal || larva.state == st;
        if (!legal) fault << "larva in state " << larva.state << "; ";
        if (base.hp < 0 || base.hp > base.hpMax) fault << "homebase hp " << base.hp << "; ";
        if (base.baseState < cBaseStates::LANDING || base.baseState > cBaseStates::VICTORY)
            fault << "homebase state " << base.baseState << "; ";
        if (game.militaryStrength < 0 || game.militaryStrength > game.militaryStrengthMax)
            fault << "military strength " << game.militaryStrength << "/" << game.militaryStrengthMax << "; ";

        int buildings = 0, houses = 0, turretsAndUnits = 0;
        for (const auto& b : game.buildingList->typed<tBuilding>()) {
            ++buildings;
            if (objectAs<tHouse>(b.get())) ++houses;
            if (!finite(b->x) || !finite(b->y)) fault << "building at non-finite position; ";
            if (b->hp > b->hpMax) fault << "building hp " << b->hp << " over " << b->hpMax << "; ";
            if (b->hp <= 0 && b.get() != &base) fault << "a building with hp " << b->hp << " still stands; ";
            if (b->unitCounter < 0 || b->unitCounter > b->unitMax)
                fault << "factory count " << b->unitCounter << " of " << b->unitMax << "; ";
        }
        const int destroyed = census.buildings - buildings;
        int balls = 0, others = 0;
        for (const auto& a : game.actorList->typed<tActor>()) {
            if (objectAs<tMatterBall>(a.get()))
                ++balls;
            else
                ++others;
            if (!finite(a->x) || !finite(a->y) || !finite(a->xVel) || !finite(a->yVel))
                fault << "actor at non-finite position or speed; ";
            if (a->hpMax > 0 && a->hp > a->hpMax)
                fault << "actor hp " << a->hp << " over " << a->hpMax << "; ";
            if (a->matterBank < 0) fault << "negative matter bank; ";
        }
        turretsAndUnits = buildings + others;
        // Ceilings. Besides the larva and the boss: the 9 (18 with the boss) cows and civilians placed at
        // the start, three fleeing civilians per destroyed house, and at most unitMax living units per
        // producer (whose count is checked above).
        const int peopleAtStart = mission == 3 ? 18 : 9;
        const int othersBound = 2 + peopleAtStart + 3 * (census.houses - houses) + census.unitCaps;
        if (others > othersBound) fault << others << " actors over the ceiling " << othersBound << "; ";
        // Matter balls never expire: two per destroyed building, one per destroyed tank or duster (at
        // most one new one per producer every 12 s, plus the two alive at any time and the boss).
        const int elapsed = gameMillisecs() - census.startMs;
        const int ballBound = 2 * destroyed + census.ballProducers * (elapsed / 12000 + 3) + 1;
        if (balls > ballBound) fault << balls << " matter balls over the ceiling " << ballBound << "; ";
        // No gun fires more often than every 60 ms and no shot lives longer than 3 s: at most 50 shots
        // per shooter, the larva included.
        int shots = 0;
        for (const auto& w : *game.weaponList) {
            ++shots;
            auto* o = objectAs<tOnscreenObject>(w.get());
            if (o && (!finite(o->x) || !finite(o->y))) fault << "shot at non-finite position; ";
        }
        const int shotBound = 50 * (turretsAndUnits + 1);
        if (shots > shotBound) fault << shots << " shots over the ceiling " << shotBound << "; ";
        // Effects and floating numbers last at most a few seconds and come from hits, kills and shots
        // ending: a few per shot in flight.
        int effects = 0;
        for (const auto& e : *game.fxList) {
            ++effects;
            auto* o = objectAs<tOnscreenObject>(e.get());
            if (o && (!finite(o->x) || !finite(o->y))) fault << "effect at non-finite position; ";
        }
        const int fxBound = 4 * shotBound + 200;
        if (effects > fxBound) fault << effects << " effects over the ceiling " << fxBound << "; ";
        int numbers = 0;
        for (const auto& m : *game.messages)
            (void)m, ++numbers;
        if (numbers > 200) fault << numbers << " floating numbers; ";
        maxActors = std::max(maxActors, others + balls);
        maxShots = std::max(maxShots, shots);
        maxEffects = std::max(maxEffects, effects);
        maxNumbers = std::max(maxNumbers, numbers);
        return fault.str();
    }

    Harness& h;
    tProgram& game;
    int mission;
    RandomKeys keys;
    Census census;
    int missionsStarted = 0;
    int maxActors = 0, maxShots = 0, maxEffects = 0, maxNumbers = 0;
};

class SoakTest : public ::testing::TestWithParam<int> {};

TEST_P(SoakTest, RandomKeysForHalfAnHourKeepEveryInvariant) {
    const int mission = GetParam();
    Harness harness(10, 1000 + mission);
    tProgram& game = harness.program();
    Soak soak(harness, mission, 7919u * (mission + 1));
    std::uniform_int_distribution<int> frame(5, 40);
    const long totalMs = soakMinutes() * 60'000L;
    long played = 0;
    long passes = 0;
    int pauses = 0, menus = 0, deaths = 0;
    int lastState = -1, lastLarva = -1;
    soak.start();
    while (played < totalMs) {
        // Frame times from 5 to 40 ms: the game has no fixed step, a slow pass must not break it.
        harness.frameMs = frame(soak.keys.rng);
        soak.keys.step(game);
        const int before = gameMillisecs();
        AdvanceMillis(harness.frameMs);
        game.updateMain();
        if (++passes % 200 == 0) {
            game.drawTimer = 0; // force a frame now and then: the draw pass runs over every state too
            game.drawAll();
        }
        played += gameMillisecs() - before;
        if (game.state == gamestate::PAUSED && lastState != gamestate::PAUSED) ++pauses;
        if (game.state == gamestate::MENU && lastState != gamestate::MENU) ++menus;
        if (game.player && game.player->state == states::DEAD && lastLarva != states::DEAD) ++deaths;
        lastState = game.state;
        lastLarva = game.player ? game.player->state : -1;
        const std::string fault = soak.check();
        ASSERT_TRUE(fault.empty()) << "mission " << mission << ", pass " << passes << ", game time " << played
                                   << " ms: " << fault;
        if (game.state == gamestate::MAP) {
            // The homebase fled (or, rarely, won): the same mission again, as the map screen would.
            soak.keys.releaseAll();
            soak.start();
        }
    }
    std::printf("soak mission %d: %.1f min of game time in %ld passes; battlefields %d, pauses %d, menus %d, "
                "larva deaths %d; peak actors %d, shots %d, effects %d, numbers %d\n",
                mission, played / 60000.0, passes, soak.missionsStarted, pauses, menus, deaths,
                soak.maxActors, soak.maxShots, soak.maxEffects, soak.maxNumbers);
    // The run did play: it paused and resumed, and the larva fired.
    EXPECT_GT(pauses, 0);
    EXPECT_GT(soak.maxShots, 0);
}

INSTANTIATE_TEST_SUITE_P(EveryMission, SoakTest, ::testing::Values(0, 1, 2, 3),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "Mission" + std::to_string(info.param);
                         });

} // namespace
