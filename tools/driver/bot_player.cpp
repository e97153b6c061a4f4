#include "driver/bot_player.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "buildings/air_mine_launcher.h"
#include "buildings/building.h"
#include "buildings/homebase.h"
#include "buildings/turret.h"
#include "campaign/map_dazozuzo.h"
#include "campaign/map_screen.h"
#include "campaign/mission_node.h"
#include "campaign/persistence.h"
#include "campaign/upg_cursor.h"
#include "campaign/upgrade_menu.h"
#include "driver/keys.h"
#include "engine/engine.h"
#include "entities/air_mine.h"
#include "entities/cow.h"
#include "entities/duster.h"
#include "entities/matter_ball.h"
#include "entities/person.h"
#include "entities/super_copter.h"
#include "entities/tank.h"
#include "game/constants.h"
#include "game/game_clock.h"
#include "game/program.h"
#include "player/abduction_beam.h"
#include "player/enemy_projectiles.h"
#include "player/foo.h"
#include "world/map.h"

namespace {

constexpr float kAttackAltitude = 46;  // the larva's ceiling without the space warp: Up held keeps it there
constexpr float kCruiseAltitude = 150; // travelling and abducting height
// With the space warp: above every settled mine (they hang no higher than y = 55 and go off within 40
// of the larva's middle, 19 above its feet), clear of the boss's body (it touches a larva lower than
// 45), and away from 10, where Up, or a blast's push, would warp the larva home.
constexpr float kWarpHover = 28;
constexpr int kHealBelow = 25;    // hit points at which the larva goes home: a mine takes 25
constexpr float kFlyAccel = 1000; // the larva's acceleration and braking
// The boss fires at a larva within 1280 px of it; its fans reach about 350 px either side of it on the
// ground, so it hurts the homebase (90 px wide) from about 400 px away. It flies 80 px a second.
constexpr float kBossFiringRange = 1330; // its range, and a margin
constexpr float kBossFanReach = 450;     // where its fans fall, for a larva below the ceiling
constexpr float kBossBodyReach = 220;    // half its width, and the larva's
constexpr float kBossBeat = 1450;        // it patrols 1200 either side of the homebase
constexpr float kBossHarmsHome = 420;    // its fans reach the homebase from this far
constexpr float kBossHomeReach = 520;    // it threatens the homebase until this far past it

float groundLine(tProgram& game) {
    return game.map ? static_cast<float>(game.map->groundLevel) : 350.0f;
}

bool grounded(tFoo& larva, tProgram& game) {
    return larva.y == groundLine(game);
}

bool alive(const tActor& actor) {
    return actor.state != states::DEAD && !actor.destroyed;
}

// How dangerous it is to hang about above x: standing guns and tanks within their reach.
int dangerAt(tProgram& game, float x) {
    int danger = 0;
    for (const auto& turret : game.buildingList->typed<tTurret>())
        if (!turret->destroyed && std::fabs(turret->x - x) < 340)
            danger += objectAs<tLightTurret>(turret.get()) ? 1 : 3;
    for (const auto& actor : game.actorList->typed<tActor>()) {
        if (!alive(*actor) || actor->faction == factions::ALLY) continue;
        if (objectAs<tTank>(actor.get()) && std::fabs(actor->x - x) < 400) danger += 2;
        if (objectAs<tDuster>(actor.get()) && std::fabs(actor->x - x) < 300) danger += 1;
        if (objectAs<tAirMine>(actor.get()) && std::fabs(actor->x - x) < 200) danger += 2;
        if (objectAs<tSuperCopter>(actor.get()) && std::fabs(actor->x - x) < 450) danger += 3;
    }
    for (const auto& launcher : game.buildingList->typed<tAirMineLauncher>())
        if (!launcher->destroyed && std::fabs(launcher->x - x) < 320)
            danger += 2; // its mines hang within 140
    return danger;
}

} // namespace

BotPlayer::BotPlayer(tProgram& program, std::vector<int> plan) : game(program), plan(std::move(plan)) {}

void BotPlayer::step() {
    switch (phase) {
    case Phase::Intro:
        stepIntro();
        break;
    case Phase::Map:
        stepMap();
        break;
    case Phase::Mission:
        stepMission();
        break;
    case Phase::Outro:
        stepOutro();
        break;
    case Phase::Done:
        break;
    }
}

void BotPlayer::beginMission(int missionId) {
    MissionLog log;
    log.missionId = missionId;
    log.startMs = gameMillisecs();
    missions.push_back(log);
    plan.clear();
    next = 0;
    phase = Phase::Mission;
}

// ---------------------------------------------------------------------------------------------------
// Intro, map and outro

