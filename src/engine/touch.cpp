#include "engine/touch.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "engine/input_device.h"
#include "engine/keyboard.h"
#include "engine/platform.h"

namespace {

struct Finger {
    int id = 0;
    TouchTarget landedOn = TouchTarget::Nothing;
    TouchTarget over = TouchTarget::Nothing;
    float x = 0, y = 0;
};

// Ten fingers are two hands; a screen reporting more gets the extra ones ignored.
constexpr std::size_t kMaxFingers = 10;
constexpr int kTouchKeys[] = {KEY_LEFT, KEY_RIGHT, KEY_UP, KEY_DOWN, KEY_Z, KEY_X, KEY_C, KEY_P, KEY_ESCAPE};

std::vector<Finger> fingers;
std::array<bool, std::size(kTouchKeys)> heldNow{};

int buttonKey(TouchTarget target) {
    switch (target) {
    case TouchTarget::Fire:
        return KEY_Z;
    case TouchTarget::Beam:
        return KEY_X;
    case TouchTarget::Select:
        return KEY_C;
    case TouchTarget::Pause:
        return KEY_P;
    case TouchTarget::Back:
        return KEY_ESCAPE;
    default:
        return 0;
    }
}

// The pad's eight directions each cover an eighth of the circle: a finger 30 degrees off the right
// arrow holds Right and Up together.
bool padHolds(float x, float y, int key) {
    if (!std::isfinite(x) || !std::isfinite(y)) return false;
    // Not std::hypot: its float version asks for a C library from 2022, too new for the Linux folders.
    const float reach = std::sqrt(x * x + y * y);
    if (reach < TOUCH_PAD_DEAD_ZONE) return false;
    const float share = 0.3827f * reach; // sin 22.5 degrees
    switch (key) {
    case KEY_LEFT:
        return x < -share;
    case KEY_RIGHT:
        return x > share;
    case KEY_UP:
        return y < -share;
    case KEY_DOWN:
        return y > share;
    default:
        return false;
    }
}

bool fingerHolds(const Finger& finger, int key) {
    if (finger.over != finger.landedOn) return false; // slid off its control
    if (finger.landedOn == TouchTarget::DirectionPad) return padHolds(finger.x, finger.y, key);
    return key != 0 && buttonKey(finger.landedOn) == key;
}

// Tells the key state about every key whose hold by touch changed; returns the keys newly held.
std::vector<int> applyHolds() {
    std::vector<int> taken;
    for (std::size_t k = 0; k < std::size(kTouchKeys); ++k) {
        const int key = kTouchKeys[k];
        const bool held = std::any_of(fingers.begin(), fingers.end(),
                                      [key](const Finger& f) { return fingerHolds(f, key); });
        if (held == heldNow[k]) continue;
        heldNow[k] = held;
        engine_detail::SetKeyHeldBy(engine_detail::kTouchSource, key, held);
        if (held) taken.push_back(key);
    }
    return taken;
}

Finger* fingerOf(int id) {
    auto found = std::find_if(fingers.begin(), fingers.end(), [id](const Finger& f) { return f.id == id; });
    return found == fingers.end() ? nullptr : &*found;
}

} // namespace

namespace engine_detail {

void TouchLand(int finger, TouchTarget target, float x, float y) {
    if (fingerOf(finger)) TouchLift(finger); // the browser reused a finger we missed the end of
    if (fingers.size() >= kMaxFingers) return;
    fingers.push_back({finger, target, target, x, y});
    NoteTouchUsed();
    const std::vector<int> taken = applyHolds();
    // As with a pad's button, a control typing a character lets any touch end the intro and the outro.
    if (target == TouchTarget::Picture) TypeKeyChar(0);
    for (int key : taken)
        TypeKeyChar(key);
}

void TouchSlide(int finger, TouchTarget target, float x, float y) {
    Finger* f = fingerOf(finger);
    if (!f) return;
    f->over = target;
    f->x = x;
    f->y = y;
    applyHolds();
}

void TouchLift(int finger) {
    fingers.erase(
        std::remove_if(fingers.begin(), fingers.end(), [finger](const Finger& f) { return f.id == finger; }),
        fingers.end());
    applyHolds();
}

void ReleaseTouches() {
    fingers.clear();
    applyHolds();
}

int TouchCount() {
    return static_cast<int>(fingers.size());
}

} // namespace engine_detail
