#pragma once
#include <array>
#include <string>
#include <utility>
#include <vector>

// The player's settings: volumes, display, controls and comfort. The defaults leave the game exactly as
// its rules describe it (640x480 in a window, whole-number scaling, the keys of the rules).

// The game's actions a player binds to keys and pad buttons, in the order the options screen lists them.
enum class Action : int { Left, Right, Up, Down, Fire, Beam, Select, Pause, Back };
constexpr int kActionCount = 9;

// The game's own key for an action (the key the rules read: Fire is Z, Back is Esc).
int ActionGameKey(Action action);
// The action's name as the options screen shows it: "Left", "Fire", "Back".
const char* ActionName(Action action);
// The pad button an action has by default (an SDL_GameControllerButton).
int ActionDefaultPadButton(Action action);

enum class ShakeLevel : int { Full, Reduced, Off };

struct tSettings {
    static constexpr int kVolumeStep = 10; // percent per press on the options screen

    int musicVolume = 100; // percent, 0 to 100
    int effectsVolume = 100;
    bool fullscreen = false;
    bool fillScaling = false; // false: whole-number scaling
    bool vsync = true;
    // Per action: the key on the keyboard (the engine's key code) and the pad button bound to it.
    std::array<int, kActionCount> keys = defaultKeys();
    // Per action: a second key that does the same, or 0 for none (WASD beside the arrows).
    std::array<int, kActionCount> secondKeys = defaultSecondKeys();
    std::array<int, kActionCount> padButtons = defaultPadButtons();
    bool pauseOnFocusLoss = true;
    ShakeLevel shake = ShakeLevel::Full;
    bool hitFlashes = true;
    bool padRumble = true;
    std::string language; // a language's code ("de", "pt_BR"), or empty to speak the system's

    static std::array<int, kActionCount> defaultKeys();
    static std::array<int, kActionCount> defaultSecondKeys();
    static std::array<int, kActionCount> defaultPadButtons();

    int& key(Action action) { return keys[static_cast<std::size_t>(action)]; }
    int key(Action action) const { return keys[static_cast<std::size_t>(action)]; }
    int& secondKey(Action action) { return secondKeys[static_cast<std::size_t>(action)]; }
    int secondKey(Action action) const { return secondKeys[static_cast<std::size_t>(action)]; }
    int& padButton(Action action) { return padButtons[static_cast<std::size_t>(action)]; }
    int padButton(Action action) const { return padButtons[static_cast<std::size_t>(action)]; }

    // Volumes kept within 0 to 100; a set of keys or of buttons that binds one key twice, or a key the
    // game cannot use, goes back to the defaults as a whole (a hand-edited file cannot leave an action
    // unreachable). A second key that is unusable or already bound is dropped alone: a file written
    // before second keys, with W bound to Fire, keeps its keys and Up keeps only its arrow.
    void keepInLimits();
    bool controlsAreDefault() const {
        return keys == defaultKeys() && secondKeys == defaultSecondKeys() &&
               padButtons == defaultPadButtons();
    }

    // The settings as `name = value` lines, in the file's order, values a person can read and edit
    // ("yes", "fill", "Space", "D-pad left").
    std::vector<std::pair<std::string, std::string>> entries() const;
    // Takes one entry; false when the name is not a setting or the value is not one it can have (the
    // setting keeps its value). keepInLimits afterwards settles the controls as a whole.
    bool read(const std::string& name, const std::string& value);

    bool operator==(const tSettings&) const = default;
};

// The key on the keyboard a name from KeyName stands for, or 0.
int KeyFromName(const std::string& name);
// The pad button a name from PadButtonName stands for, or -1.
int PadButtonFromName(const std::string& name);
