#include <SDL.h>

#include <cstring>

#include "driver/keys.h"
#include "engine/platform.h"
#include "engine/touch.h"
#include "engine/virtual_pad.h"
#include "entities/onscreen_object.h"
#include "game/shell_test_support.h"
#include "settings/apply.h"
#include "settings/bindings.h"
#include "settings/options_screen.h"

namespace {

enum class Source { Keyboard, Pad, Touch };

void tapKeyOnKeyboard(int key) {
    SDL_Event event;
    std::memset(&event, 0, sizeof(event));
    event.key.keysym.sym = SdlKeycodeOf(key);
    event.type = SDL_KEYDOWN;
    engine_detail::HandleKeyboardEvent(event);
    event.type = SDL_KEYUP;
    engine_detail::HandleKeyboardEvent(event);
}

void touch(Action action) {
    const float x = action == Action::Left ? -1.0f : action == Action::Right ? 1.0f : 0.0f;
    const float y = action == Action::Up ? -1.0f : action == Action::Down ? 1.0f : 0.0f;
    TouchTarget target = TouchTarget::DirectionPad;
    if (action == Action::Fire) target = TouchTarget::Fire;
    if (action == Action::Beam) target = TouchTarget::Beam;
    if (action == Action::Select) target = TouchTarget::Select;
    if (action == Action::Pause) target = TouchTarget::Pause;
    if (action == Action::Back) target = TouchTarget::Back;
    engine_detail::TouchLand(1, target, x, y);
    engine_detail::TouchLift(1);
}

class OptionsScreen : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        ASSERT_TRUE(OpenGamepads()) << SDL_GetError();
    }
    void TearDown() override {
        ApplySettings(tSettings{});
        tProgram::playerSettings = nullptr;
        tProgram::settingsClosed = nullptr;
        ShellTest::TearDown();
    }
};

} // namespace

