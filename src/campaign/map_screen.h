#pragma once
#include <memory>

#include "engine/object.h"

class TImage;
class TList;
class tButtonFlasher;
class tMapDazozuzo;
class tMissionNode;

// The mission map between missions: the region's map, four mission nodes and the mothership the
// player steers. Over an open node a blinking Z hint shows under the ship, and Z, X or C starts that
// node's mission. Made on entering the map state, dropped when a mission starts.
class tMapScreen : public Object, public std::enable_shared_from_this<tMapScreen> {
  public:
    std::shared_ptr<TImage> mapImg;
    std::shared_ptr<tMapDazozuzo> dazozuzo;
    std::shared_ptr<TList> listNodes;              // the four nodes in creation order
    std::shared_ptr<tButtonFlasher> buttonFlasher; // the Z hint while over an open node, else null

    tMapScreen();

    static std::shared_ptr<tMapScreen> Create(float x, float y);
    virtual void update();
    // The first open node under the ship (less than a node's size from its centre on each axis).
    virtual bool isOverNode();
    virtual void draw();
    virtual void checkForValidNodes();
    virtual void selectNode(const std::shared_ptr<tMissionNode>& node);

  private:
    std::shared_ptr<tMissionNode> nodeUnderShip();
};
