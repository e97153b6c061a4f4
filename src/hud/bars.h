#pragma once

// The small bars units and buildings draw beside themselves: the whole bar in the empty colour
// (frame 1), then the filled part from the left (frame 0). The draw scale is left as the fill's.
struct tHealthBar {
    static void draw(float x, float y, float value, float maximum, float length);
};

struct tBatteryBar {
    static void draw(float x, float y, float value, float maximum, float length);
};
