#include "player/battle.h"

#include "game/game_clock.h"
#include "world/map.h"

namespace battle {

int groundLevel() {
    const std::shared_ptr<tMap> map = getMap();
    return map ? map->groundLevel : 350;
}

} // namespace battle
