#include "campaign/map_screen.h"

#include <algorithm>
#include <string>

#include "campaign/map_dazozuzo.h"
#include "campaign/mission_node.h"
#include "campaign/persistence.h"
#include "engine/engine.h"
#include "engine/words.h"
#include "game/constants.h"
#include "game/game_clock.h"
#include "game/program.h"
#include "hud/indicators.h"
#include "settings/prompts.h"

tMapScreen::tMapScreen() {
    mapImg = TImage::Load("incbin::Gfx\\map\\mapLayout.png", 0);
    dazozuzo = tMapDazozuzo::Create(320.0f, 240.0f, this);
    listNodes = std::make_shared<TList>();
    listNodes->AddLast(tMissionNode::Create(140.0f, 380.0f, 2));
    listNodes->AddLast(tMissionNode::Create(464.0f, 310.0f, 1));
    listNodes->AddLast(tMissionNode::Create(286.0f, 240.0f, 0));
    listNodes->AddLast(tMissionNode::Create(346.0f, 336.0f, 3));
}

std::shared_ptr<tMapScreen> tMapScreen::Create(float x, float y) {
    auto screen = std::make_shared<tMapScreen>();
    screen->dazozuzo->x = x;
    screen->dazozuzo->y = y;
    return screen;
}

void tMapScreen::update() {
    // Choosing a node starts the mission, which drops the program's reference to this screen.
    std::shared_ptr<tMapScreen> keepAlive = weak_from_this().lock();
    std::shared_ptr<tMapDazozuzo> ship = dazozuzo;
    if (!ship) return;
    ship->update();
    if (buttonFlasher) {
        buttonFlasher->update();
        buttonFlasher->x = ship->x;
    }
    if (isOverNode()) {
        if (!buttonFlasher) buttonFlasher = tButtonFlasher::createZButton(ship, false);
    } else {
        buttonFlasher = nullptr;
    }
}

std::shared_ptr<tMissionNode> tMapScreen::nodeUnderShip() {
    if (!dazozuzo || !listNodes) return nullptr;
    for (const std::shared_ptr<Object>& object : *listNodes) {
        auto node = std::dynamic_pointer_cast<tMissionNode>(object);
        if (!node) continue;
        if (inRange(dazozuzo->x, node->x, node->width) && inRange(dazozuzo->y, node->y, node->height) &&
            !node->isLocked()) {
            return node;
        }
    }
    return nullptr;
}

bool tMapScreen::isOverNode() {
    return nodeUnderShip() != nullptr;
}

void tMapScreen::checkForValidNodes() {
    if (std::shared_ptr<tMissionNode> node = nodeUnderShip()) selectNode(node);
}

void tMapScreen::selectNode(const std::shared_ptr<tMissionNode>& node) {
    if (!node || !theProgram) return;
    if (theProgram->worldData) theProgram->worldData->currentMissionId = node->missionID;
    theProgram->setGameState(gamestate::RUNNING, node->missionID);
}

namespace {

// The map picture's legend names the arrows and Z. With other keys bound, or once a pad or the touch
// controls are used, it is drawn again over the picture's own, in its colours, with their prompts; with
// the game's own keys the picture is left as it is.
void drawLegendForBoundKeys() {
    const bool ownKeys = PromptIsGameKey(Action::Left) && PromptIsGameKey(Action::Right) &&
                         PromptIsGameKey(Action::Up) && PromptIsGameKey(Action::Down) &&
                         PromptIsGameKey(Action::Fire);
    if (ownKeys) return;
    static const std::shared_ptr<TImage> pixel = TImage::Load("incbin::whitePixel.png", 0);
    if (!pixel || pixel->width <= 0 || pixel->height <= 0) return;
    const std::vector<tHint> steer = {
        {{Action::Left, Action::Right, Action::Up, Action::Down}, TrMark("steer the Dazozuzo")}};
    const std::vector<tHint> invade = {{{Action::Fire}, TrMark("over a zone: invade it")}};
    // In art pixels: the legend's box from (5, 212), at least as wide as the picture's, grown to the hints.
    const float width = static_cast<float>(std::max(HintLineWidth(steer), HintLineWidth(invade))) / 2 + 8;
    const float boxWidth = std::max(width, 147.0f);
    const auto box = [&](float x, float y, float w, float h) {
        SetDrawScale(2 * w / static_cast<float>(pixel->width), 2 * h / static_cast<float>(pixel->height));
        DrawFrame(pixel, 2 * x, 2 * y, 0);
    };
    int r = 0, g = 0, b = 0;
    ReadColor(r, g, b);
    SetColor(168, 160, 96);
    box(5, 212, boxWidth, 23);
    SetColor(32, 32, 44);
    box(6, 213, boxWidth - 2, 21);
    SetColor(184, 176, 160);
    DrawHintLine(steer, 18, 428);
    DrawHintLine(invade, 18, 448);
    SetColor(r, g, b);
}

} // namespace

void tMapScreen::draw() {
    SetDrawScale(2, 2);
    SetAlpha(1.0f);
    DrawFrame(mapImg, 0, 0, 0);
    drawLegendForBoundKeys();
    if (listNodes) {
        for (const std::shared_ptr<Object>& object : *listNodes) {
            if (auto node = std::dynamic_pointer_cast<tMissionNode>(object)) node->draw();
        }
    }
    if (dazozuzo) dazozuzo->draw();
    if (buttonFlasher) buttonFlasher->draw();
}
