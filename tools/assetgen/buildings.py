"""Buildings, turrets and the Dazozuzo mothership, kept as pixel grids in
sprites/. Turret frames aim level-near (slightly down), level-far, up-far and
up-near; the landed mothership's four frames chase its rim lights, the flying
one's two frames flicker its engines."""

import gridsprite
from registry import picture

GRIDS = {
    "Gfx/buildings/factory.png": "factory",
    "Gfx/buildings/barracks.png": "barracks",
    "Gfx/buildings/airpad.png": "airpad",
    "Gfx/buildings/house01.png": "house01",
    "Gfx/buildings/house02.png": "house02",
    "Gfx/buildings/house03.png": "house03",
    "Gfx/buildings/house04.png": "house04",
    "Gfx/buildings/airMineLauncher.png": "airMineLauncher",
    "Gfx/buildings/lightTurret.png": "lightTurret",
    "Gfx/buildings/medTurret.png": "medTurret",
    "Gfx/buildings/heavyTurret.png": "heavyTurret",
    "Gfx/buildings/homebase.png": "homebase",
    "Gfx/buildings/homebaseFlying.png": "homebaseFlying",
}

for _path, _name in GRIDS.items():
    picture(_path)(lambda _name=_name: gridsprite.sheet(_name))
