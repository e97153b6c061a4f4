#include "driver/task_player.h"

#include <algorithm>
#include <cmath>

#include "buildings/building.h"
#include "buildings/homebase.h"
#include "buildings/turret.h"
#include "driver/keys.h"
#include "engine/engine.h"
#include "entities/cow.h"
#include "entities/matter_ball.h"
#include "entities/person.h"
#include "game/constants.h"
#include "game/game_clock.h"
#include "game/program.h"
#include "player/abduction_beam.h"
#include "player/foo.h"
#include "world/map.h"

namespace {

constexpr float kCruiseAltitude = 150; // abducting height, as the campaign's bot flies
constexpr float kFlyAccel = 1000;      // the larva's acceleration and braking
// A catch let go this far above the ground lands faster than 150 px/s and is destroyed.
constexpr float kDropHeight = 120;
constexpr int kShieldTrait = 3; // the shield's button in the upgrade menu
// A dropped catch is let go to land this far into a second of game clock (it lands up to a tenth of a
// second later, a pass or two): its burst (five frames of 60 ms, the first one empty) is on screen
// when the second ends.
constexpr int kLandingPhaseMs = 760;
// Battery the shield is held down to: a digest sees what the hits took.
constexpr float kShieldBatteryLeft = 800;

float groundLine(const tProgram& game) {
    return game.map ? static_cast<float>(game.map->groundLevel) : 350.0f;
}

bool alive(const tActor& actor) {
    return actor.state != states::DEAD && !actor.destroyed;
}

template <class Kind> std::shared_ptr<Kind> nearest(TList& list, float x, const auto& wanted) {
    std::shared_ptr<Kind> best;
    for (const std::shared_ptr<Kind>& candidate : list.typed<Kind>())
        if (wanted(*candidate) && (!best || std::fabs(candidate->x - x) < std::fabs(best->x - x)))
            best = candidate;
    return best;
}

} // namespace

TaskPlayer::TaskPlayer(tProgram& program, int missionId) : game(program), bot(program, {missionId}) {
    bot.firstTrait = kShieldTrait;
    bot.beginMission(missionId);
}

void TaskPlayer::nextTask() {
    task = static_cast<Task>(static_cast<int>(task) + 1);
    taskStartedAt = gameMillisecs();
    dropped = false;
    catchDropped.reset();
}

void TaskPlayer::step() {
    if (task == Task::Leave) {
        left = right = up = down = use = false;
        applyHeld();
        // After two seconds (the last burst is seen in a digest's frame), Esc: in the menu it closes
        // the menu; the next one leaves.
        if (gameMillisecs() - taskStartedAt > 2000) keyTap(KEY_ESCAPE);
        return;
    }
    if (task == Task::BuyShield) {
        if (bot.hasTrait(kShieldTrait) && game.state == gamestate::RUNNING) {
            bot.releaseAll();
            lastNote = "the shield is bought";
            nextTask();
        } else {
            bot.step();
        }
        return;
    }
    if (gameMillisecs() - taskStartedAt > taskLimitMs) {
        lastNote = "gave a task up";
        nextTask();
    }
    left = right = up = down = use = false;
    if (game.state == gamestate::MENU) {
        keyTap(KEY_ESCAPE); // opened by mistake at the homebase
        return;
    }
    const tFoo& larva = *game.player;
    const bool inControl =
        larva.state == states::IDLE || larva.state == states::ABDUCTING || larva.state == states::SHIELDING;
    if (game.state == gamestate::RUNNING && inControl) {
        switch (task) {
        case Task::ShieldHit:
            shieldHit();
            break;
        case Task::IrradiateCow:
            irradiate<tCow>(DropAt::House);
            break;
        case Task::IrradiateBall:
            irradiate<tMatterBall>(DropAt::Here);
            break;
        case Task::IrradiateSoldier:
            irradiate<tSoldier>(DropAt::BesideHomebase);
            break;
        default:
            break;
        }
    }
    applyHeld();
}