void BotPlayer::stepIntro() {
    // The intro does not run the map screen, so the map's black cover stays at its start value until
    // the first pass of the main loop fades it.
    if (game.blackScreen && game.blackScreenAlpha < 2.0f) {
        phase = Phase::Map;
        stepMap();
        return;
    }
    ++introPasses;
    // A key typed while the formation descends skips to the fade to black.
    if (introPasses == 60) keyTap(KEY_SPACE);
}

void BotPlayer::stepMap() {
    if (game.state != gamestate::MAP || !game.mapScreen) {
        // The map screen has started a mission.
        if (game.state == gamestate::RUNNING && !missions.empty() && missions.back().startMs >= 0 &&
            missions.back().endMs == 0)
            phase = Phase::Mission;
        return;
    }
    if (next >= plan.size()) {
        // Nothing left to play (a shorter plan than the whole campaign): leave as a player would.
        releaseAll();
        keyTap(KEY_ESCAPE);
        phase = Phase::Done;
        return;
    }
    tMapScreen& screen = *game.mapScreen;
    std::shared_ptr<tMissionNode> node;
    for (const auto& object : *screen.listNodes) {
        auto candidate = std::dynamic_pointer_cast<tMissionNode>(object);
        if (candidate && candidate->missionID == plan[next]) node = candidate;
    }
    if (!node) return;
    if (node->isLocked()) {
        // Closed (the boss mission before the other three are won): nothing to play there.
        ++next;
        return;
    }
    tMapDazozuzo& ship = *screen.dazozuzo;
    const float dx = node->x - ship.x, dy = node->y - ship.y;
    right = dx > 2;
    left = dx < -2;
    down = dy > 2;
    up = dy < -2;
    fire = use = false;
    applyHeld();
    if (std::fabs(dx) <= 2 && std::fabs(dy) <= 2) {
        releaseAll();
        MissionLog log;
        log.missionId = plan[next];
        log.startMs = gameMillisecs();
        missions.push_back(log);
        ++next;
        keyTap(KEY_Z);
        lastNote = "map: Z on node " + std::to_string(log.missionId);
    }
}

void BotPlayer::stepOutro() {
    ++outroPasses;
    // Watch the stars for three seconds, then any key ends the outro.
    if (outroPasses == 300) {
        keyTap(KEY_Q);
        ++outroKeyTyped;
        phase = Phase::Done;
    }
}

// ---------------------------------------------------------------------------------------------------
// A mission

void BotPlayer::stepMission() {
    if (!game.worldData) {
        // The program tore everything down for the outro: the boss mission was won.
        current().endMs = gameMillisecs();
        current().won = current().nodeClosed = game.flagEndGame;
        phase = Phase::Outro;
        stepOutro();
        return;
    }
    if (game.state == gamestate::MAP) {
        current().endMs = gameMillisecs();
        current().nodeClosed = game.worldData->getLock(current().missionId) != 0;
        // A mission lost (the homebase fled) is played again, as a player would, a few times.
        int attempts = 0;
        for (const MissionLog& m : missions)
            attempts += m.missionId == current().missionId ? 1 : 0;
        if (!current().won && attempts < maxAttempts && next > 0) --next;
        left = right = up = down = fire = use = false;
        recharging = healing = wantMenu = false;
        lastLarvaState = -1;
        lastHomebaseHp = 140;
        lastHomebaseHitAt = 0;
        phase = Phase::Map;
        stepMap();
        return;
    }
    if (gameMillisecs() - current().startMs > missionLimitMs) {
        gaveUp = true;
        releaseAll();
        keyTap(KEY_ESCAPE);
        lastNote = "mission over its time limit";
        return;
    }
    if (game.state == gamestate::MENU) {
        stepMenu();
        return;
    }
    menuStep = 0;
    if (game.state != gamestate::RUNNING) return;
    stepBattle();
}

void BotPlayer::stepMenu() {
    // Opening the menu discarded every key, held ones included: nothing is held now.
    left = right = up = down = fire = use = false;
    auto menu = std::dynamic_pointer_cast<tUpgradeMenu>(game.currentMenu);
    if (!menu || !menu->cursor) return;
    if (menuStep == 0) {
        menuStep = 1;
        menuOpenedAt = gameMillisecs();
        ++current().menuOpenings;
        tapCooldown = 10;
    }
    if (tapCooldown > 0) {
        --tapCooldown;
        return;
    }
    tapCooldown = 10; // a tenth of a second between keys, as a person would
    tFoo& larva = *game.player;
    const bool owned = hasTrait(wantedTrait);
    if (!owned && larva.matterBank >= menu->nextUpgradeCost) {
        if (menu->cursor->buttonIndex < wantedTrait) {
            keyTap(KEY_RIGHT);
            lastNote = "menu: Right";
            return;
        }
        if (menu->cursor->buttonIndex > wantedTrait) {
            keyTap(KEY_LEFT);
            lastNote = "menu: Left";
            return;
        }
        keyTap(KEY_ENTER);
        ++current().traitsBought;
        lastNote = "menu: Enter buys trait " + std::to_string(wantedTrait);
        return;
    }
    keyTap(KEY_ESCAPE);
    wantMenu = false;
    lastNote = "menu: Esc";
}

