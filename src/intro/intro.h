#pragma once
#include <memory>

#include "engine/object.h"

class TChannel;
class TImage;
class TList;
class TSound;
class tIntroFlash;
class tIntroMissile;
class tIntroSurvivor;
class tIntroTitle;

// The opening sequence: over a rising star field and its own music a formation of 45 ships descends,
// the title fades in, a typed key launches a missile, the screen flashes white, one ship survives and
// tumbles away, and the screen fades to black. A key typed before the title or after the launch skips
// to the fade. The intro uses no battlefield list: everything here belongs to the tIntro.
class tIntro : public Object {
  public:
    static constexpr float kFormationStart = -150.0f;
    static constexpr float kFormationRest = 160.0f;
    static constexpr float kDescentSpeed = 70.0f; // pixels per second
    static constexpr float kFadeSpeed = 3.0f;     // black cover opacity per second
    static constexpr float kMissileHitY = 260.0f;

    std::shared_ptr<TList> actorList; // the formation, later also the missile
    std::shared_ptr<TList> starField;
    float formationY = kFormationStart;
    bool inputReady = false; // the title is shown: a key launches the missile
    bool missileSpawned = false;
    std::shared_ptr<tIntroMissile> missile;
    std::shared_ptr<tIntroFlash> objFlash;
    std::shared_ptr<tIntroSurvivor> survivor;
    std::shared_ptr<tIntroTitle> introTitle;
    std::shared_ptr<TSound> introSong;
    std::shared_ptr<TChannel> introSongChannel;
    std::shared_ptr<TImage> blackscreen; // set once the fade to black has begun
    float blackscreenAlpha = 0;
    int starfieldTimer = 0;
    int starfieldDelay = 40;

    tIntro(); // starts the music, builds the formation and the star field

    virtual void createFormation();
    virtual void createStarfield();
    virtual void resetFormation() { formationY = kFormationStart; }
    // One frame of the sequence; false once the intro is over.
    virtual bool update();
    virtual void endIntro();
    virtual void draw();

  private:
    void readKeys();
    void launchMissile();
    void updateStars();
    void missileHit();
    void beginFade();
    void stopMusic();
};
