#pragma once
#include <memory>

#include "engine/object.h"

class TImage;
class tButton;

// The cursor above the selected upgrade button. It dips about 11 pixels below its rest position and
// comes back once every 0.36 s, snapping to rest at the end of each cycle.
class tUpgCursor : public Object {
  public:
    std::shared_ptr<TImage> defaultImg;
    float x = 0;
    float y = 0;
    float originalY = 0; // rest position above the selected button
    float floatY = 0;    // bobbing phase in degrees
    float width = 0;
    float height = 0;
    int buttonIndex = 0; // index of the selected button

    static std::shared_ptr<tUpgCursor> Create(const std::shared_ptr<tButton>& button);
    virtual void update();
    virtual void setButton(const std::shared_ptr<tButton>& button);
    virtual void draw();
};
