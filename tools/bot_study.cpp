// Plays one mission with the campaign's bot and prints what happens, for studying the bot or the
// mission (the boss mission included, which the map keeps closed until the other three are won):
//   VEVU_BOT_MISSION=3 VEVU_BOT_TRACE=1 build/default/vevu_bot_study
// VEVU_BOT_SEED picks the random seed (the boss comes from either side), VEVU_BOT_EVERY the passes
// between two state lines, VEVU_BOT_SHOTS_FROM (seconds) dumps the shells and mines around the larva
// for a second and a half from then. Lines: the state of the game; HIT, a blow of 10 or more to the
// larva; BASEHIT, each loss of the homebase; FELL, a military building gone. Exit code 0 when the
// mission is won, 1 when it is not.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "buildings/building.h"
#include "buildings/homebase.h"
#include "buildings/turret.h"
#include "engine/engine.h"
#include "entities/air_mine.h"
#include "entities/person.h"
#include "entities/super_copter.h"
#include "entities/tank.h"
#include "game/game_clock.h"
#include "player/enemy_projectiles.h"
#include "player/foo.h"
#include "driver/bot_player.h"
#include "driver/harness.h"

namespace {

// The campaign test's pace: 10 ms passes, a frame drawn every 20.
constexpr int kFrameMs = 10;
constexpr int kDrawDelayMs = 200;

// Watches one pass at a time and prints what the trace asks for.
class MissionStudy {
  public:
    MissionStudy(tProgram& program, const BotPlayer& bot) : program(program), bot(bot) {
        for (const auto& b : program.buildingList->typed<tBuilding>()) {
            if (!b->isMilitary) continue;
            const char* kind = objectAs<tTankFactory>(b.get())   ? "tank factory"
                               : objectAs<tBarracks>(b.get())    ? "barracks"
                               : objectAs<tLightTurret>(b.get()) ? "light turret"
                               : objectAs<tHeavyTurret>(b.get()) ? "heavy turret"
                               : objectAs<tAirpad>(b.get())      ? "airpad"
                                                                 : "launcher";
            std::printf("military building x=%.0f %s\n", b->x, kind);
            standing.emplace_back(b, "x=" + std::to_string(static_cast<int>(b->x)) + " " + kind);
        }
    }

    void before() {
        larvaHp = program.player->hp;
        baseHp = program.playerBase->hp;
    }

