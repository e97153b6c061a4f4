#pragma once
// Session files (*.vrp, format 2): a few text lines saying which game recorded the session and how it
// began, then one zlib stream of records, flushed as the session goes, so that a crash or a killed process
// leaves a file that plays up to its last flush:
//
//     vevu replay 2
//     version 1.0.0
//     assets 3735928559
//     seed 1234
//     clock 567890
//     date 2026-12-09 09:41:07
//     campaign 0001 00000          the nodes closed, the traits unlocked
//     settings 1 0                 pause on focus loss, the shake (0 full, 1 reduced, 2 off)
//     data
//     <zlib stream: records, each a tag and its numbers as LEB128 varints>
//
// Records: a pass (frame time, the number of events, each event's kind and code), a mark (what began or
// ended: a mission, the outro), and the end (the session ended as it was played; a file without it was
// cut short).
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include <zlib.h>

#include "engine/pass_input.h"
#include "sessions/session.h"

struct SessionMark {
    enum Kind : std::uint8_t { MissionStarted = 1, MissionWon = 2, MissionLeft = 3, Outro = 4 };
    static constexpr int kLastKind = Outro;
    Kind kind = MissionStarted;
    int mission = 0;
    int pass = 0; // the number of passes before it
};

struct SessionRecording {
    SessionStart start;
    std::vector<PassRecord> passes;
    std::vector<SessionMark> marks;
    bool finished = false; // the end record was found

    // Milliseconds of play the passes hold.
    long long lengthMs() const;
    int missionsPlayed() const;
    int missionsWon() const;
};

// What a session read gives when only its header and its length are wanted (the replays list).
struct SessionSummary {
    SessionStart start;
    long long lengthMs = 0;
    int missionsPlayed = 0;
    int missionsWon = 0;
    bool finished = false;
};

constexpr int kSessionFormat = 2;
// The most a session holds: what the recorder writes down, at most, and what a reader takes. Past either
// the recorder records no further (the game plays on; its file reads as cut short there) and a reader
// refuses a file. 12 hours of play, and the passes of about 12 hours at 90 frames a second (5 at 240)
// with their keys.
constexpr long long kLongestSessionMs = 12LL * 3600 * 1000;
constexpr std::size_t kMostSessionHeldBytes = std::size_t{128} << 20;
// The memory one pass with that many events takes once read, as counted against kMostSessionHeldBytes.
std::size_t SessionHeldBytes(std::size_t events);
// No file the game reads is believed beyond these sizes.
constexpr std::size_t kMaxSessionFileBytes = 64u << 20;
constexpr std::size_t kMaxSessionDataBytes = 256u << 20;

// Writes a session as it is played.
class SessionWriter {
  public:
    SessionWriter() = default;
    ~SessionWriter();
    SessionWriter(const SessionWriter&) = delete;
    SessionWriter& operator=(const SessionWriter&) = delete;

    // Creates the file (never replacing one) and writes the header. False with the reason in error.
    bool open(const std::string& path, const SessionStart& start, std::string& error);
    bool isOpen() const { return file != nullptr; }
    void addPass(const PassRecord& pass);
    void addMark(SessionMark::Kind kind, int mission);
    // Compresses what was added and hands it to the system: a killed process keeps it.
    void flush();
    // Writes the end record and closes the file (a session that was full gets none: it reads as cut short
    // where the recording stopped).
    void finish();
    bool isFull() const { return full; }
    // The first write that failed, in words (empty while all went well).
    const std::string& failure() const { return failed; }
    const std::string& filePath() const { return path; }

  private:
    void put(std::uint64_t value);
    void deflateBuffer(int mode);
    bool full = false;    // the session reached the most a session holds: nothing more is written
    std::size_t held = 0; // what the passes written will take once read
    long long writtenMs = 0;

    std::FILE* file = nullptr;
    z_stream stream{};
    std::string buffer; // records not yet compressed
    std::string path;
    std::string failed;
};

// Reads a session file's bytes. False with what is wrong in error ("the header is damaged", "its data is
// damaged after 12.5 s of play", "it is not a replay", "it holds more than any session the game records").
// A file cut short (within a pass, or followed by the zeros a power cut leaves) reads up to its last whole
// pass, with finished false.
bool ReadSession(std::string_view bytes, SessionRecording& recording, std::string& error);
// Reads the header and goes through the records as ReadSession does, keeping only what the summary holds:
// the same files are refused, for the same reasons.
bool ReadSessionSummary(std::string_view bytes, SessionSummary& summary, std::string& error);
// Reads only the header lines: enough to say which game recorded it.
bool ReadSessionStart(std::string_view bytes, SessionStart& start, std::string& error);
// Reads a session file from disk through the one reader of replay files (sessions/replay_file.h), which
// refuses a test's replay here; the error names the path.
bool LoadSessionFile(const std::string& path, SessionRecording& recording, std::string& error);
// A session file's summary from disk (a test's replay is refused); the error names the path.
bool LoadSessionSummary(const std::string& path, SessionSummary& summary, std::string& error);
