#pragma once

// On-screen touch controls (the web page on a touch screen): a direction pad, five buttons and the
// picture itself. They hold and press the same keys as the keyboard and the pads, so the game reads
// them through KeyHeld, KeyPressCount and NextChar and never learns of touch.
//
// Each finger belongs to the control it landed on. It holds that control's keys while it stays on it
// (on the direction pad, the arrows of the part under it) and nothing once it slides off, so a finger
// sliding from one button onto another presses neither. A key counts one press when the first finger
// takes hold of it: a second finger on a held button presses nothing more. Landing on a control also
// types a character, as a pad button does, so any touch ends the intro and the outro.

enum class TouchTarget : int {
    Nothing = 0,
    DirectionPad = 1, // the arrows: which ones depends on where the finger is on the pad
    Fire = 2,         // Z
    Beam = 3,         // X
    Select = 4,       // C
    Pause = 5,        // P
    Back = 6,         // Esc
    Picture = 7,      // holds no key; a finger landing on it types a space
};

// The direction pad's share of its radius, from the centre, that holds no arrow.
constexpr float TOUCH_PAD_DEAD_ZONE = 0.25f;

namespace engine_detail {

// A finger lands on target; (x, y) is where on it, from its centre, in halves of its width and height
// (-1 left or top edge, 1 right or bottom edge). Only the direction pad reads the place.
void TouchLand(int finger, TouchTarget target, float x, float y);
// The finger moved and is now over target at (x, y).
void TouchSlide(int finger, TouchTarget target, float x, float y);
void TouchLift(int finger);
// Every finger lifted at once (the browser took the touches away, or the page covered the controls).
void ReleaseTouches();
// Fingers on the screen now.
int TouchCount();

} // namespace engine_detail
