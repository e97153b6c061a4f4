#include "world/map.h"

#include "engine/engine.h"
#include "game/assets.h"
#include "game/game_clock.h"
#include "game/program.h"
#include "hud/shake.h"
#include "world/camera.h"

tMap::tMap() {
    generateMap();
}

float tMap::getX() {
    return x - cameraXOffset() - tShake::xOffset;
}

float tMap::getY() {
    return y - tShake::yOffset;
}

void tMap::generateMap() {
    mapBlock[0] = bgSet02::getRandomIndex();
    int i = 1;
    while (i <= mapLength - 1) {
        // A set-01 picture is always followed by its set-03 partner, so a pair starts at 1..16.
        if (RandomInt(1, 3) == 1 && i < mapLength - 3) {
            mapBlock[i] = bgSet01::getRandomIndex();
            i += 1;
            mapBlock[i] = bgSet03::getRandomIndex();
        } else {
            mapBlock[i] = bgSet02::getRandomIndex();
        }
        i += 1;
    }
}

int tMap::getGridGroup(int column, int length) {
    if (length == 0) return 0;
    int group = column / length;
    if (column < 0) group -= 1;
    return group;
}

int tMap::getArrayIndex(int column, int length, int group) {
    int index = column - length * group;
    if (column < 0) index -= 1;
    return index;
}

int tMap::blockAtColumn(int column) const {
    const int group = getGridGroup(column, mapLength);
    int index = getArrayIndex(column, mapLength, group);
    // The two functions keep every column inside 0..19; the wrap only guards the array read.
    if (index < 0 || index >= mapLength) index = ((index % mapLength) + mapLength) % mapLength;
    return mapBlock[index];
}

namespace {

std::shared_ptr<TImage> blockPicture(int code) {
    if (code >= 0 && code < 5) return bgSet01::getImageFromIndex(code - 5 * bgSet01::setNumber);
    if (code >= 5 && code < 10) return bgSet02::getImageFromIndex(code - 5 * bgSet02::setNumber);
    if (code >= 10 && code < 15) return bgSet03::getImageFromIndex(code - 5 * bgSet03::setNumber);
    return nullptr;
}

} // namespace

void tMap::draw() {
    const std::shared_ptr<tCamera> camera = theProgram ? theProgram->camera : nullptr;
    const float halfWidth = camera ? camera->halfWidth : 320.0f;
    const int centre = TruncInt((cameraXOffset() + halfWidth) / gridSize);
    SetDrawScale(2, 2);
    DrawFrame(gfx::background, 0, 0, 0); // the backdrop does not scroll
    for (int column = centre - 4; column <= centre + 3; ++column) {
        const std::shared_ptr<TImage> picture = blockPicture(blockAtColumn(column));
        if (picture)
            DrawFrame(picture, getX() + static_cast<float>(column * gridSize), 180 - tShake::yOffset, 0);
    }
}
