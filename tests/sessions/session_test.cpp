// Sessions: played with keys that come through the window, recorded as they are played, then watched;
// the files the game refuses and why; the folder that keeps the last twenty.
#include <gtest/gtest.h>

#include <SDL.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <unistd.h>

#include "driver/bot_player.h"
#include "driver/harness.h"
#include "driver/keys.h"
#include "driver/replay.h"
#include "engine/engine.h"
#include "engine/file_store.h"
#include "engine/platform.h"
#include "engine/touch.h"
#include "engine/utf8_paths.h"
#include "game/constants.h"
#include "game/program.h"
#include "hud/notice.h"
#include "hud/shake.h"
#include "sessions/game_sessions.h"
#include "sessions/replay_viewer.h"
#include "sessions/replays_screen.h"
#include "sessions/session_player.h"
#include "sessions/session_recorder.h"
#include "settings/apply.h"
#include "settings/options_screen.h"

namespace fs = std::filesystem;

namespace {

struct TempFolder {
    fs::path path;
    TempFolder() {
        static int made = 0;
        // Named in three scripts: the sessions' files are found and opened by any name (on Windows too).
        path = fs::temp_directory_path() / PathFromUtf8("vevu-sessions-é-ж-語-" + std::to_string(::getpid()) +
                                                        "-" + std::to_string(++made));
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

std::string readAll(const std::string& path) {
    std::ifstream in(PathFromUtf8(path), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

constexpr int kDigestEvery = 20;

// The campaign's bot plays mission 1 with its keys sent through the window's event queue, frame times
// of 1 to 40 ms, and leaves with Esc after `passes` passes; first the options open and close over the
// map, and the window loses the focus mid-battle. Digests of the game every few passes.
struct PlayedSession {
    std::string path;
    std::vector<Digest> digests;
    std::vector<std::uint8_t> classes;
};

PlayedSession playRecorded(const fs::path& folder, int passes) {
    PlayedSession played;
    tSessionRecorder recorder;
    SessionStart start = NewSessionStart(CampaignRecord{});
    std::string error;
    EXPECT_TRUE(recorder.start(Utf8FromPath(folder), start, error)) << error;
    BeginSessionProgram(start, SessionUse::Played);
    sendKeysThroughWindow(true);
    BotPlayer bot(*theProgram, {1});
    bot.phase = BotPlayer::Phase::Map;
    std::mt19937 frames(5);
    DigestTaker taker;
    int pass = 0;
    tProgram::passHook = [&] {
        if (pass % kDigestEvery == 0) played.digests.push_back(taker.take(pass, false, true));
        AdvanceMillis(std::uniform_int_distribution<int>(1, 40)(frames));
        if (pass == 1 || pass == 3) keyTap(pass == 1 ? KEY_P : KEY_ESCAPE);
        if (pass == passes / 2) {
            SDL_Event focus{};
            focus.type = SDL_WINDOWEVENT;
            focus.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
            SDL_PushEvent(&focus);
        }
        if (pass == passes) keyTap(KEY_ESCAPE);
        if (pass > 5 && pass < passes) bot.step();
        ++pass;
    };
    theProgram->playFromMap();
    tProgram::passHook = nullptr;
    sendKeysThroughWindow(false);
    recorder.stop();
    played.path = recorder.filePath();
    played.classes = taker.objectClasses;
    return played;
}

std::vector<Digest> watch(const SessionRecording& recording, std::vector<std::uint8_t>& classes) {
    std::vector<Digest> digests;
    DigestTaker taker;
    tSessionPlayer player(recording);
    player.pace = [&](int pass) {
        if (pass % kDigestEvery == 0) digests.push_back(taker.take(pass, false, true));
        return true;
    };
    player.play();
    classes = taker.objectClasses;
    return digests;
}

void expectSameGame(const std::vector<Digest>& got, const std::vector<std::uint8_t>& gotClasses,
                    const std::vector<Digest>& want, const std::vector<std::uint8_t>& wantClasses) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        const std::string difference = compareDigests(got[i], want[i], gotClasses, wantClasses);
        ASSERT_EQ(difference, "") << "at pass " << want[i].pass;
    }
}

class Sessions : public ::testing::Test {
  protected:
    void SetUp() override {
        SDL_InitSubSystem(SDL_INIT_EVENTS); // the keys come through the window's queue
        SetDrawingEnabled(false);           // the draw code runs; the pictures are not the point here
    }
    void TearDown() override {
        SetDrawingEnabled(true);
        SDL_QuitSubSystem(SDL_INIT_EVENTS);
    }
    Harness harness{10, 1};
    TempFolder folder;
};

} // namespace

TEST_F(Sessions, APlayedSessionIsRecordedAsPlayedAndWatchedTheSameEvenCutShort) {
    // Played with settings that change the game (a focus loss that does not pause, a smaller shake);
    // watched by a player whose settings are the defaults, which are theirs again afterwards.
    auto playing = std::make_shared<tSettings>();
    playing->pauseOnFocusLoss = false;
    playing->shake = ShakeLevel::Reduced;
    tProgram::playerSettings = playing;
    ApplySettings(*playing);
    const PlayedSession played = playRecorded(folder.path, 2500);
    tProgram::playerSettings = nullptr;
    ApplySettings(tSettings{});
    SessionRecording recording;
    std::string error;
    ASSERT_TRUE(LoadSessionFile(played.path, recording, error)) << error;
    EXPECT_TRUE(recording.finished);
    EXPECT_EQ(recording.missionsPlayed(), 1);
    EXPECT_EQ(recording.start.version, GameVersion());
    EXPECT_FALSE(recording.start.pauseOnFocusLoss);
    EXPECT_EQ(recording.start.shake, ShakeLevel::Reduced);
    std::vector<std::uint8_t> classes;
    expectSameGame(watch(recording, classes), classes, played.digests, played.classes);
    EXPECT_TRUE(tProgram::pauseOnFocusLoss);
    EXPECT_EQ(tShake::scale, 1.0f);

    // A process killed mid-session leaves the file as far as its last flush: it plays to there the same.
    const std::string bytes = readAll(played.path);
    SessionRecording cut;
    ASSERT_TRUE(ReadSession(bytes.substr(0, bytes.size() * 2 / 3), cut, error)) << error;
    EXPECT_FALSE(cut.finished);
    ASSERT_GT(cut.passes.size(), recording.passes.size() / 2);
    std::vector<Digest> cutDigests = watch(cut, classes);
    ASSERT_LE(cutDigests.size(), played.digests.size());
    const std::vector<Digest> wanted(played.digests.begin(), played.digests.begin() + cutDigests.size());
    expectSameGame(cutDigests, classes, wanted, played.classes);
}

TEST_F(Sessions, AFileOfAnotherGameOrDamagedIsRefusedSayingWhy) {
    const PlayedSession played = playRecorded(folder.path, 300);
    const std::string bytes = readAll(played.path);
    SessionRecording recording;
    std::string error;
    ASSERT_TRUE(ReadSession(bytes, recording, error)) << error;
    EXPECT_EQ(WhyNotPlayable(recording.start), "");

    SessionStart other = recording.start;
    other.version = "0.9.0";
    EXPECT_EQ(WhyNotPlayable(other), "it was recorded by version 0.9.0 of the game and this is version " +
                                         GameVersion() +
                                         ": only the version that recorded it plays it the same");
    other = recording.start;
    other.assets ^= 1;
    EXPECT_NE(WhyNotPlayable(other).find("with other pictures and sounds than this version " + GameVersion()),
              std::string::npos);

    auto refusal = [&](const std::string& damaged) {
        SessionRecording ignored;
        std::string why;
        EXPECT_FALSE(ReadSession(damaged, ignored, why));
        return why;
    };
    EXPECT_EQ(refusal("PK\x03\x04 a zip, not a replay"),
              "it is not a replay (it does not start with \"vevu replay\")");
    EXPECT_EQ(refusal(bytes.substr(0, 40)), "it is truncated: its header ends early");
    EXPECT_EQ(refusal("vevu replay 7\n"), "its replay format 7 is not the one this game reads (2)");
    const std::size_t data = bytes.find("\ndata\n") + 6;
    std::string flipped = bytes;
    for (std::size_t at = data + 40; at < flipped.size(); at += 7)
        flipped[at] = static_cast<char>(flipped[at] ^ 0x5A);
    EXPECT_NE(refusal(flipped).find("its data is damaged after "), std::string::npos) << refusal(flipped);
    // Garbage after a whole header: random bytes where the data belongs.
    std::mt19937 noise(3);
    std::string garbage = bytes.substr(0, data);
    for (int i = 0; i < 5000; ++i)
        garbage.push_back(static_cast<char>(noise()));
    EXPECT_NE(refusal(garbage).find("its data is damaged after 0.0 s of play"), std::string::npos);

    // One reader for both formats: the game refuses a test's replay, the test tools a player's session.
    Replay test;
    test.passes = {{10, {}}};
    const std::string testPath = Utf8FromPath(folder.path / "test.vrp");
    ASSERT_TRUE(saveReplay(testPath, test, error)) << error;
    EXPECT_FALSE(LoadSessionFile(testPath, recording, error));
    EXPECT_NE(error.find("one of the game's test replays (format 1)"), std::string::npos) << error;
    EXPECT_FALSE(loadReplay(played.path, test, error));
    EXPECT_NE(error.find("a player's session (format 2)"), std::string::npos) << error;
}

// The player's damaged campaign is told once, at start-up: not again by a session watched, nor by each
// session played after it.
TEST_F(Sessions, NeitherAWatchedNorANextSessionTellsThePlayersFileNoticesAgain) {
    std::ofstream(harness.playerFolder() / "campaign.sav") << "damaged";
    SessionRecording recording;
    recording.start = NewSessionStart(CampaignRecord{});
    tSessionPlayer(recording).play();
    EXPECT_EQ(theProgram->notice, nullptr);
    EXPECT_EQ(PlayerFiles().takeNotices(), std::vector<std::string>{});

    BeginSessionProgram(recording.start, SessionUse::Played); // the game's first: reads the file
    const PlayerFilesHeld held{theProgram->campaignFile, theProgram->notice};
    ASSERT_EQ(PlayerFiles().takeNotices().size(), 1u);
    BeginSessionProgram(recording.start, SessionUse::Played, held);
    EXPECT_EQ(theProgram->campaignFile, held.campaignFile);
    EXPECT_EQ(PlayerFiles().takeNotices(), std::vector<std::string>{});
}

namespace {
// A session with its header only, dated as given.
std::string writeSession(const fs::path& path, const std::string& date) {
    SessionStart start = NewSessionStart(CampaignRecord{});
    start.date = date;
    SessionWriter writer;
    std::string error;
    EXPECT_TRUE(writer.open(Utf8FromPath(path), start, error)) << error;
    writer.finish();
    return Utf8FromPath(path);
}
} // namespace

// The folder keeps the last twenty by the dates the sessions began, whatever their names say; it counts and
// removes only the sessions the game named, never a kept one, a damaged one, or the one just played.
TEST_F(Sessions, TheFolderKeepsTheLastTwentyByTheDatesTheyBegan) {
    char name[64], date[64];
    for (int i = 0; i < 18; ++i) {
        std::snprintf(name, sizeof name, "2026-01-01_10-00-%02d.vrp", i);
        std::snprintf(date, sizeof date, "2026-01-01 10:00:%02d", i);
        writeSession(folder.path / name, date);
    }
    // Named after now (from the page, or by a clock that was ahead), begun before all the others.
    const std::string ahead = writeSession(folder.path / "2099-12-31_23-59-59.vrp", "2025-06-01 08:00:00");
    // Two begun within one second: "-10" is the later.
    const std::string second = writeSession(folder.path / "2025-12-31_23-59-59-2.vrp", "2025-12-31 23:59:59");
    const std::string tenth = writeSession(folder.path / "2025-12-31_23-59-59-10.vrp", "2025-12-31 23:59:59");
    std::ofstream(folder.path / "my best game.vrp") << "another program's name";
    std::ofstream(folder.path / "2020-01-01_00-00-00.vrp") << "damaged";
    std::string error;
    const std::string kept = MarkSessionKept(
        writeSession(folder.path / "2019-01-01_00-00-00.vrp", "2019-01-01 00:00:00"), true, error);
    ASSERT_NE(kept, "") << error;
    // The session just played, begun after a clock was set back: the newest all the same.
    const std::string played = writeSession(folder.path / "2024-01-01_00-00-00.vrp", "2024-01-01 00:00:00");

    std::vector<std::string> listed;
    for (const SessionFileEntry& file : ListSessionFiles(Utf8FromPath(folder.path)))
        listed.push_back(file.path);
    EXPECT_LT(std::find(listed.begin(), listed.end(), tenth),
              std::find(listed.begin(), listed.end(), second));

    RemoveOldSessions(Utf8FromPath(folder.path), played);
    EXPECT_FALSE(fs::exists(PathFromUtf8(ahead)));
    EXPECT_FALSE(fs::exists(PathFromUtf8(second)));
    for (const std::string& stays : {tenth, played, kept})
        EXPECT_TRUE(fs::exists(PathFromUtf8(stays))) << stays;
    EXPECT_TRUE(fs::exists(folder.path / "my best game.vrp"));
    EXPECT_TRUE(fs::exists(folder.path / "2020-01-01_00-00-00.vrp"));
    EXPECT_EQ(ListSessionFiles(Utf8FromPath(folder.path)).size(), 23u);
    EXPECT_TRUE(IsRecordedSessionName("2026-12-09_09-41-07-2.vrp"));
    for (const char* other : {"2026-12-09_09-41-07-02.vrp", "2026-12-09_09-41-07-1.vrp",
                              "2026-12-09 09-41-07.vrp", "2026-12-09_09-41-07.vrp.part", "session-x.vrp"})
        EXPECT_FALSE(IsRecordedSessionName(other)) << other;
}

// Twenty sessions dated after now are in the folder: the one being played is never pruned as the oldest
// while it is recorded, and once it ends on the map it goes before the folder counts, pushing no game out.
TEST_F(Sessions, TheSessionRecordedIsNeverPrunedAndOneOfTheMapOnlyPushesNoGameOut) {
    const fs::path replays = ReplaysFolder();
    fs::create_directories(replays);
    char name[64], date[64];
    for (int i = 0; i < kKeptSessions; ++i) {
        std::snprintf(name, sizeof name, "2099-01-01_00-00-%02d.vrp", i);
        std::snprintf(date, sizeof date, "2099-01-01 00:00:%02d", i);
        writeSession(replays / name, date);
    }
    bool recordedThroughout = true;
    int pass = 0;
    tProgram::passHook = [&] {
        AdvanceMillis(10);
        recordedThroughout = recordedThroughout && fs::exists(PathFromUtf8(RecordingSessionPath()));
        if (++pass == 20) InjectKeyTap(KEY_ESCAPE);
    };
    PlayRecordedSession(CampaignRecord{}, {});
    tProgram::passHook = nullptr;
    EXPECT_TRUE(recordedThroughout);
    EXPECT_EQ(ListSessionFiles(Utf8FromPath(replays)).size(), static_cast<std::size_t>(kKeptSessions));
}

// A folder the session cannot be written in (here a file holds its name, as a read-only or full one
// refuses it): the game plays on and says so on the notice line, once, not again in the next session.
TEST_F(Sessions, ASessionThatCannotBeRecordedSaysSoOnceOnTheNoticeLine) {
    const fs::path replays = ReplaysFolder();
    fs::create_directories(replays.parent_path());
    std::ofstream(replays) << "a file where the folder belongs";
    std::vector<std::string> shown;
    auto play = [&](const PlayerFilesHeld& held) {
        int pass = 0;
        tProgram::passHook = [&] {
            AdvanceMillis(10);
            // From the second pass: the first shows what the last session left on the line.
            if (pass > 0 && theProgram->notice && !theProgram->notice->current().empty() &&
                (shown.empty() || shown.back() != theProgram->notice->current()))
                shown.push_back(theProgram->notice->current());
            if (++pass == 20) InjectKeyTap(KEY_ESCAPE);
        };
        PlayRecordedSession(CampaignRecord{}, held);
        tProgram::passHook = nullptr;
    };
    play({});
    EXPECT_EQ(shown, std::vector<std::string>{NotRecordedNotice("the replays folder cannot be written")});
    AdvanceMillis(tNotice::kShowMillis);
    shown.clear();
    play({theProgram->campaignFile, theProgram->notice});
    EXPECT_EQ(shown, std::vector<std::string>{});
    // A second copy of the game: the store's line says it saves nothing, and no other reason follows.
    const fs::path progress = PlayerFiles().folderOf(PlayerFileKind::Progress);
    UsePlayerFolder({});
    TFileStore first(progress);
    ASSERT_FALSE(first.heldElsewhere()); // it takes the folder
    UsePlayerFolder(progress);
    AdvanceMillis(tNotice::kShowMillis);
    shown.clear();
    play({});
    EXPECT_EQ(shown, std::vector<std::string>{
                         "Another copy of the game is using the player's files: this one saves nothing"});
}

// The replays are the first entry of the options over the map. The list shows the sessions newest
// first; Beam keeps one (into the kept folder) or lets it go, Fire on a damaged one says so, Fire on a
// good one (here by touch) ends the session on the map so that it is watched. A session watched lists
// none.
TEST_F(Sessions, TheReplaysListKeepsAndChoosesSessionsFromTheOptionsOverTheMap) {
    const fs::path replays = ReplaysFolder(); // in the harness's own player folder
    ASSERT_FALSE(replays.empty());
    const std::string played = playRecorded(replays, 5).path;
    std::ofstream(replays / "2026-01-01_10-00-00.vrp") << "damaged";
    BeginSessionProgram(NewSessionStart(CampaignRecord{}), SessionUse::Played);
    keyTap(KEY_P);
    theProgram->updateMain();
    ASSERT_TRUE(theProgram->options);
    EXPECT_EQ(theProgram->options->lines().front().entry, tOptionsScreen::Entry::Replays);
    keyTap(KEY_Z);
    theProgram->updateMain();
    ASSERT_FALSE(theProgram->options);
    ASSERT_TRUE(theProgram->replays);
    const tReplaysScreen& list = *theProgram->replays;
    ASSERT_EQ(list.entries().size(), 2u);
    EXPECT_EQ(list.entries()[0].path, played);
    EXPECT_EQ(list.entries()[0].summary, "the map only");
    EXPECT_EQ(list.entries()[1].summary, "damaged");

    keyTap(KEY_C);
    theProgram->updateMain();
    EXPECT_TRUE(list.entries()[0].kept);
    EXPECT_FALSE(fs::exists(played));
    EXPECT_TRUE(fs::exists(list.entries()[0].path));
    keyTap(KEY_DOWN);
    keyTap(KEY_Z);
    theProgram->updateMain();
    EXPECT_EQ(list.message(), "This session is damaged: it cannot be watched.");
    EXPECT_TRUE(theProgram->watchChosen.empty());
    keyTap(KEY_UP);
    theProgram->updateMain();
    engine_detail::TouchLand(1, TouchTarget::Fire, 0, 0);
    engine_detail::TouchLift(1);
    const std::string keptPath = list.entries()[0].path;
    theProgram->updateMain();
    EXPECT_FALSE(theProgram->replays);
    EXPECT_EQ(theProgram->watchChosen, keptPath);
    EXPECT_TRUE(theProgram->gameExit());

    // Watched, the list is empty: Fire there chose nothing when the session was played in a folder without
    // replays, and must choose nothing now that there are some.
    tReplaysScreen watched(replays.string(), nullptr, true);
    EXPECT_TRUE(watched.entries().empty());
    keyTap(KEY_C);
    keyTap(KEY_Z);
    EXPECT_TRUE(watched.update());
    EXPECT_EQ(watched.chosen(), "");
    EXPECT_TRUE(fs::exists(keptPath));
    // Select and Esc within one pass: the session is let go before the list closes.
    tReplaysScreen closing(replays.string(), nullptr, false);
    keyTap(KEY_C);
    keyTap(KEY_ESCAPE);
    EXPECT_FALSE(closing.update());
    EXPECT_FALSE(fs::exists(keptPath));
}

TEST_F(Sessions, PauseFastForwardAndTheJumpShowTheSameGameAsPlainPlayback) {
    const PlayedSession played = playRecorded(folder.path, 1500);
    SessionRecording recording;
    std::string error;
    ASSERT_TRUE(LoadSessionFile(played.path, recording, error)) << error;
    ASSERT_EQ(recording.missionsPlayed(), 1);
    const int missionStart = recording.marks.front().pass;

    // The viewer's keys come through the window; its clock is the test's.
    sendKeysThroughWindow(true);
    long long realMs = 0;
    int waits = 0, drawnAtEight = 0, passesAtEight = 0, pausedWaits = 0, drawnInJump = 0, heardInJump = 0;
    bool quietAfterFocus = false;
    std::vector<Digest> digests;
    DigestTaker taker;
    tReplayViewer viewer(recording, "test.vrp");
    viewer.realMillis = [&] { return realMs; };
    viewer.wait = [&](int ms) {
        realMs += std::max(ms, 1);
        if (viewer.paused() && ++pausedWaits == 30) keyTap(KEY_P); // go on after a while
        ++waits;
    };
    viewer.beforePass = [&](int pass) {
        if (pass % kDigestEvery == 0) digests.push_back(taker.take(pass, false, true));
        if (viewer.speed() == 8) {
            ++passesAtEight;
            drawnAtEight += DrawingEnabled();
        }
        if (pass > 62 && pass <= missionStart) {
            drawnInJump += DrawingEnabled();
            heardInJump += !PlaybackQuiet();
        }
        realMs += DrawingEnabled() ? 16 : 1; // a frame shown takes a display's refresh
        if (pass == 50) keyTap(KEY_P);
        if (pass == 60) keyTap(KEY_DOWN); // on to the mission: undrawn until its start
        if (pass == missionStart + 100) {
            keyTap(KEY_RIGHT);
            keyTap(KEY_RIGHT);
            keyTap(KEY_RIGHT);
        }
        if (pass == missionStart + 200) {
            // The window's focus coming back at 8x leaves fast forward silent (and the pad still).
            SDL_Event focus{};
            focus.type = SDL_WINDOWEVENT;
            focus.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
            SDL_PushEvent(&focus);
        }
        if (pass == missionStart + 210) quietAfterFocus = PlaybackQuiet();
        if (pass == missionStart + 700) keyTap(KEY_LEFT);
    };
    viewer.run();
    sendKeysThroughWindow(false);
    EXPECT_EQ(pausedWaits, 30);
    EXPECT_EQ(drawnInJump, 0);
    EXPECT_EQ(heardInJump, 0);
    EXPECT_TRUE(quietAfterFocus);
    EXPECT_FALSE(PlaybackQuiet());
    EXPECT_EQ(viewer.speed(), 4);
    ASSERT_GT(passesAtEight, 500);
    EXPECT_LT(drawnAtEight, passesAtEight / 3); // at 8x most passes run undrawn
    expectSameGame(digests, taker.objectClasses, played.digests, played.classes);
}

#ifdef _WIN32
// `vevu FILE` takes the file's name from the wide command line: UTF-16 becomes the UTF-8 the game uses.
TEST(ProgramArguments, WideTextBecomesUtf8) {
    EXPECT_EQ(Utf8FromWide(L"C:\\Spiele\\r\u00e9play \u0436\u8a9e.vrp"), "C:\\Spiele\\réplay ж語.vrp");
}
#endif
