#pragma once

// The shared vocabulary of the game: unit states, homebase states, game states, orders, radar contact
// kinds, AI moods, facing, screen size and scale, the two sides and the default drawing colour.
// Each holder is a class without instances, so the names read `states::DEAD`, `cOrders::PATROL`.

struct direction {
    static constexpr int FACE_LEFT = -1;
    static constexpr int FACE_RIGHT = 1;
};

struct screen {
    static constexpr int SCREEN_WIDTH = 640;
    static constexpr int SCREEN_HEIGHT = 480;
};

struct scale {
    static constexpr int SCALE_X = 2;
    static constexpr int SCALE_Y = 2;
};

struct gamestate {
    static constexpr int PAUSED = 0;
    static constexpr int RUNNING = 1;
    static constexpr int MENU = 2;
    static constexpr int MAP = 3;
};

// States of the homebase (the Dazozuzo).
struct cBaseStates {
    static constexpr int LANDING = 0;
    static constexpr int IDLE = 1;
    static constexpr int TAKEOFF = 2;
    static constexpr int VICTORY = 3;
};

// Standing orders of an actor; 0 means no order has been given yet.
struct cOrders {
    static constexpr int WAIT = 10;
    static constexpr int PATROL = 20;
    static constexpr int ATTACK = 30;
};

// Radar contact kinds; each is also the frame of the contacts picture that shows it.
struct cRadar {
    static constexpr int ENEMY_BUILDING = 0;
    static constexpr int ENEMY_UNIT = 1;
    static constexpr int ALLY_BUILDING = 2;
    static constexpr int ALLY_UNIT = 3;
};

// Moods of the AI director.
struct moods {
    static constexpr int PASSIVE = 0;
    static constexpr int MEDIUM = 1;
    static constexpr int AGGRESSIVE = 2;
};

// Ship types of the intro fleet.
struct constTypes {
    static constexpr int TYPE1 = 0;
    static constexpr int TYPE2 = 1;
    static constexpr int TYPE3 = 2;
    static constexpr int TYPE4 = 3;
};

// States of the actor state engine.
struct states {
    static constexpr int IDLE = 0;
    static constexpr int MOVING = 1;
    static constexpr int FIRING = 2;
    static constexpr int STRAFING = 3;
    static constexpr int KNOCKBACK = 4;
    static constexpr int PRODUCING = 5;
    static constexpr int REGENERATING = 6;
    static constexpr int ABDUCTING = 7;
    static constexpr int STUNNED = 8;
    static constexpr int FALLING = 9;
    static constexpr int HOLDING = 10;
    static constexpr int DEAD = 11;
    static constexpr int SHIELDING = 12;
    static constexpr int RESPAWN = 13;
    static constexpr int WAIT = 14;
};

// The drawing colour read back right after the window opened; every tinted draw restores it.
struct colours {
    static inline int defaultR = 255;
    static inline int defaultG = 255;
    static inline int defaultB = 255;
};

// The two sides. Every on-screen object starts as ENEMY; the creature, its homebase and its weapons
// are ALLY.
struct factions {
    static constexpr int ALLY = 10;
    static constexpr int ENEMY = 20;
};
