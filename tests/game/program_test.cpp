#include <SDL.h>
#include <csignal>
#include <gtest/gtest.h>

#include "ai/ai.h"
#include "buildings/homebase.h"
#include "campaign/menu.h"
#include "campaign/persistence.h"
#include "game/shell_test_support.h"
#include "hud/beam_status.h"
#include "hud/error_popup.h"
#include "hud/indicators.h"
#include "hud/radar.h"
#include "hud/warning.h"
#include "intro/intro_star.h"
#include "player/foo.h"

namespace {

// An actor that logs its passes (the program walks actors as tActor).
class LoggingActor : public TestActor {
  public:
    LoggingActor(std::string name, Log* log) : name(std::move(name)), log(log) {}
    std::string name;
    Log* log;
    void update() override { log->push_back("update " + name); }
    void draw() override { log->push_back("draw " + name); }
    void resetTimers() override {
        tActor::resetTimers();
        log->push_back("reset " + name);
    }
};

class ProgramTest : public ShellTest {
  protected:
    Log log;
    std::shared_ptr<Recorder> add(const std::shared_ptr<TList>& list, const std::string& name,
                                  KindMask kinds = 0) {
        auto object = std::make_shared<Recorder>(name, &log, kinds);
        list->AddLast(object);
        return object;
    }
    void fillAllLists() {
        theProgram->actorList->AddLast(std::make_shared<LoggingActor>("actor", &log));
        add(theProgram->weaponList, "weapon");
        add(theProgram->buildingList, "building", kindBit(Kind::Building));
        add(theProgram->fxList, "fx");
        add(theProgram->messages, "message");
    }
    // One pass of the loop after ms of clock.
    void pass(int ms = 4) {
        AdvanceMillis(ms);
        theProgram->updateMain();
        theProgram->drawAll();
    }
};

TEST_F(ProgramTest, UpdateWalksTheListsInOrderWhileRunning) {
    fillAllLists();
    theProgram->updateMain();
    EXPECT_EQ(log, (Log{"update actor", "update weapon", "update building", "update fx", "update message"}));
}

TEST_F(ProgramTest, PauseAndMenuFreezeTheListsButNotTheMessages) {
    fillAllLists();
    for (int frozen : {gamestate::PAUSED, gamestate::MENU}) {
        log.clear();
        theProgram->state = frozen;
        theProgram->updateMain();
        EXPECT_EQ(log, Log{"update message"}) << "state " << frozen;
    }
}

TEST_F(ProgramTest, DrawOrderPutsTheHudAndMessagesOnTop) {
    // An effect paints the whole screen magenta and a message paints the matter panel cyan: the
    // menu, the HUD, the radar, the popup, the debug line and the counters fall between the two.
    struct Painter : Recorder {
        Painter(std::string name, Log* log, float x, float w, int r) : Recorder(name, log), r(r) {
            this->x = x, width = w, height = x > 0 ? 100 : 480;
        }
        int r;
        void draw() override {
            Recorder::draw();
            auto pixel = TImage::Create(1, 1, 1, 0);
            pixel->Lock(0)->WritePixel(0, 0, 0xFFFFFFFFu);
            SetColor(r, 255 - r, 255);
            SetDrawScale(width, height);
            DrawFrame(pixel, x, 480 - height);
            SetColor(255, 255, 255);
        }
    };
    struct LoggingMenu : tMenu {
        Log* log = nullptr;
        void draw() override { log->push_back("draw menu"); }
    };
    fillAllLists();
    theProgram->fxList->AddLast(std::make_shared<Painter>("cover", &log, 0, 640, 255));
    auto panel = std::make_shared<Painter>("panel", &log, 480, 160, 0);
    theProgram->messages->AddLast(panel);
    auto menu = std::make_shared<LoggingMenu>();
    menu->log = &log;
    theProgram->currentMenu = menu;
    theProgram->state = gamestate::MENU;
    std::static_pointer_cast<tOnscreenObject>(theProgram->buildingList->First())->y = 350; // radar (240, 467)
    theProgram->radar = std::make_shared<tRadar>();
    theProgram->errorPopup = tQuickErrorPopup::errorNotEnoughMatter(320, 240);
    theProgram->player = std::make_shared<tFoo>();
    theProgram->player->hp = 88;
    theProgram->player->matterBank = 42;
    auto frame = [&] {
        log.clear();
        theProgram->drawTimer = 0;
        return screenAfter([] { theProgram->drawBattlefield(); });
    };
    const auto all = frame();
    EXPECT_EQ(log, (Log{"draw building", "draw actor", "draw weapon", "draw fx", "draw cover", "draw menu",
                        "draw message", "draw panel"}));
    int r, g, b;
    ReadColor(r, g, b);
    EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{255, 255, 255})) << "default colour restored";
    auto is = [](std::uint32_t colour) { return [colour](std::uint32_t p) { return p == colour; }; };
    EXPECT_EQ(countPixels(all, 0, 380, 160, 480, is(0xFF00FF)), 0) << "the HUD over the effects";
    // Glyph pixels take the counters' colours exactly: (127, 0, 0) for hit points, (0, 127, 8) for matter.
    EXPECT_GT(countPixels(all, 80, 440, 120, 460, is(0x7F0000)), 8) << "hit points over the HUD";
    EXPECT_EQ(countPixels(all, 480, 380, 640, 480, [](std::uint32_t p) { return p != 0x00FFFF; }), 0)
        << "messages over everything, the matter counter included";
    EXPECT_GT(countPixels(all, 0, 0, 320, 20, is(0xFFFFFF)), 0) << "the debug line over the effects";
    theProgram->radar.reset();
    theProgram->messages->Remove(panel.get());
    const auto noRadar = frame();
    EXPECT_GT(countPixels(noRadar, 560, 440, 600, 460, is(0x007F08)), 8) << "matter in green";
    EXPECT_EQ(countPixels(noRadar, 560, 440, 600, 460, is(0x7F0000)), 0);
    theProgram->errorPopup.reset();
    const auto noPopup = frame();
    EXPECT_GT(countPixels(differences(all, noRadar), 230, 455, 250, 475, is(1)), 0)
        << "the radar mark over the HUD's strip";
    EXPECT_GT(countPixels(differences(noRadar, noPopup), 220, 200, 420, 280, is(1)), 0)
        << "the popup over the effects";
}

