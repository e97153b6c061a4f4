#include "game/program.h"

#include <algorithm>

#include "ai/ai.h"
#include "buildings/homebase.h"
#include "campaign/campaign_choice.h"
#include "campaign/campaign_file.h"
#include "campaign/map_screen.h"
#include "campaign/menu.h"
#include "campaign/persistence.h"
#include "engine/engine.h"
#include "engine/words.h"
#include "entities/actor.h"
#include "entities/cow.h"
#include "entities/person.h"
#include "entities/super_copter.h"
#include "game/assets.h"
#include "game/battle.h"
#include "game/constants.h"
#include "game/game_clock.h"
#include "hud/beam_status.h"
#include "hud/error_popup.h"
#include "hud/notice.h"
#include "hud/radar.h"
#include "hud/shake.h"
#include "hud/warning.h"
#include "intro/intro.h"
#include "intro/intro_star.h"
#include "player/foo.h"
#include "sessions/game_sessions.h"
#include "sessions/replays_screen.h"
#include "settings/options_screen.h"
#include "settings/settings.h"
#include "world/camera.h"
#include "world/input.h"
#include "world/level_builder.h"
#include "world/map.h"

std::shared_ptr<tProgram> theProgram;

namespace {

// Walks a list over the objects that carry `kind`, holding the list and the visited object so that
// objects may remove themselves (or others), and the list may be replaced, during the walk.
template <class F> void walk(const std::shared_ptr<TList>& field, KindMask kind, F&& body) {
    const std::shared_ptr<TList> list = field;
    if (!list) return;
    for (const std::shared_ptr<Object>& object : *list) {
        if (object->kinds & kind) body(static_cast<tOnscreenObject*>(object.get()));
    }
}

// The top of every pass: the tests' hook, then the engine (which records or replays the pass).
void beginPass() {
    if (tProgram::passHook) tProgram::passHook();
    BeginPass();
}

constexpr KindMask kAnyObject = kindBit(Kind::OnscreenObject);
constexpr KindMask kAnyActor = kindBit(Kind::Actor);
constexpr KindMask kAnyBuilding = kindBit(Kind::Building);

} // namespace

tProgram::tProgram() : settings(playerSettings ? playerSettings : std::make_shared<tSettings>()) {}

tProgram::~tProgram() = default;

// ---------------------------------------------------------------------------------------------------
// Life of the game

void tProgram::init(bool readPlayerFiles) {
    Delta::Start();
    // No camera and no homebase yet: only the map-screen part of the transition takes effect.
    setGameState(gamestate::MAP, 0);
    timeStarted = Millis();
    drawDelay = 2;
    drawTimer = gameMillisecs() + drawDelay;
    buttons = std::make_shared<tInput>();
    camera = tCamera::Create();
    map = std::make_shared<tMap>();
    theAi = std::make_shared<tAI>();
    worldData = std::make_shared<tPersistence>();
    notice.reset();
    campaignFile.reset();
    if (readPlayerFiles) {
        notice = std::make_shared<tNotice>();
        campaignFile = std::make_shared<tCampaignFile>();
        campaignFile->load(); // before the intro: its notice, if any, shows over it
    }
    flagEndGame = false;
}

bool tProgram::showIntro() {
    auto intro = std::make_shared<tIntro>();
    int drawTime = gameMillisecs();
    ClearKeys();
    Delta::Start();
    while (true) {
        beginPass();
        // The close button and a stop signal end the game here too: the title waits for a key forever.
        if (CloseRequested()) return false;
        Delta::Update();
        if (!intro->update()) return true;
        if (theProgram && theProgram->notice) theProgram->notice->update();
        if (timerReady(drawTime, 5)) {
            Cls();
            intro->draw();
            if (theProgram) theProgram->drawNotice();
            Flip(0);
        }
    }
}

