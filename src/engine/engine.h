#pragma once
// Everything the game uses from the engine.
#include "engine/clock.h"
#include "engine/font.h"
#include "engine/gamepad.h"
#include "engine/graphics.h"
#include "engine/image.h"
#include "engine/keyboard.h"
#include "engine/list.h"
#include "engine/object.h"
#include "engine/pass_input.h"
#include "engine/random.h"
#include "engine/resources.h"
#include "engine/sound.h"
