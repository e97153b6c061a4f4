#include "settings/apply.h"

#include <algorithm>
#include <cstdlib>

#include "engine/engine.h"
#include "engine/touch.h"
#include "engine/words.h"
#include "entities/onscreen_object.h"
#include "game/program.h"
#include "hud/shake.h"
#include "player/foo.h"
#include "settings/bindings.h"

float VolumeGain(int percent) {
    const float share = static_cast<float>(std::clamp(percent, 0, 100)) / 100.0f;
    return share * share;
}

float ShakeScale(ShakeLevel level) {
    switch (level) {
    case ShakeLevel::Reduced:
        return 0.4f;
    case ShakeLevel::Off:
        return 0.0f;
    default:
        return 1.0f;
    }
}

std::string PageKeysLine(const tSettings& s) {
    const auto name = [&s](Action action) { return KeyName(s.key(action)); };
    const bool arrows = s.key(Action::Left) == KEY_LEFT && s.key(Action::Right) == KEY_RIGHT &&
                        s.key(Action::Up) == KEY_UP && s.key(Action::Down) == KEY_DOWN;
    const std::string dot = " \u00B7 ";
    const std::string move =
        arrows ? "Arrows" : name(Action::Left) + "/" + name(Action::Right) + "/" + name(Action::Up) + "/" + name(Action::Down);
    return move + " move" + dot + name(Action::Fire) + " fire" + dot + name(Action::Beam) + " beam, shield, upgrades" +
           dot + name(Action::Select) + " select" + dot + name(Action::Pause) + " pause" + dot + name(Action::Back) +
           " quit (asks first)" + dot + "options: " + name(Action::Pause) + " on the map, " + name(Action::Select) +
           " in the pause" + dot + "pads work too";
}

void ApplyGameSettings(const tSettings& settings) {
    tProgram::pauseOnFocusLoss = settings.pauseOnFocusLoss;
    tShake::scale = ShakeScale(settings.shake);
}

void ApplyWatchedSettings(const tSettings& settings) {
    ApplyGameSettings(settings);
    tOnscreenObject::flashesShown = settings.hitFlashes;
}

std::string ChosenLanguage(const tSettings& settings) {
    const char* forced = std::getenv("VEVU_LANGUAGE");
    if (forced && *forced) return forced;
    return settings.language.empty() ? SystemLanguage() : settings.language;
}

void ApplySettings(const tSettings& settings) {
    // A language that cannot be spoken is told once, not again at every change of another setting.
    static std::string refused;
    if (const std::string language = ChosenLanguage(settings); language != CurrentLanguage() && language != refused)
        refused = SetLanguage(language) ? "" : language;
    SetMusicVolume(VolumeGain(settings.musicVolume));
    SetEffectsVolume(VolumeGain(settings.effectsVolume));
    if (Fullscreen() != settings.fullscreen) SetFullscreen(settings.fullscreen);
    SetFillScaling(settings.fillScaling);
    SetVSync(settings.vsync);
    ApplyBindings(settings);
    ApplyWatchedSettings(settings);
    tFoo::rumbleWhenHurt = settings.padRumble;
    SetPageKeysLine(PageKeysLine(settings));
    // The touch buttons name the key that does what they do, for a player with a keyboard too.
    const std::pair<TouchTarget, Action> buttons[] = {{TouchTarget::Fire, Action::Fire},
                                                      {TouchTarget::Beam, Action::Beam},
                                                      {TouchTarget::Select, Action::Select},
                                                      {TouchTarget::Pause, Action::Pause},
                                                      {TouchTarget::Back, Action::Back}};
    for (const auto& [target, action] : buttons)
        SetPageTouchKeyName(static_cast<int>(target), KeyName(settings.key(action)));
}
