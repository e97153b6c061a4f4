#include "entities/matter_ball.h"

#include "engine/engine.h"
#include "engine/words.h"
#include "game/assets.h"
#include "game/battle.h"
#include "game/game_clock.h"
#include "player/foo.h"

std::shared_ptr<tMatterBall> tMatterBall::Create(float x, float y) {
    auto ball = std::make_shared<tMatterBall>();
    ball->x = x;
    ball->y = y;
    ball->defaultImg = gfx::matterBall;
    ball->radImg = gfx::matterBallGreen;
    ball->width = ball->defaultImg ? ball->defaultImg->width * 2.0f : 0.0f;
    ball->height = ball->defaultImg ? ball->defaultImg->height * 2.0f : 0.0f;
    ball->strName = TrMark("Matter");
    ball->hp = 0;
    ball->patrolDistance = 160;
    ball->matterAward = 10;
    ball->radDamage = 225;
    ball->gravity = 200;
    ball->speed = 100;
    ball->xSpeed = ball->speed;
    ball->ySpeed = ball->speed * 2;
    ball->dir = static_cast<float>(RandomInt(240, 300));
    ball->frame = 0;
    ball->animDelay = 100;
    ball->animTimer = gameMillisecs() + 100;
    ball->destructable = false;
    ball->onRadar = false;
    ball->matterballs = 0;
    return ball;
}

void tMatterBall::spawn(int count, int x, int y) {
    if (count < 1) count = 1;
    const int ground = groundLevel();
    if (y > ground) y = ground - 1;
    for (int i = 0; i < count; ++i)
        battle::addActor(Create(static_cast<float>(x), static_cast<float>(y - 1)));
}

void tMatterBall::draw() {
    if (!isOnscreen()) return;
    SetDrawScale(2, 2);
    DrawFrame(getCurrentImg(), getX(), getY(), getFrame());
}

void tMatterBall::resetVelocities() {
    tAbductable::resetVelocities();
    xSpeed = 0;
    ySpeed = 0;
}

void tMatterBall::setStateFalling() {
    tAbductable::setStateFalling();
    resetVelocities();
}

void tMatterBall::setStateIdle(int /*delay*/) {
    tAbductable::setStateIdle(0);
    resetVelocities();
}

void tMatterBall::doStateIdle() {
    const double dt = Delta::Time();
    const int ground = groundLevel();
    if (y < ground) {
        // Popping up and falling back.
        x = static_cast<float>(x + dt * CosDeg(dir) * xSpeed);
        y = static_cast<float>(y + dt * SinDeg(dir) * ySpeed);
        ySpeed = static_cast<float>(ySpeed - dt * gravity);
        if (y > ground) y = static_cast<float>(ground);
        return;
    }
    resetVelocities();
    // Picked up by the larva walking over it; flying over it does not.
    const std::shared_ptr<tFoo> larva = getPlayer();
    if (!larva || !larva->isGrounded() || !inRange(x, larva->x, larva->width / 3)) return;
    battle::play(tSfx::abducted);
    larva->matterIncrease(matterAward);
    larva->heal(matterAward / 2);
    destroyed = true; // gone: nothing may count it again
    battle::removeFrom(&tProgram::actorList, this);
}

void tMatterBall::doStateFalling() {
    const double dt = Delta::Time();
    ySpeed = static_cast<float>(ySpeed - dt * gravity);
    y = static_cast<float>(y + dt * SinDeg(dir) * ySpeed);
    if (y > groundLevel()) {
        const bool tooFast = ySpeed < -150 || xVel > 120 || xVel < -120;
        if (tooFast && isRadiated()) {
            destroy();
        } else {
            setStateIdle(0);
        }
    }
}

int tMatterBall::getFrame() {
    if (timerReady(animTimer, animDelay)) {
        frame += 1;
        const int frames = defaultImg ? defaultImg->FrameCount() : 0;
        if (frame >= frames) frame = 0;
    }
    return frame;
}