void BotPlayer::stepBattle() {
    tFoo& larva = *game.player;
    tHomebase& base = *game.playerBase;
    MissionLog& log = current();
    if (larva.state == states::DEAD && lastLarvaState != states::DEAD) ++log.deaths;
    if (lastLarvaState != -1 && lastLarvaState != states::DEAD && larva.hp < lastHp) {
        const int lost = lastHp - larva.hp;
        if (lost % 25 == 0)
            log.lostToMines += lost;
        else if (lost % 15 == 0)
            log.lostToShells += lost;
        else if (lost % 10 == 0)
            log.lostToRams += lost;
        else if (lost % 3 == 0)
            log.lostToBullets += lost;
        else
            log.lostToOther += lost;
    }
    lastHp = larva.hp;
    if (lastLarvaState == states::ABDUCTING && larva.matterBank > lastMatter) ++log.abductions;
    lastLarvaState = larva.state;
    if (base.baseState == cBaseStates::VICTORY) log.won = true;
    if (base.hp < log.homebaseHpMin) log.homebaseHpMin = base.hp;
    if (larva.state != states::DEAD && larva.hp < log.larvaHpMin) log.larvaHpMin = larva.hp;
    if (log.militaryAtStart == 0) log.militaryAtStart = static_cast<int>(game.militaryStrengthMax);

    left = right = up = down = fire = use = false;
    const bool baseHit = homebaseUnderFire();
    const bool inControl = larva.state == states::IDLE || larva.state == states::ABDUCTING;
    if (base.baseState != cBaseStates::IDLE || !inControl) {
        recharging = false;
        lastMatter = larva.matterBank;
        applyHeld();
        return;
    }

    // The traits it cannot fight without: the laser first (for the buildings and the mines), then,
    // against the boss, the space warp (above the ceiling the larva is out of the mines' reach and
    // can burn the boss from above), then the photon bomb when matter is plentiful (the cursor has to
    // move for it).
    const std::shared_ptr<tSuperCopter> boss = aliveBoss();
    int needed = -1;
    if (!hasTrait(firstTrait))
        needed = firstTrait;
    else if (!hasTrait(0))
        needed = 0;
    else if (boss && !hasTrait(4))
        needed = 4;
    wantedTrait = needed >= 0 ? needed : 1;
    const int cost = nextTraitCost();
    if (needed >= 0 && larva.matterBank >= cost) wantMenu = true;
    if (needed < 0 && !hasTrait(1) && larva.matterBank >= cost + 60 && healing) wantMenu = true;
    if (larva.hp <= kHealBelow) healing = true;
    if (healing && larva.hp >= larva.hpMax && !wantMenu) healing = false;

    updateBossNoGo();
    const bool homeBarred = inNoGo(base.x, 0);
    // Low down, the boss's fans reach 450 px either side of it.
    const bool underFans = boss && larva.y > 60 && std::fabs(boss->x - larva.x) < kBossFanReach;
    // With the laser and the warp, while it does not threaten the homebase, the boss is burnt from
    // above.
    const bool bossFight = boss && hasTrait(0) && hasTrait(4) && !bossThreat && larva.hp > kHealBelow;

    if (larva.state == states::ABDUCTING && !inNoGo(larva.x, 0) && !underFans) {
        abductSomething();
    } else if (inNoGo(larva.x, 0) || underFans) {
        leaveNoGo();
    } else if (dodge()) {
        // the dodge chose the keys
    } else if (avoidMines()) {
        // a mine close by: burnt from above, or left behind
    } else if (baseHit && larva.hp > 10 && defendHomebase(900)) {
        // the homebase was hit a moment ago: its attackers first, even before healing
    } else if ((healing || wantMenu) && !homeBarred) {
        goHome(wantMenu);
    } else if (healing && larva.hp <= 15) {
        waitOutsideNoGo(); // weak, and the homebase is out of bounds while the boss is there
    } else if (needed >= 0 && larva.matterBank < cost && abductSomething()) {
        // collecting matter for the trait it needs
    } else if (defendHomebase(500) || (boss && defendHomebase(1600, true))) {
        // with the boss about, the squads are met on their way: while it crosses the homebase the
        // larva cannot be there
    } else if (boss && squadSourcesStanding() && attackBuildings()) {
        // the tank factory and the barracks before the boss: their squads wear the homebase down
    } else if (bossFight && fightBossFromAbove(*boss)) {
        // the laser onto the boss's back
    } else if (!attackBuildings()) {
        if (homeBarred)
            waitOutsideNoGo();
        else
            goHome(false);
    }
    applyHeld();
    lastMatter = larva.matterBank;
}