// Stands on the ground within a soldier's or a turret's range, away from the homebase (where X opens
// the menu), with the shield up until a shot hits it.
void TaskPlayer::shieldHit() {
    const tFoo& larva = *game.player;
    if (!larva.unlockShield) {
        lastNote = "no shield (the larva died): next task";
        nextTask();
        return;
    }
    if (larva.state == states::SHIELDING) {
        // Hits drain the battery (and restart the shield's overlay from its first frame); without the
        // shield it recharges at once.
        if (larva.battery < kShieldBatteryLeft) {
            lastNote = "the shield took hits";
            nextTask();
            return;
        }
        use = true;
        lastNote = "shielding";
        return;
    }
    const float baseX = game.playerBase ? game.playerBase->x : 0;
    std::shared_ptr<tOnscreenObject> shooter =
        nearest<tSoldier>(*game.actorList, larva.x, [](const tSoldier& s) { return alive(s); });
    if (!shooter)
        shooter = nearest<tTurret>(*game.buildingList, larva.x, [](const tTurret&) { return true; });
    if (!shooter) {
        nextTask();
        return;
    }
    float standX = shooter->x + (larva.x < shooter->x ? -140.0f : 140.0f);
    if (std::fabs(standX - baseX) < 80) standX = shooter->x + (standX < shooter->x ? 140.0f : -140.0f);
    if (std::fabs(standX - larva.x) > 30) {
        climbTo(std::fabs(standX - larva.x) > 200 ? kCruiseAltitude : larva.y);
        steerX(standX, 10);
        lastNote = "going to a shooter";
    } else if (larva.y != groundLine(game)) {
        down = true;
        lastNote = "landing by a shooter";
    } else {
        use = true;
        lastNote = "raising the shield";
    }
}

