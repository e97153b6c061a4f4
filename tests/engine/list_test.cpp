#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/list.h"

namespace {
// Two small classes with kind bits of their own (the game's bits live in game/object_kinds.h).
struct Thing : Object {
    static constexpr KindMask kKind = KindMask{1} << 62;
    explicit Thing(int id, int key = 0) : id(id), key(key) { kinds |= kKind; }
    int id;
    int key;
};
struct Other : Object {
    static constexpr KindMask kKind = KindMask{1} << 63;
    Other() { kinds |= kKind; }
};

std::vector<int> ids(const TList& list) {
    std::vector<int> out;
    for (const auto& thing : list.typed<Thing>())
        out.push_back(thing->id);
    return out;
}

std::vector<std::shared_ptr<Thing>> fill(TList& list, int count) {
    std::vector<std::shared_ptr<Thing>> things;
    for (int i = 0; i < count; ++i) {
        things.push_back(std::make_shared<Thing>(i));
        list.AddLast(things.back());
    }
    return things;
}
} // namespace

TEST(List, AddRemoveCountClear) {
    TList list;
    auto things = fill(list, 4);
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(ids(list), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_TRUE(list.Remove(things[1]));
    EXPECT_FALSE(list.Remove(things[1]));                        // already gone
    EXPECT_FALSE(list.Remove(std::make_shared<Thing>(1).get())); // equal id, other object: identity decides
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(ids(list), (std::vector<int>{0, 2, 3}));
    auto link = list.AddLast(things[1]);
    EXPECT_EQ(ids(list), (std::vector<int>{0, 2, 3, 1}));
    link->Remove();
    link->Remove(); // twice is harmless
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.First(), things[0]);
    EXPECT_EQ(list.Last(), things[3]);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(ids(list).empty());
    EXPECT_EQ(list.First(), nullptr);
    list.AddLast(things[2]);
    EXPECT_EQ(ids(list), (std::vector<int>{2}));
}

TEST(List, WalkSurvivesRemovalOfVisitedNextAndEarlier) {
    // Removing the visited element: the walk carries on with the next.
    {
        TList list;
        auto things = fill(list, 5);
        std::vector<int> seen;
        for (const auto& thing : list.typed<Thing>()) {
            seen.push_back(thing->id);
            if (thing->id % 2 == 0) list.Remove(thing.get());
        }
        EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4}));
        EXPECT_EQ(ids(list), (std::vector<int>{1, 3}));
    }
    // Removing the next element: it is not visited.
    {
        TList list;
        auto things = fill(list, 5);
        std::vector<int> seen;
        for (const auto& thing : list.typed<Thing>()) {
            seen.push_back(thing->id);
            if (thing->id == 1) list.Remove(things[2]);
        }
        EXPECT_EQ(seen, (std::vector<int>{0, 1, 3, 4}));
    }
    // Removing the visited element and then the next one: the removed link still leads on.
    {
        TList list;
        auto things = fill(list, 5);
        std::vector<int> seen;
        for (const auto& thing : list.typed<Thing>()) {
            seen.push_back(thing->id);
            if (thing->id == 1) {
                list.Remove(things[1]);
                list.Remove(things[2]);
            }
        }
        EXPECT_EQ(seen, (std::vector<int>{0, 1, 3, 4}));
    }
    // Removing earlier elements and clearing mid-walk.
    {
        TList list;
        auto things = fill(list, 5);
        std::vector<int> seen;
        for (const auto& thing : list.typed<Thing>()) {
            seen.push_back(thing->id);
            if (thing->id == 3) list.Remove(things[0]);
        }
        EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4}));
        seen.clear();
        for (const auto& thing : list.typed<Thing>()) {
            seen.push_back(thing->id);
            list.Clear();
        }
        EXPECT_EQ(seen, (std::vector<int>{1}));
    }
}

