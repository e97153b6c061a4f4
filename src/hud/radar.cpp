#include "hud/radar.h"

#include "engine/engine.h"
#include "entities/actor.h"
#include "game/assets.h"
#include "game/constants.h"
#include "game/program.h"

#include "buildings/homebase.h"

tRadar::tRadar() {
    radarXOffset = width / 2 - 320 / radarScale;
    radarYOffset = radarScale * 8;
}

float tRadar::getDrawX(tOnscreenObject* object) {
    return x + radarXOffset + object->getX() / radarScale;
}

float tRadar::getDrawY(tOnscreenObject* object) {
    return y + object->y / radarScale;
}

bool tRadar::isShown(float dx, float worldY) const {
    return dx > x + contactRadius && dx < x + width - contactRadius && worldY > radarYOffset &&
           worldY < 480.0f;
}

void tRadar::draw() {
    SetDrawScale(2, 2);
    if (!theProgram) return;
    if (const std::shared_ptr<tHomebase>& base = theProgram->playerBase) {
        // One picture field for both departures: whichever was loaded first stays.
        if (base->baseState == cBaseStates::TAKEOFF || base->baseState == cBaseStates::VICTORY) {
            if (!retreatMessage) {
                retreatMessage =
                    TImage::Load(base->baseState == cBaseStates::TAKEOFF ? "incbin::Gfx\\retreating.png"
                                                                         : "incbin::Gfx\\winning.png",
                                 0);
            }
            DrawFrame(retreatMessage, 162.0f, 380.0f, 0);
            return;
        }
    }
    if (theProgram->buildingList) {
        for (const std::shared_ptr<Object>& object : *theProgram->buildingList) {
            if (!(object->kinds & kindBit(Kind::Building))) continue;
            auto* building = static_cast<tOnscreenObject*>(object.get());
            const float dx = getDrawX(building);
            if (!isShown(dx, building->y)) continue;
            const int mark =
                building->faction == factions::ENEMY ? cRadar::ENEMY_BUILDING : cRadar::ALLY_BUILDING;
            DrawFrame(gfx::radarContacts, dx, getDrawY(building), mark);
        }
    }
    if (theProgram->actorList) {
        for (const std::shared_ptr<tActor>& actor : theProgram->actorList->typed<tActor>()) {
            if (!actor->onRadar || actor->state == states::RESPAWN) continue;
            const float dx = getDrawX(actor.get());
            if (!isShown(dx, actor->y)) continue;
            const int mark = actor->faction == factions::ENEMY ? cRadar::ENEMY_UNIT : cRadar::ALLY_UNIT;
            DrawFrame(gfx::radarContacts, dx, getDrawY(actor.get()), mark);
        }
    }
}
