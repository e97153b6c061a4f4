#include "game/game_clock.h"

#include <cmath>

#include "engine/engine.h"
#include "entities/actor.h"
#include "game/constants.h"
#include "game/program.h"
#include "world/camera.h"
#include "world/map.h"

void Delta::Start() {
    lastMillis = Millis();
}

void Delta::Update() {
    frameSeconds = MillisBetween(lastMillis, Millis()) * 0.001;
    lastMillis = Millis();
}

void Delta::Reset() {
    lastMillis = Millis();
    frameSeconds = MillisBetween(lastMillis, Millis()) * 0.001;
}

int gameMillisecs() {
    // A difference of two counter readings: right even when the counter wrapped since init.
    const int started = theProgram ? theProgram->timeStarted : 0;
    return MillisBetween(started, Millis());
}

bool timerReady(int& timer, int delay) {
    const int now = gameMillisecs();
    if (now < timer) return false;
    if (delay > 0) timer = now + delay;
    return true;
}

void shiftByPause(int& timer) {
    const int pauseTime = theProgram ? theProgram->pauseTime : 0;
    timer = MillisAfter(timer, gameMillisecs() - pauseTime);
}

bool inRange(float value, float centre, float radius) {
    return value > centre - radius && value < centre + radius;
}

float angleBetween(float x1, float y1, float x2, float y2) {
    double a = ATan2Deg(y2 - y1, x2 - x1);
    if (a < 0) a += 360;
    // A tiny negative angle plus 360 rounds to 360 as a float: that direction is 0.
    const float angle = static_cast<float>(a);
    return angle < 360.0f ? angle : 0.0f;
}

float distanceBetween(float x1, float y1, float x2, float y2) {
    const double dx = x1 - x2;
    const double dy = y1 - y2;
    return static_cast<float>(std::sqrt(dx * dx + dy * dy));
}

std::shared_ptr<TImage> createTextImage(const std::string& text, float scaleX, float scaleY, int r, int g,
                                        int b) {
    const bool coloured = r >= 0 || g >= 0 || b >= 0;
    // A text image is kept and shown later: it is made even while frames go undrawn (replays draw only
    // the frames they look at).
    const bool wasDrawing = DrawingEnabled();
    const int wasSampling = FrameSampling(); // kept at full size even while frames are drawn small
    SetDrawingEnabled(true);
    SetFrameSampling(1);
    if (coloured) SetColor(r, g, b);
    // The back buffer is scratch space here, so this only runs outside frame drawing.
    Cls();
    SetDrawScale(scaleX, scaleY);
    DrawString(text, 0, 0);
    const int height = TruncInt(StringHeight(text) * static_cast<double>(scaleY));
    const int width = TruncInt(StringWidth(text) * static_cast<double>(scaleX));
    std::shared_ptr<TImage> image = TImage::Create(width, height, 1, IMAGE_MASKED | IMAGE_DYNAMIC);
    GrabFrame(image, 0, 0, 0);
    if (coloured) SetColor(colours::defaultR, colours::defaultG, colours::defaultB);
    SetFrameSampling(wasSampling);
    SetDrawingEnabled(wasDrawing);
    return image;
}

std::shared_ptr<tMap> getMap() {
    return theProgram ? theProgram->map : nullptr;
}

int groundLevel() {
    const std::shared_ptr<tMap> map = getMap();
    return map ? map->groundLevel : 350;
}

float cameraXOffset() {
    return theProgram && theProgram->camera ? theProgram->camera->xOffset : 0.0f;
}

std::shared_ptr<tFoo> getPlayer() {
    return theProgram ? theProgram->player : nullptr;
}

int compareDistanceToHomebase(const std::shared_ptr<Object>& a, const std::shared_ptr<Object>& b) {
    tActor* first = objectAs<tActor>(a.get());
    tActor* second = objectAs<tActor>(b.get());
    // Anything that is not an actor has no distance; keep it where it is relative to its peers.
    if (!first || !second) return 0;
    return first->getDistanceToHomebase() - second->getDistanceToHomebase();
}