TEST_F(ProgramTest, FramesAreDrawnAtMostEveryTwoMilliseconds) {
    fillAllLists();
    theProgram->drawTimer = gameMillisecs();
    int frames = 0;
    for (int ms = 0; ms < 20; ++ms) {
        log.clear();
        theProgram->drawAll();
        if (!log.empty()) ++frames;
        AdvanceMillis(1);
    }
    EXPECT_EQ(frames, 10);
}

TEST_F(ProgramTest, WalksSurviveObjectsRemovingThemselvesAndOthers) {
    // The first fx removes itself and the second; a third added during the walk is reached.
    struct Remover : Recorder {
        using Recorder::Recorder;
        std::shared_ptr<Object> victim;
        std::shared_ptr<Object> newcomer;
        void update() override {
            Recorder::update();
            theProgram->fxList->Remove(this);
            if (victim) theProgram->fxList->Remove(victim);
            if (newcomer) theProgram->fxList->AddLast(newcomer);
        }
    };
    auto first = std::make_shared<Remover>("first", &log);
    theProgram->fxList->AddLast(first);
    first->victim = add(theProgram->fxList, "second");
    add(theProgram->fxList, "third");
    first->newcomer = std::make_shared<Recorder>("late", &log);
    std::weak_ptr<Remover> watch = first;
    first.reset(); // the list holds the only reference: the walk must keep it alive during its update
    theProgram->updateLists();
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(log, (Log{"update first", "update third", "update late"}));
    EXPECT_EQ(theProgram->fxList->Count(), 2);
}

