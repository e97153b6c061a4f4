#pragma once
#include <memory>
#include <string>
#include <vector>

class TImage;
class TSound;

// The asset catalogue: every picture and sound the game keeps for its whole run, loaded once at
// start-up into these process-wide handles and shared by every object that shows or plays them.

using ImageHandle = std::shared_ptr<TImage>;
using SoundHandle = std::shared_ptr<TSound>;

struct gfx {
    static inline ImageHandle siegeSuitWalking;
    static inline ImageHandle siegeSuitWalkLeft;
    static inline ImageHandle siegeSuitFlying;
    static inline ImageHandle suitShield;
    static inline ImageHandle egg;
    static inline ImageHandle tank;
    static inline ImageHandle medTurret;
    static inline ImageHandle soldier;
    static inline ImageHandle civilian;
    static inline ImageHandle soldierGreen;
    static inline ImageHandle civilianGreen;
    static inline ImageHandle personDeath;
    static inline ImageHandle radarContacts;
    static inline ImageHandle dusterFront;
    static inline ImageHandle dusterSideways;
    static inline ImageHandle cow;
    static inline ImageHandle cowGreen;
    static inline ImageHandle factory;
    static inline ImageHandle barracks;
    static inline ImageHandle homebase;
    static inline ImageHandle homebaseFlying;
    static inline ImageHandle airpad;
    static inline ImageHandle house01;
    static inline ImageHandle house02;
    static inline ImageHandle house03;
    static inline ImageHandle house04;
    static inline ImageHandle airMineLauncher;
    static inline ImageHandle lightTurret;
    static inline ImageHandle heavyTurret;
    static inline ImageHandle abductoBeam;
    static inline ImageHandle abductionCage;
    static inline ImageHandle laser;
    static inline ImageHandle laserHit;
    static inline ImageHandle spinner;
    static inline ImageHandle tankShot;
    static inline ImageHandle tankShotHit;
    static inline ImageHandle photon;
    static inline ImageHandle photonGlow;
    static inline ImageHandle bullet;
    static inline ImageHandle bulletHit;
    static inline ImageHandle splash;
    static inline ImageHandle photonExplosion;
    static inline ImageHandle fooExplosion;
    static inline ImageHandle flakShot;
    static inline ImageHandle bigExplosion;
    static inline ImageHandle bigExplosionRad;
    static inline ImageHandle airMine;
    static inline ImageHandle radiationIndicator;
    static inline ImageHandle heart;
    static inline ImageHandle bileSpit;
    static inline ImageHandle background;
    static inline ImageHandle hud;
    static inline ImageHandle healthBars;
    static inline ImageHandle batteryBar;
    static inline ImageHandle flakExplosion;
    static inline ImageHandle flakExplosionRad;
    static inline ImageHandle matterBall;
    static inline ImageHandle matterBallGreen;
    static inline ImageHandle pushXFlash;
    static inline ImageHandle pushZFlash;
};

struct tSfx {
    static inline SoundHandle abducted;
    static inline SoundHandle select;
    static inline SoundHandle photon;
    static inline SoundHandle photonHit;
    static inline SoundHandle shieldHit;
    static inline SoundHandle flak;
    static inline SoundHandle flakExplosion;
    static inline SoundHandle explode;
    static inline SoundHandle tinyBleep;
    static inline SoundHandle bullet;
    static inline SoundHandle lowPew;
    static inline SoundHandle splat;
    static inline SoundHandle fooDestroyed;
    static inline SoundHandle eggHatching;
    static inline SoundHandle tankBullet;
    static inline SoundHandle spaceWarp;
    static inline SoundHandle error;
    static inline SoundHandle fooDamaged;
    static inline SoundHandle introExplosion;
    static inline SoundHandle introMissileLaunch;
    static inline SoundHandle abductorLoop;
    static inline SoundHandle laserLoop;
    static inline SoundHandle shieldLoop;
    static inline SoundHandle dazozuzoFlying;
};

// A set of five background pictures. A background block code 0..14 names a picture: 0-4 of set 01,
// 5-9 of set 02, 10-14 of set 03; within its set the picture index is code - 5 * setNumber.
struct bgSet {};

struct bgSet01 : bgSet {
    static inline ImageHandle img1, img2, img3, img4, img5;
    static inline int setNumber = 0;
    // index 0..4 -> img1..img5; any other index (a block code, say) -> null
    static ImageHandle getImageFromIndex(int index);
    // a block code of this set: 0..4
    static int getRandomIndex();
};

struct bgSet02 : bgSet {
    static inline ImageHandle img1, img2, img3, img4, img5;
    static inline int setNumber = 1;
    // index 0..4 -> img1..img5; any other index (a block code, say) -> null
    static ImageHandle getImageFromIndex(int index);
    // a block code of this set: 5..9
    static int getRandomIndex();
};

struct bgSet03 : bgSet {
    static inline ImageHandle img1, img2, img3, img4, img5;
    static inline int setNumber = 2;
    // index 0..4 -> img1..img5; any other index (a block code, say) -> null
    static ImageHandle getImageFromIndex(int index);
    // a block code of this set: 10..14
    static int getRandomIndex();
};

// Where an image's handle goes, computed from its frame size w x h with whole-number division.
struct Anchor {
    enum class Rule { Fixed, BottomCentre, Middle, Centre };
    Rule rule = Rule::Fixed;
    float x = 0, y = 0; // Fixed: the point itself
    int k = 0;          // BottomCentre: (w div 2, h - k); Middle: (w div 2, h div 2 + k)

    static constexpr Anchor fixed(float ax, float ay) { return {Rule::Fixed, ax, ay, 0}; }
    static constexpr Anchor bottomCentre(int up) { return {Rule::BottomCentre, 0, 0, up}; }
    static constexpr Anchor middle(int down) { return {Rule::Middle, 0, 0, down}; }
    static constexpr Anchor centre() { return {Rule::Centre, 0, 0, 0}; }
};

// One picture of the catalogue: its handle, resource path, how it is cut and where it is anchored.
struct ImageEntry {
    ImageHandle* handle;
    const char* path;
    bool anim;     // cut into cells (LoadAnim) rather than loaded whole
    int cellWidth; // for a single picture: the picture size
    int cellHeight;
    int frames;
    Anchor anchor;
};

struct SoundEntry {
    SoundHandle* handle;
    const char* path;
    int flags; // 1 = looping
    int channels;
};

// The image catalogue in load order (the gfx pictures, then the background sets 01, 02, 03).
const std::vector<ImageEntry>& imageCatalogue();
// The sound catalogue in load order.
const std::vector<SoundEntry>& soundCatalogue();

// Loads every catalogue picture (gfx, then bgSet01..03) and then every sound, in catalogue order.
// Loading only decodes; textures are made when a frame is first drawn.
void loadAssets();
// Sets the anchor of every catalogue picture (done once the window and font exist).
void anchorAssets();
// Drops every handle (tests use it to start from nothing).
void releaseAssets();
