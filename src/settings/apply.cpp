#include "settings/apply.h"

#include <algorithm>

#include "engine/engine.h"
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

void ApplySettings(const tSettings& settings) {
    SetMusicVolume(VolumeGain(settings.musicVolume));
    SetEffectsVolume(VolumeGain(settings.effectsVolume));
    if (Fullscreen() != settings.fullscreen) SetFullscreen(settings.fullscreen);
    SetFillScaling(settings.fillScaling);
    SetVSync(settings.vsync);
    ApplyBindings(settings);
    tProgram::pauseOnFocusLoss = settings.pauseOnFocusLoss;
    tShake::scale = ShakeScale(settings.shake);
    tOnscreenObject::flashesShown = settings.hitFlashes;
    tFoo::rumbleWhenHurt = settings.padRumble;
}