// ---------------------------------------------------------------------------------------------------
// Battle behaviours

bool BotPlayer::steerX(float x, float tolerance) {
    tFoo& larva = *game.player;
    const float v = larva.xVel;
    const float stopping = v * std::fabs(v) / (2 * kFlyAccel);
    const float error = x - (larva.x + stopping);
    if (error > tolerance) right = true;
    if (error < -tolerance) left = true;
    return std::fabs(x - larva.x) < tolerance && std::fabs(v) < 80;
}

void BotPlayer::trackX(float x, float speed) {
    // Match the target's speed, plus a pull towards it that brakes in time.
    tFoo& larva = *game.player;
    const float wanted = speed + std::clamp((x - larva.x) * 6.0f, -400.0f, 400.0f);
    if (larva.xVel < wanted - 15) right = true;
    if (larva.xVel > wanted + 15) left = true;
}

void BotPlayer::climbTo(float y) {
    tFoo& larva = *game.player;
    if (y <= kAttackAltitude) {
        if (!hasTrait(4)) {
            up = true; // the ceiling holds it
            return;
        }
        // With the space warp there is no ceiling, and Up near the top throws the larva home: it
        // hovers higher than the mines ever float instead.
        y = kWarpHover;
    }
    const float stopping = larva.yVel * std::fabs(larva.yVel) / (2 * kFlyAccel);
    const float error = y - (larva.y + stopping);
    const float tolerance = y < kAttackAltitude ? 3.0f : 6.0f;
    if (error < -tolerance && larva.y > kWarpHover - 6) up = true;
    if (error > tolerance) down = true;
}

float BotPlayer::travelAltitude() const {
    // With the space warp and the boss about, high above the mines and the boss's body and fans.
    return hasTrait(4) && aliveBoss() ? kWarpHover : kCruiseAltitude;
}

bool BotPlayer::dodge() {
    tFoo& larva = *game.player;
    const float cx = larva.x, cy = larva.y - larva.height / 2;
    float threatX = 0;
    bool threat = false;
    float soonest = std::numeric_limits<float>::max();
    for (const auto& shot : game.weaponList->typed<tTankShot>()) {
        // Bullets sting (3 points); only the heavy shells (15 and a push) are worth a swerve, and
        // bullets too once the larva is weak.
        const bool heavy = objectAs<tBullet>(shot.get()) == nullptr;
        if (!heavy && larva.hp > 10) continue;
        const float vx = std::cos(shot->dir * 3.14159265f / 180) * shot->speed;
        const float vy = std::sin(shot->dir * 3.14159265f / 180) * shot->speed;
        // Where it passes the larva, the larva standing still and the larva going on as it goes: a
        // larva flying into a column of rising shells is hit as surely as one waiting for them.
        for (const bool moving : {false, true}) {
            const float wx = vx - (moving ? larva.xVel : 0.0f), wy = vy - (moving ? larva.yVel : 0.0f);
            const float rx = cx - shot->x, ry = cy - shot->y;
            const float w2 = wx * wx + wy * wy;
            if (w2 <= 0) continue;
            const float t = (rx * wx + ry * wy) / w2;
            if (t < 0 || t > 1.5f) continue;
            const float miss = std::hypot(rx - wx * t, ry - wy * t);
            if (miss < 48 && t < soonest) {
                soonest = t;
                threat = true;
                threatX = shot->x + vx * t - (vx >= 0 ? 1.0f : -1.0f) * 0.01f;
            }
        }
    }
    if (!threat) return false;
    // Swerve away from where the shell will pass; the larva is quicker sideways than up or down. At
    // full speed it keeps going: shells are aimed where it was, and turning would hold it under the gun.
    float away = larva.x >= threatX ? 1.0f : -1.0f;
    if (std::fabs(larva.x - threatX) < 1 || std::fabs(larva.xVel) > 250)
        away = larva.xVel >= 0 ? 1.0f : -1.0f;
    if (away > 0)
        right = true;
    else
        left = true;
    if (!grounded(larva, game)) climbTo(larva.y < 200 ? kAttackAltitude : larva.y);
    lastNote = "dodge";
    return true;
}

std::shared_ptr<tSuperCopter> BotPlayer::aliveBoss() const {
    for (const auto& boss : game.actorList->typed<tSuperCopter>())
        if (alive(*boss)) return boss;
    return nullptr;
}

