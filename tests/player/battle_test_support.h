#pragma once
// A small battlefield for the larva's, the abductables' and the buildings' tests: the shell's bare
// program plus the HUD pieces the battlefield talks to, the larva standing on the ground at x 0 and
// its homebase landed far off at x 1000 (so X does not open the menu), both in their lists.
#include <gtest/gtest.h>

#include <memory>

#include "buildings/building.h"
#include "buildings/homebase.h"
#include "engine/engine.h"
#include "entities/abductable.h"
#include "entities/person.h"
#include "game/shell_test_support.h"
#include "hud/beam_status.h"
#include "hud/warning.h"
#include "player/foo.h"
#include "world/input.h"

class BattleTest : public ShellTest {
  protected:
    static constexpr float kGround = 350;

    void SetUp() override {
        ShellTest::SetUp();
        theProgram->warnings = std::make_shared<tWarning>();
        theProgram->abductionBeamStatus = std::make_shared<tAbductionBeamStatus>();
        larva = tFoo::Create(0, kGround);
        theProgram->player = larva;
        theProgram->actorList->AddLast(larva);
        base = tHomebase::Create(1000, kGround, 1);
        base->setBaseState(cBaseStates::IDLE);
        theProgram->playerBase = base;
        theProgram->buildingList->AddLast(base);
    }

    tInput& keys() { return *theProgram->buttons; }
    void releaseKeys() { keys().resetKeys(); }

    // One frame of ms for the larva alone.
    void larvaFrame(int ms = 10) {
        step(ms);
        larva->update();
    }
    // One frame of ms for every list, in the game's order (no AI, no drawing).
    void battleFrame(int ms = 10) {
        step(ms);
        theProgram->updateLists();
    }
    void runBattle(int ms, int frameMs = 10) {
        for (int t = 0; t < ms; t += frameMs)
            battleFrame(frameMs);
    }

    template <class T> int countIn(const std::shared_ptr<TList>& list) {
        int n = 0;
        for (const auto& o : list->typed<T>()) {
            (void)o;
            ++n;
        }
        return n;
    }
    template <class T> std::shared_ptr<T> firstIn(const std::shared_ptr<TList>& list) {
        for (const auto& o : list->typed<T>())
            return o;
        return nullptr;
    }

    // An enemy civilian standing at (x, y), in the actor list.
    std::shared_ptr<tCivilian> civilianAt(float x, float y = kGround) {
        auto civilian = tCivilian::Create(x, y, nullptr);
        theProgram->actorList->AddLast(civilian);
        return civilian;
    }

    std::shared_ptr<tFoo> larva;
    std::shared_ptr<tHomebase> base;
};
