// Replays: a short session recorded and played back; what a difference, an input that runs out and a
// damaged file are told as.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "driver/replay.h"
#include "engine/engine.h"
#include "game/program.h"

namespace {

// A key ends the intro, Esc leaves from the map three seconds in: a session of a few hundred passes.
Replay recordShortSession() {
    PassInput input{[](int) { return 10; },
                    [](int pass) {
                        if (pass == 5) typeChar(' ');
                        if (pass == 400) keyTap(KEY_ESCAPE);
                    }};
    SessionResult result = playSession("run", 99, input, [](const Digest&, const auto&) { return true; });
    EXPECT_FALSE(result.ranPastEnd);
    return result.replay;
}

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeAll(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace

TEST(Replay, PlaysBackAndTellsTheFirstDifferenceOrTheEndOfItsInputs) {
    const Replay recorded = recordShortSession();
    ASSERT_GT(recorded.digests.size(), 2u);
    EXPECT_EQ(checkReplay("short.vrp", recorded, ""), "");

    Replay changed = recorded;
    Digest& second = changed.digests[1];
    second.items.front().bits ^= 1; // the random state, as if the game had drawn one more number
    const std::string told = checkReplay("short.vrp", changed, "");
    EXPECT_NE(told.find("short.vrp: at "), std::string::npos) << told;
    EXPECT_NE(told.find("random state"), std::string::npos) << told;
    EXPECT_NE(told.find(", recorded "), std::string::npos) << told;

    Replay cut = recorded;
    cut.passes.pop_back(); // the pass of the Esc that ended the game
    EXPECT_NE(checkReplay("short.vrp", cut, "").find("ran past the end of its inputs"), std::string::npos);
}

TEST(Replay, ADamagedFileIsRefusedNamingTheFileAndTheFault) {
    Replay replay;
    replay.assets = assetsHash();
    replay.passes = {{10, {{KeyEvent::Down, KEY_Z}}}, {16, {}}};
    replay.digests = {{1, 10, {{0, 0, 7}, {3, 1, 42}}, {3}, true, 99, true},
                      {2, 26, {{0, 0, 8}}, {}, false, 0, false}};
    replay.objectClasses = {0, 0, 0, 11};
    const std::string path = ::testing::TempDir() + "replay_test.vrp";
    std::string error;
    ASSERT_TRUE(saveReplay(path, replay, error)) << error;
    Replay loaded;
    ASSERT_TRUE(loadReplay(path, loaded, error)) << error;
    EXPECT_EQ(loaded.passes[0].keys, replay.passes[0].keys);
    // A digest without detail keeps the game's values only; the detailed one before it had tank #3.
    EXPECT_EQ(loaded.digests[0].items, replay.digests[0].items);
    EXPECT_EQ(loaded.digests[1].items, replay.digests[1].items);

    const std::string bytes = readAll(path);
    auto refused = [&](const std::string& damaged, const std::string& why) {
        writeAll(path, damaged);
        Replay r;
        std::string message;
        EXPECT_FALSE(loadReplay(path, r, message)) << why;
        EXPECT_EQ(message.rfind(path + ": ", 0), 0u) << message;
        EXPECT_NE(message.find(why), std::string::npos) << message;
    };
    refused(bytes.substr(0, bytes.size() - 5), "truncated");
    refused("vevu replay 9" + bytes.substr(bytes.find('\n')), "format 9 is unknown");
    std::string otherAssets = bytes;
    otherAssets.replace(otherAssets.find("assets ") + 7, 1,
                        otherAssets[otherAssets.find("assets ") + 7] == '1' ? "2" : "1");
    refused(otherAssets, "recorded with other assets");
    refused("a picture, not a replay", "not a replay");
    std::remove(path.c_str());
}
