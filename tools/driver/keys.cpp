#include "driver/keys.h"

#include "engine/keyboard.h"

namespace {
std::vector<KeyEvent>* listener = nullptr;
}

void giveKey(KeyEvent event) {
    switch (event.kind) {
    case KeyEvent::Down:
        InjectKeyDown(event.code);
        break;
    case KeyEvent::Up:
        InjectKeyUp(event.code);
        break;
    case KeyEvent::Tap:
        InjectKeyTap(event.code);
        break;
    case KeyEvent::Char:
        InjectChar(event.code);
        break;
    }
    if (listener) listener->push_back(event);
}

void keyDown(int key) {
    giveKey({KeyEvent::Down, static_cast<std::uint8_t>(key)});
}
void keyUp(int key) {
    giveKey({KeyEvent::Up, static_cast<std::uint8_t>(key)});
}
void keyTap(int key) {
    giveKey({KeyEvent::Tap, static_cast<std::uint8_t>(key)});
}
void typeChar(int character) {
    giveKey({KeyEvent::Char, static_cast<std::uint8_t>(character)});
}

void listenToKeys(std::vector<KeyEvent>* log) {
    listener = log;
}