bool tProgram::chooseCampaign() {
    if (!campaignFile || !campaignFile->hasSaved() || !worldData) return true;
    auto choice = std::make_shared<tCampaignChoice>(campaignFile->missionsWon());
    int drawTime = gameMillisecs();
    ClearKeys();
    Delta::Start();
    while (true) {
        beginPass();
        if (CloseRequested()) return false;
        Delta::Update();
        if (notice) notice->update();
        const tCampaignChoice::Outcome outcome = choice->update();
        if (outcome == tCampaignChoice::Outcome::Continue) {
            campaignFile->continueInto(*worldData);
            break;
        }
        if (outcome == tCampaignChoice::Outcome::NewCampaign) {
            campaignFile->startNew(*worldData);
            break;
        }
        if (timerReady(drawTime, 5)) {
            Cls();
            choice->draw();
            drawNotice();
            Flip(0);
        }
    }
    // The map screen anew: its nodes show the record now in force, and it fades in as after the intro.
    setGameState(gamestate::MAP, 0);
    ClearKeys();
    return true;
}

void tProgram::saveCampaign() {
    if (campaignFile && worldData) campaignFile->saveIfChanged(*worldData);
}

void tProgram::run() {
    init();
    if (!showIntro() || !chooseCampaign()) return;
    playFromMap();
}

void tProgram::playFromMap() {
    while (true) {
        beginPass();
        updateMain();
        drawAll();
        saveCampaign(); // a won mission is kept at once
        // Esc and the close button leave at once; only the last mission's victory plays the outro.
        if (gameExit()) return;
        if (flagEndGame) break;
    }
    runOutro();
}

bool tProgram::gameExit() {
    const bool closeClicked = CloseRequested();
    // A replay dropped on the window ends the session: the game shows it, then plays on.
    // So does one the player chose to watch among the replays.
    if (DroppedFileWaiting() || !watchChosen.empty()) {
        if (options) closeOptions();
        replays.reset();
        return true;
    }
    // In the upgrade menu, the options and the replays Esc belongs to them.
    const bool escape = state != gamestate::MENU && !options && !replays && KeyPressCount(KEY_ESCAPE) > 0;
    // Where Esc is also the browser's key, the page asks the player first.
    const bool leaving = closeClicked || (escape && ConfirmEnd());
    if (leaving && options) closeOptions(); // the settings changed so far are kept
    if (leaving) replays.reset();
    return leaving;
}

// ---------------------------------------------------------------------------------------------------
// Game states

void tProgram::setGameState(int newState, int missionId) {
    if (missionId != 0 && worldData) worldData->currentMissionId = missionId;
    switch (newState) {
    case gamestate::PAUSED:
        // Select in the pause opens the options: a press from before the pause must not.
        KeyPressCount(KEY_C);
        state = newState;
        pauseTime = gameMillisecs();
        break;
    case gamestate::MENU:
        state = newState;
        pauseTime = gameMillisecs();
        break;
    case gamestate::RUNNING:
        ClearKeys();
        if (state == gamestate::MAP) {
            mapScreen.reset();
            initBattleField(missionId);
        } else if (state == gamestate::PAUSED || state == gamestate::MENU) {
            resetAllTimers();
        }
        state = gamestate::RUNNING;
        break;
    case gamestate::MAP:
        blackScreen = TImage::Load("incbin::Gfx\\blackScreen.png", 0);
        blackScreenAlpha = 2.0f;
        state = gamestate::MAP;
        if (playerBase && playerBase->baseState == cBaseStates::VICTORY && worldData) {
            worldData->lockNode(worldData->currentMissionId); // won: the node closes
            if (worldData->currentMissionId == 3) flagEndGame = true;
        }
        clearBattleField();
        mapScreen = tMapScreen::Create(320, 80);
        break;
    default:
        break;
    }
}

void tProgram::checkKeys() {
    if (state == gamestate::PAUSED && KeyPressCount(KEY_C) > 0) {
        openOptions();
        return;
    }
    if (KeyPressCount(KEY_P) <= 0) return;
    // In the menu the press is consumed and ignored; on the map it opens the options.
    if (state == gamestate::RUNNING) {
        setGameState(gamestate::PAUSED, 0);
    } else if (state == gamestate::PAUSED) {
        setGameState(gamestate::RUNNING, 0);
    } else if (state == gamestate::MAP) {
        openOptions();
    }
}

