#pragma once
#include <memory>
#include <string>

#include "entities/onscreen_object.h"

class tActor;

// A floating number (matter gained or spent, health lost or regained): rises 50 pixels a second,
// opaque for 750 ms, then fades out in 250 ms and leaves the message list.
class tNumberIndicator : public tKinded<tNumberIndicator, tOnscreenObject, Kind::NumberIndicator> {
  public:
    float alpha = 1.0f;
    int alphaTimer = 0;
    int r = -1, g = -1, b = -1;
    bool colourSet = false;

    static std::shared_ptr<tNumberIndicator> Create(float x, float y, const std::string& text, int r, int g,
                                                    int b, bool big);
    // "+12" or "-7": the sign, then the amount.
    static std::string SignedText(char sign, int amount);
    void update() override;
    void draw() override;
    void resetTimers() override;
};

// The radiation burst over a radioactive catch: five frames of 75 ms, following its owner.
class tRadiationIndicator : public tKinded<tRadiationIndicator, tOnscreenObject, Kind::RadiationIndicator> {
  public:
    std::shared_ptr<tActor> owner; // the catch the burst follows, or null

    static std::shared_ptr<tRadiationIndicator> Create(float x, float y,
                                                       const std::shared_ptr<tActor>& owner);
    void update() override;
    void draw() override;
};

// A blinking key picture above or below its owner; the owner keeps, updates and draws it. When the
// player has bound the action to another key, the hint shows that key's name on a key cap instead.
class tButtonFlasher : public tKinded<tButtonFlasher, tOnscreenObject, Kind::ButtonFlasher> {
  public:
    std::weak_ptr<tActor> owner; // the owner holds its hint, so the hint must not hold the owner
    bool above = false;
    int gameKey = 0; // the game's key the picture shows (Z or X)

    static std::shared_ptr<tButtonFlasher> createXButton(const std::shared_ptr<tActor>& owner, bool above);
    static std::shared_ptr<tButtonFlasher> createZButton(const std::shared_ptr<tActor>& owner, bool above);
    void update() override;
    void draw() override;
};