void BotPlayer::updateBossNoGo() {
    noGoLo = 1;
    noGoHi = 0;
    bossThreat = false;
    const std::shared_ptr<tSuperCopter> boss = aliveBoss();
    if (!boss) return;
    const float home = game.playerBase->x;
    const float fromHome = boss->x - home;
    const float dir =
        std::fabs(boss->xVel) > 1 ? (boss->xVel > 0 ? 1.0f : -1.0f) : (fromHome > 0 ? -1.0f : 1.0f);
    const bool headingHome = fromHome * dir < 0;
    // Out of its firing range along the whole of its way until it is past the homebase again.
    const float end = home + dir * kBossHomeReach;
    const float lo = std::min(boss->x, end) - kBossFiringRange;
    const float hi = std::max(boss->x, end) + kBossFiringRange;
    if (std::fabs(fromHome) < kBossHomeReach) {
        bossThreat = true;
    } else if (headingHome) {
        // It starts to threaten the homebase once the larva would need longer to get out of that
        // stretch than the boss needs to come within reach of the homebase.
        const float x = game.player->x;
        const float exitDistance = x > lo && x < hi ? std::min(x - lo, hi - x) : 0.0f;
        // From under the boss it first waits for a pause between two bursts of the fans.
        const bool underBoss = std::fabs(x - boss->x) < boss->width / 2;
        const float exitSeconds = exitDistance / 380.0f + 0.8f + (underBoss ? 2.5f : 0.0f);
        const float bossSeconds = (std::fabs(fromHome) - kBossHarmsHome) / 80.0f;
        bossThreat = bossSeconds < exitSeconds + 0.5f;
    }
    if (bossThreat) {
        noGoLo = lo;
        noGoHi = hi;
    } else if (!hasTrait(4)) {
        // Only its body to keep out of (at the ceiling; its fans fall from below the ceiling). With
        // the space warp the larva flies over it.
        noGoLo = boss->x - kBossBodyReach;
        noGoHi = boss->x + kBossBodyReach;
    }
}

bool BotPlayer::inNoGo(float x, float margin) const {
    return x > noGoLo - margin && x < noGoHi + margin;
}

bool BotPlayer::outOfReach(float x, float margin) const {
    if (inNoGo(x, margin)) return true;
    if (noGoLo > noGoHi) return false;
    // Across the stretch the larva keeps out of: it cannot get there without going through.
    const float larvaX = game.player->x;
    return (larvaX < noGoLo) != (x < noGoLo);
}

void BotPlayer::leaveNoGo() {
    tFoo& larva = *game.player;
    const std::shared_ptr<tSuperCopter> boss = aliveBoss();
    // Out by the side the larva is on (never across the boss), or from over or under it by the nearer
    // edge; low while under its body, which hurts a larva that touches it, and up out of the ground
    // fire once clear of it.
    float side = larva.x >= boss->x ? 1.0f : -1.0f;
    if (std::fabs(larva.x - boss->x) < 200) side = noGoHi - larva.x < larva.x - noGoLo ? 1.0f : -1.0f;
    // Out to the quietest place on that side: the edge itself is often under a heavy gun or among
    // a launcher's mines.
    const float best = quietestOutside(side > 0 ? 1 : -1, 60, 110, 1400);
    const bool nearBody = std::fabs(boss->x - larva.x) < boss->width / 2 + 200;
    climbTo(nearBody && !hasTrait(4) ? groundLine(game) - 15 : kAttackAltitude);
    steerX(best, 20);
    lastNote =
        bossThreat ? "out of the boss's reach while it threatens the homebase" : "out of the boss's fans";
}

float BotPlayer::quietestOutside(int side, float firstOut, float step, float lastOut) const {
    const float larvaX = game.player->x;
    float best = larvaX;
    float bestScore = std::numeric_limits<float>::max();
    for (float out = firstOut; out <= lastOut; out += step) {
        for (int s : {-1, 1}) {
            if (side != 0 && s != side) continue;
            const float x = s < 0 ? noGoLo - out : noGoHi + out;
            const float score = dangerAt(game, x) * 500.0f + std::fabs(x - larvaX);
            if (score < bestScore) bestScore = score, best = x;
        }
    }
    return best;
}

void BotPlayer::waitOutsideNoGo() {
    // Just outside, where the fewest guns and launchers reach, until the homebase is free again.
    climbTo(travelAltitude());
    steerX(quietestOutside(0, 80, 160, 1600), 20);
    lastNote = "waiting for the boss to leave the homebase";
}

bool BotPlayer::underOpenSky(const tActor& actor) const {
    // The laser stops at the highest thing under it: a unit in front of a house cannot be burnt.
    for (const auto& building : game.buildingList->typed<tBuilding>())
        if (!building->destroyed && std::fabs(building->x - actor.x) < building->width / 2 + 4) return false;
    return true;
}

bool BotPlayer::besideFactory(float x) const {
    for (const auto& factory : game.buildingList->typed<tTankFactory>())
        if (!factory->destroyed && std::fabs(factory->x - x) < 300) return true;
    return false;
}

