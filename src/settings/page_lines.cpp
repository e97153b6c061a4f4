#include "settings/page_lines.h"

#include <SDL.h>

#include <vector>

#include "engine/engine.h"
#include "engine/words.h"
#include "settings/prompts.h"

namespace {

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            static const char digits[] = "0123456789abcdef";
            out += "\\u00";
            out += digits[(c >> 4) & 0xf];
            out += digits[c & 0xf];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string promptJson(const tPrompt& prompt) {
    if (prompt.kind == tPrompt::Kind::Button) return "{\"button\":" + std::to_string(prompt.picture) + "}";
    return "{\"key\":" + quoted(prompt.words) + "}";
}

struct PageHint {
    std::vector<tPrompt> prompts;
    std::string words; // already in the language spoken
};

std::string hintsJson(const std::vector<PageHint>& hints) {
    std::string out = "[";
    for (const PageHint& hint : hints) {
        if (out.size() > 1) out += ",";
        out += "{\"prompts\":[";
        bool first = true;
        for (const tPrompt& prompt : hint.prompts) {
            if (prompt.kind == tPrompt::Kind::None) continue;
            if (!first) out += ",";
            out += promptJson(prompt);
            first = false;
        }
        out += "],\"words\":" + quoted(hint.words) + "}";
    }
    return out + "]";
}

// The four directions as one prompt where they are the arrows or the d-pad, as the game's hints show them.
std::vector<tPrompt> movePrompts(const tSettings& s, InputDevice device, PadStyle style) {
    std::vector<tPrompt> prompts;
    for (Action action : {Action::Left, Action::Right, Action::Up, Action::Down})
        prompts.push_back(PromptFor(s, action, device, style));
    const bool arrows = s.key(Action::Left) == KEY_LEFT && s.key(Action::Right) == KEY_RIGHT &&
                        s.key(Action::Up) == KEY_UP && s.key(Action::Down) == KEY_DOWN;
    const bool dpad = s.padButton(Action::Left) == SDL_CONTROLLER_BUTTON_DPAD_LEFT &&
                      s.padButton(Action::Right) == SDL_CONTROLLER_BUTTON_DPAD_RIGHT &&
                      s.padButton(Action::Up) == SDL_CONTROLLER_BUTTON_DPAD_UP &&
                      s.padButton(Action::Down) == SDL_CONTROLLER_BUTTON_DPAD_DOWN;
    if (device == InputDevice::Keyboard && arrows) {
        tPrompt both = prompts[0];
        both.words = PromptWords(TrMark("Arrows"));
        return {both};
    }
    if (device == InputDevice::Pad && dpad) {
        tPrompt both = prompts[0];
        both.picture = PadButtonPicture(SDL_CONTROLLER_BUTTON_DPAD_UP, style) + 6; // the whole d-pad
        return {both};
    }
    return prompts;
}

// The line of keys: what each action does, with the prompt for the keyboard or a pad.
std::vector<PageHint> keysLine(const tSettings& s, InputDevice device, PadStyle style) {
    const auto one = [&](Action action) { return std::vector<tPrompt>{PromptFor(s, action, device, style)}; };
    std::vector<PageHint> hints = {
        {movePrompts(s, device, style), Tr("move")},
        {one(Action::Fire), Tr("fire")},
        {one(Action::Beam), Tr("beam, shield, upgrades")},
        {one(Action::Select), Tr("select, or the options in the pause")},
        {one(Action::Pause), Tr("pause, or the options on the map")},
        {one(Action::Back), Tr("quit (asks first)")},
    };
    if (device == InputDevice::Keyboard) hints.push_back({{}, Tr("pads work too")});
    return hints;
}

// The question's keys are the menus' own, whatever is bound: the arrows or the d-pad choose, Enter or A
// takes the answer chosen, Esc or B keeps playing.
std::vector<PageHint> questionLine(InputDevice device, PadStyle style) {
    tPrompt choose, take, back;
    if (device == InputDevice::Pad) {
        choose = {tPrompt::Kind::Button, SDL_CONTROLLER_BUTTON_DPAD_LEFT,
                  PadPairPicture(SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_CONTROLLER_BUTTON_DPAD_RIGHT), ""};
        take = {tPrompt::Kind::Button, SDL_CONTROLLER_BUTTON_A,
                PadButtonPicture(SDL_CONTROLLER_BUTTON_A, style), ""};
        back = {tPrompt::Kind::Button, SDL_CONTROLLER_BUTTON_B,
                PadButtonPicture(SDL_CONTROLLER_BUTTON_B, style), ""};
    } else {
        choose = {tPrompt::Kind::Key, KEY_TAB, -1, PromptWords(KeyName(KEY_TAB))};
        take = {tPrompt::Kind::Key, KEY_ENTER, -1, PromptWords(KeyName(KEY_ENTER))};
        back = {tPrompt::Kind::Key, KEY_ESCAPE, -1, PromptWords(KeyName(KEY_ESCAPE))};
    }
    return {{{choose}, Tr("choose")}, {{take}, Tr("answer")}, {{back}, Tr("keep playing")}};
}

std::string deviceSet(const tSettings& s, InputDevice device, PadStyle style) {
    return "{\"keys\":" + hintsJson(keysLine(s, device, style)) +
           ",\"question\":" + hintsJson(questionLine(device, style)) + "}";
}

} // namespace

std::string PageLines(const tSettings& s) {
    std::string out = "{\"language\":" + quoted(CurrentLanguage()) +
                      ",\"keyboard\":" + deviceSet(s, InputDevice::Keyboard, PadStyle::Xbox) + ",\"pads\":[";
    for (PadStyle style : {PadStyle::Xbox, PadStyle::PlayStation, PadStyle::Nintendo, PadStyle::Generic})
        out += (style == PadStyle::Xbox ? "" : ",") + deviceSet(s, InputDevice::Pad, style);
    const auto touch = [&s](Action action) {
        return std::vector<tPrompt>{PromptFor(s, action, InputDevice::Touch, PadStyle::Xbox)};
    };
    const std::vector<PageHint> touchLine = {
        {touch(Action::Beam), Tr("beam, shield, upgrades at the mothership")},
        {touch(Action::Back), Tr("leave the upgrades, or quit (asks first)")},
    };
    out += "],\"touch\":{\"line\":" + hintsJson(touchLine) + ",\"controls\":[";
    // In the order of the page's controls after the direction pad: each named for what it does, with the
    // key that does it in small, for a player with a keyboard too.
    bool first = true;
    for (Action action : {Action::Fire, Action::Beam, Action::Select, Action::Pause, Action::Back}) {
        out += first ? "" : ",";
        out += "{\"name\":" + quoted(PromptFor(s, action, InputDevice::Touch, PadStyle::Xbox).words) +
               ",\"key\":" + quoted(PromptFor(s, action, InputDevice::Keyboard, PadStyle::Xbox).words) + "}";
        first = false;
    }
    return out + "]}}";
}