TEST_F(ProgramTest, PTogglesPauseOnlyInPlayAndIsConsumedElsewhere) {
    InjectKeyTap(KEY_P);
    theProgram->updateMain();
    EXPECT_EQ(theProgram->state, gamestate::PAUSED);
    EXPECT_EQ(theProgram->pauseTime, gameMillisecs());
    AdvanceMillis(300);
    InjectKeyTap(KEY_P);
    theProgram->updateMain();
    EXPECT_EQ(theProgram->state, gamestate::RUNNING);

    // In the menu and on the map the press is consumed and ignored.
    for (int state : {gamestate::MENU, gamestate::MAP}) {
        theProgram->state = state;
        InjectKeyTap(KEY_P);
        theProgram->updateMain();
        EXPECT_EQ(theProgram->state, state);
        EXPECT_EQ(KeyPressCount(KEY_P), 0) << "consumed in state " << state;
    }
}

// The window's focus events arrive through SDL's queue, as the windowed platform reads them.
TEST_F(ProgramTest, LosingTheFocusPausesPlayOnlyAndMutesEverywhere) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0);
    auto focus = [](Uint8 change) {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.event = change;
        SDL_PushEvent(&event);
    };
    focus(SDL_WINDOWEVENT_FOCUS_LOST);
    theProgram->updateMain();
    EXPECT_EQ(theProgram->state, gamestate::PAUSED);
    EXPECT_EQ(theProgram->pauseTime, gameMillisecs());
    EXPECT_TRUE(AudioMuted());
    focus(SDL_WINDOWEVENT_FOCUS_GAINED);
    theProgram->updateMain();
    EXPECT_EQ(theProgram->state, gamestate::PAUSED) << "the player resumes with P";
    EXPECT_FALSE(AudioMuted());
    InjectKeyTap(KEY_P);
    theProgram->updateMain();
    EXPECT_EQ(theProgram->state, gamestate::RUNNING);

    for (int state : {gamestate::PAUSED, gamestate::MENU, gamestate::MAP}) {
        theProgram->setGameState(state, 0);
        focus(SDL_WINDOWEVENT_FOCUS_LOST);
        theProgram->updateMain();
        EXPECT_EQ(theProgram->state, state);
        EXPECT_TRUE(AudioMuted()) << "state " << state;
        focus(SDL_WINDOWEVENT_FOCUS_GAINED);
        theProgram->updateMain();
        EXPECT_FALSE(AudioMuted());
        theProgram->state = gamestate::RUNNING;
        theProgram->updateMain();
        EXPECT_EQ(theProgram->state, gamestate::RUNNING) << "a loss seen elsewhere does not pause play later";
    }
    SDL_QuitSubSystem(SDL_INIT_EVENTS);
}

TEST_F(ProgramTest, EscLeavesFromPlayPauseAndMapButNotTheMenuTheCloseButtonFromAll) {
    for (int state : {gamestate::RUNNING, gamestate::PAUSED, gamestate::MAP}) {
        theProgram->state = state;
        EXPECT_FALSE(theProgram->gameExit());
        InjectKeyTap(KEY_ESCAPE);
        EXPECT_TRUE(theProgram->gameExit()) << "state " << state;
    }
    theProgram->state = gamestate::MENU;
    InjectKeyTap(KEY_ESCAPE);
    EXPECT_FALSE(theProgram->gameExit());
    EXPECT_EQ(KeyPressCount(KEY_ESCAPE), 1) << "the menu still gets its Esc";

    // The close button (SDL's quit event) and SIGTERM or SIGINT leave from every state, the menu too.
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0);
    CatchStopSignals();
    for (int state : {gamestate::RUNNING, gamestate::PAUSED, gamestate::MAP, gamestate::MENU}) {
        theProgram->state = state;
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
        EXPECT_TRUE(theProgram->gameExit()) << "state " << state;
        for (int signal : {SIGTERM, SIGINT}) {
            std::raise(signal);
            EXPECT_TRUE(theProgram->gameExit()) << "signal " << signal << " in state " << state;
            EXPECT_FALSE(theProgram->gameExit()) << "a request is read once";
        }
    }
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
    SDL_QuitSubSystem(SDL_INIT_EVENTS);
}

