#pragma once
#include <memory>
#include <string>

class Object;
class TImage;
class tMap;
class tFoo;

// Frame time: seconds between the two latest passes of a loop. Every motion is a speed times
// Delta::Time(); every timer uses the game clock instead.
struct Delta {
    static inline double frameSeconds = 0.0;
    static inline int lastMillis = 0;

    static void Start(); // lastMillis = now; frameSeconds kept
    static double Time() { return frameSeconds; }
    static void Update(); // seconds since the last reading
    static void Reset();  // restart after a freeze: nothing moves by it
};

// Milliseconds since tProgram::init (the engine clock before that).
int gameMillisecs();

// The one timer test: false while the game clock is before `timer`; once due, re-arms the timer to
// now + delay when delay > 0 (a late timer does not catch up) and answers true. With delay 0 or less
// the timer is left alone and keeps answering true.
bool timerReady(int& timer, int delay);

// Moves a timer on by the length of the pause that just ended: a timer due at t when play froze is
// due as long after now (t + now - the moment play froze). Every resetTimers moves its timers with it;
// the shake's engine-clock timers too, since the move is a length.
void shiftByPause(int& timer);

// centre - radius < value < centre + radius (bounds excluded).
bool inRange(float value, float centre, float radius);
// Direction from (x1, y1) to (x2, y2) in degrees, 0 <= angle < 360; 90 points down.
float angleBetween(float x1, float y1, float x2, float y2);
float distanceBetween(float x1, float y1, float x2, float y2);

// Renders a text into a new masked image through the back buffer (so only outside frame drawing).
// With r, g and b all below 0 the current colour is used and not restored; otherwise the text is
// drawn in (r, g, b) and the default colour restored. Leaves the draw scale at (scaleX, scaleY).
std::shared_ptr<TImage> createTextImage(const std::string& text, float scaleX, float scaleY, int r, int g,
                                        int b);

std::shared_ptr<tMap> getMap();
// The battlefield's ground line; 350 without a map (tests that run without a program).
int groundLevel();
// How far the camera has scrolled the battlefield; 0 without a camera.
float cameraXOffset();
std::shared_ptr<tFoo> getPlayer();

// Sort comparator over actors: the one nearer the homebase (vertically) first.
int compareDistanceToHomebase(const std::shared_ptr<Object>& a, const std::shared_ptr<Object>& b);