bool BotPlayer::underHeavyGun(float x) const {
    for (const auto& turret : game.buildingList->typed<tHeavyTurret>())
        if (!turret->destroyed && std::fabs(turret->x - x) < tTurret::range + 40) return true;
    return false;
}

bool BotPlayer::squadSourcesStanding() const {
    for (const auto& building : game.buildingList->typed<tBuilding>())
        if (!building->destroyed &&
            (objectAs<tAirpad>(building.get()) || objectAs<tTankFactory>(building.get()) ||
             objectAs<tBarracks>(building.get())))
            return true;
    return false;
}

bool BotPlayer::fightBossFromAbove(tSuperCopter& boss) {
    tFoo& larva = *game.player;
    // Its fans only fall downwards and its body touches a larva lower than 45: hovering over its
    // back, the laser reaches down onto it and nothing of the boss reaches the larva.
    climbTo(kAttackAltitude);
    trackX(boss.x, boss.xVel);
    if (larva.battery <= 45) recharging = true;
    if (recharging && larva.battery >= 950) recharging = false;
    if (std::fabs(boss.x - larva.x) < boss.width / 2 - 20 && larva.y < 40 && !recharging) fire = true;
    lastNote = "burning the boss from above";
    return true;
}

bool BotPlayer::avoidMines() {
    tFoo& larva = *game.player;
    // Hovering with the space warp the larva is higher than any mine reaches.
    if (hasTrait(4) && larva.y <= kWarpHover + 6) return false;
    std::shared_ptr<tAirMine> mine;
    float nearest = 1e9f;
    for (const auto& m : game.actorList->typed<tAirMine>()) {
        if (!alive(*m)) continue;
        // A mine goes off within its width (+10) of the larva's middle sideways and its height (+10)
        // up or down: one hanging lower than that under a larva at the ceiling is no danger.
        const float dx = std::fabs(m->x - larva.x), dy = std::fabs(m->y - (larva.y - larva.height / 2));
        if (dx < 150 && dy < 75 && dx + dy < nearest) nearest = dx + dy, mine = m;
    }
    if (!mine) return false;
    const bool below = mine->y > larva.y + 12;
    if (hasTrait(0) && below && larva.battery > 45) {
        // One touch of the laser brings a mine down: hover over it and burn it.
        climbTo(kAttackAltitude);
        steerX(mine->x, std::max(3.0f, mine->width / 2 - 3));
        if (std::fabs(mine->x - larva.x) < mine->width / 2) fire = true;
        lastNote = "burning a mine";
        return true;
    }
    // Level with it or without the laser: back off sideways and upwards.
    if (mine->x > larva.x)
        left = true;
    else
        right = true;
    climbTo(kAttackAltitude);
    lastNote = "backing off from a mine";
    return true;
}

bool BotPlayer::homebaseUnderFire() {
    const int hp = game.playerBase->hp;
    if (hp < lastHomebaseHp) lastHomebaseHitAt = gameMillisecs();
    lastHomebaseHp = hp;
    return lastHomebaseHitAt > 0 && gameMillisecs() - lastHomebaseHitAt < 6000;
}

bool BotPlayer::defendHomebase(float reach, bool tanksOnly) {
    if (!hasTrait(0)) return false;
    tFoo& larva = *game.player;
    tHomebase& base = *game.playerBase;
    std::shared_ptr<tActor> raider;
    float nearest = reach;
    for (const auto& actor : game.actorList->typed<tActor>()) {
        // Tanks and soldiers shell the homebase from the ground, dusters strafe it from the air
        // (their bullets alone bring it down in under two minutes).
        const bool hostile = objectAs<tTank>(actor.get()) ||
                             (!tanksOnly && (objectAs<tSoldier>(actor.get()) ||
                                             (objectAs<tDuster>(actor.get()) && actor->y > larva.y + 30)));
        if (!hostile || !alive(*actor) || actor->faction == factions::ALLY) continue;
        if (actor.get() == ignoredRaider && gameMillisecs() < ignoreRaiderUntil) continue;
        if (outOfReach(actor->x, 60) || !underOpenSky(*actor)) continue;
        // Far from the homebase, not under a heavy gun: the squad is met where it is safe to meet. A
        // tank still beside its factory is left to the burning of the factory.
        if (std::fabs(actor->x - base.x) > 500 && (underHeavyGun(actor->x) || besideFactory(actor->x)))
            continue;
        const float d = std::fabs(actor->x - base.x);
        if (d < nearest) {
            nearest = d;
            raider = actor;
        }
    }
    if (!raider) return false;
    // One that cannot be caught in 15 s is left alone for a while.
    // The clock runs only while it is being chased: a chase broken off (the boss, healing) starts anew.
    if (raider.get() != chasedRaider || gameMillisecs() - lastChaseAt > 500) {
        chasedRaider = raider.get();
        chaseStartedAt = gameMillisecs();
    } else if (gameMillisecs() - chaseStartedAt > 15000) {
        ignoredRaider = raider.get();
        ignoreRaiderUntil = gameMillisecs() + 20000;
        chasedRaider = nullptr;
        return false;
    }
    lastChaseAt = gameMillisecs();
    burnUnit(*raider);
    lastNote = "defending the homebase";
    return true;
}