// The screen saver may start on the calm screens and whenever the window has no focus, never in play.
TEST_F(ProgramTest, ScreenSaverIsAllowedOffPlayAndWithoutFocus) {
    for (int state : {gamestate::RUNNING, gamestate::PAUSED, gamestate::MENU, gamestate::MAP}) {
        theProgram->state = state;
        theProgram->updateMain();
        EXPECT_EQ(ScreenSaverAllowed(), state != gamestate::RUNNING) << "state " << state;
    }
    theProgram->setGameState(gamestate::RUNNING, 0);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0);
    SDL_Event away{};
    away.type = SDL_WINDOWEVENT;
    away.window.event = SDL_WINDOWEVENT_MINIMIZED; // put away: as good as the focus lost
    SDL_PushEvent(&away);
    theProgram->updateMain();
    EXPECT_EQ(theProgram->state, gamestate::PAUSED);
    theProgram->state = gamestate::RUNNING;
    theProgram->updateMain();
    EXPECT_TRUE(ScreenSaverAllowed()) << "no focus";
    away.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
    SDL_PushEvent(&away);
    theProgram->updateMain();
    EXPECT_FALSE(ScreenSaverAllowed());
    SDL_QuitSubSystem(SDL_INIT_EVENTS);
    theProgram->beginOutro();
    EXPECT_TRUE(ScreenSaverAllowed()) << "the outro";
}

TEST_F(ProgramTest, ResumingClearsKeysAndShiftsTimers) {
    auto fx = add(theProgram->fxList, "fx");
    fx->animTimer = gameMillisecs() + 100;
    for (int frozen : {gamestate::PAUSED, gamestate::MENU}) {
        log.clear();
        theProgram->setGameState(frozen, 0);
        AdvanceMillis(1000);
        InjectKeyDown(KEY_Z);
        theProgram->setGameState(gamestate::RUNNING, 0);
        EXPECT_FALSE(KeyHeld(KEY_Z));
        EXPECT_EQ(fx->animTimer, gameMillisecs() + 100);
        EXPECT_EQ(log, Log{"reset fx"});
    }
}

TEST_F(ProgramTest, ResetOrderIsDirectorShakeWeaponsBuildingsActorsEffects) {
    // The first object reset notes the director's and the shake's timers: already shifted by the
    // 1000 ms pause. Messages are not shifted.
    struct Witness : Recorder {
        using Recorder::Recorder;
        void resetTimers() override {
            Recorder::resetTimers();
            log->push_back(std::to_string(theProgram->theAi->timer) + " " +
                           std::to_string(tShake::nextStepTime));
        }
    };
    fillAllLists();
    theProgram->weaponList->AddFirst(std::make_shared<Witness>("witness", &log));
    theProgram->theAi = std::make_shared<tAI>();
    theProgram->theAi->timer = 0;
    tShake::nextStepTime = 0;
    theProgram->pauseTime = gameMillisecs() - 1000;
    theProgram->resetAllTimers();
    EXPECT_EQ(log, (Log{"reset witness", "1000 1000", "reset weapon", "reset building", "reset actor",
                        "reset fx"}));
}

