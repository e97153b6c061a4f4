#pragma once
#include "engine/object.h"

// The six held keys of the game, read once per pass. Left wins over Right, Up over Down.
class tInput : public Object {
  public:
    bool leftKey = false;  // Left arrow (37)
    bool rightKey = false; // Right arrow (39)
    bool upKey = false;    // Up arrow (38)
    bool downKey = false;  // Down arrow (40)
    bool zKey = false;     // Z (90)
    bool xKey = false;     // X (88)

    void update();
    void resetKeys();
};
