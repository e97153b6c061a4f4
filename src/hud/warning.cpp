#include "hud/warning.h"

#include "engine/engine.h"
#include "engine/words.h"
#include "game/constants.h"
#include "game/game_clock.h"

void tWarning::setMessage(const std::string& text, int red, int green, int blue) {
    stringText = text;
    defaultImg = createTextImage(Tr(text), 2.0f, 2.0f, -1, -1, -1);
    CenterImageAnchor(defaultImg);
    const int now = gameMillisecs();
    animTimer = now + 16 * (defaultImg ? defaultImg->width : 0); // 16 ms per pixel of width
    colourTimer = now + colourDelay;
    txtAlpha = 1.0f;
    txtScale = 1.0f;
    x = 320.0f;
    y = 362.0f;
    if (red > -1 || green > -1 || blue > -1) {
        r = static_cast<float>(red);
        g = static_cast<float>(green);
        b = static_cast<float>(blue);
    } else {
        r = g = b = 0; // a message without a colour of its own shows in black
    }
    wtR = wtG = wtB = 255.0f;
}

void tWarning::update() {
    // The white copy darkens only behind a red message.
    if (timerReady(colourTimer, colourDelay) && r > 2.0f) {
        wtR -= 2.0f;
        wtG -= 2.0f;
        wtB -= 2.0f;
    }
    const double dt = Delta::Time();
    txtAlpha = static_cast<float>(txtAlpha - 2.0 * dt);
    txtScale = static_cast<float>(txtScale + 0.5 * dt);
}

void tWarning::draw() {
    if (timerReady(animTimer, 0) || !defaultImg) return;
    if (txtAlpha > 0) {
        SetAlpha(txtAlpha);
        SetDrawScale(txtScale, txtScale);
        SetColor(TruncInt(wtR), TruncInt(wtG), TruncInt(wtB));
        DrawFrame(defaultImg, x, y, 0);
    }
    SetAlpha(1.0f);
    SetDrawScale(1, 1);
    SetColor(TruncInt(r), TruncInt(g), TruncInt(b));
    DrawFrame(defaultImg, x, y, 0);
    SetColor(colours::defaultR, colours::defaultG, colours::defaultB);
}

void tWarning::resetTimers() {
    tOnscreenObject::resetTimers();
    shiftByPause(colourTimer);
}
