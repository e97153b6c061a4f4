#pragma once
#include <memory>

#include "game/object_kinds.h"

class TImage;

// Root of everything on the battlefield: units, buildings, shots, effects, floating indicators and the
// intro's ships. Holds position, box, hit points, facing, collision trims, sprite, motion parameters,
// faction and the matter balls left behind, and offers the screen position, centres, box collision,
// generic damage and destruction, the nearness test and the white hit flash.
class tOnscreenObject : public tKinded<tOnscreenObject, Object, Kind::OnscreenObject>,
                        public std::enable_shared_from_this<tOnscreenObject> {
  public:
    tOnscreenObject();
    ~tOnscreenObject() override;

    float x = 0;     // world x of the anchor (where the image's handle is drawn)
    float y = 0;     // world y of the anchor
    float width = 0; // box size in world units (twice the picture's cell, trimmed by some classes)
    float height = 0;
    int hp = 0;
    int hpMax = 0;
    int facing = 0;             // direction::FACE_RIGHT or FACE_LEFT; the sign of the horizontal draw scale
    float collisionXOffset = 0; // taken off the half-width of the collision box (negative enlarges it)
    float collisionYOffset = 0; // taken off the half-height
    std::shared_ptr<TImage> defaultImg;
    int frame = 0;
    int framesMax = 0;
    int animTimer = 0;
    int animDelay = 0;
    float topSpeed = 0;
    float maxAccel = 0;
    float decelSpeed = 0;
    float xVel = 0;
    float yVel = 0;
    float dir = 0; // heading in degrees, 0 right, 90 down
    float speed = 0;
    int faction;
    int matterballs = 0;
    std::shared_ptr<TImage> imgFlash; // white silhouette while a hit flash runs
    int flashFrame = 0;
    int flashDelay = 40;
    int flashTimer = 0;
    // The player's comfort setting: false draws no white flashes, neither objects' hit flashes (they run
    // all the same) nor the intro's white screen.
    static inline bool flashesShown = true;

    virtual void update() {}
    virtual void draw() {}
    virtual void updateFlash();
    virtual void drawFlash();
    virtual void flash();
    virtual void resetTimers();
    virtual float getX();
    virtual float getY();
    virtual void getTopLeft(float& left, float& top);
    virtual float getXCenter();
    virtual float getYCenter();
    virtual bool checkRegionCollision(tOnscreenObject* other);
    virtual void damage(float amount);
    virtual void destroy();
    virtual bool isOnscreen();
    // Shows the picture and takes its size as the box (none without a picture).
    void setPicture(const std::shared_ptr<TImage>& image);
    // A short effect: at (x, y), the picture from frame 0, one frame every frameTime.
    void startEffect(float x, float y, const std::shared_ptr<TImage>& image, int frameTime);
    // A short effect's clock: a frame every animDelay; past the last frame it leaves the effects list.
    // True on the passes a frame begins (the leaving one too).
    bool stepEffect();

    template <class T> bool checkRegionCollision(const std::shared_ptr<T>& other) {
        return checkRegionCollision(static_cast<tOnscreenObject*>(other.get()));
    }

    // This object as a shared pointer of its own class (objects hand themselves out as owners).
    template <class T = tOnscreenObject> std::shared_ptr<T> self() {
        return std::static_pointer_cast<T>(shared_from_this());
    }
};
