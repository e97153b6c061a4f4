#pragma once
// Helpers of the opposition's tests: the shell's bare headless program plus a creature and a landed
// homebase, and small queries over the battlefield lists.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "buildings/homebase.h"
#include "engine/engine.h"
#include "game/shell_test_support.h"
#include "player/enemy_projectiles.h"
#include "player/foo.h"

class OppositionTest : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        theProgram->player = tFoo::Create(0, 350);
        theProgram->actorList->AddLast(theProgram->player);
        theProgram->playerBase = tHomebase::Create(0, 350, 1);
        theProgram->playerBase->setBaseState(cBaseStates::IDLE);
        theProgram->buildingList->AddLast(theProgram->playerBase);
    }

    tFoo& player() { return *theProgram->player; }
    tHomebase& homebase() { return *theProgram->playerBase; }

    template <class T> static std::shared_ptr<T> add(std::shared_ptr<T> object, TList& list) {
        list.AddLast(object);
        return object;
    }
    template <class T> static std::shared_ptr<T> addActor(std::shared_ptr<T> actor) {
        return add(std::move(actor), *theProgram->actorList);
    }
    template <class T> static std::shared_ptr<T> addBuilding(std::shared_ptr<T> building) {
        return add(std::move(building), *theProgram->buildingList);
    }

  public:
    // Objects of one class in a list, in list order.
    template <class T> static std::vector<std::shared_ptr<T>> all(const std::shared_ptr<TList>& list) {
        std::vector<std::shared_ptr<T>> found;
        for (const std::shared_ptr<T>& object : list->typed<T>())
            found.push_back(object);
        return found;
    }
    template <class T> static int count(const std::shared_ptr<TList>& list) {
        return static_cast<int>(all<T>(list).size());
    }
    static int tankShots() { return count<tTankShot>(theProgram->weaponList) - bullets(); }
    static int bullets() { return count<tBullet>(theProgram->weaponList); }
};
