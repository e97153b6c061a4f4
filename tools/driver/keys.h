#pragma once
// The keys a player made of code gives the game. They reach the game as the window would deliver them
// (InjectKey*), and while a recorder listens each one is also written down in the order it was given,
// so that a replay can give the very same keys again.
#include <vector>

#include "engine/pass_input.h"

// The keys of a recording are the engine's input events.
using KeyEvent = InputEvent;

void keyDown(int key);
void keyUp(int key);
void keyTap(int key);
void typeChar(int character);
// Gives one written-down key to the game again (and to the listener, if any).
void giveKey(KeyEvent event);
// Every key given from now on is appended to log (null: nobody listens).
void listenToKeys(std::vector<KeyEvent>* log);
// On: keys go into the window's event queue, as a player's would (the game reads them at its next pass,
// through the engine's recorder when one records); off: straight into the key state.
void sendKeysThroughWindow(bool on);
// SDL's keycode of the key labelled as the game's key (letters, digits, the arrows, Enter, Esc, Space,
// Tab, Backspace); SDLK_UNKNOWN for any other.
int SdlKeycodeOf(int key);