template <class Kind> void TaskPlayer::irradiate(DropAt where) {
    const tFoo& larva = *game.player;
    const float ground = groundLine(game);
    if (dropped) {
        // The catch falls: wait until it lands (or bursts).
        const std::shared_ptr<tAbductable> fallen = catchDropped.lock();
        if (!fallen || fallen->destroyed || fallen->state == states::IDLE) {
            lastNote = "the catch landed";
            nextTask();
        }
        return;
    }
    auto beam = std::dynamic_pointer_cast<tAbductionBeam>(larva.weapon);
    if (larva.state == states::ABDUCTING && beam && beam->lastHit) {
        tAbductable& held = *beam->lastHit;
        if (!objectAs<Kind>(&held)) {
            lastNote = "caught the wrong one: let go";
            return;
        }
        use = true;
        // Moving sideways holds the catch where it is while the beam irradiates it: it is carried to
        // where it is dropped (onto a house; away from the guns, beside the homebase, whose hit points
        // a blast would take), or the larva rocks on the spot.
        float dropX = larva.x;
        if (where == DropAt::House) {
            const auto house =
                nearest<tHouse>(*game.buildingList, larva.x, [](const tHouse& h) { return !h.destroyed; });
            if (house) dropX = house->x;
        } else if (where == DropAt::BesideHomebase && game.playerBase) {
            dropX = game.playerBase->x + (larva.x < game.playerBase->x ? -250.0f : 250.0f);
        }
        const bool there = std::fabs(dropX - larva.x) <= 6 && std::fabs(larva.xVel) <= 20;
        if (!there) steerX(dropX, 4);
        if (!held.isRadiated()) {
            if (!left && !right) (larva.xVel > 0 ? left : right) = true;
            lastNote = "irradiating";
            return;
        }
        if (!there) {
            lastNote = "carrying the catch";
            return;
        }
        // Still: the beam reels the catch in; high enough, it is held up there (rocking) until it
        // will land just before a second of game clock ends, when a digest draws the frame: the burst
        // is in the picture. It falls from rest: (ground - y) = g t^2 |sin dir| / 2.
        if (held.y < ground - kDropHeight || held.y < larva.y + 30) {
            const auto* ball = objectAs<tMatterBall>(&held);
            const auto* person = objectAs<tPerson>(&held);
            const double gravity = ball ? ball->gravity : person ? person->gravity : 200;
            const double fallMs =
                1000 * std::sqrt(2 * (ground - held.y) / (gravity * std::fabs(SinDeg(held.dir))));
            const int landsAt = (gameMillisecs() + static_cast<int>(fallMs)) % 1000;
            if (landsAt < kLandingPhaseMs || landsAt >= kLandingPhaseMs + 40) {
                (larva.xVel > 0 ? left : right) = true;
                lastNote = "holding the catch up";
                return;
            }
            use = false;
            dropped = true;
            catchDropped = beam->lastHit;
            lastNote = "dropping the catch";
        } else {
            lastNote = "reeling in";
        }
        return;
    }
    if (larva.hp < 30 && larva.state == states::IDLE && game.playerBase) {
        // Healed at once beside the homebase.
        const float baseX = game.playerBase->x;
        if (std::fabs(baseX - larva.x) > 20 || std::fabs(larva.xVel) > 40) {
            climbTo(kCruiseAltitude);
            steerX(baseX, 10);
        } else {
            down = true;
        }
        lastNote = "going home to heal";
        return;
    }
    // The nearest, counting every gun that reaches it as 500 px further: a soldier irradiates for
    // seconds under the fire of the others.
    std::shared_ptr<Kind> victim;
    float bestScore = 0;
    for (const std::shared_ptr<Kind>& k : game.actorList->typed<Kind>()) {
        if (!alive(*k) || k->state != states::IDLE || k->isRadiated()) continue;
        float score = std::fabs(k->x - larva.x);
        for (const auto& soldier : game.actorList->typed<tSoldier>())
            if (static_cast<const void*>(soldier.get()) != k.get() && alive(*soldier) &&
                std::fabs(soldier->x - k->x) < 340)
                score += 500;
        for (const auto& turret : game.buildingList->typed<tTurret>())
            if (std::fabs(turret->x - k->x) < 360) score += 500;
        if (!victim || score < bestScore) victim = k, bestScore = score;
    }
    if (!victim) {
        lastNote = "nothing of the kind to catch: next task";
        nextTask();
        return;
    }
    if (victim->y != ground) {
        // A matter ball still in the air after its building fell.
        climbTo(kCruiseAltitude);
        steerX(victim->x, 10);
        lastNote = "waiting for one to land";
        return;
    }
    if (larva.state == states::ABDUCTING) {
        // Searching: follow the victim below.
        use = true;
        steerX(victim->x, 3);
        lastNote = "searching with the beam";
        return;
    }
    climbTo(kCruiseAltitude);
    steerX(victim->x, 1.5f);
    const bool over =
        std::fabs(victim->x - larva.x) < std::max(1.0f, victim->width / 2 - 2) && std::fabs(larva.xVel) < 120;
    // At the cruise altitude: a catch reeled up from the ground is let go high enough to burst.
    if (over && std::fabs(larva.y - kCruiseAltitude) < 15) use = true;
    lastNote = "going to catch one";
}

bool TaskPlayer::steerX(float x, float tolerance) {
    const tFoo& larva = *game.player;
    const float v = larva.xVel;
    const float stopping = v * std::fabs(v) / (2 * kFlyAccel);
    const float error = x - (larva.x + stopping);
    if (error > tolerance) right = true;
    if (error < -tolerance) left = true;
    return std::fabs(x - larva.x) < tolerance && std::fabs(v) < 80;
}

void TaskPlayer::climbTo(float y) {
    const tFoo& larva = *game.player;
    const float stopping = larva.yVel * std::fabs(larva.yVel) / (2 * kFlyAccel);
    const float error = y - (larva.y + stopping);
    if (error < -6) up = true;
    if (error > 6) down = true;
}

void TaskPlayer::applyHeld() {
    const struct {
        int key;
        bool want;
    } keys[] = {{KEY_LEFT, left}, {KEY_RIGHT, right}, {KEY_UP, up}, {KEY_DOWN, down}, {KEY_X, use}};
    for (const auto& k : keys) {
        if (k.want && !KeyHeld(k.key)) keyDown(k.key);
        if (!k.want && KeyHeld(k.key)) keyUp(k.key);
    }
    if (KeyHeld(KEY_Z)) keyUp(KEY_Z); // the bot may have held it
}
