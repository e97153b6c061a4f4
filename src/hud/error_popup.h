#pragma once
#include <memory>

#include "engine/object.h"

class TImage;

// The upgrade menu's short error picture: pops up at double size with a black shock copy that
// stretches and vanishes, stays 333 ms, then fades. Clears tProgram::errorPopup itself.
class tQuickErrorPopup : public Object {
  public:
    float x = 0, y = 0;
    std::shared_ptr<TImage> defaultImage;
    int timer = 0;
    float alpha = 1.0f;
    float alpha2 = 1.0f;
    float scaleX2 = 2.0f, scaleY2 = 2.0f;

    static std::shared_ptr<tQuickErrorPopup> errorNotEnoughMatter(float x, float y);
    static std::shared_ptr<tQuickErrorPopup> errorAlreadyPurchased(float x, float y);
    void update();
    void draw();
};