void tProgram::openOptions() {
    options = std::make_shared<tOptionsScreen>(settings, state == gamestate::MAP, watched);
}

void tProgram::closeOptions() {
    if (!options) return;
    options.reset();
    ClearKeys(); // the key that closed the screen acts nowhere else
    if (settingsClosed && settings && settings == playerSettings) settingsClosed(*settings);
}

// A player who switches to another window mid-battle comes back to a paused game, as if P had been
// pressed; on the map, in the menu or already paused, nothing changes (the engine mutes the sound).
void tProgram::checkFocus() {
    if (FocusLost() && state == gamestate::RUNNING && pauseOnFocusLoss) setGameState(gamestate::PAUSED, 0);
}

// ---------------------------------------------------------------------------------------------------
// Battlefield set-up and tear-down

void tProgram::resetLists() {
    weaponList = std::make_shared<TList>();
    buildingList = std::make_shared<TList>();
    actorList = std::make_shared<TList>();
    fxList = std::make_shared<TList>();
    messages = std::make_shared<TList>();
}

namespace {

// Three cows and six civilians wander the battlefield of every mission.
void addLivestockAndCivilians() {
    const int ground = groundLevel();
    for (int i = 0; i < 3; ++i) {
        const int x = RandomInt(-2400, 2400);
        battle::addActor(tCow::Create(static_cast<float>(x), static_cast<float>(ground), nullptr));
    }
    for (int i = 0; i < 6; ++i) {
        const int x = RandomInt(-1600, 1600);
        battle::addActor(tCivilian::Create(static_cast<float>(x), static_cast<float>(ground), nullptr));
    }
}

// The opposing side of each mission, laid out group by group along the battlefield.
void buildOpposition(int missionId) {
    switch (missionId) {
    case 0:
        levelBuilder::makeNeighbourhood();
        levelBuilder::makeNeighbourhood();
        levelBuilder::makeGuardedNeighbourhood();
        levelBuilder::makeGuardedNeighbourhood();
        levelBuilder::makeSimpleBase();
        levelBuilder::makeSimpleBase();
        break;
    case 1:
        levelBuilder::makeSimpleBase();
        levelBuilder::makeNeighbourhood();
        levelBuilder::makeNeighbourhood();
        levelBuilder::makeFactory();
        levelBuilder::makeFactory();
        levelBuilder::makeSimpleBase();
        break;
    case 2:
        levelBuilder::makeNeighbourhood();
        levelBuilder::makeGuardedNeighbourhood();
        levelBuilder::makeSimpleBase();
        levelBuilder::makeFactory();
        levelBuilder::makeAirBase();
        levelBuilder::makeAirminePost();
        levelBuilder::makeFactory();
        levelBuilder::makeGuardedNeighbourhood();
        break;
    case 3:
        levelBuilder::makeGuardedNeighbourhood();
        levelBuilder::makeGuardedNeighbourhood();
        levelBuilder::makeSimpleBase();
        levelBuilder::makeFactory();
        levelBuilder::makeHeavyDefense();
        levelBuilder::makeHeavyDefense();
        for (int i = 0; i < 4; ++i)
            levelBuilder::makeNeighbourhood();
        levelBuilder::makeHeavyDefense();
        levelBuilder::makeHeavyDefense();
        {
            // The boss comes in from either end of the battlefield.
            const float bossX = RandomInt(0, 1) == 0 ? 3200.0f : -3200.0f;
            battle::addActor(tSuperCopter::Create(bossX, 84));
        }
        addLivestockAndCivilians();
        break;
    default:
        break; // no opposing buildings
    }
}

} // namespace