// Every entry can be reached and changed from each input source alone. The keyboard and the pad bind
// new keys and buttons on the way and go on steering with them; touch, which has no keys to give, is
// seen to reach the controls and to be left as it was when the wait runs out.
TEST_F(OptionsScreen, KeyboardPadAndTouchEachReachAndChangeEveryOption) {
    VirtualPad pad;
    const int spareButtons[kActionCount] = {SDL_CONTROLLER_BUTTON_X,
                                            SDL_CONTROLLER_BUTTON_LEFTSTICK,
                                            SDL_CONTROLLER_BUTTON_RIGHTSTICK,
                                            SDL_CONTROLLER_BUTTON_LEFTSHOULDER,
                                            SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
                                            SDL_CONTROLLER_BUTTON_MISC1,
                                            SDL_CONTROLLER_BUTTON_PADDLE1,
                                            SDL_CONTROLLER_BUTTON_PADDLE2,
                                            SDL_CONTROLLER_BUTTON_PADDLE3};
    const int spareKeys[kActionCount] = {KEY_J, KEY_L, KEY_I, KEY_K, KEY_F, KEY_B, KEY_S, KEY_Q, KEY_1};
    for (Source source : {Source::Keyboard, Source::Pad, Source::Touch}) {
        SCOPED_TRACE(static_cast<int>(source));
        ApplySettings(tSettings{});
        auto settings = std::make_shared<tSettings>();
        tOptionsScreen screen(settings);
        bool open = true;
        auto press = [&](Action action) {
            if (source == Source::Keyboard) tapKeyOnKeyboard(settings->key(action));
            if (source == Source::Pad)
                pad.tap(static_cast<SDL_GameControllerButton>(settings->padButton(action)));
            if (source == Source::Touch) touch(action);
            AdvanceMillis(16);
            open = screen.update();
        };
        const auto lines = screen.lines();
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const tOptionsScreen::Line& line = lines[i];
            ASSERT_EQ(screen.selected(), static_cast<int>(i));
            const tSettings before = *settings;
            switch (line.entry) {
            case tOptionsScreen::Entry::MusicVolume:
                press(Action::Left);
                EXPECT_EQ(settings->musicVolume, 90);
                break;
            case tOptionsScreen::Entry::EffectsVolume:
                press(Action::Left);
                press(Action::Left);
                EXPECT_EQ(settings->effectsVolume, 80);
                break;
            case tOptionsScreen::Entry::Shake:
                press(Action::Right);
                EXPECT_EQ(settings->shake, ShakeLevel::Reduced);
                break;
            case tOptionsScreen::Entry::Control: {
                const auto a = static_cast<std::size_t>(line.action);
                if (source == Source::Pad) { // the pad's column, past the second key's
                    press(Action::Right);
                    press(Action::Right);
                    EXPECT_TRUE(screen.padColumn());
                }
                if (source == Source::Keyboard && line.action == Action::Beam) {
                    press(Action::Right); // a second key, shown beside the first
                    press(Action::Fire);
                    tapKeyOnKeyboard(KEY_M);
                    screen.update();
                    EXPECT_EQ(settings->secondKey(Action::Beam), KEY_M);
                    EXPECT_EQ(screen.valueText(line, tOptionsScreen::Column::SecondKey), "M");
                    press(Action::Left);
                }
                press(Action::Fire);
                EXPECT_TRUE(screen.waitingForKey());
                if (source == Source::Keyboard) tapKeyOnKeyboard(spareKeys[a]);
                if (source == Source::Pad) pad.tap(static_cast<SDL_GameControllerButton>(spareButtons[a]));
                if (source == Source::Touch) AdvanceMillis(tOptionsScreen::kWaitForKeyMs);
                screen.update();
                EXPECT_FALSE(screen.waitingForKey());
                if (source == Source::Keyboard) {
                    EXPECT_EQ(settings->key(line.action), spareKeys[a]);
                } else if (source == Source::Pad) {
                    EXPECT_EQ(settings->padButton(line.action), spareButtons[a]);
                } else {
                    EXPECT_EQ(screen.message(), std::string("No key pressed: ") + ActionName(line.action) +
                                                    " keeps " + KeyName(ActionGameKey(line.action)) + ".");
                }
                if (source == Source::Pad) { // back to the first key's column
                    press(Action::Left);
                    press(Action::Left);
                    EXPECT_EQ(screen.column(), tOptionsScreen::Column::Key);
                }
                break;
            }
            case tOptionsScreen::Entry::DefaultControls:
                press(Action::Fire); // asks once first
                EXPECT_FALSE(screen.question().empty());
                if (source != Source::Touch) {
                    EXPECT_FALSE(settings->controlsAreDefault());
                }
                press(Action::Fire);
                EXPECT_TRUE(settings->controlsAreDefault());
                EXPECT_TRUE(screen.question().empty());
                break;
            case tOptionsScreen::Entry::RestoreDefaults: {
                const tSettings chosen = *settings;
                press(Action::Select);
                press(Action::Back); // answers no, and the screen stays
                EXPECT_TRUE(screen.question().empty());
                EXPECT_EQ(*settings, chosen);
                press(Action::Select);
                press(Action::Select);
                EXPECT_EQ(*settings, tSettings{});
                break;
            }
            case tOptionsScreen::Entry::Close:
                press(Action::Fire);
                EXPECT_FALSE(open);
                break;
            default: // the switches
                press(Action::Fire);
                EXPECT_NE(*settings, before) << "line " << i;
                break;
            }
            if (line.entry != tOptionsScreen::Entry::Close) {
                EXPECT_TRUE(open);
                press(Action::Down);
            }
        }
        // Back closes the screen from anywhere.
        tOptionsScreen again(settings);
        EXPECT_TRUE(again.update());
        if (source == Source::Keyboard) tapKeyOnKeyboard(KEY_ESCAPE);
        if (source == Source::Pad) pad.tap(SDL_CONTROLLER_BUTTON_BACK);
        if (source == Source::Touch) touch(Action::Back);
        EXPECT_FALSE(again.update());
    }
}

