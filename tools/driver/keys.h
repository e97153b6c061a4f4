#pragma once
// The keys a player made of code gives the game: straight into the key state, or through the window's
// event queue as a player's keys come (what the engine's recorder writes down).

#include "engine/pass_input.h"

// The keys of a recording are the engine's input events.
using KeyEvent = InputEvent;

void keyDown(int key);
void keyUp(int key);
void keyTap(int key);
// Gives one input event to the game.
void giveKey(KeyEvent event);
// On: keys go into the window's event queue, as a player's would (the game reads them at its next pass,
// through the engine's recorder when one records); off: straight into the key state.
void sendKeysThroughWindow(bool on);
// SDL's keycode of the key labelled as the game's key (letters, digits, the arrows, Enter, Esc, Space,
// Tab, Backspace); SDLK_UNKNOWN for any other.
int SdlKeycodeOf(int key);