void tProgram::initBattleField(int missionId) {
    militaryStrength = 0;
    militaryStrengthMax = 0;
    resetLists();
    player = tFoo::Create(0, 240);
    player->setStateRespawn();
    actorList->AddLast(player);
    playerBase = tHomebase::Create(0, -80, 1);
    buildingList->AddLast(playerBase);
    radar = std::make_shared<tRadar>();
    currentMenu.reset();
    abductionBeamStatus = std::make_shared<tAbductionBeamStatus>();
    warnings = std::make_shared<tWarning>();
    addLivestockAndCivilians();
    if (theAi) theAi->reset();
    levelBuilder::reset();
    buildOpposition(missionId);
}

void tProgram::clearBattleField() {
    resetLists();
    // Blank default objects in no list, so code reading these fields still finds an object.
    player = std::make_shared<tFoo>();
    playerBase = std::make_shared<tHomebase>();
    abductionBeamStatus = std::make_shared<tAbductionBeamStatus>();
    warnings = std::make_shared<tWarning>();
    currentMenu.reset();
    radar.reset();
    if (camera) camera->resetOffset();
}

void tProgram::checkVictory() {
    if (militaryStrength > 0) return;
    // A homebase already fleeing (a shot in flight felled the last building after it was destroyed)
    // stays beaten: the mission is lost.
    if (playerBase && playerBase->baseState != cBaseStates::TAKEOFF)
        playerBase->setBaseState(cBaseStates::VICTORY);
}

// ---------------------------------------------------------------------------------------------------
// Freezes

void tProgram::resetAllTimers() {
    Delta::Reset();
    if (theAi) theAi->resetTimers();
    tShake::resetTimers();
    // Floating messages are not shifted.
    walk(weaponList, kAnyObject, [](tOnscreenObject* o) { o->resetTimers(); });
    walk(buildingList, kAnyBuilding, [](tOnscreenObject* o) { o->resetTimers(); });
    walk(actorList, kAnyActor, [](tOnscreenObject* o) { o->resetTimers(); });
    walk(fxList, kAnyObject, [](tOnscreenObject* o) { o->resetTimers(); });
}

void tProgram::gameSleep(int ms) {
    pauseTime = gameMillisecs();
    SleepMillis(ms);
    resetAllTimers();
}

// ---------------------------------------------------------------------------------------------------
// Update pass

bool tProgram::updateOverlays() {
    // The map and the pause wait until the screens over them close.
    if (options) {
        if (options->update()) return true;
        const bool replaysWanted = options->replaysWanted();
        closeOptions();
        if (replaysWanted) replays = std::make_shared<tReplaysScreen>(ReplaysFolder(), settings, watched);
        return true;
    }
    if (!replays) return false;
    if (!replays->update()) {
        watchChosen = replays->chosen();
        replays.reset();
        ClearKeys(); // the key that closed the screen acts nowhere else
    }
    return true;
}

void tProgram::updateMain() {
    Delta::Update();
    if (notice) notice->update();
    if (updateOverlays()) return;
    if (buttons) buttons->update();
    checkKeys();
    checkFocus();
    // The screen saver may start over the map or a frozen battlefield, never in play (a pad's buttons do
    // not count as the desktop's activity).
    AllowScreenSaver(state != gamestate::RUNNING);
    if (state == gamestate::MAP) {
        updateMap();
    } else {
        updateBattleField();
    }
}

void tProgram::updateBattleField() {
    if (const std::shared_ptr<tWarning> warning = warnings) warning->update();
    if (state == gamestate::RUNNING) {
        updateLists();
    } else if (state == gamestate::MENU) {
        if (const std::shared_ptr<tMenu> menu = currentMenu) menu->update();
    }
    // The popup clears its own field when it has faded: hold it while it updates.
    if (const std::shared_ptr<tQuickErrorPopup> popup = errorPopup) popup->update();
    walk(messages, kAnyObject, [](tOnscreenObject* o) { o->update(); });
    if (const std::shared_ptr<tCamera> view = camera) view->update();
}

