#pragma once
#include <string>

#include "settings/settings.h"

// Puts the settings into effect at once: the mixer's volumes, the window, the mapping of keys and pad
// buttons, and the comfort settings the game's objects read.
void ApplySettings(const tSettings& settings);
// Only the settings that change the game itself, not its picture or sound (pause on focus loss, the
// shake, which moves the camera): what a watched session takes from its recording.
void ApplyGameSettings(const tSettings& settings);
// What a watched session's settings change: the game and what it draws of itself (the hit flashes),
// never the viewer's window, mixer, keys, pads or files.
void ApplyWatchedSettings(const tSettings& settings);

// The language the game speaks: VEVU_LANGUAGE when it is set (tests choose with it), else the one chosen
// among the options, else the system's.
std::string ChosenLanguage(const tSettings& settings);

// The mixer's gain for a volume in percent: the square of its share, so that each step sounds about as
// much quieter as the last (50 % is a quarter of the amplitude, about 12 dB down). 0 is silence, 100 the
// sound as recorded; values outside 0-100 count as the nearer end.
float VolumeGain(int percent);
// How much of each screen shake is shown: all, 40 % of its reach, or none.
float ShakeScale(ShakeLevel level);
