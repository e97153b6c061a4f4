#pragma once
#include <memory>

#include "entities/actor.h"

class tMapScreen;

// The little mothership the player steers over the mission map with the arrow keys; Z, X or C starts
// the mission of the open node under it. It belongs to its map screen, in no battlefield list.
class tMapDazozuzo : public tKinded<tMapDazozuzo, tActor, Kind::MapDazozuzo> {
  public:
    tMapDazozuzo();

    tMapScreen* parentMap = nullptr; // the screen owns the ship, so a plain back pointer

    static std::shared_ptr<tMapDazozuzo> Create(float x, float y, tMapScreen* parent);
    void update() override;
    void draw() override;
    // Straight moves by speed x frame time; no acceleration on the map.
    void goRight() override;
    void goLeft() override;
    void goUp() override;
    void goDown() override;
};
