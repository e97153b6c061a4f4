#include "settings/apply.h"

#include <algorithm>
#include <cstdlib>

#include "engine/engine.h"
#include "engine/words.h"
#include "entities/onscreen_object.h"
#include "game/program.h"
#include "hud/shake.h"
#include "player/foo.h"
#include "settings/bindings.h"
#include "settings/page_lines.h"

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
    if (const std::string language = ChosenLanguage(settings);
        language != CurrentLanguage() && language != refused)
        refused = SetLanguage(language) ? "" : language;
    SetMusicVolume(VolumeGain(settings.musicVolume));
    SetEffectsVolume(VolumeGain(settings.effectsVolume));
    if (Fullscreen() != settings.fullscreen) SetFullscreen(settings.fullscreen);
    SetFillScaling(settings.fillScaling);
    SetVSync(settings.vsync);
    ApplyBindings(settings);
    ApplyWatchedSettings(settings);
    tFoo::rumbleWhenHurt = settings.padRumble;
    // The page under the picture names the keys bound, in the language now spoken.
    SetPageLines(PageLines(settings));
}
