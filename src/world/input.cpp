#include "world/input.h"

#include "engine/engine.h"

void tInput::resetKeys() {
    leftKey = rightKey = upKey = downKey = zKey = xKey = false;
}

void tInput::update() {
    resetKeys();
    if (KeyHeld(KEY_LEFT)) {
        leftKey = true;
    } else if (KeyHeld(KEY_RIGHT)) {
        rightKey = true;
    }
    if (KeyHeld(KEY_UP)) {
        upKey = true;
    } else if (KeyHeld(KEY_DOWN)) {
        downKey = true;
    }
    zKey = KeyHeld(KEY_Z);
    xKey = KeyHeld(KEY_X);
}
