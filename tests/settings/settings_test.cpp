#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "engine/engine.h"
#include "engine/platform.h"
#include "hud/shake.h"
#include "settings/apply.h"
#include "settings/bindings.h"
#include "settings/page_lines.h"
#include "settings/prompts.h"
#include "settings/settings.h"

namespace {
void sendKey(Uint32 type, SDL_Keycode code) {
    SDL_Event event;
    std::memset(&event, 0, sizeof(event));
    event.type = type;
    event.key.keysym.sym = code;
    engine_detail::HandleKeyboardEvent(event);
}

class SettingsInEngine : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(InitHeadless()); }
    void TearDown() override {
        ApplySettings(tSettings{});
        ShutdownEngine();
    }
};
} // namespace

TEST(Settings, DefaultsAreTheGameAsItCameAndTheFileReadsBackTheSame) {
    const tSettings defaults;
    EXPECT_EQ(defaults.musicVolume, 100);
    EXPECT_EQ(defaults.effectsVolume, 100);
    EXPECT_FALSE(defaults.fullscreen);
    EXPECT_FALSE(defaults.fillScaling);
    EXPECT_TRUE(defaults.vsync);
    EXPECT_TRUE(defaults.pauseOnFocusLoss);
    EXPECT_EQ(defaults.shake, ShakeLevel::Full);
    EXPECT_TRUE(defaults.hitFlashes);
    EXPECT_TRUE(defaults.padRumble);
    EXPECT_TRUE(defaults.controlsAreDefault());
    EXPECT_EQ(defaults.key(Action::Fire), KEY_Z);
    EXPECT_EQ(defaults.key(Action::Back), KEY_ESCAPE);
    EXPECT_EQ(defaults.padButton(Action::Pause), SDL_CONTROLLER_BUTTON_START);

    std::map<std::string, std::string> lines;
    for (const auto& [name, value] : defaults.entries())
        lines[name] = value;
    EXPECT_EQ(lines.size(), 37u);
    EXPECT_EQ(lines["key2_up"], "W");
    EXPECT_EQ(lines["key2_fire"], "none");
    EXPECT_EQ(lines["language"], "system");
    EXPECT_EQ(lines["music_volume"], "100");
    EXPECT_EQ(lines["scaling"], "whole");
    EXPECT_EQ(lines["key_left"], "Left");
    EXPECT_EQ(lines["pad_left"], "D-pad left");
    EXPECT_EQ(lines["screen_shake"], "full");

    tSettings changed;
    changed.musicVolume = 0;
    changed.fillScaling = true;
    changed.shake = ShakeLevel::Reduced;
    changed.hitFlashes = false;
    changed.language = "pt_BR";
    changed.key(Action::Fire) = KEY_SPACE;
    changed.key(Action::Beam) = KEY_NUM0 + 4;
    changed.secondKey(Action::Left) = 0;
    changed.secondKey(Action::Fire) = KEY_ENTER;
    changed.padButton(Action::Fire) = SDL_CONTROLLER_BUTTON_RIGHTSHOULDER;
    tSettings read;
    for (const auto& [name, value] : changed.entries())
        EXPECT_TRUE(read.read(name, value)) << name << " = " << value;
    read.keepInLimits();
    EXPECT_EQ(read, changed);
}

TEST(Settings, ValuesOutsideTheirLimitsAreRefusedAndBadControlsFallBackAsAWhole) {
    tSettings s;
    EXPECT_FALSE(s.read("music_volume", "101"));
    EXPECT_FALSE(s.read("music_volume", "-5"));
    EXPECT_FALSE(s.read("music_volume", ""));
    EXPECT_FALSE(s.read("effects_volume", "50%"));
    EXPECT_FALSE(s.read("fullscreen", "maybe"));
    EXPECT_FALSE(s.read("scaling", "stretch"));
    EXPECT_FALSE(s.read("screen_shake", "FULL"));
    EXPECT_FALSE(s.read("key_fire", "Hyper"));
    EXPECT_FALSE(s.read("pad_fire", "Z"));
    EXPECT_FALSE(s.read("window_size", "800x600")); // an entry of another version: not ours
    EXPECT_FALSE(s.read("language", "tlh"));        // a language a newer version may speak
    EXPECT_EQ(s, tSettings{});
    EXPECT_TRUE(s.read("effects_volume", "0"));
    EXPECT_EQ(s.effectsVolume, 0);

    s.musicVolume = 250;
    s.keepInLimits();
    EXPECT_EQ(s.musicVolume, 100);

    // One key for two actions would leave one of them out of reach.
    EXPECT_TRUE(s.read("key_fire", "Space"));
    EXPECT_TRUE(s.read("key_beam", "Space"));
    EXPECT_TRUE(s.read("pad_select", "Guide"));
    s.keepInLimits();
    EXPECT_TRUE(s.controlsAreDefault());

    // A file from before second keys, with W on Fire, keeps its keys: only Up's second key W goes.
    tSettings old;
    EXPECT_TRUE(old.read("key_fire", "W"));
    old.keepInLimits();
    EXPECT_EQ(old.key(Action::Fire), KEY_W);
    EXPECT_EQ(old.secondKey(Action::Up), 0);
    EXPECT_EQ(old.secondKey(Action::Left), KEY_A);
    EXPECT_FALSE(old.read("key2_beam", "Hyper"));
    EXPECT_TRUE(old.read("key2_beam", "A")); // a second time: dropped alone
    EXPECT_TRUE(old.read("key2_select", "F11"));
    old.keepInLimits();
    EXPECT_EQ(old.secondKey(Action::Beam), 0);
    EXPECT_EQ(old.secondKey(Action::Select), 0);
    EXPECT_EQ(old.key(Action::Fire), KEY_W);
}