TEST_F(ProgramTest, MissionIdBecomesTheCurrentMissionUnlessZero) {
    theProgram->worldData = std::make_shared<tPersistence>();
    theProgram->worldData->currentMissionId = 2;
    theProgram->setGameState(gamestate::PAUSED, 0);
    EXPECT_EQ(theProgram->worldData->currentMissionId, 2);
    theProgram->setGameState(gamestate::RUNNING, 1);
    EXPECT_EQ(theProgram->worldData->currentMissionId, 1);
    theProgram->setGameState(42, 0);
    EXPECT_EQ(theProgram->state, gamestate::RUNNING) << "an unknown state changes nothing";
}

TEST_F(ProgramTest, OpeningTheMapClearsTheBattlefieldAndFadesIn) {
    fillAllLists();
    theProgram->camera->xOffset = theProgram->camera->lastOffset = 900;
    theProgram->radar = std::make_shared<tRadar>();
    theProgram->setGameState(gamestate::MAP, 0);
    EXPECT_EQ(theProgram->state, gamestate::MAP);
    EXPECT_EQ(theProgram->actorList->Count() + theProgram->weaponList->Count() +
                  theProgram->buildingList->Count() + theProgram->fxList->Count() +
                  theProgram->messages->Count(),
              0);
    EXPECT_EQ(theProgram->camera->xOffset, 0);
    EXPECT_FALSE(theProgram->radar);
    EXPECT_TRUE(theProgram->warnings);
    EXPECT_TRUE(theProgram->abductionBeamStatus);
    ASSERT_TRUE(theProgram->blackScreen);
    EXPECT_FLOAT_EQ(theProgram->blackScreenAlpha, 2.0f);

    // From 2.0 down by 5 a second: opaque (clamped) for 0.2 s, gone once below 0 after 0.4 s.
    Delta::Start();
    for (int i = 0; i < 39; ++i) {
        step(10);
        theProgram->updateMap();
    }
    EXPECT_TRUE(theProgram->blackScreen);
    EXPECT_NEAR(theProgram->blackScreenAlpha, 0.05f, 1e-4);
    step(20);
    theProgram->updateMap();
    EXPECT_FALSE(theProgram->blackScreen);
}

TEST_F(ProgramTest, ReturningToTheMapClosesAWonMissionOnly) {
    theProgram->worldData = std::make_shared<tPersistence>();
    theProgram->playerBase = std::make_shared<tHomebase>();
    auto& record = *theProgram->worldData;

    record.currentMissionId = 1;
    theProgram->playerBase->baseState = cBaseStates::TAKEOFF; // fled: the mission stays open
    theProgram->setGameState(gamestate::MAP, 0);
    EXPECT_EQ(record.getLock(1), 0);
    EXPECT_FALSE(theProgram->flagEndGame);

    theProgram->state = gamestate::RUNNING;
    theProgram->playerBase->baseState = cBaseStates::VICTORY;
    theProgram->setGameState(gamestate::MAP, 0);
    EXPECT_EQ(record.getLock(1), 1);
    EXPECT_FALSE(theProgram->flagEndGame);
    EXPECT_NE(theProgram->playerBase->baseState, cBaseStates::VICTORY) << "a fresh default homebase";

    theProgram->state = gamestate::RUNNING;
    record.currentMissionId = 3;
    theProgram->playerBase->baseState = cBaseStates::VICTORY;
    theProgram->setGameState(gamestate::MAP, 0);
    EXPECT_TRUE(theProgram->flagEndGame) << "the last mission won: the outro follows";
}

TEST_F(ProgramTest, DebugLineCountsWholePercentages) {
    theProgram->militaryStrengthMax = 7;
    std::vector<std::string> lines;
    for (int left = 7; left >= 0; --left) {
        theProgram->militaryStrength = static_cast<float>(left);
        lines.push_back(theProgram->militaryStrengthText());
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"Military strength: 100", "Military strength: 85",
                                               "Military strength: 71", "Military strength: 57",
                                               "Military strength: 42", "Military strength: 28",
                                               "Military strength: 14", "Military strength: 0"}));
    theProgram->militaryStrength = 0;
    theProgram->militaryStrengthMax = 0;
    EXPECT_EQ(theProgram->militaryStrengthText(), "Military strength: 0") << "no buildings: no division";
}

