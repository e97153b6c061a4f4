#pragma once
#include <string>

#include "entities/onscreen_object.h"

// The one warning line of a battlefield ("Dazozuzo is under attack!"), with a white copy of itself
// that swells and fades. Shown for 16 ms per pixel of its width.
class tWarning : public tOnscreenObject {
  public:
    std::string stringText;
    int colourTimer = 0;
    int colourDelay = 2;
    float r = 0, g = 0, b = 0;
    float wtR = 0, wtG = 0, wtB = 0;
    float txtAlpha = 0;
    float txtScale = 0;

    void setMessage(const std::string& text, int r, int g, int b);
    void update() override;
    void draw() override;
    void resetTimers() override;
};
