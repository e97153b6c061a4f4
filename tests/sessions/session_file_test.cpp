// Reading session files whatever their bytes: every header field taken whole, a session cut short read to
// its last whole pass, and no file taking more than the longest session the game records.
#include <gtest/gtest.h>

#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "driver/replay_file.h"
#include "engine/utf8_paths.h"
#include "sessions/packed_numbers.h"
#include "sessions/replays_screen.h"
#include "sessions/session.h"
#include "sessions/session_file.h"

namespace fs = std::filesystem;

namespace {

const std::string kHeader = "vevu replay 2\n"
                            "version 1.0.0\n"
                            "assets 3735928559\n"
                            "seed 1234\n"
                            "clock -567890\n"
                            "date 2026-12-09 09:41:07\n"
                            "campaign 0001 00000\n"
                            "settings 1 0\n"
                            "data\n";

// A session's file from its records (as PackedWriter numbers), packed as one zlib stream.
std::string sessionBytes(const std::string& records, const std::string& header = kHeader) {
    uLongf packedSize = compressBound(records.size());
    std::string packed(packedSize, '\0');
    compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
              reinterpret_cast<const Bytef*>(records.data()), records.size(), 9);
    packed.resize(packedSize);
    return header + packed;
}

// `count` passes of frameMs with no events, then the end record.
std::string passes(std::size_t count, int frameMs) {
    PackedWriter w;
    for (std::size_t i = 0; i < count; ++i) {
        w.put(0);
        w.put(static_cast<std::uint64_t>(frameMs));
        w.put(0);
    }
    w.put(2);
    return w.bytes;
}

std::string replaced(const std::string& header, const std::string& word, const std::string& line) {
    const std::size_t at = header.find("\n" + word) + 1;
    return header.substr(0, at) + line + header.substr(header.find('\n', at));
}

struct TempFolder {
    fs::path path = fs::temp_directory_path() / ("vevu-session-file-" + std::to_string(::getpid()));
    TempFolder() { fs::create_directories(path); }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

} // namespace

TEST(SessionFile, EveryHeaderFieldIsTakenWholeOrTheFileIsRefused) {
    SessionRecording recording;
    std::string error;
    ASSERT_TRUE(ReadSession(sessionBytes(passes(3, 16)), recording, error)) << error;
    EXPECT_EQ(recording.start.clock, -567890);
    EXPECT_EQ(recording.start.assets, 3735928559u);
    EXPECT_EQ(recording.start.campaign.nodeLock[3], 1);
    EXPECT_TRUE(recording.finished);

    const std::string longLine = "version " + std::string(300, '1');
    const struct {
        const char* word;
        std::string line;
        std::string why;
    } sessionCases[] = {
        {"vevu", "vevu replay 2x", "its replay format 2x is not the one this game reads (2)"},
        {"version", "version ", "(the version line)"},
        {"version", "version 1.0.0 beta", "(the version line)"},
        {"version", "version " + std::string(33, '1'), "(the version line)"},
        {"version", longLine, "(a line longer than 200 characters)"},
        {"assets", "assets 12x", "(the assets line)"},
        {"assets", "assets -1", "(the assets line)"},
        {"assets", "assets 4294967296", "(the assets line)"},
        {"seed", "seed +5", "(the seed line)"},
        {"seed", "seed 2147483648", "(the seed line)"},
        {"clock", "clock 12 ", "(the clock line)"},
        {"clock", "clock 0x10", "(the clock line)"},
        {"date", "date 2026-12-09", "(the date line)"},
        {"date", "date 2026-12-09T09:41:07", "(the date line)"},
        {"date", "date 2026-12-09 09:41:07 and more", "(the date line)"},
        {"campaign", "campaign 0001 0000", "(the campaign line)"},
        {"campaign", "campaign 0002 00000", "(the campaign line)"},
        {"campaign", "campaign 0001 00000 1", "(the campaign line)"},
        {"settings", "settings 1 3", "(the settings line)"},
        {"settings", "settings 1 0x", "(the settings line)"},
        {"data", "data 12", "(the data line)"},
    };
    for (const auto& c : sessionCases) {
        const std::string header = std::string(c.word) == "vevu" ? c.line + kHeader.substr(kHeader.find('\n'))
                                                                 : replaced(kHeader, c.word, c.line);
        EXPECT_FALSE(ReadSession(sessionBytes(passes(3, 16), header), recording, error)) << c.line;
        EXPECT_NE(error.find(c.why), std::string::npos) << c.line << ": " << error;
    }
    // A header line without end is looked for no further than a line may go.
    EXPECT_FALSE(ReadSession("vevu replay 2\nversion " + std::string(1 << 20, 'x'), recording, error));
    EXPECT_EQ(error, "its header is damaged (a line longer than 200 characters)");

    // A test's replay: every field of its header too.
    Replay test;
    test.passes = {{10, {}}};
    std::string bytes;
    ASSERT_TRUE(encodeReplay(test, bytes));
    ReplayFile file;
    ASSERT_TRUE(ReadReplayFile(bytes, file, error)) << error;
    const std::string testHeader = bytes.substr(0, bytes.find("\ndata ") + 1);
    const std::string packed = bytes.substr(bytes.find('\n', testHeader.size()) + 1);
    const std::string dataLine =
        "data " + std::to_string(file.test.data.size()) + " " + std::to_string(packed.size());
    const struct {
        const char* word;
        std::string line;
    } testCases[] = {
        {"entry", "entry battle4"}, {"entry", "entry " + std::string(300, 'r')},
        {"seed", "seed 12x"},       {"seed", "seed 99999999999"},
        {"assets", "assets -1"},    {"passes", "passes 1 "},
        {"passes", "passes 2"},     {"digests", "digests "},
        {"data", "data 5"},         {"data", dataLine + " 5"},
    };
    for (const auto& c : testCases) {
        const std::string header = replaced(testHeader + dataLine + "\n", c.word, c.line);
        EXPECT_FALSE(ReadReplayFile(header + packed, file, error)) << c.line;
        EXPECT_FALSE(error.empty());
    }
    EXPECT_TRUE(ReadReplayFile(testHeader + dataLine + "\n" + packed, file, error)) << error;
}

