#include "settings/settings.h"

#include <SDL.h>

#include <algorithm>
#include <set>

#include "engine/engine.h"
#include "engine/words.h"
#include "settings/bindings.h"

namespace {

struct ActionInfo {
    const char* name;
    const char* entry; // the settings file's name for its bindings: key_fire, key2_fire, pad_fire
    int gameKey;
    int secondKey; // 0: none
    int padButton;
};

constexpr ActionInfo kActions[kActionCount] = {
    {"Left", "left", KEY_LEFT, KEY_A, SDL_CONTROLLER_BUTTON_DPAD_LEFT},
    {"Right", "right", KEY_RIGHT, KEY_D, SDL_CONTROLLER_BUTTON_DPAD_RIGHT},
    {"Up", "up", KEY_UP, KEY_W, SDL_CONTROLLER_BUTTON_DPAD_UP},
    {"Down", "down", KEY_DOWN, KEY_S, SDL_CONTROLLER_BUTTON_DPAD_DOWN},
    {"Fire", "fire", KEY_Z, 0, SDL_CONTROLLER_BUTTON_A},
    {"Beam", "beam", KEY_X, 0, SDL_CONTROLLER_BUTTON_B},
    {"Select", "select", KEY_C, 0, SDL_CONTROLLER_BUTTON_Y},
    {"Pause", "pause", KEY_P, 0, SDL_CONTROLLER_BUTTON_START},
    {"Back", "back", KEY_ESCAPE, 0, SDL_CONTROLLER_BUTTON_BACK},
};

// The settings file's word for an action without a second key.
constexpr const char* kNoKey = "none";

const ActionInfo& info(Action action) {
    return kActions[static_cast<int>(action)];
}

std::string yesNo(bool value) {
    return value ? "yes" : "no";
}

bool readYesNo(const std::string& value, bool& out) {
    if (value == "yes") {
        out = true;
    } else if (value == "no") {
        out = false;
    } else {
        return false;
    }
    return true;
}

// A whole number 0 to 100 written as digits alone; anything else is refused.
bool readPercent(const std::string& value, int& out) {
    if (value.empty() || value.size() > 3 || !std::all_of(value.begin(), value.end(), ::isdigit))
        return false;
    const int percent = std::stoi(value);
    if (percent > 100) return false;
    out = percent;
    return true;
}

const char* shakeName(ShakeLevel level) {
    switch (level) {
    case ShakeLevel::Reduced:
        return "reduced";
    case ShakeLevel::Off:
        return "off";
    default:
        return "full";
    }
}

// Keys and buttons each bound once, each one the game can use.
bool keysUsable(const std::array<int, kActionCount>& keys) {
    std::set<int> seen;
    for (int key : keys) {
        if (!KeyRefusal(key).empty() || !seen.insert(key).second) return false;
    }
    return true;
}

// Drops the second keys that cannot be used: refused, bound first elsewhere, or a second time.
void dropUnusableSecondKeys(const std::array<int, kActionCount>& keys,
                            std::array<int, kActionCount>& second) {
    std::set<int> seen(keys.begin(), keys.end());
    for (int& key : second) {
        if (key != 0 && (!KeyRefusal(key).empty() || !seen.insert(key).second)) key = 0;
    }
}

bool buttonsUsable(const std::array<int, kActionCount>& buttons) {
    std::set<int> seen;
    for (int button : buttons) {
        if (!PadButtonRefusal(button).empty() || !seen.insert(button).second) return false;
    }
    return true;
}

} // namespace

int ActionGameKey(Action action) {
    return info(action).gameKey;
}

const char* ActionName(Action action) {
    return info(action).name;
}

int ActionDefaultPadButton(Action action) {
    return info(action).padButton;
}

std::array<int, kActionCount> tSettings::defaultKeys() {
    std::array<int, kActionCount> keys{};
    for (int a = 0; a < kActionCount; ++a)
        keys[static_cast<std::size_t>(a)] = kActions[a].gameKey;
    return keys;
}

std::array<int, kActionCount> tSettings::defaultSecondKeys() {
    std::array<int, kActionCount> keys{};
    for (int a = 0; a < kActionCount; ++a)
        keys[static_cast<std::size_t>(a)] = kActions[a].secondKey;
    return keys;
}

std::array<int, kActionCount> tSettings::defaultPadButtons() {
    std::array<int, kActionCount> buttons{};
    for (int a = 0; a < kActionCount; ++a)
        buttons[static_cast<std::size_t>(a)] = kActions[a].padButton;
    return buttons;
}