TEST_F(ProgramTest, BeamStatusIsGreenOrRedOnTheHud) {
    theProgram->abductionBeamStatus = std::make_shared<tAbductionBeamStatus>();
    auto& status = *theProgram->abductionBeamStatus;
    std::vector<std::uint32_t> plain(640 * 40);
    Cls();
    theProgram->drawHUD();
    ASSERT_TRUE(ReadBackBuffer(0, 0, 640, 40, plain.data()));
    // The pixels the status line changes, and their colour.
    auto textColours = [&](const std::string& text) {
        status.updateText(text);
        Cls();
        theProgram->drawHUD();
        std::vector<std::uint32_t> shown(640 * 40);
        EXPECT_TRUE(ReadBackBuffer(0, 0, 640, 40, shown.data()));
        int changed = 0, red = 0, green = 0;
        for (std::size_t i = 0; i < shown.size(); ++i) {
            if (shown[i] == plain[i]) continue;
            ++changed;
            const int x = static_cast<int>(i % 640), y = static_cast<int>(i / 640);
            EXPECT_GE(x, 320 - status.textImg->width);
            EXPECT_LT(x, 320 + status.textImg->width);
            EXPECT_GE(y, 12);
            if (((shown[i] >> 16) & 0xFF) > 200 && ((shown[i] >> 8) & 0xFF) < 60) ++red;
            if (((shown[i] >> 8) & 0xFF) > 200 && ((shown[i] >> 16) & 0xFF) < 60) ++green;
        }
        EXPECT_GT(changed, 0);
        return std::pair{red, green};
    };
    auto [red1, green1] = textColours("Civilian");
    EXPECT_EQ(red1, 0);
    EXPECT_GT(green1, 0);
    auto [red2, green2] = textColours("Radioactive Civilian");
    EXPECT_GT(red2, 0);
    EXPECT_EQ(green2, 0);
}

TEST_F(ProgramTest, OutroStarsRiseFromTheBottomUnderAFadeAndTheSongStopsAtTheEnd) {
    theProgram->beginOutro();
    const auto outro = theProgram->outro;
    ASSERT_TRUE(outro->song);
    EXPECT_TRUE(outro->song->Playing());
    EXPECT_EQ(outro->stars->Count(), 241);
    theProgram->drawTimer = gameMillisecs() + 100000; // nothing drawn
    auto newest = outro->stars->Last();
    int born = 0;
    for (int ms = 4; ms <= 1000; ms += 4) {
        AdvanceMillis(4);
        ASSERT_TRUE(theProgram->outroPass());
        if (outro->stars->Last() != newest) {
            newest = outro->stars->Last();
            ++born;
            EXPECT_GT(std::static_pointer_cast<tIntroStar>(newest)->y, 476) << "born at the bottom";
        }
        for (const auto& star : outro->stars->typed<tIntroStar>())
            ASSERT_GE(star->y, 0) << "a star above the top is removed";
        // The black cover from 2.0 down by 5 a second: gone once below 0, after 0.4 s.
        EXPECT_EQ(theProgram->blackScreen != nullptr, ms <= 400) << ms;
    }
    EXPECT_EQ(born, 25) << "one at once, then one every 40 ms";
    EXPECT_LT(outro->stars->Count(), 241 + 25);
    InjectChar('x');
    EXPECT_FALSE(theProgram->outroPass());
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_FALSE(theProgram->outroPass()) << "the close button ends the outro as a key does";
    EXPECT_TRUE(theProgram->outroPass());
    SDL_QuitSubSystem(SDL_INIT_EVENTS);
    theProgram->endOutro();
    EXPECT_FALSE(outro->song->Playing());
}

} // namespace
