#include "engine/scripted_pad.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

// Longer lines are refused unread: a script is a few words a line.
constexpr std::size_t kLongestLine = 200;

struct ScriptedPad {
    SDL_Joystick* joystick = nullptr;
    SDL_JoystickID id = -1;
    std::FILE* script = nullptr;
    std::string partial; // a line whose end is not written yet
    int lineNumber = 0;
    int releaseNext = -1;  // the button a tap lets go of on the next pass
    bool skipping = false; // inside a line too long to read
};
ScriptedPad pad;

void apply(const tPadScriptStep& step) {
    switch (step.kind) {
    case tPadScriptStep::Kind::Press:
    case tPadScriptStep::Kind::Tap:
        SDL_JoystickSetVirtualButton(pad.joystick, step.which, 1);
        if (step.kind == tPadScriptStep::Kind::Tap) pad.releaseNext = step.which;
        break;
    case tPadScriptStep::Kind::Release:
        SDL_JoystickSetVirtualButton(pad.joystick, step.which, 0);
        break;
    case tPadScriptStep::Kind::Axis:
        SDL_JoystickSetVirtualAxis(pad.joystick, step.which, step.value);
        break;
    }
}

void take(const std::string& line) {
    ++pad.lineNumber;
    if (line.empty()) return;
    tPadScriptStep step;
    std::string why;
    if (ParsePadScriptLine(line, step, why)) {
        apply(step);
    } else {
        std::fprintf(stderr, "vevu: pad script line %d refused: %s\n", pad.lineNumber, why.c_str());
    }
}

// The next whole line written to the script, if there is one.
bool nextLine(std::string& line) {
    int c = 0;
    std::clearerr(pad.script); // the writer may have added lines since the end was last met
    while ((c = std::fgetc(pad.script)) != EOF) {
        if (c == '\n') {
            const bool tooLong = pad.skipping;
            line.swap(pad.partial);
            pad.partial.clear();
            pad.skipping = false;
            if (tooLong) line = "\x01"; // refused below as no step
            return true;
        }
        if (pad.skipping) continue;
        if (pad.partial.size() >= kLongestLine) {
            pad.skipping = true;
            pad.partial.clear();
            continue;
        }
        pad.partial += static_cast<char>(c);
    }
    return false;
}

} // namespace

bool ParsePadScriptLine(const std::string& line, tPadScriptStep& step, std::string& why) {
    if (line.size() > kLongestLine || line.find('\x01') != std::string::npos) {
        why = "longer than " + std::to_string(kLongestLine) + " characters";
        return false;
    }
    std::istringstream words(line);
    std::string verb, name, value, extra;
    words >> verb >> name >> value >> extra;
    const std::string want = "'" + line + "' is not press|release|tap BUTTON or axis AXIS VALUE";
    if (!extra.empty()) {
        why = want;
        return false;
    }
    if (verb == "press" || verb == "release" || verb == "tap") {
        const SDL_GameControllerButton button = SDL_GameControllerGetButtonFromString(name.c_str());
        if (name.empty() || !value.empty() || button == SDL_CONTROLLER_BUTTON_INVALID) {
            why = name.empty() || !value.empty() ? want : "no button called '" + name + "'";
            return false;
        }
        step.kind = verb == "press"     ? tPadScriptStep::Kind::Press
                    : verb == "release" ? tPadScriptStep::Kind::Release
                                        : tPadScriptStep::Kind::Tap;
        step.which = button;
        step.value = 0;
        return true;
    }
    if (verb == "axis") {
        const SDL_GameControllerAxis axis = SDL_GameControllerGetAxisFromString(name.c_str());
        if (name.empty() || value.empty()) {
            why = want;
            return false;
        }
        if (axis == SDL_CONTROLLER_AXIS_INVALID) {
            why = "no axis called '" + name + "'";
            return false;
        }
        char* end = nullptr;
        const long number = std::strtol(value.c_str(), &end, 10);
        if (*end != '\0' || number < -32768 || number > 32767) {
            why = "'" + value + "' is no axis value from -32768 to 32767";
            return false;
        }
        step.kind = tPadScriptStep::Kind::Axis;
        step.which = axis;
        step.value = static_cast<int16_t>(number);
        return true;
    }
    why = want;
    return false;
}

namespace engine_detail {

void AttachScriptedPad() {
    const char* path = SDL_getenv("VEVU_TEST_PAD");
    if (!path || !*path || pad.joystick) return;
    pad.script = std::fopen(path, "rb");
    if (!pad.script) {
        std::fprintf(stderr, "vevu: cannot read the pad script %s\n", path);
        return;
    }
    // A game controller of SDL's virtual driver, which SDL maps by itself: every button and axis it has.
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "scripted pad";
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    if (index >= 0) {
        pad.id = SDL_JoystickGetDeviceInstanceID(index);
        pad.joystick = SDL_JoystickOpen(index);
    }
    if (!pad.joystick) {
        std::fprintf(stderr, "vevu: cannot plug in the scripted pad: %s\n", SDL_GetError());
        DetachScriptedPad();
    }
}

void StepScriptedPad() {
    if (!pad.joystick) return;
    // One step a pass: SDL reports only the state it finds when the events are read, so a press and its
    // release must fall on two passes.
    if (pad.releaseNext >= 0) {
        SDL_JoystickSetVirtualButton(pad.joystick, pad.releaseNext, 0);
        pad.releaseNext = -1;
        return;
    }
    std::string line;
    if (nextLine(line)) take(line);
}

void DetachScriptedPad() {
    if (pad.joystick) {
        SDL_JoystickClose(pad.joystick);
        for (int i = 0; i < SDL_NumJoysticks(); ++i) {
            if (SDL_JoystickGetDeviceInstanceID(i) == pad.id) SDL_JoystickDetachVirtual(i);
        }
    }
    if (pad.script) std::fclose(pad.script);
    pad = ScriptedPad{};
}

} // namespace engine_detail
