#pragma once
#include <string>

#include "settings/settings.h"

// What the web page shows under the picture, made here where the prompts are, so the page names no key
// itself: its line of keys for the keyboard and for each pad's labels, its touch line and the names on
// its touch controls, and the prompts of its question whether to end the game, in the language spoken.
// The page shows the set for the device used last (the engine tells it which).

// The page's lines as JSON: {"language": "de", "keyboard": SET, "pads": [SET for each PadStyle],
// "touch": {"line": HINTS, "controls": [{"name": "Fire", "key": "Z"}, ...]}}, where a SET is
// {"keys": HINTS, "question": HINTS}, HINTS an array of {"prompts": [{"key": "Z"} or {"button": FRAME}],
// "words": "fire"} and FRAME a picture of the prompts sheet.
std::string PageLines(const tSettings& settings);
