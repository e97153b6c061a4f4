#include <gtest/gtest.h>

#include "campaign/persistence.h"

namespace {

std::vector<int> locks(tPersistence& record) {
    return {record.getLock(0), record.getLock(1), record.getLock(2), record.getLock(3)};
}

} // namespace

TEST(CampaignRecord, StartsWithTheThreeMissionsOpenAndTheBossClosed) {
    tPersistence record;
    EXPECT_EQ(locks(record), (std::vector<int>{0, 0, 0, 1}));
    EXPECT_EQ(record.currentMissionId, 0);
}

TEST(CampaignRecord, BossOpensAfterTheThirdWinInEveryOrder) {
    const int orders[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
    for (const auto& order : orders) {
        tPersistence record;
        record.lockNode(order[0]);
        EXPECT_EQ(record.getLock(3), 1);
        record.lockNode(order[1]);
        EXPECT_EQ(record.getLock(3), 1) << "after two wins the boss stays closed";
        record.lockNode(order[2]);
        EXPECT_EQ(locks(record), (std::vector<int>{1, 1, 1, 0})) << order[0] << order[1] << order[2];
        // Winning the boss mission leaves its node open: the three others are closed.
        record.lockNode(3);
        EXPECT_EQ(record.getLock(3), 0);
    }
}

TEST(CampaignRecord, WinningTheSameMissionTwiceChangesNothing) {
    tPersistence record;
    record.lockNode(2);
    record.lockNode(2);
    EXPECT_EQ(locks(record), (std::vector<int>{0, 0, 1, 1}));
}

TEST(CampaignRecord, ReopeningANodeClosesTheBossAgainOnTheNextLock) {
    tPersistence record;
    record.lockNode(0);
    record.lockNode(1);
    record.lockNode(2);
    record.unlockNode(0);
    EXPECT_EQ(locks(record), (std::vector<int>{0, 1, 1, 0})) << "unlockNode alone keeps the boss open";
    record.lockNode(1);
    EXPECT_EQ(record.getLock(3), 1) << "the boss rule runs again and finds node 0 open";
    record.lockNode(0);
    EXPECT_EQ(record.getLock(3), 0);
}

TEST(CampaignRecord, IdsOutsideTheFourMissionsTouchNothing) {
    tPersistence record;
    record.lockNode(7);
    record.lockNode(-1);
    record.unlockNode(4);
    EXPECT_EQ(locks(record), (std::vector<int>{0, 0, 0, 1}));
    EXPECT_EQ(record.getLock(4), 1);
    EXPECT_EQ(record.getLock(-3), 1);
}