TEST(List, WalkKeepsTheVisitedObjectAlive) {
    // An object that removes itself from the only list holding it must survive to the end of its turn.
    struct SelfRemover : Thing {
        SelfRemover(TList* list, bool* alive) : Thing(0), list(list), alive(alive) { *alive = true; }
        ~SelfRemover() override { *alive = false; }
        void update() {
            list->Remove(this);
            id = 99; // still our memory
        }
        TList* list;
        bool* alive;
    };
    bool alive = false;
    TList list;
    list.AddLast(std::make_shared<SelfRemover>(&list, &alive));
    list.each<Thing>([&](const std::shared_ptr<Thing>& thing) {
        static_cast<SelfRemover*>(thing.get())->update();
        EXPECT_TRUE(alive);
        EXPECT_EQ(thing->id, 99);
    });
    EXPECT_FALSE(alive); // freed once the walk let go
}

TEST(List, TypedWalkSkipsOtherClassesAndAddsDuringWalkAreVisited) {
    TList list;
    list.AddLast(std::make_shared<Thing>(1));
    list.AddLast(std::make_shared<Other>());
    list.AddLast(nullptr);
    list.AddLast(std::make_shared<Thing>(2));
    EXPECT_EQ(ids(list), (std::vector<int>{1, 2}));
    int all = 0;
    for (const auto& object : list) {
        ASSERT_NE(object, nullptr);
        ++all;
    }
    EXPECT_EQ(all, 3);
    std::vector<int> seen;
    list.each<Thing>([&](const std::shared_ptr<Thing>& thing) {
        seen.push_back(thing->id);
        if (thing->id == 2) list.AddLast(std::make_shared<Thing>(3));
        if (thing->id == 3) { // the last one leaves first, then adds: the walk still reaches the addition
            list.Remove(thing.get());
            list.AddLast(std::make_shared<Thing>(4));
        }
    });
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4}));
}

TEST(List, SortIsStableBothWaysAndReverse) {
    TList list;
    const int keys[] = {3, 1, 2, 1, 3, 2, 1};
    for (int i = 0; i < 7; ++i)
        list.AddLast(std::make_shared<Thing>(i, keys[i]));
    auto byKey = [](const std::shared_ptr<Object>& a, const std::shared_ptr<Object>& b) {
        return objectAs<Thing>(a.get())->key - objectAs<Thing>(b.get())->key;
    };
    list.Sort(true, byKey);
    EXPECT_EQ(ids(list), (std::vector<int>{1, 3, 6, 2, 5, 0, 4})); // equal keys keep their order
    list.Sort(false, byKey);
    EXPECT_EQ(ids(list), (std::vector<int>{0, 4, 2, 5, 1, 3, 6}));
    list.Reverse();
    EXPECT_EQ(ids(list), (std::vector<int>{6, 3, 1, 5, 2, 4, 0}));
    // Links survive sorting: removing through an old link still works, and adding goes to the end.
    auto link = list.AddLast(std::make_shared<Thing>(7, 0));
    list.Sort(true, byKey);
    EXPECT_EQ(ids(list).front(), 7);
    link->Remove();
    EXPECT_EQ(list.Count(), 7);
    list.AddLast(std::make_shared<Thing>(8, 0));
    EXPECT_EQ(ids(list).back(), 8);
    TList empty;
    empty.Reverse();
    empty.Sort(true, byKey);
    EXPECT_EQ(empty.Count(), 0);
}

TEST(List, AWalkOverATemporaryListVisitsEveryElement) {
    auto makeList = [] {
        auto list = std::make_shared<TList>();
        for (int i = 0; i < 3; ++i)
            list->AddLast(std::make_shared<Thing>(i));
        return list;
    };
    std::vector<int> seen;
    for (const auto& thing : makeList()->typed<Thing>())
        seen.push_back(thing->id); // the list is gone already
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2}));
    // A link of a destroyed list is no longer in any list: removing it is harmless.
    std::shared_ptr<TLink> link;
    {
        TList list;
        link = list.AddLast(std::make_shared<Thing>(5));
    }
    EXPECT_FALSE(link->InList());
    link->Remove();
}

TEST(List, LongListsAreFreedWithoutDeepRecursion) {
    auto list = std::make_unique<TList>();
    for (int i = 0; i < 200000; ++i)
        list->AddLast(std::make_shared<Thing>(i));
    list->Reverse();
    EXPECT_EQ(list->Count(), 200000);
    list.reset();
    SUCCEED();
}
