#pragma once
#include <array>

#include "engine/object.h"

// The ground line every unit stands on and the scenery behind: a fixed backdrop and a ring of 20
// background blocks, 128 screen pixels each, chosen once per run and repeated endlessly both ways.
class tMap : public Object {
  public:
    static constexpr int mapLength = 20;

    tMap(); // sets the fields, then generateMap

    float x = 0;
    float y = 0;
    int groundLevel = 350;
    std::array<int, mapLength> mapBlock{}; // block codes 0..14
    int gridSize = 128;

    float getX();
    float getY();
    void generateMap();
    void draw();
    // column - length * group, less one more for negative columns
    static int getArrayIndex(int column, int length, int group);
    // column / length truncated toward zero, less one for negative columns
    static int getGridGroup(int column, int length);
    // The block code shown in a column (the ring index of getGridGroup/getArrayIndex, kept in 0..19).
    int blockAtColumn(int column) const;
};