void BotPlayer::burnUnit(const tActor& unit) {
    tFoo& larva = *game.player;
    climbTo(kAttackAltitude);
    const float half = std::max(4.0f, unit.width / 2 - 6);
    trackX(unit.x, unit.xVel);
    if (std::fabs(unit.x - larva.x) < half && larva.y < unit.y && larva.battery > 45 && !recharging)
        fire = true;
    if (larva.battery <= 45) recharging = true;
    if (recharging && larva.battery >= 950) recharging = false;
}

bool BotPlayer::abductSomething() {
    tFoo& larva = *game.player;
    // Held in the beam: keep X down and keep still, or the reel stops.
    if (larva.state == states::ABDUCTING) {
        auto beam = std::dynamic_pointer_cast<tAbductionBeam>(larva.weapon);
        if (larva.matterBank > lastMatter ||
            (beam && !beam->lastHit && !game.weaponList->Contains(beam.get()))) {
            use = false; // arrived: let go of X
            return true;
        }
        use = true;
        if (!beam || !beam->lastHit) {
            // Still searching: follow the victim below.
            std::shared_ptr<tActor> victim;
            float best = 120;
            for (const auto& a : game.actorList->typed<tAbductable>()) {
                if (!alive(*a) || objectAs<tSoldier>(a.get())) continue;
                const float d = std::fabs(a->x - larva.x);
                if (d < best) best = d, victim = a;
            }
            if (victim)
                steerX(victim->x, 3);
            else
                use = false;
        }
        lastNote = "abducting";
        return true;
    }
    std::shared_ptr<tActor> victim;
    float bestScore = std::numeric_limits<float>::max();
    const std::shared_ptr<tSuperCopter> boss = aliveBoss();
    for (const auto& a : game.actorList->typed<tAbductable>()) {
        if (!alive(*a) || objectAs<tSoldier>(a.get())) continue;
        if (a->state == states::FALLING || outOfReach(a->x, 100)) continue;
        if (boss && std::fabs(boss->x - a->x) < kBossFanReach + 100) continue;
        float score = std::fabs(a->x - larva.x);
        score += 700 * dangerAt(game, a->x);       // abducting under a gun costs a life
        if (objectAs<tCow>(a.get())) score -= 300; // a cow is worth three people
        if (score < bestScore) bestScore = score, victim = a;
    }
    if (!victim) return false;
    climbTo(kCruiseAltitude);
    // Steer tightly (a walking victim drags the larva a few pixels behind), catch anywhere within
    // its width: the beam needs its x strictly inside the victim's extent.
    steerX(victim->x, 1.5f);
    const bool over =
        std::fabs(victim->x - larva.x) < std::max(1.0f, victim->width / 2 - 2) && std::fabs(larva.xVel) < 120;
    if (over && !grounded(larva, game) && std::fabs(larva.y - kCruiseAltitude) < 60) use = true;
    lastNote = "going to abduct (victim x " + std::to_string(static_cast<int>(victim->x)) + " w " +
               std::to_string(static_cast<int>(victim->width)) + " state " + std::to_string(victim->state) +
               (over ? ", over it" : "") + ")";
    return true;
}

tBuilding* BotPlayer::pickMilitaryTarget() {
    tFoo& larva = *game.player;
    tBuilding* best = nullptr;
    float bestScore = std::numeric_limits<float>::max();
    const bool boss = aliveBoss() != nullptr;
    for (const auto& building : game.buildingList->typed<tBuilding>()) {
        if (!building->isMilitary || building->destroyed || building->faction == factions::ALLY) continue;
        if (outOfReach(building->x, building->width / 2 + 100)) continue;
        // Guns first: a turret left standing shoots at the larva while it burns anything near it.
        float score = std::fabs(building->x - larva.x);
        if (!objectAs<tTurret>(building.get())) score += 400;
        // The airpads and tank factories feed the squads that wear the homebase down: first of all
        // (a tank alone brings the homebase down in under twenty seconds).
        if (objectAs<tAirpad>(building.get()) || objectAs<tTankFactory>(building.get()))
            score -= boss ? 4000 : 900;
        // With the boss about the larva cannot always be at the homebase: the barracks, whose soldiers
        // join every squad, go early too.
        if (boss && objectAs<tBarracks>(building.get())) score -= 3500;
        // While the boss lives, next whatever stands along its beat: around the homebase, where the
        // larva spends the time the boss leaves it.
        if (boss && std::fabs(building->x - game.playerBase->x) < kBossBeat) score -= 3000;
        if (score < bestScore) bestScore = score, best = building.get();
    }
    // A light or medium gun beside it goes first: it would keep hitting the larva while it burns.
    if (best && !objectAs<tTurret>(best)) {
        for (const auto& turret : game.buildingList->typed<tTurret>()) {
            if (turret->destroyed || objectAs<tHeavyTurret>(turret.get())) continue;
            if (std::fabs(turret->x - best->x) < tTurret::range &&
                !outOfReach(turret->x, turret->width / 2 + 100))
                return turret.get();
        }
    }
    return best;
}

