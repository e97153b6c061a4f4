#pragma once
#include <memory>

#include "engine/object.h"

class TImage;

// A menu page drawn over the frozen battlefield. The program holds the open one in currentMenu; a menu
// may close itself from its own update, so it hands out a strong reference to itself while it runs.
class tMenu : public Object, public std::enable_shared_from_this<tMenu> {
  public:
    float x = 0; // top-left of the page on screen
    float y = 0;
    std::shared_ptr<TImage> pageImg;
    float width = 0; // size of the page on screen
    float height = 0;

    virtual void update() {}
    virtual void draw() {}
};

// A button of a menu row.
class tButton : public Object {
  public:
    std::shared_ptr<TImage> defaultImg;
    float x = 0;
    float y = 0;
    float width = 0;
    float height = 0;
    std::shared_ptr<TImage> hoverText;  // first description line, null until set
    std::shared_ptr<TImage> hoverText2; // second description line, may stay null
    int index = 0;                      // position in the row

    virtual int clickAction() { return 0; }
    virtual void update() {}
    virtual void draw();
};