    void after(long passes, int every, double shotsFrom) {
        const tFoo& larva = *program.player;
        const auto boss = [&]() -> std::shared_ptr<tSuperCopter> {
            for (const auto& b : program.actorList->typed<tSuperCopter>())
                return b;
            return nullptr;
        }();
        const double now = gameMillisecs() / 1000.0;
        if (program.playerBase->hp < baseHp)
            std::printf("BASEHIT %d t=%.2f boss x %.0f larva x %.0f note=%s\n",
                        baseHp - program.playerBase->hp, now, boss ? boss->x : 0.0f, larva.x,
                        bot.lastNote.c_str());
        if (larvaHp - larva.hp >= 10)
            std::printf("HIT %d t=%.2f larva (%.0f,%.0f) note=%s\n", larvaHp - larva.hp, now, larva.x,
                        larva.y, bot.lastNote.c_str());
        for (auto it = standing.begin(); it != standing.end();) {
            if (const auto b = it->first.lock(); b && !b->destroyed) {
                ++it;
                continue;
            }
            std::printf("FELL t=%.1f %s\n", now, it->second.c_str());
            it = standing.erase(it);
        }
        if (shotsFrom >= 0 && now >= shotsFrom && now <= shotsFrom + 1.5) {
            std::printf("  t=%.2f larva (%.0f,%.0f) v=(%.0f,%.0f) note=%s\n", now, larva.x, larva.y,
                        larva.xVel, larva.yVel, bot.lastNote.c_str());
            for (const auto& mine : program.actorList->typed<tAirMine>())
                if (std::fabs(mine->x - larva.x) < 400)
                    std::printf("    mine (%.0f,%.0f)\n", mine->x, mine->y);
            for (const auto& shot : program.weaponList->typed<tTankShot>())
                if (std::fabs(shot->x - larva.x) < 400)
                    std::printf("    shot (%.0f,%.0f) dir %.0f%s\n", shot->x, shot->y, shot->dir,
                                objectAs<tBullet>(shot.get()) ? " bullet" : "");
        }
        if (passes % every != 0) return;
        int tanks = 0, soldiers = 0;
        for (const auto& a : program.actorList->typed<tActor>()) {
            if (std::fabs(a->x - program.playerBase->x) > 400 || a->faction == factions::ALLY) continue;
            tanks += objectAs<tTank>(a.get()) ? 1 : 0;
            soldiers += objectAs<tSoldier>(a.get()) ? 1 : 0;
        }
        std::printf(
            "t=%6.1fs larva(x=%.0f y=%.0f hp=%d bat=%.0f matter=%d st=%d laser=%d warp=%d) base(hp=%d, tanks "
            "%d, soldiers %d near) boss(x=%.0f hp=%d) military=%.0f note=%s\n",
            now, larva.x, larva.y, larva.hp, larva.battery, larva.matterBank, larva.state, larva.unlockLaser,
            larva.unlockSpaceWarp, program.playerBase->hp, tanks, soldiers, boss ? boss->x : 0.0f,
            boss ? boss->hp : 0, program.militaryStrength, bot.lastNote.c_str());
        std::fflush(stdout);
    }

  private:
    tProgram& program;
    const BotPlayer& bot;
    std::vector<std::pair<std::weak_ptr<tBuilding>, std::string>> standing;
    int larvaHp = 0, baseHp = 0;
};

double envNumber(const char* name, double otherwise) {
    const char* value = std::getenv(name);
    return value ? std::atof(value) : otherwise;
}

} // namespace

int main() {
    const int mission = static_cast<int>(envNumber("VEVU_BOT_MISSION", 0));
    Harness harness(kFrameMs, static_cast<int>(envNumber("VEVU_BOT_SEED", 12345)));
    harness.drawEvery = kDrawDelayMs / kFrameMs;
    tProgram& program = harness.program();
    BotPlayer bot(program, {});
    harness.startMission(mission);
    bot.beginMission(mission);
    const bool trace = std::getenv("VEVU_BOT_TRACE") != nullptr;
    const int every = std::max(1, static_cast<int>(envNumber("VEVU_BOT_EVERY", 200)));
    const double shotsFrom = envNumber("VEVU_BOT_SHOTS_FROM", -1);
    std::unique_ptr<MissionStudy> study;
    if (trace) study = std::make_unique<MissionStudy>(program, bot);
    long passes = 0;
    while (bot.phase == BotPlayer::Phase::Mission && passes < 400'000) {
        if (study) study->before();
        bot.step();
        harness.pass();
        ++passes;
        if (study && bot.phase == BotPlayer::Phase::Mission && program.player && program.playerBase)
            study->after(passes, every, shotsFrom);
    }
    if (bot.missions.empty()) {
        std::fprintf(stderr, "vevu_bot_study: mission %d did not start\n", mission);
        return 1;
    }
    const auto& m = bot.missions.back();
    std::printf(
        "mission %d: %s in %.1f s, deaths %d, abductions %d, traits %d, hp lost to bullets %d, rams %d, "
        "shells %d, mines %d, other %d\n",
        m.missionId, m.won ? "won" : "NOT won", (m.endMs - m.startMs) / 1000.0, m.deaths, m.abductions,
        m.traitsBought, m.lostToBullets, m.lostToRams, m.lostToShells, m.lostToMines, m.lostToOther);
    return m.won ? 0 : 1;
}
