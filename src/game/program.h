#pragma once
#include <functional>
#include <memory>
#include <string>

#include "engine/object.h"

class TList;
class TImage;
class TChannel;
class tMapScreen;
class tInput;
class tCamera;
class tMap;
class tFoo;
class tHomebase;
class tRadar;
class tAbductionBeamStatus;
class tWarning;
class tMenu;
class tQuickErrorPopup;
class tAI;
class tPersistence;
class tOnscreenObject;
class tActor;
class tCampaignFile;
class tNotice;
class tOptionsScreen;
class tReplaysScreen;
struct tSettings;

// The game itself: one instance in `theProgram`. Owns the five battlefield lists, the creature, its
// homebase, the camera, the ground map, the key state, the HUD objects, the menu, the AI director and
// the campaign state; runs the intro, the loop of map screen and missions, and the outro.
class tProgram : public Object {
  public:
    tProgram();
    ~tProgram() override;

    std::shared_ptr<tMapScreen> mapScreen;
    std::shared_ptr<TList> weaponList;   // every shot and beam in flight
    std::shared_ptr<TList> buildingList; // every building, the homebase first
    std::shared_ptr<TList> actorList;    // every moving unit, the creature first
    std::shared_ptr<TList> fxList;       // explosions, hits, splashes, hearts, the egg, radiation bursts
    std::shared_ptr<TList> messages;     // floating numbers
    int timeStarted = 0;                 // Millis() at init: origin of the game clock
    int drawTimer = 0;
    int drawDelay = 0;
    int pauseTime = 0; // game clock when the battlefield last froze
    int state = 0;     // a gamestate value
    std::shared_ptr<tInput> buttons;
    std::shared_ptr<tCamera> camera;
    std::shared_ptr<tMap> map;
    std::shared_ptr<tFoo> player;
    std::shared_ptr<tHomebase> playerBase;
    std::shared_ptr<tRadar> radar;
    std::shared_ptr<tAbductionBeamStatus> abductionBeamStatus;
    std::shared_ptr<tWarning> warnings;
    std::shared_ptr<tMenu> currentMenu;
    std::shared_ptr<tQuickErrorPopup> errorPopup;
    std::shared_ptr<tAI> theAi;
    float militaryStrength = 0;    // opposing military buildings still standing
    float militaryStrengthMax = 0; // military buildings the mission started with
    std::shared_ptr<tPersistence> worldData;
    std::shared_ptr<tCampaignFile> campaignFile; // the saved campaign, read at init
    std::shared_ptr<tNotice> notice;             // the one-line notice over every screen
    // The player's settings, kept across sessions (the saved ones from start-up on; defaults until then).
    static inline std::shared_ptr<tSettings> playerSettings;
    // Called when the options screen closes with the player's settings as they now are (the game saves
    // them).
    static inline std::function<void(const tSettings&)> settingsClosed;
    // The settings the options screen changes, open over the map or the pause: the player's, or a copy
    // while a replay is watched (what the recorded player chose is shown, applied, and then forgotten).
    std::shared_ptr<tSettings> settings;
    std::shared_ptr<tOptionsScreen> options;
    // The replays, reached from the options over the map; the session the player chose there to watch
    // ends this one ("" until then).
    std::shared_ptr<tReplaysScreen> replays;
    std::string watchChosen;
    // A session watched: its options change only its copy of the settings and its game, and its replays
    // list is empty (the folder it saw when it was played is not the one there now).
    bool watched = false;
    std::shared_ptr<TImage> blackScreen; // fade over the map screen and the outro; null when none runs
    float blackScreenAlpha = 0;
    bool flagEndGame = false;

    // Called at the top of every pass of the intro, the main loop and the outro when set. Scenario
    // tests use it to move the manual clock and type keys; the game itself leaves it empty.
    static inline std::function<void()> passHook;
    // The player's comfort setting: losing the window's focus mid-battle pauses play, as P does.
    static inline bool pauseOnFocusLoss = true;

    // readPlayerFiles false: no saved campaign is read and no notice line kept (whoever makes the program
    // gives it those it should have, or none).
    void init(bool readPlayerFiles = true);
    void resetLists();
    static bool showIntro(); // false when the window was closed during it
    // After the intro, with a campaign saved: the player continues it or starts a new one. False when the
    // window was closed or the player left meanwhile.
    bool chooseCampaign();
    // The campaign record saved when it changed since it was last saved (on every pass and at the end).
    void saveCampaign();
    void initBattleField(int missionId);
    void clearBattleField();
    void setGameState(int newState, int missionId);
    void gameSleep(int ms);
    void run(); // init, the intro, playFromMap
    // The map screen and the missions until Esc, the close button or the last victory (then the outro).
    void playFromMap();
    void runOutro(); // beginOutro, outroPass until a character is typed, endOutro
    void drawOutro(const std::shared_ptr<TList>& stars);
    void deleteAllObjects();
    bool gameExit();
    void updateMain();
    void updateBattleField();
    void updateMap();
    void resetAllTimers();
    void setDefaultColour();
    void checkKeys();
    // P on the map and Select in the pause open the options; closing them keeps the settings.
    void openOptions();
    void closeOptions();
    // Over the map, the options and the replays stand over a frozen screen; true while either is open.
    bool updateOverlays();
    void checkFocus();
    void updateLists();
    void drawAll();
    void drawBattlefield();
    void checkVictory();
    void drawMap();
    void drawHUD();
    void drawDebug();
    void drawNotice();

    // The outro in steps (tests drive it pass by pass): the star field, the still text and the song.
    struct Outro {
        static constexpr int starDelay = 40;
        std::shared_ptr<TList> stars;
        int starTimer = 0;
        std::shared_ptr<TImage> text;
        std::shared_ptr<TChannel> song;
    };
    std::shared_ptr<Outro> outro; // null until the outro begins
    void beginOutro();
    bool outroPass(); // one pass; false once a character has been typed or the window closed
    void endOutro();  // stops the song

    // The object the action is about: the homebase while it leaves the battlefield, otherwise the
    // creature; null when there is neither. The camera follows it and isOnscreen measures from it.
    tOnscreenObject* focusObject();
    // The creature and the homebase seen as battlefield objects (null when absent).
    tActor* playerObject();
    tOnscreenObject* homebaseObject();

    // The debug line's text: "Military strength: " and the whole percentage left (0 with no maximum).
    std::string militaryStrengthText() const;
};

extern std::shared_ptr<tProgram> theProgram;