TEST(Bindings, AKeyInUseIsSwappedAndAKeyKeptElsewhereIsRefused) {
    tSettings s;
    BindOutcome out = BindKey(s, Action::Fire, KEY_SPACE);
    EXPECT_EQ(out.result, BindOutcome::Result::Bound);
    EXPECT_EQ(out.message, "Fire is now Space.");
    out = BindKey(s, Action::Beam, KEY_SPACE);
    EXPECT_EQ(out.result, BindOutcome::Result::Swapped);
    EXPECT_EQ(out.message, "Beam is now Space; Fire takes X.");
    EXPECT_EQ(s.key(Action::Beam), KEY_SPACE);
    EXPECT_EQ(s.key(Action::Fire), KEY_X);
    EXPECT_EQ(BindKey(s, Action::Fire, KEY_X).result, BindOutcome::Result::Unchanged);

    const tSettings before = s;
    out = BindKey(s, Action::Pause, KEY_F1 + 10);
    EXPECT_EQ(out.result, BindOutcome::Result::Refused);
    EXPECT_EQ(out.message, "F11 switches fullscreen: choose another key.");
    EXPECT_EQ(BindKey(s, Action::Pause, 0).result, BindOutcome::Result::Refused);
    EXPECT_EQ(BindPadButton(s, Action::Pause, SDL_CONTROLLER_BUTTON_GUIDE).result,
              BindOutcome::Result::Refused);
    EXPECT_EQ(BindPadButton(s, Action::Pause, PAD_BUTTON_COUNT).result, BindOutcome::Result::Refused);
    EXPECT_EQ(s, before);

    // Second keys: taken from another action's second, swapped within an action, dropped by the first key
    // again; an action's only key is never taken from it.
    out = BindKey(s, Action::Fire, KEY_W, KeySlot::Second);
    EXPECT_EQ(out.message, "Fire is now X or W; Up keeps Up.");
    EXPECT_EQ(s.secondKey(Action::Up), 0);
    out = BindKey(s, Action::Left, KEY_A);
    EXPECT_EQ(out.message, "Left is now A or Left.");
    EXPECT_EQ(BindKey(s, Action::Beam, KEY_P, KeySlot::Second).result, BindOutcome::Result::Refused);
    EXPECT_EQ(s.key(Action::Pause), KEY_P);
    out = BindKey(s, Action::Beam, KEY_A, KeySlot::Second);
    EXPECT_EQ(out.message, "Beam is now Space or A; Left keeps Left.")
        << "a first key left empty takes the second";
    EXPECT_EQ(s.key(Action::Left), KEY_LEFT);
    out = BindKey(s, Action::Fire, KEY_X, KeySlot::Second);
    EXPECT_EQ(out.message, "Fire is now X.");
    EXPECT_EQ(s.secondKey(Action::Fire), 0);

    out = BindPadButton(s, Action::Fire, SDL_CONTROLLER_BUTTON_B);
    EXPECT_EQ(out.message, "Fire is now B; Beam takes A.");
    RestoreDefaultControls(s);
    EXPECT_TRUE(s.controlsAreDefault());
}

// The engine maps the keys the player chose to the game's own: the rules read Z for Fire whatever key
// fires, and the key Fire left holds nothing.
TEST_F(SettingsInEngine, BoundKeysHoldTheActionsOwnKeys) {
    tSettings s;
    BindKey(s, Action::Fire, KEY_SPACE);
    BindKey(s, Action::Left, KEY_A);
    ApplySettings(s);
    sendKey(SDL_KEYDOWN, SDLK_SPACE);
    EXPECT_TRUE(KeyHeld(KEY_Z));
    EXPECT_FALSE(KeyHeld(KEY_SPACE));
    sendKey(SDL_KEYUP, SDLK_SPACE);
    EXPECT_FALSE(KeyHeld(KEY_Z));
    sendKey(SDL_KEYDOWN, SDLK_z);
    sendKey(SDL_KEYDOWN, SDLK_a);
    EXPECT_FALSE(KeyHeld(KEY_Z));
    EXPECT_TRUE(KeyHeld(KEY_LEFT));
    EXPECT_EQ(KeyHolding(KEY_Z), KEY_SPACE);
    EXPECT_EQ(KeyHolding(KEY_X), KEY_X);
    EXPECT_EQ(TakeKeyPressed(), KEY_A); // the key itself, for binding
    // A change of keys lets go of the held ones: the key-up will mean something else.
    ApplySettings(tSettings{});
    EXPECT_FALSE(KeyHeld(KEY_LEFT));
    sendKey(SDL_KEYUP, SDLK_a);
    EXPECT_EQ(KeyHolding(KEY_Z), KEY_Z);
    ClearKeys();
    InjectKeyTap(KEY_Z); // what tests and replays inject is the game's key, mapped or not
    EXPECT_EQ(KeyPressCount(KEY_Z), 1);

    BindPadButton(s, Action::Fire, SDL_CONTROLLER_BUTTON_X);
    ApplySettings(s);
    EXPECT_EQ(VirtualKeyFromPadButton(SDL_CONTROLLER_BUTTON_X), KEY_Z);
    EXPECT_EQ(VirtualKeyFromPadButton(SDL_CONTROLLER_BUTTON_A), 0);
    EXPECT_EQ(PadButtonHolding(KEY_Z), SDL_CONTROLLER_BUTTON_X);
}

