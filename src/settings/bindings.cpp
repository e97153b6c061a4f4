#include "settings/bindings.h"

#include <SDL.h>

#include <utility>

#include "engine/engine.h"
#include "game/program.h"

namespace {

int findAction(const std::array<int, kActionCount>& bound, int code) {
    for (int a = 0; a < kActionCount; ++a) {
        if (bound[static_cast<std::size_t>(a)] == code) return a;
    }
    return -1;
}

// The shared rule of keys and buttons: refuse, leave alone, bind, or swap with the action that has it.
template <class Name>
BindOutcome bindTo(std::array<int, kActionCount>& bound, Action action, int code, const std::string& refusal,
                   Name&& name) {
    BindOutcome outcome;
    const std::size_t mine = static_cast<std::size_t>(action);
    if (!refusal.empty()) {
        outcome.result = BindOutcome::Result::Refused;
        outcome.message = refusal;
        return outcome;
    }
    if (bound[mine] == code) {
        outcome.result = BindOutcome::Result::Unchanged;
        outcome.message = std::string(ActionName(action)) + " stays on " + name(code) + ".";
        return outcome;
    }
    const int other = findAction(bound, code);
    if (other >= 0) {
        const std::size_t theirs = static_cast<std::size_t>(other);
        bound[theirs] = bound[mine];
        bound[mine] = code;
        outcome.result = BindOutcome::Result::Swapped;
        outcome.message = std::string(ActionName(action)) + " is now " + name(code) + "; " +
                          ActionName(static_cast<Action>(other)) + " takes " + name(bound[theirs]) + ".";
        return outcome;
    }
    bound[mine] = code;
    outcome.result = BindOutcome::Result::Bound;
    outcome.message = std::string(ActionName(action)) + " is now " + name(code) + ".";
    return outcome;
}

} // namespace

std::string KeyRefusal(int key) {
    if (KeyName(key).empty()) return "That key cannot be used: choose another.";
    if (key == KEY_F1 + 10) return "F11 switches fullscreen: choose another key.";
    return "";
}

std::string PadButtonRefusal(int button) {
    if (PadButtonName(button).empty()) return "That button cannot be used: choose another.";
    if (button == SDL_CONTROLLER_BUTTON_GUIDE)
        return "The Guide button belongs to the system: choose another.";
    return "";
}

namespace {

// An action's keys as a message names them: "Left", or "Left or A".
std::string keysOf(const tSettings& settings, Action action) {
    const int second = settings.secondKey(action);
    return KeyName(settings.key(action)) + (second != 0 ? " or " + KeyName(second) : "");
}

// The place of a key among every action's first and second keys, or null.
int* findKey(tSettings& settings, int key, Action& holder) {
    for (int a = 0; a < kActionCount; ++a) {
        holder = static_cast<Action>(a);
        if (settings.key(holder) == key) return &settings.key(holder);
        if (settings.secondKey(holder) == key) return &settings.secondKey(holder);
    }
    return nullptr;
}

} // namespace

BindOutcome BindKey(tSettings& settings, Action action, int key, KeySlot slot) {
    BindOutcome outcome;
    const std::string refusal = KeyRefusal(key);
    if (!refusal.empty()) {
        outcome.result = BindOutcome::Result::Refused;
        outcome.message = refusal;
        return outcome;
    }
    int& mine = slot == KeySlot::First ? settings.key(action) : settings.secondKey(action);
    const std::string name = ActionName(action);
    if (mine == key) {
        outcome.result = BindOutcome::Result::Unchanged;
        outcome.message = name + " stays on " + KeyName(key) + ".";
        return outcome;
    }
    if (slot == KeySlot::Second && settings.key(action) == key) {
        mine = 0; // its own first key again: one key is enough
        outcome.result = BindOutcome::Result::Bound;
        outcome.message = name + " is now " + keysOf(settings, action) + ".";
        return outcome;
    }
    Action other = action;
    int* theirs = findKey(settings, key, other);
    if (!theirs) {
        mine = key;
        outcome.result = BindOutcome::Result::Bound;
        outcome.message = name + " is now " + keysOf(settings, action) + ".";
        return outcome;
    }
    const int given = mine;
    if (given == 0 && theirs == &settings.key(other)) {
        if (settings.secondKey(other) == 0) {
            outcome.result = BindOutcome::Result::Refused;
            outcome.message = std::string(ActionName(other)) + " has no other key: choose another.";
            return outcome;
        }
        *theirs = std::exchange(settings.secondKey(other), 0);
    } else {
        *theirs = given;
    }
    mine = key;
    outcome.result = BindOutcome::Result::Swapped;
    outcome.message = name + " is now " + keysOf(settings, action) + ".";
    if (other != action) {
        outcome.message.pop_back();
        outcome.message += std::string("; ") + ActionName(other) + (given != 0 ? " takes " : " keeps ") +
                           keysOf(settings, other) + ".";
    }
    return outcome;
}

BindOutcome BindPadButton(tSettings& settings, Action action, int button) {
    return bindTo(settings.padButtons, action, button, PadButtonRefusal(button),
                  [](int b) { return PadButtonName(b); });
}

void RestoreDefaultControls(tSettings& settings) {
    settings.keys = tSettings::defaultKeys();
    settings.secondKeys = tSettings::defaultSecondKeys();
    settings.padButtons = tSettings::defaultPadButtons();
}

int KeyBoundTo(const tSettings& settings, int gameKey) {
    for (int a = 0; a < kActionCount; ++a) {
        if (ActionGameKey(static_cast<Action>(a)) == gameKey) return settings.key(static_cast<Action>(a));
    }
    for (int a = 0; a < kActionCount; ++a) {
        const Action action = static_cast<Action>(a);
        if (settings.key(action) == gameKey || settings.secondKey(action) == gameKey)
            return 0; // it holds that action's key instead
    }
    return gameKey;
}

int HintKey(int gameKey) {
    if (theProgram && theProgram->watched && theProgram->settings)
        return KeyBoundTo(*theProgram->settings, gameKey);
    return KeyHolding(gameKey);
}

void ApplyBindings(const tSettings& settings) {
    ResetKeyMap();
    for (int a = 0; a < kActionCount; ++a)
        MapKey(ActionGameKey(static_cast<Action>(a)), 0);
    for (int a = 0; a < kActionCount; ++a)
        MapKey(settings.key(static_cast<Action>(a)), ActionGameKey(static_cast<Action>(a)));
    // After the first keys, so that the engine names the first key of an action before its second.
    for (int a = 0; a < kActionCount; ++a)
        MapKey(settings.secondKey(static_cast<Action>(a)), ActionGameKey(static_cast<Action>(a)));
    for (int button = 0; button < PAD_BUTTON_COUNT; ++button)
        MapPadButton(button, 0);
    for (int a = 0; a < kActionCount; ++a)
        MapPadButton(settings.padButton(static_cast<Action>(a)), ActionGameKey(static_cast<Action>(a)));
}
