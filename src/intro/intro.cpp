#include "intro/intro.h"

#include "engine/engine.h"
#include "game/assets.h"
#include "game/battle.h"
#include "game/constants.h"
#include "game/game_clock.h"
#include "intro/intro_flash.h"
#include "intro/intro_missile.h"
#include "intro/intro_star.h"
#include "intro/intro_survivor.h"
#include "intro/intro_title.h"
#include "intro/intro_unit.h"

tIntro::tIntro() {
    actorList = std::make_shared<TList>();
    starField = std::make_shared<TList>();
    introSong = TSound::Load("incbin::introsong.ogg", SOUND_MUSIC);
    introSongChannel = battle::play(introSong);
    createFormation();
    createStarfield();
}

void tIntro::createFormation() {
    // Row 1: five ships of the two big types, picked per ship.
    for (int i = -2; i <= 2; ++i) {
        const int type = RandomInt(0, 1) == 1 ? constTypes::TYPE1 : constTypes::TYPE2;
        actorList->AddLast(tIntroUnit::Create(type, 320.0f + (i * 36 + 12), formationY));
    }
    // Rows 2 and 3, then 4 and 5: for each column the upper ship, then the lower one.
    for (int i = -4; i <= 4; ++i) {
        const float shipX = 320.0f + (i * 32 + 12);
        actorList->AddLast(tIntroUnit::Create(constTypes::TYPE3, shipX, formationY + 30));
        actorList->AddLast(tIntroUnit::Create(constTypes::TYPE3, shipX, formationY + 60));
    }
    for (int i = -5; i <= 5; ++i) {
        const float shipX = 320.0f + (i * 32 + 12);
        actorList->AddLast(tIntroUnit::Create(constTypes::TYPE4, shipX, formationY + 90));
        actorList->AddLast(tIntroUnit::Create(constTypes::TYPE4, shipX, formationY + 120));
    }
}

void tIntro::createStarfield() {
    for (int i = 0; i <= 240; ++i) {
        const float starY = static_cast<float>(RandomInt(0, 480));
        const float starX = static_cast<float>(RandomInt(0, 640));
        starField->AddLast(tIntroStar::Create(starX, starY));
    }
}

void tIntro::beginFade() {
    if (!blackscreen) blackscreen = TImage::Load("incbin::Gfx\\blackScreen.png", 0);
}

void tIntro::stopMusic() {
    if (introSongChannel && introSongChannel->Playing()) introSongChannel->Stop();
}

void tIntro::launchMissile() {
    missileSpawned = true;
    stopMusic();
    introTitle = nullptr;
    inputReady = false;
    missile = tIntroMissile::Create(320.0f, 516.0f);
    if (actorList) actorList->AddLast(missile);
    battle::play(tSfx::introMissileLaunch);
}

void tIntro::readKeys() {
    if (NextChar() == 0) return;
    ClearKeys(); // the key that ends the intro must not reach the map screen
    if (!blackscreen && !introTitle) beginFade();
    if (inputReady && !missileSpawned) launchMissile();
}

void tIntro::updateStars() {
    if (timerReady(starfieldTimer, starfieldDelay)) {
        starField->AddLast(tIntroStar::Create(static_cast<float>(RandomInt(0, 640)), 480.0f));
    }
    for (const std::shared_ptr<tIntroStar>& star : starField->typed<tIntroStar>()) {
        star->update();
        if (star->y < 0) starField->Remove(star.get());
    }
}

void tIntro::missileHit() {
    // The survivor's place: the ship lowest and furthest right by a scan over the formation in order.
    float placeX = 0.0f, placeY = 0.0f;
    for (const std::shared_ptr<tIntroUnit>& unit : actorList->typed<tIntroUnit>()) {
        if (unit->x > placeX && unit->y > placeY) {
            placeX = unit->x;
            placeY = unit->y;
        }
    }
    missile = nullptr;
    actorList->Clear();
    objFlash = std::make_shared<tIntroFlash>();
    survivor = tIntroSurvivor::Create(placeX, placeY);
}

bool tIntro::update() {
    const float dt = static_cast<float>(Delta::Time());
    readKeys();

    formationY += kDescentSpeed * dt;
    if (formationY < kFormationRest) {
        if (actorList) {
            for (const std::shared_ptr<tOnscreenObject>& object : actorList->typed<tOnscreenObject>()) {
                object->y += kDescentSpeed * dt;
            }
        }
    } else if (!missileSpawned) {
        inputReady = true;
        if (!introTitle) introTitle = std::make_shared<tIntroTitle>();
    }

    if (starField) updateStars();
    if (introTitle) introTitle->update();
    if (actorList) {
        for (const std::shared_ptr<tOnscreenObject>& object : actorList->typed<tOnscreenObject>()) {
            object->update();
        }
    }
    if (missile && missile->y < kMissileHitY && actorList) missileHit();

    if (objFlash) {
        objFlash->update();
        if (objFlash->alpha < 0) objFlash = nullptr;
    }
    if (blackscreen) {
        blackscreenAlpha += kFadeSpeed * dt;
        if (blackscreenAlpha > 2.0f) {
            endIntro();
            stopMusic();
            return false;
        }
    }
    if (survivor) {
        survivor->update();
        if (survivor->x > 640.0f || survivor->y > 480.0f) beginFade();
    }
    return true;
}

void tIntro::endIntro() {
    actorList = nullptr;
    missile = nullptr;
    objFlash = nullptr;
    survivor = nullptr;
    formationY = 0;
    inputReady = false;
    missileSpawned = false;
}

void tIntro::draw() {
    SetDrawScale(2, 2);
    if (starField) {
        for (const std::shared_ptr<tIntroStar>& star : starField->typed<tIntroStar>())
            star->draw();
    }
    if (actorList) {
        for (const std::shared_ptr<tOnscreenObject>& object : actorList->typed<tOnscreenObject>()) {
            object->draw();
        }
    }
    if (survivor) survivor->draw();
    if (objFlash) objFlash->draw();
    if (introTitle) introTitle->draw();
    if (blackscreen) {
        SetDrawScale(2, 2);
        SetAlpha(blackscreenAlpha);
        DrawFrame(blackscreen, 0, 0, 0);
        SetAlpha(1.0f);
    }
}