bool BotPlayer::attackBuildings() {
    tFoo& larva = *game.player;
    if (!hasTrait(0)) return false; // the spit barely scratches a building
    tBuilding* target = pickMilitaryTarget();
    if (!target) return false;
    // The tanks beside it first: their shells would keep the larva dodging off the building.
    for (const auto& tank : game.actorList->typed<tTank>()) {
        if (!alive(*tank) || std::fabs(tank->x - target->x) > 350 || !underOpenSky(*tank)) continue;
        burnUnit(*tank);
        lastNote = "burning a tank beside a military building";
        return true;
    }
    climbTo(kAttackAltitude);
    const float half = std::max(4.0f, target->width / 2 - 8);
    // Over the end of it that no heavy gun reaches, when there is one (a heavy turret fires at whatever
    // is within 320 px of it, sideways).
    float lo = target->x - half, hi = target->x + half;
    for (const auto& turret : game.buildingList->typed<tHeavyTurret>()) {
        if (turret->destroyed || turret.get() == target) continue;
        if (turret->x > target->x)
            hi = std::min(hi, turret->x - tTurret::range - 4);
        else
            lo = std::max(lo, turret->x + tTurret::range + 4);
    }
    if (hi - lo < 6) lo = target->x - half, hi = target->x + half;
    steerX((lo + hi) / 2, (hi - lo) / 2);
    const bool over = std::fabs(target->x - larva.x) < half && !grounded(larva, game);
    if (larva.battery <= 45) recharging = true;
    if (recharging && larva.battery >= 950) recharging = false;
    if (over && !recharging) fire = true;
    lastNote = "burning a military building at " + std::to_string(static_cast<int>(target->x));
    return true;
}

bool BotPlayer::goHome(bool toBuy) {
    tFoo& larva = *game.player;
    tHomebase& base = *game.playerBase;
    const float dx = base.x - larva.x;
    // Over the boss the larva stays up until it is past its body.
    const std::shared_ptr<tSuperCopter> boss = aliveBoss();
    if (boss && std::fabs(boss->x - larva.x) < boss->width / 2 + 50 && larva.y < 60) {
        climbTo(kAttackAltitude);
        steerX(base.x, 10);
        lastNote = "going home over the boss";
        return true;
    }
    if (std::fabs(dx) > 24) {
        climbTo(std::fabs(dx) > 200 ? travelAltitude() : 300);
        steerX(base.x, 10);
    } else {
        steerX(base.x, 10);
        if (!grounded(larva, game))
            down = true;
        else if (toBuy && gameMillisecs() >= larva.menuClosedTime && std::fabs(dx) < 28)
            use = true;
    }
    lastNote = toBuy ? "going home to buy" : "going home";
    return true;
}

// ---------------------------------------------------------------------------------------------------
// Keys

void BotPlayer::releaseAll() {
    left = right = up = down = fire = use = false;
    applyHeld();
}

void BotPlayer::applyHeld() {
    const struct {
        int key;
        bool want;
    } keys[] = {{KEY_LEFT, left}, {KEY_RIGHT, right}, {KEY_UP, up},
                {KEY_DOWN, down}, {KEY_Z, fire},      {KEY_X, use}};
    for (const auto& k : keys) {
        if (k.want && !KeyHeld(k.key)) keyDown(k.key);
        if (!k.want && KeyHeld(k.key)) keyUp(k.key);
    }
}

int BotPlayer::nextTraitCost() const {
    int owned = 0;
    for (int i = 0; i < 5; ++i)
        owned += hasTrait(i) ? 1 : 0;
    return 50 + 25 * owned;
}

bool BotPlayer::hasTrait(int index) const {
    const tFoo& larva = *game.player;
    switch (index) {
    case 0:
        return larva.unlockLaser;
    case 1:
        return larva.unlockPhotons;
    case 2:
        return larva.unlockFlak;
    case 3:
        return larva.unlockShield;
    case 4:
        return larva.unlockSpaceWarp;
    default:
        return false;
    }
}

bool BotPlayer::anyTrait() const {
    for (int i = 0; i < 5; ++i)
        if (hasTrait(i)) return true;
    return false;
}
