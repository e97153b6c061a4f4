#pragma once
// The keys a player made of code gives the game. They reach the game as the window would deliver them
// (InjectKey*), and while a recorder listens each one is also written down in the order it was given,
// so that a replay can give the very same keys again.
#include <cstdint>
#include <vector>

struct KeyEvent {
    enum Kind : std::uint8_t { Down, Up, Tap, Char };
    Kind kind = Down;
    std::uint8_t code = 0; // a virtual-key code, or the character typed
    bool operator==(const KeyEvent&) const = default;
};

void keyDown(int key);
void keyUp(int key);
void keyTap(int key);
void typeChar(int character);
// Gives one written-down key to the game again (and to the listener, if any).
void giveKey(KeyEvent event);
// Every key given from now on is appended to log (null: nobody listens).
void listenToKeys(std::vector<KeyEvent>* log);