// A power cut leaves a session cut anywhere, or followed by zeros: it reads to its last whole pass and
// says it was cut short, as the replays list shows it.
TEST(SessionFile, ASessionCutShortReadsWhatIsWhole) {
    TempFolder folder;
    const fs::path path = folder.path / "2026-12-09_09-41-07.vrp";
    SessionWriter writer;
    SessionStart start; // this game's own, so that the list offers it
    start.version = GameVersion();
    start.assets = AssetsHash();
    start.date = "2026-12-09 09:41:07";
    std::string error;
    ASSERT_TRUE(writer.open(Utf8FromPath(path), start, error)) << error;
    std::vector<PassRecord> written;
    std::size_t flushedFirst = 0, flushedAt = 0; // after 30 passes, after 60
    for (int i = 0; i < 120; ++i) {
        PassRecord pass{16, {}};
        for (int k = 0; k < i % 4; ++k)
            pass.events.push_back({InputEvent::Tap, static_cast<std::uint32_t>(0x41 + k)});
        writer.addPass(pass);
        written.push_back(pass);
        if (i % 30 == 29) writer.flush();
        if (i == 29) flushedFirst = readAll(path).size();
        if (i == 59) flushedAt = readAll(path).size();
    }
    writer.finish();
    const std::string bytes = readAll(path);
    const std::size_t dataAt = bytes.find("\ndata\n") + 6;

    SessionRecording recording;
    for (std::size_t cut = dataAt; cut <= bytes.size(); ++cut) {
        ASSERT_TRUE(ReadSession(bytes.substr(0, cut), recording, error)) << "cut at " << cut << ": " << error;
        ASSERT_LE(recording.passes.size(), written.size());
        ASSERT_TRUE(std::equal(recording.passes.begin(), recording.passes.end(), written.begin()));
        // Cut after its end record (within the stream's check), a session is whole.
        if (recording.finished || cut == bytes.size()) {
            ASSERT_TRUE(recording.finished && recording.passes.size() == written.size()) << "cut at " << cut;
        }
    }
    // Zeros where the rest was, from a flush on and from within the data flushed before it.
    for (const std::size_t cut : {flushedAt, (flushedFirst + flushedAt) / 2}) {
        const std::string zeros = bytes.substr(0, cut) + std::string(4096, '\0');
        ASSERT_TRUE(ReadSession(zeros, recording, error)) << error;
        EXPECT_FALSE(recording.finished);
        EXPECT_GE(recording.passes.size(), 30u);
        EXPECT_LE(recording.passes.size(), 60u);
        EXPECT_TRUE(std::equal(recording.passes.begin(), recording.passes.end(), written.begin()));
    }
    // The list reads its rows through the summary: the same passes, and "cut short".
    std::ofstream(path, std::ios::binary) << bytes.substr(0, flushedAt) + std::string(4096, '\0');
    SessionSummary summary;
    ASSERT_TRUE(LoadSessionSummary(Utf8FromPath(path), summary, error)) << error;
    EXPECT_EQ(summary.lengthMs, 60 * 16);
    EXPECT_FALSE(summary.finished);
    EXPECT_EQ(tReplaysScreen(Utf8FromPath(folder.path), nullptr, false).entries().at(0).summary,
              "the map only, cut short");
}

TEST(SessionFile, NoFileHoldsMoreThanTheLongestSessionTheGameRecords) {
    // 5 million empty passes: 15 MB of records in 15 KB of file. The longest session is refused, with
    // its reason, long before its passes would take gigabytes.
    const std::string tooMany = sessionBytes(passes(5'000'000, 0));
    EXPECT_LT(tooMany.size(), 20'000u);
    SessionRecording recording;
    SessionSummary summary;
    std::string error;
    const std::string why = "it holds more than any session the game records (at most 12 hours of play)";
    EXPECT_FALSE(ReadSession(tooMany, recording, error));
    EXPECT_EQ(error, why);
    EXPECT_TRUE(recording.passes.empty());
    EXPECT_FALSE(ReadSessionSummary(tooMany, summary, error));
    EXPECT_EQ(error, why);
    // More than 12 hours of play.
    const std::size_t longest = static_cast<std::size_t>(kLongestSessionMs / kLongestPassMs);
    EXPECT_TRUE(ReadSession(sessionBytes(passes(longest, kLongestPassMs)), recording, error)) << error;
    EXPECT_FALSE(ReadSession(sessionBytes(passes(longest + 1, kLongestPassMs)), recording, error));
    EXPECT_EQ(error, why);

    // The recorder stops where a reader would: what it recorded stays watchable, cut short there.
    TempFolder folder;
    const fs::path path = folder.path / "long.vrp";
    SessionWriter writer;
    SessionStart start;
    start.version = "1.0.0";
    ASSERT_TRUE(writer.open(Utf8FromPath(path), start, error)) << error;
    for (std::size_t i = 0; i < longest + 10; ++i)
        writer.addPass({kLongestPassMs, {}});
    EXPECT_TRUE(writer.isFull());
    writer.finish();
    ASSERT_TRUE(ReadSession(readAll(path), recording, error)) << error;
    EXPECT_EQ(recording.passes.size(), longest);
    EXPECT_FALSE(recording.finished);
}