void tSettings::keepInLimits() {
    musicVolume = std::clamp(musicVolume, 0, 100);
    effectsVolume = std::clamp(effectsVolume, 0, 100);
    if (!keysUsable(keys)) keys = defaultKeys();
    dropUnusableSecondKeys(keys, secondKeys);
    if (!buttonsUsable(padButtons)) padButtons = defaultPadButtons();
}

std::vector<std::pair<std::string, std::string>> tSettings::entries() const {
    std::vector<std::pair<std::string, std::string>> lines = {
        {"music_volume", std::to_string(musicVolume)},
        {"effects_volume", std::to_string(effectsVolume)},
        {"fullscreen", yesNo(fullscreen)},
        {"scaling", fillScaling ? "fill" : "whole"},
        {"vsync", yesNo(vsync)},
    };
    for (int a = 0; a < kActionCount; ++a)
        lines.emplace_back(std::string("key_") + kActions[a].entry,
                           KeyName(keys[static_cast<std::size_t>(a)]));
    for (int a = 0; a < kActionCount; ++a) {
        const int second = secondKeys[static_cast<std::size_t>(a)];
        lines.emplace_back(std::string("key2_") + kActions[a].entry, second == 0 ? kNoKey : KeyName(second));
    }
    for (int a = 0; a < kActionCount; ++a)
        lines.emplace_back(std::string("pad_") + kActions[a].entry,
                           PadButtonName(padButtons[static_cast<std::size_t>(a)]));
    lines.emplace_back("pause_on_focus_loss", yesNo(pauseOnFocusLoss));
    lines.emplace_back("screen_shake", shakeName(shake));
    lines.emplace_back("hit_flashes", yesNo(hitFlashes));
    lines.emplace_back("pad_rumble", yesNo(padRumble));
    lines.emplace_back("language", language.empty() ? "system" : language);
    return lines;
}

bool tSettings::read(const std::string& name, const std::string& value) {
    if (name == "music_volume") return readPercent(value, musicVolume);
    if (name == "effects_volume") return readPercent(value, effectsVolume);
    if (name == "fullscreen") return readYesNo(value, fullscreen);
    if (name == "vsync") return readYesNo(value, vsync);
    if (name == "pause_on_focus_loss") return readYesNo(value, pauseOnFocusLoss);
    if (name == "hit_flashes") return readYesNo(value, hitFlashes);
    if (name == "pad_rumble") return readYesNo(value, padRumble);
    if (name == "language") {
        // A language this build does not know (a newer one's) reads as the system's.
        if (value != "system" && !KnownLanguage(value)) return false;
        language = value == "system" ? "" : value;
        return true;
    }
    if (name == "scaling") {
        if (value != "fill" && value != "whole") return false;
        fillScaling = value == "fill";
        return true;
    }
    if (name == "screen_shake") {
        for (ShakeLevel level : {ShakeLevel::Full, ShakeLevel::Reduced, ShakeLevel::Off}) {
            if (value == shakeName(level)) {
                shake = level;
                return true;
            }
        }
        return false;
    }
    for (int a = 0; a < kActionCount; ++a) {
        if (name == std::string("key_") + kActions[a].entry) {
            const int key = KeyFromName(value);
            if (key == 0) return false;
            keys[static_cast<std::size_t>(a)] = key;
            return true;
        }
        if (name == std::string("key2_") + kActions[a].entry) {
            const int key = value == kNoKey ? 0 : KeyFromName(value);
            if (key == 0 && value != kNoKey) return false;
            secondKeys[static_cast<std::size_t>(a)] = key;
            return true;
        }
        if (name == std::string("pad_") + kActions[a].entry) {
            const int button = PadButtonFromName(value);
            if (button < 0) return false;
            padButtons[static_cast<std::size_t>(a)] = button;
            return true;
        }
    }
    return false;
}

int KeyFromName(const std::string& name) {
    if (name.empty()) return 0;
    for (int key = 1; key < 256; ++key) {
        if (KeyName(key) == name) return key;
    }
    return 0;
}

int PadButtonFromName(const std::string& name) {
    if (name.empty()) return -1;
    for (int button = 0; button < PAD_BUTTON_COUNT; ++button) {
        if (PadButtonName(button) == name) return button;
    }
    return -1;
}
