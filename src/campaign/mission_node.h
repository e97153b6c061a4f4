#pragma once
#include <memory>
#include <string>

#include "engine/object.h"

class TImage;

// A mission on the map screen: a node picture (open or closed) with the mission's name floating
// above it. Nodes are made anew with every map screen, so they show the campaign's current state.
class tMissionNode : public Object {
  public:
    float x = 0; // centre of the node on screen
    float y = 0;
    int missionID = 0;
    std::shared_ptr<TImage> defaultImg;
    std::shared_ptr<TImage> textImg; // the name in green, anchored at its centre
    float width = 7;                 // size of the open node picture
    float height = 7;
    bool locked = false;

    static std::shared_ptr<tMissionNode> Create(float x, float y, int id);
    // "Infantry Staging Zone", "Armour Staging Zone", "Militarized Zone", "Boss Zone"; an id without a
    // name gives "Unnamed mission".
    static std::string getMissionName(int id);
    virtual bool isLocked() { return locked; }
    virtual void draw();
};