void tProgram::updateLists() {
    if (const std::shared_ptr<tAI> director = theAi) director->update();
    walk(actorList, kAnyActor, [](tOnscreenObject* o) { o->update(); });
    walk(weaponList, kAnyObject, [](tOnscreenObject* o) { o->update(); });
    walk(buildingList, kAnyBuilding, [](tOnscreenObject* o) { o->update(); });
    walk(fxList, kAnyObject, [](tOnscreenObject* o) { o->update(); });
    tShake::update();
}

void tProgram::updateMap() {
    if (const std::shared_ptr<tMapScreen> screen = mapScreen) screen->update();
    if (blackScreen) {
        blackScreenAlpha = static_cast<float>(blackScreenAlpha - 5.0 * Delta::Time());
        if (blackScreenAlpha < 0) blackScreen.reset();
    }
}

// ---------------------------------------------------------------------------------------------------
// Draw pass

void tProgram::drawAll() {
    if (state == gamestate::MAP) {
        drawMap();
    } else {
        drawBattlefield();
    }
}

void tProgram::drawBattlefield() {
    if (!timerReady(drawTimer, drawDelay)) return;
    Cls();
    if (map) map->draw();
    // Buildings behind units, units behind shots, shots behind effects.
    walk(buildingList, kAnyBuilding, [](tOnscreenObject* o) { o->draw(); });
    walk(actorList, kAnyActor, [](tOnscreenObject* o) { o->draw(); });
    walk(weaponList, kAnyObject, [](tOnscreenObject* o) { o->draw(); });
    walk(fxList, kAnyObject, [](tOnscreenObject* o) { o->draw(); });
    if (state == gamestate::MENU && currentMenu) currentMenu->draw();
    drawHUD();
    if (radar) radar->draw();
    if (errorPopup) errorPopup->draw();
    drawDebug();
    if (tActor* creature = playerObject()) {
        SetDrawScale(2, 2);
        SetColor(127, 0, 0);
        DrawString(StringFromInt(creature->hp), 80, 440);
        SetColor(0, 127, 8);
        DrawString(StringFromInt(creature->matterBank), 560, 440);
    }
    walk(messages, kAnyObject, [](tOnscreenObject* o) { o->draw(); });
    if (options) options->draw();
    drawNotice();
    setDefaultColour();
    Flip(0);
}

void tProgram::drawHUD() {
    SetDrawScale(2, 2);
    DrawFrame(gfx::hud, 0, 0, 0);
    if (abductionBeamStatus && abductionBeamStatus->textImg) {
        const std::shared_ptr<TImage>& text = abductionBeamStatus->textImg;
        SetDrawScale(2, 2);
        if (abductionBeamStatus->warning) {
            SetColor(255, 0, 0);
        } else {
            SetColor(0, 255, 0);
        }
        DrawFrame(text, static_cast<float>(320 - text->width), 12, 0); // centred at scale 2
        setDefaultColour();
    }
    if (warnings) warnings->draw();
}

std::string tProgram::militaryStrengthText() const {
    // With no military buildings at all there is nothing to divide by: 0 per cent.
    const int percent =
        militaryStrengthMax != 0 ? TruncInt(militaryStrength / militaryStrengthMax * 100.0f) : 0;
    return Placed(Tr("Military strength: %d"), {StringFromInt(percent)});
}

void tProgram::drawDebug() {
    SetDrawScale(2, 2);
    DrawString(militaryStrengthText(), 3, 0);
}

void tProgram::drawMap() {
    if (!timerReady(drawTimer, drawDelay)) return;
    Cls();
    if (mapScreen) mapScreen->draw();
    if (blackScreen) {
        SetDrawScale(2, 2);
        SetAlpha(std::min(blackScreenAlpha, 1.0f)); // fully black for the first 0.2 s
        DrawFrame(blackScreen, 0, 0, 0);
        SetAlpha(1.0f);
    }
    if (options) options->draw();
    if (replays) replays->draw();
    drawNotice();
    Flip(0);
}

void tProgram::drawNotice() {
    if (notice) notice->draw();
}

void tProgram::setDefaultColour() {
    SetColor(colours::defaultR, colours::defaultG, colours::defaultB);
}

// ---------------------------------------------------------------------------------------------------
// Who the action is about

