#include "hud/beam_status.h"

#include "engine/engine.h"
#include "game/game_clock.h"

void tAbductionBeamStatus::clearText() {
    text.clear();
    textImg.reset();
    warning = false;
}

void tAbductionBeamStatus::updateText(const std::string& newText) {
    // The beam calls this every frame with its catch's name: only a change renders anything.
    if (newText == text) return;
    text = newText;
    // Once red, the line stays red until it is cleared.
    if (text.find("Radioactive") != std::string::npos) warning = true;
    updateTextImage();
}

void tAbductionBeamStatus::updateTextImage() {
    textImg = createTextImage(text, 2.0f, 2.0f, -1, -1, -1);
}
