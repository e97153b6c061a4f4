#include "hud/beam_status.h"

#include "engine/engine.h"
#include "engine/words.h"
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

// The catch's English name as the player reads it ("Radioactive Cow": the catch's name in the words of
// "Radioactive %s").
std::string tAbductionBeamStatus::shownText(const std::string& english) {
    static const std::string radioactive = "Radioactive ";
    if (english.rfind(radioactive, 0) == 0)
        return Placed(Tr("Radioactive %s"), {Tr(english.substr(radioactive.size()))});
    return Tr(english);
}

void tAbductionBeamStatus::updateTextImage() {
    textImg = createTextImage(shownText(text), 2.0f, 2.0f, -1, -1, -1);
}
