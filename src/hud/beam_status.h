#pragma once
#include <memory>
#include <string>

#include "engine/object.h"

class TImage;

// The line at the top of the screen naming what the abduction beam pulls: green, or red once the
// catch is radioactive (until the line is cleared).
class tAbductionBeamStatus : public Object {
  public:
    std::string text;
    std::shared_ptr<TImage> textImg; // null while there is no text
    bool warning = false;

    void clearText();
    void updateText(const std::string& newText);
    void updateTextImage();
    static std::string shownText(const std::string& english);
};
