#include "campaign/mission_node.h"

#include "campaign/persistence.h"
#include "engine/engine.h"
#include "engine/words.h"
#include "game/game_clock.h"
#include "game/program.h"

std::string tMissionNode::getMissionName(int id) {
    std::string name;
    switch (id) {
    case 0:
        name = TrMark("Infantry Staging Zone");
        break;
    case 1:
        name = TrMark("Armour Staging Zone");
        break;
    case 2:
        name = TrMark("Militarized Zone");
        break;
    case 3:
        name = TrMark("Boss Zone");
        break;
    default:
        break;
    }
    return name.empty() ? TrMark("Unnamed mission") : name;
}

std::shared_ptr<tMissionNode> tMissionNode::Create(float x, float y, int id) {
    auto node = std::make_shared<tMissionNode>();
    node->x = x;
    node->y = y;
    node->missionID = id;
    node->defaultImg = TImage::Load("incbin::Gfx\\map\\missionNode.png", 0);
    CenterImageAnchor(node->defaultImg);
    node->textImg = createTextImage(Tr(getMissionName(id)), 1.0f, 1.0f, 0, 255, 0);
    CenterImageAnchor(node->textImg);
    // The program opens its first map screen before it makes the campaign record; a node without a
    // record shows the state of a new campaign, so the boss node is closed from the very start.
    tPersistence newCampaign;
    tPersistence& record = theProgram && theProgram->worldData ? *theProgram->worldData : newCampaign;
    node->locked = record.getLock(id) != 0;
    // The closed picture is anchored at its top-left corner.
    if (node->locked) node->defaultImg = TImage::Load("incbin::Gfx\\map\\missionNodeLocked.png", 0);
    return node;
}

void tMissionNode::draw() {
    SetDrawScale(2, 2);
    SetAlpha(1.0f);
    DrawFrame(defaultImg, x, y, 0);
    const float textHeight = textImg ? static_cast<float>(textImg->height) : 0.0f;
    const float nodeHeight = defaultImg ? static_cast<float>(defaultImg->height) : 0.0f;
    DrawFrame(textImg, x, y - textHeight - nodeHeight, 0);
}
