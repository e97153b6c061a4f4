// The saved campaign from start to start: continued or replaced after the intro, a damaged one told in
// the notice line and left for the player.
#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <vector>

#include "buildings/homebase.h"
#include "campaign/campaign_file.h"
#include "campaign/map_screen.h"
#include "campaign/mission_node.h"
#include "campaign/persistence.h"
#include "driver/harness.h"
#include "hud/notice.h"
#include "sessions/game_sessions.h"
#include "sessions/session_recorder.h"

namespace fs = std::filesystem;

namespace {

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<int> locksIn(const std::string& framed) {
    const Unframed unframed = UnframeFile(framed, tPersistence::kRecordVersion);
    tPersistence record;
    if (record.decode(unframed.contents, unframed.version).verdict != FileVerdict::Good) return {};
    return {record.nodeLock[0], record.nodeLock[1], record.nodeLock[2], record.nodeLock[3]};
}

// Mission 0 won in one program, which then ends.
void winMissionZero(const fs::path& folder) {
    Harness game(4, 12345, folder);
    game.startMission(0);
    game.program().playerBase->baseState = cBaseStates::VICTORY;
    game.program().setGameState(gamestate::MAP, 0);
    game.program().saveCampaign();
}

// The program's question after the intro, answered with these keys one pass apart.
bool answer(tProgram& program, std::vector<int> keys) {
    std::size_t pass = 0;
    tProgram::passHook = [&] {
        AdvanceMillis(4);
        if (pass < keys.size()) InjectKeyTap(keys[pass]);
        ++pass;
    };
    const bool played = program.chooseCampaign();
    tProgram::passHook = nullptr;
    return played;
}

} // namespace

TEST(SavedCampaign, ContinuedAfterTheIntroWithItsNodesClosed) {
    TemporaryFolder folder;
    winMissionZero(folder.path());
    Harness game(4, 12345, folder.path());
    tProgram& program = game.program();
    ASSERT_TRUE(program.campaignFile->hasSaved());
    EXPECT_EQ(program.campaignFile->missionsWon(), 1);
    EXPECT_EQ(program.worldData->getLock(0), 0) << "nothing is taken before the player chooses";
    ASSERT_TRUE(answer(program, {KEY_DOWN, KEY_UP, KEY_Z}));
    EXPECT_EQ(program.worldData->getLock(0), 1);
    ASSERT_NE(program.mapScreen, nullptr);
    for (const auto& object : *program.mapScreen->listNodes) {
        auto node = std::dynamic_pointer_cast<tMissionNode>(object);
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->isLocked(), node->missionID == 0 || node->missionID == 3) << node->missionID;
    }
    EXPECT_EQ(program.state, gamestate::MAP);
}

TEST(SavedCampaign, ANewCampaignAsksOnceAndKeepsTheOldOne) {
    TemporaryFolder folder;
    winMissionZero(folder.path());
    const std::string old = bytesOf(folder.path() / "campaign.sav");
    {
        Harness game(4, 12345, folder.path());
        tProgram& program = game.program();
        // New campaign, then "No, keep it" (the answer offered first), then New again and Yes.
        ASSERT_TRUE(answer(program, {KEY_DOWN, KEY_Z, KEY_Z, KEY_Z, KEY_DOWN, KEY_C}));
        EXPECT_EQ(program.worldData->getLock(0), 0);
    }
    EXPECT_EQ(locksIn(bytesOf(folder.path() / "campaign.sav")), (std::vector<int>{0, 0, 0, 1}));
    EXPECT_EQ(bytesOf(folder.path() / "campaign-replaced.sav"), old);
    EXPECT_EQ(bytesOf(folder.path() / "campaign.sav.bak"), old);
    {
        // Esc or B (X) on the first question: nothing lies behind it, so it stays and the game goes on.
        Harness again(4, 12345, folder.path());
        EXPECT_TRUE(again.program().campaignFile->hasSaved()) << "the new campaign is saved too";
        EXPECT_TRUE(answer(again.program(), {KEY_ESCAPE, KEY_X, KEY_Z}));
        EXPECT_EQ(again.program().state, gamestate::MAP);
    }
    // Nothing saved: no question at all.
    Harness fresh;
    EXPECT_FALSE(fresh.program().campaignFile->hasSaved());
    EXPECT_TRUE(answer(fresh.program(), {}));
}

