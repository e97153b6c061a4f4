#include "campaign/campaign_choice.h"

#include <algorithm>
#include <iterator>

#include "engine/engine.h"
#include "engine/words.h"
#include "game/constants.h"
#include "settings/prompts.h"

namespace {

bool pressed(int key) {
    return KeyPressCount(key) > 0;
}

// A centred line at scale 2.
void drawLine(const std::string& text, float y) {
    SetDrawScale(2, 2);
    DrawString(text, (640.0f - 2.0f * static_cast<float>(StringWidth(text))) / 2.0f, y);
}

} // namespace

tCampaignChoice::tCampaignChoice(int won) : missionsWon(won) {}

tCampaignChoice::Outcome tCampaignChoice::update() {
    const tMenuKeys::Pass keys = menuKeys.read();
    // Every key is read each pass, none skipped: a press left waiting would answer the next question.
    const bool takes[] = {keys.take, pressed(KEY_C), pressed(KEY_ENTER), pressed(KEY_SPACE)};
    const bool take = std::any_of(std::begin(takes), std::end(takes), [](bool b) { return b; });
    const bool xPressed = pressed(KEY_X);
    const bool back = keys.back || xPressed;
    if (keys.up > 0) picked = 0;
    if (keys.down > 0) picked = 1;
    if (!confirming) {
        // Nothing lies behind the first question: stepping back there stays on it, and never ends the game.
        if (!take) return Outcome::Undecided;
        if (picked == 0) return Outcome::Continue;
        confirming = true; // asked once before the saved campaign is replaced
        picked = 0;        // "No" first: a key pressed twice in a hurry replaces nothing
        return Outcome::Undecided;
    }
    if (back || (take && picked == 0)) {
        confirming = false;
        picked = 1;
        return Outcome::Undecided;
    }
    return take ? Outcome::NewCampaign : Outcome::Undecided;
}

void tCampaignChoice::draw() {
    SetAlpha(1.0f);
    SetColor(0, 255, 0);
    if (!confirming) {
        drawLine(Tr("A campaign is saved"), 120);
        drawLine(
            Placed(TrPlural("%d mission won", "%d missions won", missionsWon), {std::to_string(missionsWon)}),
            150);
    } else {
        drawLine(Tr("Replace the saved campaign?"), 120);
        drawLine(Tr("The old one is kept as a backup"), 150);
    }
    const char* entries[2] = {confirming ? kKeep : kContinue, confirming ? kReplace : kNewCampaign};
    for (int i = 0; i < 2; ++i) {
        if (i == picked) {
            SetColor(255, 255, 255);
        } else {
            SetColor(0, 150, 0);
        }
        const std::string text = i == picked ? "> " + Tr(entries[i]) + " <" : Tr(entries[i]);
        drawLine(text, 230.0f + 40.0f * i);
    }
    SetColor(0, 150, 0);
    DrawHintLine({{{Action::Up, Action::Down}, TrMark("pick")}, {{Action::Fire}, TrMark("take")}}, 320, 396,
                 true);
    SetColor(colours::defaultR, colours::defaultG, colours::defaultB);
}
