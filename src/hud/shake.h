#pragma once

// The screen shake of radiation blasts: class-wide state, on the engine clock. Every battlefield
// drawing position has xOffset and yOffset taken off.
struct tShake {
    static inline float xOffset = 0;
    static inline float yOffset = 0;
    static inline float stepDelay = 50.0f;
    static inline float duration = 0;
    static inline float magnitude = 0;
    static inline float decay = 0;
    // Engine clock readings, compared and moved across the counter's wrap (engine/clock.h).
    static inline int nextStepTime = 0;
    static inline int endTime = 0;
    // The player's comfort setting: 1 full, a fraction reduced, 0 none. Every shake's magnitude is
    // scaled by it; the random steps are drawn all the same, so the battle plays out alike.
    static inline float scale = 1.0f;

    static void start(int magnitude, int duration);
    static void update();
    static void resetTimers();
};