TEST(SavedCampaign, ADamagedOneIsToldOnScreenAndLeftForThePlayer) {
    TemporaryFolder folder;
    const std::string garbage = "VEVUFILE and then nothing a game wrote";
    std::ofstream(folder.path() / "campaign.sav", std::ios::binary) << garbage;
    Harness game(4, 12345, folder.path());
    tProgram& program = game.program();
    EXPECT_FALSE(program.campaignFile->hasSaved());
    game.pass();
    EXPECT_EQ(program.notice->current(),
              "The saved campaign is damaged (its length is impossible): a new campaign, the file is kept");
    // Drawn in yellow over the bottom of the map.
    game.saveFrame((folder.path() / "frame.png").string());
    int yellow = 0;
    for (int y = 440; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            yellow += (ReadBackBufferPixel(x, y) & 0xFFFFFF) == 0xFFFF60 ? 1 : 0;
    EXPECT_GT(yellow, 200);
    EXPECT_EQ(bytesOf(folder.path() / "campaign.sav"), garbage);
    // A won mission is saved after the damaged file is set aside as it was.
    game.startMission(1);
    program.playerBase->baseState = cBaseStates::VICTORY;
    program.setGameState(gamestate::MAP, 0);
    program.saveCampaign();
    ASSERT_TRUE(PlayerFiles().flush());
    EXPECT_EQ(bytesOf(folder.path() / "campaign.sav.damaged"), garbage);
    EXPECT_EQ(locksIn(bytesOf(folder.path() / "campaign.sav")), (std::vector<int>{0, 1, 0, 1}));
    // Shown once the first line has had its time.
    game.drawEvery = 100; // drawing is the slow part
    game.runFor(tNotice::kShowMillis + 100);
    EXPECT_EQ(program.notice->current(), "campaign.sav was kept as campaign.sav.damaged");
}

// A second copy of the game started on the folder of one that runs: it continues the campaign as the
// first left it, but a mission won there is not saved over the first's, its session is not recorded,
// and the notice line says why.
TEST(SavedCampaign, ASecondCopyOfTheGameSavesNothingAndRecordsNoSession) {
    TemporaryFolder folder;
    winMissionZero(folder.path());
    const std::string saved = bytesOf(folder.path() / "campaign.sav");
    TFileStore running(folder.path());
    ASSERT_FALSE(running.heldElsewhere());
    Harness game(4, 12345, folder.path());
    tProgram& program = game.program();
    EXPECT_EQ(program.campaignFile->missionsWon(), 1);
    game.startMission(1);
    program.playerBase->baseState = cBaseStates::VICTORY;
    program.setGameState(gamestate::MAP, 0);
    program.saveCampaign();
    ASSERT_TRUE(PlayerFiles().flush());
    EXPECT_EQ(bytesOf(folder.path() / "campaign.sav"), saved);
    tSessionRecorder recorder;
    SessionStart start = NewSessionStart(CampaignRecord{});
    std::string error;
    EXPECT_FALSE(recorder.start(ReplaysFolder(), start, error));
    EXPECT_EQ(error, "another copy of the game is using the player's files");
    EXPECT_FALSE(fs::exists(folder.path() / "replays"));
    game.pass();
    EXPECT_EQ(program.notice->current(),
              "Another copy of the game is using the player's files: this one saves nothing");
}

// A mission won while the disk is full is not lost: the save is tried again, and the game's close
// writes it once the disk has room, so that the next start continues the campaign.
TEST(SavedCampaign, AMissionWonWhileTheDiskIsFullIsSavedOnceItHasRoom) {
    TemporaryFolder folder;
    {
        Harness game(4, 12345, folder.path());
        PlayerFiles().injectWriteFault({ENOSPC, 0});
        game.startMission(0);
        game.program().playerBase->baseState = cBaseStates::VICTORY;
        game.program().setGameState(gamestate::MAP, 0);
        game.program().saveCampaign();
        ASSERT_TRUE(PlayerFiles().flush());
        EXPECT_FALSE(fs::exists(folder.path() / "campaign.sav"));
        PlayerFiles().injectWriteFault({});
    }
    Harness next(4, 12345, folder.path());
    EXPECT_EQ(next.program().campaignFile->missionsWon(), 1);
}