TEST_F(SettingsInEngine, VolumesAndShakeFollowTheirCurves) {
    EXPECT_FLOAT_EQ(VolumeGain(100), 1.0f);
    EXPECT_FLOAT_EQ(VolumeGain(50), 0.25f);
    EXPECT_FLOAT_EQ(VolumeGain(10), 0.01f);
    EXPECT_FLOAT_EQ(VolumeGain(0), 0.0f);
    EXPECT_FLOAT_EQ(VolumeGain(140), 1.0f);
    tSettings s;
    s.musicVolume = 50;
    s.effectsVolume = 80;
    s.shake = ShakeLevel::Reduced;
    ApplySettings(s);
    EXPECT_FLOAT_EQ(MusicVolume(), 0.25f);
    EXPECT_FLOAT_EQ(EffectsVolume(), 0.64f);
    tShake::start(10, 500);
    EXPECT_FLOAT_EQ(tShake::magnitude, 4.0f);
    EXPECT_LE(std::abs(tShake::xOffset), 4.0f);
    s.shake = ShakeLevel::Off;
    ApplySettings(s);
    tShake::start(10, 500);
    EXPECT_EQ(tShake::xOffset, 0.0f);
    EXPECT_EQ(tShake::yOffset, 0.0f);
    tShake::endTime = 0;
}

// The page's lines name the keys and buttons bound, for the keyboard and for each pad's labels; the
// arrows and the d-pad show as one prompt where they move.
TEST(Settings, ThePagesLinesNameWhatIsBound) {
    const auto has = [](const std::string& text, const std::string& part) {
        return text.find(part) != std::string::npos;
    };
    const auto pad = [](const std::string& lines, int style) { // the style's set, up to the next one
        std::size_t at = lines.find("\"pads\":[");
        for (int s = 0; s <= style; ++s)
            at = lines.find("{\"keys\":", at + 1);
        return lines.substr(at, std::min(lines.find("{\"keys\":", at + 1), lines.find("\"touch\"")) - at);
    };
    std::string lines = PageLines(tSettings{});
    const std::string keyboard = lines.substr(0, lines.find("\"pads\""));
    EXPECT_TRUE(has(keyboard, "{\"prompts\":[{\"key\":\"Arrows\"}],\"words\":\"move\"}")) << lines;
    EXPECT_TRUE(has(keyboard, "{\"prompts\":[{\"key\":\"Z\"}],\"words\":\"fire\"}")) << lines;
    const int fire = ActionDefaultPadButton(Action::Fire);
    for (PadStyle style : {PadStyle::Xbox, PadStyle::PlayStation, PadStyle::Nintendo, PadStyle::Generic}) {
        const std::string set = pad(lines, static_cast<int>(style));
        EXPECT_FALSE(has(set, "\"key\"")) << set; // a pad shows pictures only
        EXPECT_TRUE(has(set, "{\"button\":" + std::to_string(PadButtonPicture(fire, style)) +
                                 "}],\"words\":\"fire\""))
            << set;
        EXPECT_TRUE(
            has(set, "{\"button\":" + std::to_string(PadButtonPicture(SDL_CONTROLLER_BUTTON_B, style)) +
                         "}],\"words\":\"keep playing\""))
            << set;
    }
    EXPECT_TRUE(has(lines, "{\"name\":\"Pause\",\"key\":\"P\"}")) << lines;

    tSettings s;
    BindKey(s, Action::Left, KEY_A);
    BindKey(s, Action::Pause, KEY_ENTER);
    lines = PageLines(s);
    EXPECT_TRUE(
        has(lines,
            "[{\"key\":\"A\"},{\"key\":\"Right\"},{\"key\":\"Up\"},{\"key\":\"Down\"}],\"words\":\"move\""))
        << lines;
    EXPECT_TRUE(has(lines, "{\"name\":\"Pause\",\"key\":\"Enter\"}")) << lines;
}
