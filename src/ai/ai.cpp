#include "ai/ai.h"

#include "engine/engine.h"
#include "entities/actor.h"
#include "game/constants.h"
#include "game/game_clock.h"
#include "game/object_kinds.h"
#include "game/program.h"

tAI::tAI() {
    mood = moods::PASSIVE;
    timer = 0;
    reset();
}

void tAI::resetTimers() {
    shiftByPause(timer);
}

void tAI::reset() {
    setMood(moods::MEDIUM);
    timer = gameMillisecs() + firstDispatchDelay;
    attackers = std::make_shared<TList>();
}

void tAI::update() {
    switch (mood) {
    case moods::MEDIUM:
        doMedium();
        break;
    case moods::AGGRESSIVE:
        doAggressive();
        break;
    default:
        break; // PASSIVE leaves the opposition to itself
    }
}

void tAI::setMood(int newMood) {
    if (newMood == moods::PASSIVE || newMood == moods::MEDIUM || newMood == moods::AGGRESSIVE) mood = newMood;
}

void tAI::sortAttackerListByDistance() {
    if (!theProgram || !theProgram->actorList) return;
    // Not a copy: the actor list itself is reordered, and with it the order actors update and draw in.
    attackers = theProgram->actorList;
    attackers->Sort(true, compareDistanceToHomebase);
}

void tAI::doMedium() {
    if (!timerReady(timer, dispatchDelay)) return;
    sortAttackerListByDistance();
    dispatch();
}

void tAI::doAggressive() {
    if (!timerReady(timer, dispatchDelay)) return;
    dispatch();
}

void tAI::dispatch() {
    tOnscreenObject* base = theProgram ? theProgram->homebaseObject() : nullptr;
    if (!base) return;
    const float ground = static_cast<float>(groundLevel());
    // Held here: a list that dies during the walk would end it.
    const std::shared_ptr<TList> squad = getNearestEnemies();
    for (const std::shared_ptr<tActor>& member : squad->typed<tActor>())
        member->assignPatrol(base->x, ground);
}

std::shared_ptr<TList> tAI::getNearestSoldiers() {
    if (!attackers) return nullptr;
    auto soldiers = std::make_shared<TList>();
    for (const std::shared_ptr<Object>& object : *attackers) {
        if (!(object->kinds & kindBit(Kind::Soldier))) continue;
        soldiers->AddLast(object);
        if (soldiers->Count() == 2) return soldiers;
    }
    return nullptr; // a lone soldier is not sent
}

std::shared_ptr<TList> tAI::firstOfKind(KindMask kind) {
    if (!attackers) return nullptr;
    for (const std::shared_ptr<Object>& object : *attackers) {
        if (!(object->kinds & kind)) continue;
        auto found = std::make_shared<TList>();
        found->AddLast(object);
        return found;
    }
    return nullptr;
}

std::shared_ptr<TList> tAI::getNearestAircraft() {
    return firstOfKind(kindBit(Kind::Duster));
}

std::shared_ptr<TList> tAI::getNearestTank() {
    return firstOfKind(kindBit(Kind::Tank));
}

std::shared_ptr<TList> tAI::getNearestEnemies() {
    auto result = std::make_shared<TList>();
    if (std::shared_ptr<TList> soldiers = getNearestSoldiers(); soldiers && !soldiers->IsEmpty())
        result = soldiers;
    if (std::shared_ptr<TList> tank = getNearestTank()) result->AddLast(tank->First());
    if (std::shared_ptr<TList> aircraft = getNearestAircraft()) result->AddLast(aircraft->First());
    return result;
}