tActor* tProgram::playerObject() {
    return player.get();
}

tOnscreenObject* tProgram::homebaseObject() {
    return playerBase.get();
}

tOnscreenObject* tProgram::focusObject() {
    if (playerBase && playerBase->isLeaving()) return playerBase.get();
    return playerObject();
}

// ---------------------------------------------------------------------------------------------------
// The outro

void tProgram::deleteAllObjects() {
    mapScreen.reset();
    weaponList.reset();
    buildingList.reset();
    actorList.reset();
    fxList.reset();
    messages.reset();
    buttons.reset();
    camera.reset();
    map.reset();
    state = gamestate::PAUSED;
    if (player && player->loopChannel) player->loopChannel->Stop();
    player.reset();
    if (playerBase && playerBase->loopChannel) playerBase->loopChannel->Stop();
    playerBase.reset();
    radar.reset();
    abductionBeamStatus.reset();
    warnings.reset();
    currentMenu.reset();
    errorPopup.reset();
    theAi.reset();
    worldData.reset();
    militaryStrength = 0;
    militaryStrengthMax = 0;
    blackScreen.reset();
    blackScreenAlpha = 0;
}

void tProgram::drawOutro(const std::shared_ptr<TList>& stars) {
    walk(stars, kAnyObject, [](tOnscreenObject* star) { star->draw(); });
}

void tProgram::runOutro() {
    beginOutro();
    while (outroPass()) {
    }
    endOutro();
}

void tProgram::beginOutro() {
    AllowScreenSaver(true); // the outro plays on until a key: nothing to watch closely
    Cls();
    deleteAllObjects();
    ClearKeys();
    outro = std::make_shared<Outro>();
    outro->stars = std::make_shared<TList>();
    outro->starTimer = 0;
    outro->text = TImage::Load("incbin::outro\\outroText.png", 0);
    const std::shared_ptr<TSound> song =
        TSound::Load("incbin::marchOfSadness.ogg", SOUND_MUSIC); // plays once
    blackScreen = TImage::Load("incbin::Gfx\\blackScreen.png", 0);
    blackScreenAlpha = 2.0f;
    outro->song = song ? song->Play(std::make_shared<TChannel>()) : nullptr;
    Delta::Start();
    for (int i = 0; i < 241; ++i) {
        const int sx = RandomInt(0, 640);
        const int sy = RandomInt(0, 480);
        outro->stars->AddLast(tIntroStar::Create(static_cast<float>(sx), static_cast<float>(sy)));
    }
}

bool tProgram::outroPass() {
    if (!outro) return false;
    beginPass();
    // Any key that types a character ends the outro, and so do the close button and a stop signal.
    if (NextChar() != 0 || CloseRequested()) return false;
    Cls();
    Delta::Update();
    if (timerReady(outro->starTimer, Outro::starDelay)) {
        const int sx = RandomInt(0, 640);
        outro->stars->AddLast(tIntroStar::Create(static_cast<float>(sx), 480)); // a new star at the bottom
    }
    for (const std::shared_ptr<tIntroStar>& star : outro->stars->typed<tIntroStar>()) {
        star->update();
        if (star->y < 0) outro->stars->Remove(star.get());
    }
    if (blackScreen) {
        blackScreenAlpha = static_cast<float>(blackScreenAlpha - 5.0 * Delta::Time());
        if (blackScreenAlpha < 0) blackScreen.reset();
    }
    if (timerReady(drawTimer, drawDelay)) {
        drawOutro(outro->stars);
        SetDrawScale(2, 2);
        SetAlpha(1.0f);
        DrawFrame(outro->text, 0, 0, 0);
        if (blackScreen) {
            SetAlpha(std::min(blackScreenAlpha, 1.0f));
            DrawFrame(blackScreen, 0, 0, 0);
            SetAlpha(1.0f);
        }
        if (notice) notice->update();
        drawNotice();
        Flip(0);
    }
    return true;
}

void tProgram::endOutro() {
    if (outro && outro->song) outro->song->Stop();
}
