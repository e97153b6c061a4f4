#pragma once
#include <string>

#include "settings/settings.h"

// Binding keys and pad buttons to the game's actions, and handing the bindings to the engine, which maps
// the keys and buttons to the game's own keys: the rules, and the keys tests and replays inject, never
// learn of them.

struct BindOutcome {
    enum class Result { Bound, Unchanged, Swapped, Refused };
    Result result = Result::Unchanged;
    std::string message; // one line for the options screen
};

// Why a key or a button cannot be bound to any action ("" when it can): a key the window keeps for
// itself, a button the system keeps, a code no key or button makes.
std::string KeyRefusal(int key);
std::string PadButtonRefusal(int button);

// An action's first key or its second.
enum class KeySlot { First, Second };

// Binds the key to the action, as its first key or its second. A key another action has is swapped: that
// action takes the key this one had in that place. An action never loses its last key: one left without
// a first key moves its second up, and an action's only key cannot be taken as a second key elsewhere. A
// second key given the action's own first key is dropped. A refused key changes nothing.
BindOutcome BindKey(tSettings& settings, Action action, int key, KeySlot slot = KeySlot::First);
BindOutcome BindPadButton(tSettings& settings, Action action, int button);

// Every action's key and button back to the defaults.
void RestoreDefaultControls(tSettings& settings);

// Tells the engine: each bound key and button holds its action's own key; an action's own key, when
// bound elsewhere, holds nothing (Z no longer fires once Fire is on Space).
void ApplyBindings(const tSettings& settings);
// The key on the keyboard that holds gameKey under these bindings once applied (the first key bound), or 0.
int KeyBoundTo(const tSettings& settings, int gameKey);
// The key the game's hints name for gameKey: the engine's, or in a session watched, the session's own
// (its bindings are never handed to the engine, whose keys stay the viewer's).
int HintKey(int gameKey);
