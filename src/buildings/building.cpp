#include "buildings/building.h"

#include "engine/engine.h"
#include "entities/duster.h"
#include "entities/effects.h"
#include "entities/person.h"
#include "entities/tank.h"
#include "game/assets.h"
#include "game/battle.h"
#include "game/game_clock.h"
#include "hud/bars.h"

// --- tBuilding -----------------------------------------------------------------------------------------

tBuilding::tBuilding() {
    matterballs = 2;
    facing = 1;
}

void tBuilding::setUp(float px, float py, const std::shared_ptr<TImage>& image, int hitPoints, int delay,
                      int maxUnits) {
    x = px;
    y = py;
    defaultImg = image;
    width = image ? image->width * 2.0f : 0.0f;
    height = image ? image->height * 2.0f : 0.0f;
    hp = hpMax = hitPoints;
    factoryDelay = delay;
    factoryTimer = delay > 0 ? gameMillisecs() + delay : 0;
    unitMax = maxUnits;
    frame = 0;
}

void tBuilding::update() {
    // The timer re-arms whether or not a unit comes out: a full factory checks again one delay later.
    if (timerReady(factoryTimer, factoryDelay) && unitCounter < unitMax) spawnUnit();
    updateFlash();
}

void tBuilding::draw() {
    if (isOnscreen()) {
        SetDrawScale(2, 2);
        DrawFrame(defaultImg, getX(), getY(), frame);
        if (hp < hpMax)
            tHealthBar::draw(getX() - width / 2, getY() + 4, static_cast<float>(hp),
                             static_cast<float>(hpMax), width);
    }
    drawFlash();
}

void tBuilding::resetTimers() {
    tOnscreenObject::resetTimers();
    shiftByPause(factoryTimer);
    shiftByPause(interactTimer);
}

void tBuilding::damage(float amount) {
    takeDamage(amount);
}

int tBuilding::takeDamage(float amount) {
    if (destroyed) return 0;
    tOnscreenObject::damage(amount); // at 0 hp the base scatters the matter balls
    if (hp <= 0) {
        destroyed = true;
        battle::addFx(tBigExplosion::Create(x, y - 12));
        battle::removeFrom(&tProgram::buildingList, this);
        reduceMilitaryStrength();
        return 1;
    }
    flash();
    return 0;
}

void tBuilding::addMilitaryStrength() {
    isMilitary = true;
    if (!theProgram) return;
    theProgram->militaryStrength += 1;
    theProgram->militaryStrengthMax += 1;
}

void tBuilding::reduceMilitaryStrength() {
    if (!isMilitary || !theProgram || theProgram->militaryStrength <= 0) return;
    theProgram->militaryStrength -= 1;
    theProgram->checkVictory();
}

void tBuilding::spawnUnit() {
    unitCounter += 1;
}

// --- the factories ---------------------------------------------------------------------------------------

std::shared_ptr<tTankFactory> tTankFactory::Create(float x, float y) {
    auto factory = std::make_shared<tTankFactory>();
    factory->setUp(x, y, gfx::factory, 1000, 12000, 2);
    factory->addMilitaryStrength();
    return factory;
}

void tTankFactory::spawnUnit() {
    tBuilding::spawnUnit();
    battle::addActor(tTank::Create(x, static_cast<float>(groundLevel()), self<tBuilding>()));
}

std::shared_ptr<tBarracks> tBarracks::Create(float x, float y) {
    auto barracks = std::make_shared<tBarracks>();
    barracks->setUp(x, y, gfx::barracks, 1000, 6000, 5);
    barracks->addMilitaryStrength();
    return barracks;
}

void tBarracks::spawnUnit() {
    tBuilding::spawnUnit();
    battle::addActor(tSoldier::Create(x, static_cast<float>(groundLevel()), self<tBuilding>()));
}

std::shared_ptr<tAirpad> tAirpad::Create(float x, float y) {
    auto airpad = std::make_shared<tAirpad>();
    airpad->setUp(x, y, gfx::airpad, 1000, 12000, 2);
    airpad->addMilitaryStrength();
    return airpad;
}

void tAirpad::spawnUnit() {
    tBuilding::spawnUnit();
    battle::addActor(tDuster::Create(x, static_cast<float>(groundLevel()), self<tBuilding>()));
}

// --- tHouse --------------------------------------------------------------------------------------------

std::shared_ptr<TImage> tHouse::getImageIndex(int index) {
    switch (index) {
    case 2:
        return gfx::house02;
    case 3:
        return gfx::house03;
    case 4:
        return gfx::house04;
    default:
        return gfx::house01;
    }
}

std::shared_ptr<tHouse> tHouse::Create(float x, float y, int imgIndex, bool pickRandom) {
    auto house = std::make_shared<tHouse>();
    if (pickRandom) imgIndex = RandomInt(1, 4);
    house->setUp(x, y, getImageIndex(imgIndex), 400, 0, 0);
    house->imgIndex = imgIndex;
    return house;
}

void tHouse::setImgIndex(int index) {
    imgIndex = index;
    defaultImg = getImageIndex(index); // the box keeps the first picture's size
}

int tHouse::takeDamage(float amount) {
    if (tBuilding::takeDamage(amount) == 1) {
        battle::removeFrom(&tProgram::buildingList, this); // already gone; a second removal does nothing
        battle::addActor(tCivilian::Create(x - 7, y, nullptr));
        battle::addActor(tCivilian::Create(x, y, nullptr));
        battle::addActor(tCivilian::Create(x + 7, y, nullptr));
    }
    return 0;
}
