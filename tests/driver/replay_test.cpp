// Replays: a short session recorded and played back; what a difference, an input that runs out and a
// damaged file are told as.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cerrno>
#include <fstream>
#include <initializer_list>
#include <sstream>

#include "driver/replay.h"
#include "driver/temporary_folder.h"
#include "engine/engine.h"
#include "game/program.h"
#include "sessions/session.h"

namespace {

// A key ends the intro, Esc leaves from the map three seconds in: a session of a few hundred passes.
Replay recordShortSession() {
    PassInput input{[](int) { return 10; },
                    [](int pass) {
                        if (pass == 5) keyTap(KEY_SPACE);
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

// The reader's message for a file of these bytes ("" when it reads it), checked to name the file.
// In a folder of its own: the tests that call it run at once under ctest.
std::string refusal(const std::string& bytes) {
    const TemporaryFolder folder;
    const std::string path = (folder.path() / "replay_refused.vrp").string();
    writeAll(path, bytes);
    Replay r;
    std::string message;
    if (loadReplay(path, r, message)) return "";
    EXPECT_EQ(message.rfind(path + ": ", 0), 0u) << message;
    return message.empty() ? "(no message)" : message;
}

// The body of a replay written by hand: numbers as the file packs them, seven bits a byte.
void putNumber(std::string& body, std::uint64_t v) {
    for (; v >= 0x80; v >>= 7)
        body.push_back(static_cast<char>(v | 0x80));
    body.push_back(static_cast<char>(v));
}
std::string numbers(std::initializer_list<std::uint64_t> values) {
    std::string body;
    for (std::uint64_t v : values)
        putNumber(body, v);
    return body;
}

// A whole replay file around a body: this build's header, the body packed.
std::string replayFile(const std::string& body, std::uint64_t passes, std::uint64_t digests) {
    uLongf packedSize = compressBound(body.size());
    std::string packed(packedSize, '\0');
    compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
              reinterpret_cast<const Bytef*>(body.data()), body.size(), 1);
    packed.resize(packedSize);
    return "vevu replay 1\nentry run\nseed 1\nassets " + std::to_string(AssetsHash()) + "\npasses " +
           std::to_string(passes) + "\ndigests " + std::to_string(digests) + "\ndata " +
           std::to_string(body.size()) + " " + std::to_string(packed.size()) + "\n" + packed;
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

// A digest read from a file may hold values of any number: told, never looked up past the fields.
TEST(Replay, DigestsOfValuesNoFieldHasAreToldByNumber) {
    Digest unknown, none;
    unknown.items = {{0, 250, 7}};
    EXPECT_EQ(compareDigests(unknown, none, {}, {}), "value 250 was not recorded");
    EXPECT_EQ(compareDigests(none, unknown, {}, {}), "value 250 is missing (recorded 7)");
}

TEST(Replay, ADamagedFileIsRefusedNamingTheFileAndTheFault) {
    Replay replay;
    replay.assets = AssetsHash();
    replay.passes = {{10, {{KeyEvent::Down, KEY_Z}}}, {16, {}}};
    replay.digests = {{1, 10, {{0, 0, 7}, {3, 1, 42}}, {3}, true, 99, true},
                      {2, 26, {{0, 0, 8}}, {}, false, 0, false}};
    replay.objectClasses = {0, 0, 0, 11};
    const TemporaryFolder folder;
    const std::string path = (folder.path() / "replay_test.vrp").string();
    std::string error;
    ASSERT_TRUE(saveReplay(path, replay, error)) << error;
    // A save that fails halfway (a full disk) leaves the replay that was there.
    Replay longer = replay;
    longer.passes.resize(5000);
    const WriteFault fullDisk{ENOSPC, 20};
    EXPECT_FALSE(saveReplay(path, longer, error, &fullDisk));
    EXPECT_NE(error.find(path + ": could not be written"), std::string::npos) << error;
    Replay loaded;
    ASSERT_TRUE(loadReplay(path, loaded, error)) << error;
    EXPECT_EQ(loaded.passes.size(), 2u);
    EXPECT_EQ(loaded.passes[0].events, replay.passes[0].events);
    // A digest without detail keeps the game's values only; the detailed one before it had tank #3.
    EXPECT_EQ(loaded.digests[0].items, replay.digests[0].items);
    EXPECT_EQ(loaded.digests[1].items, replay.digests[1].items);

    const std::string bytes = readAll(path);
    auto refused = [&](const std::string& damaged, const std::string& why) {
        const std::string message = refusal(damaged);
        EXPECT_NE(message.find(why), std::string::npos) << why << ": " << message;
    };
    refused(bytes.substr(0, bytes.size() - 5), "truncated");
    refused("vevu replay 9" + bytes.substr(bytes.find('\n')), "format 9 is not one this game reads (1 or 2)");
    std::string otherAssets = bytes;
    otherAssets.replace(otherAssets.find("assets ") + 7, 1,
                        otherAssets[otherAssets.find("assets ") + 7] == '1' ? "2" : "1");
    refused(otherAssets, "recorded with other assets");
    refused("a picture, not a replay", "not a replay");
    refused("vevu replay", "header");
    refused("vevu replay\n" + bytes.substr(bytes.find('\n') + 1), "header");
    refused(bytes.substr(0, bytes.find("data ")) + "data 80 18446744073709551615\n", "truncated");
}

// Whatever a file declares, holding it takes bounded memory and time: each count is checked against what
// its entries take in memory, not only in the file.
TEST(Replay, AFileAskingForTooMuchIsRefusedBeforeItIsHeld) {
    ASSERT_EQ(refusal(replayFile(numbers({1, 10, 0, 0, 0}), 1, 0)), ""); // a pass of 10 ms, no digests

    // Ten million passes of 10 ms without keys: 20 MB of data, 20 KB of file, 300 MB held.
    std::string passes = numbers({10'000'000});
    for (int n = 0; n < 10'000'000; ++n)
        passes.append("\x0a\x00", 2);
    EXPECT_NE(refusal(replayFile(passes + numbers({0, 0}), 10'000'000, 0)).find("too large"),
              std::string::npos);

    // A hundred thousand values in the first digest, repeated by 300 digests that change nothing: every
    // digest holds them all.
    std::string digests = numbers({1, 10, 0, 301, 0, 0, 1, 100'000});
    for (int n = 0; n < 100'000; ++n)
        digests += numbers({n == 0 ? 256u : 1u, 1});
    digests += numbers({0, 0, 0});
    for (int n = 0; n < 300; ++n)
        digests += numbers({0, 0, 1, 0, 0, 0, 0});
    EXPECT_NE(refusal(replayFile(digests + numbers({0}), 1, 301)).find("too large"), std::string::npos);

    // Digests taken after passes past the last (the count of passes would overflow), at a clock past the
    // largest, or with values too large for their place.
    const std::string onePass = numbers({1, 10, 0});
    struct Case {
        std::string body;
        int digests;
        const char* why;
    };
    for (const Case& c : std::initializer_list<Case>{
             {onePass + numbers({2, 0x7FFF'FFFF, 0, 0, 0, 0, 0, 0, 0x7FFF'FFFF, 0, 0, 0, 0, 0, 0, 0}), 2,
              "pass"},
             {onePass + numbers({2, 0, 0xFFFF'FFFE, 0, 0, 0, 0, 0, 1, 4, 0, 0, 0, 0, 0, 0}), 2, "clock"},
             {numbers({1, 300, 0, 0, 0}), 0, "frame time"},
             {numbers({1, 10, 1, 40, 65, 0, 0}), 0, "input event"},
             {onePass + numbers({1, 1, 0, 0, 0, 0, 1, 70'000, 0, 0}), 1, "sound"},
             {onePass + numbers({0, 1, 300}), 0, "class"},
         })
        EXPECT_NE(refusal(replayFile(c.body, 1, c.digests)).find(c.why), std::string::npos) << c.why;
}
