#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/input_device.h"
#include "settings/settings.h"

// How the game shows the input for an action now: the key bound when the keyboard was used last (a key
// cap with its name), the pad button bound when a pad was (a picture in that pad's own labels), the
// touch control's name on the page's touch controls. Every hint on every screen asks here; no screen
// names a key itself.

struct tPrompt {
    enum class Kind { None, Key, Button, Touch };
    Kind kind = Kind::None;
    int code = 0;      // the key, or the pad button (SDL's, or PAD_LEFT_TRIGGER and the others)
    int picture = -1;  // the button's frame in the prompts sheet
    std::string words; // what a key cap or a touch control shows ("Esc", "Fire")

    bool operator==(const tPrompt&) const = default;
};

// Every word a prompt draws (a key's name, a touch control's, a hint's) passes through here: the one
// place the words of prompts are looked up.
std::string PromptWords(std::string_view english);

// The prompt for an action under these bindings on that device.
tPrompt PromptFor(const tSettings& settings, Action action, InputDevice device, PadStyle style);
// The prompt for an action now: the device used last and the bindings in force (in a session watched,
// the keys its player had).
tPrompt PromptFor(Action action);
// True when the prompt for the action now is its own key on the keyboard: what the game's pictures that
// name a key (the map's legend, the homebase's Z and X) already show.
bool PromptIsGameKey(Action action);
// The action whose own key gameKey is (Fire for Z); false when none.
bool ActionOfGameKey(int gameKey, Action& action);
// The frame of a pad button's picture in a pad's style, or -1 for a code no button makes.
int PadButtonPicture(int button, PadStyle style);
// One picture for two actions where a pad shows them as one (the d-pad's two arms), else -1.
int PadPairPicture(int first, int second);

// A hint: the prompts of its actions (one, or two such as Up and Down) and what they do there.
struct tHint {
    std::vector<Action> actions;
    std::string words; // "choose", "close"; may be empty
};

// Screen pixels (the 640x480 picture's) a prompt and a line of hints take; a prompt is 20 tall.
constexpr int PROMPT_HEIGHT = 20;
int PromptWidth(const tPrompt& prompt);
int HintLineWidth(const std::vector<tHint>& hints);
// Draws a prompt with its top-left at (x, y); a lit key cap or button is the one being pressed.
void DrawPrompt(const tPrompt& prompt, float x, float y, bool lit = false);
// Draws the hints left to right from (x, y), the top of the line, the words in the current colour at
// scale 2; centred on x when centred. Returns the width drawn.
int DrawHintLine(const std::vector<tHint>& hints, float x, float y, bool centred = false);
// The replay viewer's own line: the viewer's keys and pad, never the watched session's.
void DrawViewersHintLine(const std::vector<tHint>& hints, float x, float y);
