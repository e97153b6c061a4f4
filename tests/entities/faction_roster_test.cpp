#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "entities/actor.h"
#include "entities/faction_roster.h"
#include "game/constants.h"

namespace {

std::shared_ptr<tActor> actorOf(int faction, float x) {
    auto actor = std::make_shared<tActor>();
    actor->faction = faction;
    actor->x = x;
    return actor;
}

std::vector<float> opponentXs(const TList& list, int faction) {
    std::vector<float> xs;
    for (tActor* actor : tFactionRoster<tActor>::opponentsOf(list, faction))
        xs.push_back(actor->x);
    return xs;
}

TEST(FactionRoster, FollowsEveryChangeOfTheListInListOrder) {
    TList list;
    list.AddLast(actorOf(factions::ENEMY, 1));
    auto ally = actorOf(factions::ALLY, 2);
    list.AddLast(ally);
    list.AddLast(actorOf(factions::ALLY, 3));
    EXPECT_EQ(opponentXs(list, factions::ENEMY), (std::vector<float>{2, 3}));
    EXPECT_EQ(opponentXs(list, factions::ALLY), (std::vector<float>{1}));

    list.AddFirst(actorOf(factions::ALLY, 0));
    EXPECT_EQ(opponentXs(list, factions::ENEMY), (std::vector<float>{0, 2, 3}));
    list.Remove(ally.get());
    EXPECT_EQ(opponentXs(list, factions::ENEMY), (std::vector<float>{0, 3}));
    list.Reverse();
    EXPECT_EQ(opponentXs(list, factions::ENEMY), (std::vector<float>{3, 0}));
    list.Sort(true, [](const std::shared_ptr<Object>& a, const std::shared_ptr<Object>& b) {
        return static_cast<int>(objectAs<tActor>(a.get())->x - objectAs<tActor>(b.get())->x);
    });
    EXPECT_EQ(opponentXs(list, factions::ENEMY), (std::vector<float>{0, 3}));
    list.Clear();
    EXPECT_TRUE(opponentXs(list, factions::ENEMY).empty());
}

TEST(FactionRoster, KeepsListsApartEvenAtTheSameAddress) {
    auto first = std::make_unique<TList>();
    first->AddLast(actorOf(factions::ALLY, 1));
    EXPECT_EQ(opponentXs(*first, factions::ENEMY), std::vector<float>{1});
    // A new list built where the old one lived is not mistaken for it.
    first.reset();
    auto second = std::make_unique<TList>();
    EXPECT_TRUE(opponentXs(*second, factions::ENEMY).empty());
    TList other;
    other.AddLast(actorOf(factions::ALLY, 5));
    EXPECT_TRUE(opponentXs(*second, factions::ENEMY).empty());
    EXPECT_EQ(opponentXs(other, factions::ENEMY), std::vector<float>{5});
}

} // namespace