// P on the map and Select in the pause open the options; Esc then closes them without ending the game,
// and the game is told to keep the settings.
TEST_F(OptionsScreen, OpenFromTheMapAndThePauseAndEscOnlyClosesThem) {
    int kept = 0;
    int effectsKept = -1;
    tProgram::playerSettings = theProgram->settings; // the player's own: closing the screen saves them
    tProgram::settingsClosed = [&](const tSettings& settings) {
        ++kept;
        effectsKept = settings.effectsVolume;
    };
    theProgram->state = gamestate::MAP;
    InjectKeyTap(KEY_P);
    theProgram->checkKeys();
    ASSERT_TRUE(theProgram->options);
    InjectKeyTap(KEY_DOWN); // two presses within one pass: two lines on
    InjectKeyTap(KEY_DOWN);
    theProgram->updateMain();
    EXPECT_EQ(theProgram->options->selected(), 2); // the effects volume
    // A step quieter and Esc within one pass: the change is kept, then the screen closes.
    InjectKeyTap(KEY_LEFT);
    InjectKeyTap(KEY_ESCAPE);
    theProgram->updateMain();
    EXPECT_FALSE(theProgram->options);
    EXPECT_EQ(kept, 1);
    EXPECT_EQ(effectsKept, 100 - tSettings::kVolumeStep);
    EXPECT_FALSE(theProgram->gameExit());

    // A Select pressed in play does nothing on pausing; one pressed in the pause opens the options.
    theProgram->state = gamestate::RUNNING;
    InjectKeyTap(KEY_C);
    theProgram->setGameState(gamestate::PAUSED, 0);
    theProgram->checkKeys();
    EXPECT_FALSE(theProgram->options);
    InjectKeyTap(KEY_C);
    theProgram->checkKeys();
    ASSERT_TRUE(theProgram->options);
    InjectKeyTap(KEY_P); // Pause closes them too, and leaves the battle paused
    theProgram->updateMain();
    EXPECT_FALSE(theProgram->options);
    EXPECT_EQ(theProgram->state, gamestate::PAUSED);
    EXPECT_EQ(kept, 2);
}

// The options of a session watched change the session's copy and its game (the hit flashes it draws, the
// keys its hints name), never the viewer's sound, window, keys or pad; the viewer's own options do.
TEST_F(OptionsScreen, AWatchedSessionsOptionsNeverReachTheViewersSoundWindowKeysOrPad) {
    VirtualPad pad;
    engine_detail::PumpEvents();
    tSettings viewer;
    viewer.musicVolume = 60;
    viewer.padRumble = false;
    BindKey(viewer, Action::Fire, KEY_F);
    ApplySettings(viewer);
    const float music = MusicVolume();
    theProgram->watched = true;
    theProgram->settings = std::make_shared<tSettings>(viewer);
    tOptionsScreen screen(theProgram->settings, true, true);
    auto on = [&](tOptionsScreen::Entry entry, int key) {
        while (screen.lines()[static_cast<std::size_t>(screen.selected())].entry != entry) {
            InjectKeyTap(KEY_DOWN);
            screen.update();
        }
        InjectKeyTap(key);
        screen.update();
    };
    on(tOptionsScreen::Entry::MusicVolume, KEY_LEFT);
    on(tOptionsScreen::Entry::Fullscreen, KEY_Z);
    on(tOptionsScreen::Entry::VSync, KEY_Z);
    on(tOptionsScreen::Entry::DefaultControls, KEY_Z);
    InjectKeyTap(KEY_Z); // the answer to its question
    screen.update();
    on(tOptionsScreen::Entry::HitFlashes, KEY_Z);
    on(tOptionsScreen::Entry::PadRumble, KEY_Z);
    EXPECT_EQ(theProgram->settings->musicVolume, 50);
    EXPECT_TRUE(theProgram->settings->fullscreen);
    EXPECT_TRUE(theProgram->settings->controlsAreDefault());
    EXPECT_EQ(MusicVolume(), music);
    EXPECT_FALSE(Fullscreen());
    EXPECT_EQ(VSync(), viewer.vsync);
    EXPECT_EQ(MappedKey(KEY_F), KEY_Z) << "the viewer's Fire key";
    EXPECT_EQ(KeyHolding(KEY_Z), KEY_F);
    EXPECT_EQ(HintKey(KEY_Z), KEY_Z) << "the session's own";
    EXPECT_EQ(pad.rumbles, 0);
    EXPECT_FALSE(tOnscreenObject::flashesShown);

    // The viewer's options rumble the pad when its rumble is switched on, except while a replay plays quiet.
    theProgram->watched = false;
    theProgram->settings = std::make_shared<tSettings>(viewer);
    tOptionsScreen own(theProgram->settings);
    while (own.lines()[static_cast<std::size_t>(own.selected())].entry != tOptionsScreen::Entry::PadRumble) {
        InjectKeyTap(KEY_DOWN);
        own.update();
    }
    InjectKeyTap(KEY_Z);
    own.update();
    EXPECT_EQ(pad.rumbles, 1);
    EXPECT_EQ(HintKey(KEY_Z), KEY_F);
    SetPlaybackQuiet(true);
    RumbleGamepads(0.5f, 150);
    SetPlaybackQuiet(false);
    EXPECT_EQ(pad.rumbles, 1);
}
