#include "hud/indicators.h"

#include "engine/engine.h"
#include "entities/actor.h"
#include "game/assets.h"
#include "game/constants.h"
#include "game/game_clock.h"
#include "game/program.h"
#include "settings/prompts.h"

// ---------------------------------------------------------------------------------------------------
// Floating numbers

std::shared_ptr<tNumberIndicator> tNumberIndicator::Create(float x, float y, const std::string& text, int r,
                                                           int g, int b, bool big) {
    auto indicator = std::make_shared<tNumberIndicator>();
    indicator->x = x;
    indicator->y = y - 40.0f;
    const float textScale = big ? 2.0f : 1.0f;
    indicator->setPicture(createTextImage(text, textScale, textScale, -1, -1, -1));
    if (indicator->defaultImg) CenterImageAnchor(indicator->defaultImg);
    indicator->frame = 0;
    indicator->alpha = 1.0f;
    indicator->alphaTimer = gameMillisecs() + 750;
    indicator->colourSet = r > -1 || g > -1 || b > -1;
    indicator->r = r;
    indicator->g = g;
    indicator->b = b;
    return indicator;
}

std::string tNumberIndicator::SignedText(char sign, int amount) {
    // Appended: g++ 12 at -O3 warns of a false overlapping copy in `"+" + std::to_string(amount)`.
    std::string text(1, sign);
    text += std::to_string(amount);
    return text;
}

void tNumberIndicator::update() {
    y = static_cast<float>(y - 50.0 * Delta::Time());
    if (timerReady(alphaTimer, 0)) {
        alpha = static_cast<float>(alpha - 4.0 * Delta::Time());
        if (alpha < 0 && theProgram && theProgram->messages) theProgram->messages->Remove(this);
    }
}

void tNumberIndicator::draw() {
    if (colourSet) SetColor(r, g, b);
    SetDrawScale(2, 2);
    SetAlpha(alpha);
    DrawFrame(defaultImg, x, y, 0); // a screen position: no camera
    if (colourSet) SetColor(colours::defaultR, colours::defaultG, colours::defaultB);
    SetAlpha(1.0f);
}

void tNumberIndicator::resetTimers() {
    tOnscreenObject::resetTimers();
    if (alphaTimer < gameMillisecs()) shiftByPause(alphaTimer);
}

// ---------------------------------------------------------------------------------------------------
// Radiation burst

std::shared_ptr<tRadiationIndicator> tRadiationIndicator::Create(float x, float y,
                                                                 const std::shared_ptr<tActor>& owner) {
    auto indicator = std::make_shared<tRadiationIndicator>();
    indicator->x = x;
    indicator->y = y;
    indicator->setPicture(gfx::radiationIndicator);
    indicator->animDelay = 75;
    indicator->animTimer = gameMillisecs() + 75;
    indicator->frame = 0;
    if (owner) indicator->owner = owner;
    return indicator;
}

void tRadiationIndicator::update() {
    if (owner) {
        x = owner->x;
        y = owner->y;
    }
    if (timerReady(animTimer, animDelay)) {
        frame += 1;
        const int frames = defaultImg ? defaultImg->FrameCount() : 0;
        if (frame >= frames && theProgram && theProgram->fxList) theProgram->fxList->Remove(this);
    }
}

void tRadiationIndicator::draw() {
    SetDrawScale(2, 2);
    DrawFrame(defaultImg, getX(), y, frame); // x follows the camera and the shake, y is the world y
}

// ---------------------------------------------------------------------------------------------------
// Key hints

namespace {

std::shared_ptr<tButtonFlasher> createHint(const std::shared_ptr<tActor>& owner, bool above,
                                           const std::shared_ptr<TImage>& picture, int gameKey) {
    auto hint = std::make_shared<tButtonFlasher>();
    hint->gameKey = gameKey;
    hint->owner = owner;
    if (owner) {
        hint->x = owner->x;
        hint->y = owner->y;
        hint->faction = owner->faction;
    }
    hint->defaultImg = picture;
    if (picture) {
        hint->width = static_cast<float>(picture->width * 2);
        hint->height = static_cast<float>(picture->height * 2);
    }
    hint->framesMax = 2;
    hint->frame = 0;
    hint->animDelay = 200;
    hint->animTimer = gameMillisecs() + 200;
    hint->above = above;
    return hint;
}

} // namespace

std::shared_ptr<tButtonFlasher> tButtonFlasher::createXButton(const std::shared_ptr<tActor>& owner,
                                                              bool above) {
    return createHint(owner, above, gfx::pushXFlash, KEY_X);
}

std::shared_ptr<tButtonFlasher> tButtonFlasher::createZButton(const std::shared_ptr<tActor>& owner,
                                                              bool above) {
    return createHint(owner, above, gfx::pushZFlash, KEY_Z);
}

void tButtonFlasher::update() {
    if (const std::shared_ptr<tActor> holder = owner.lock()) {
        x = holder->x;
        y = above ? holder->y - holder->height - height : holder->y + height + 4.0f;
    }
    if (timerReady(animTimer, animDelay)) {
        frame += 1;
        if (frame >= framesMax) frame = 0;
    }
}

void tButtonFlasher::draw() {
    SetDrawTransform(0, 2, 2);
    // The picture names the game's own key; another key bound in its place, or a pad's button once the pad
    // is used, is a prompt of its own.
    Action action = Action::Fire;
    if (gameKey != 0 && ActionOfGameKey(gameKey, action) && !PromptIsGameKey(action)) {
        const tPrompt prompt = PromptFor(action);
        if (prompt.kind != tPrompt::Kind::None) {
            DrawPrompt(prompt, getX() - static_cast<float>(PromptWidth(prompt) / 2),
                       getY() - static_cast<float>(PROMPT_HEIGHT / 2), frame == 1);
            SetDrawTransform(0, 2, 2);
            return;
        }
    }
    DrawFrame(defaultImg, getX(), getY(), frame);
}
