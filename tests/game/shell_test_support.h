#pragma once
// Helpers of the game shell's tests: a bare headless program (lists, camera, map and key state, no
// intro, no map screen, no battlefield) and small battlefield objects that record what is done to them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "entities/actor.h"
#include "game/assets.h"
#include "game/constants.h"
#include "game/game_clock.h"
#include "game/program.h"
#include "game/startup.h"
#include "hud/shake.h"
#include "world/camera.h"
#include "world/input.h"
#include "world/map.h"

inline void loadShellAssetsOnce() {
    static bool loaded = false;
    if (loaded && gfx::hud) return;
    FillResourceTable();
    loadAssets();
    loaded = true;
}

// A headless engine with the game's drawing defaults and a tProgram that has its lists, camera, map
// and key state but nothing on the battlefield: tests put exactly the objects they need there.
class ShellTest : public ::testing::Test {
  protected:
    void SetUp() override {
        loadShellAssetsOnce();
        prepareGraphics(true);
        SeedRandom(4242);
        tShake::xOffset = tShake::yOffset = 0;
        tShake::endTime = 0;
        Delta::frameSeconds = 0;
        Delta::lastMillis = Millis();
        theProgram = std::make_shared<tProgram>();
        theProgram->timeStarted = Millis();
        theProgram->drawDelay = 2;
        theProgram->resetLists();
        theProgram->buttons = std::make_shared<tInput>();
        theProgram->camera = tCamera::Create();
        theProgram->map = std::make_shared<tMap>();
        theProgram->state = gamestate::RUNNING;
    }
    void TearDown() override {
        theProgram.reset();
        tShake::xOffset = tShake::yOffset = 0;
        tShake::endTime = 0;
        ClearKeys();
        ShutdownEngine();
    }

    // One frame of dt milliseconds: the manual clock moves on and Delta measures it.
    static void step(int ms) {
        AdvanceMillis(ms);
        Delta::Update();
    }
};

// The back buffer as 0xRRGGBB values, row by row, after `draw` has run on a cleared screen.
template <class F> std::vector<std::uint32_t> screenAfter(F&& draw) {
    std::vector<std::uint32_t> screen(640 * 480);
    Cls();
    draw();
    EXPECT_TRUE(ReadBackBuffer(0, 0, 640, 480, screen.data()));
    for (auto& p : screen)
        p &= 0xFFFFFF;
    return screen;
}

// How many pixels of [x0, x1) x [y0, y1) satisfy `is`.
template <class F>
int countPixels(const std::vector<std::uint32_t>& screen, int x0, int y0, int x1, int y1, F&& is) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            n += is(screen[y * 640 + x]) ? 1 : 0;
    return n;
}

// Where two screens differ: 1 there, 0 elsewhere.
inline std::vector<std::uint32_t> differences(const std::vector<std::uint32_t>& a,
                                              const std::vector<std::uint32_t>& b) {
    std::vector<std::uint32_t> mask(a.size());
    for (std::size_t i = 0; i < a.size(); ++i)
        mask[i] = a[i] != b[i];
    return mask;
}

// The box {left, top, right, bottom} around the pixels that satisfy `is` ({640, 480, -1, -1} if none).
template <class F> std::vector<int> boxOf(const std::vector<std::uint32_t>& screen, F&& is) {
    std::vector<int> box{640, 480, -1, -1};
    for (int i = 0; i < 640 * 480; ++i) {
        if (!is(screen[i])) continue;
        box = {std::min(box[0], i % 640), std::min(box[1], i / 640), std::max(box[2], i % 640),
               std::max(box[3], i / 640)};
    }
    return box;
}

// A shared record of calls, in order.
using Log = std::vector<std::string>;

// A plain battlefield object that logs its update, draw and resetTimers under its name; optionally
// carries extra kind bits (a stand-in building carries the Building bit for the program's walks).
class Recorder : public tOnscreenObject {
  public:
    Recorder(std::string name, Log* log, KindMask extraKinds = 0) : name(std::move(name)), log(log) {
        kinds |= extraKinds;
    }
    std::string name;
    Log* log;
    void update() override { log->push_back("update " + name); }
    void draw() override { log->push_back("draw " + name); }
    void resetTimers() override {
        tOnscreenObject::resetTimers();
        log->push_back("reset " + name);
    }
};

// An actor with a sprite of its own size and nothing else: the base state engine and motion as they are.
class TestActor : public tActor {
  public:
    TestActor(float px = 0, float py = 350) {
        x = px;
        y = py;
        width = 20;
        height = 20;
        defaultImg = TImage::Create(10, 10, 4, IMAGE_DYNAMIC);
    }
};
