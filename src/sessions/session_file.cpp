#include "sessions/session_file.h"

#include <algorithm>
#include <filesystem>

#include "engine/atomic_file.h"
#include "engine/utf8_paths.h"
#include "sessions/header_lines.h"
#include "sessions/replay_file.h"

namespace {

constexpr char kMagic[] = "vevu replay ";
constexpr int kHeaderLines = 16; // a header longer than this is not one the game wrote

enum Tag : std::uint8_t { PassTag = 0, MarkTag = 1, EndTag = 2 };

std::string secondsText(long long ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", static_cast<double>(ms) / 1000.0);
    return text;
}

// "0001 00000": the nodes closed, then the traits unlocked, each a 0 or a 1.
bool parseCampaign(std::string_view value, CampaignRecord& campaign) {
    const std::size_t nodes = campaign.nodeLock.size(), traits = campaign.traits.size();
    if (value.size() != nodes + 1 + traits || value[nodes] != ' ') return false;
    for (std::size_t i = 0; i < value.size(); ++i)
        if (i != nodes && value[i] != '0' && value[i] != '1') return false;
    for (std::size_t i = 0; i < nodes; ++i)
        campaign.nodeLock[i] = value[i] - '0';
    for (std::size_t i = 0; i < traits; ++i)
        campaign.traits[i] = value[nodes + 1 + i] == '1';
    return true;
}

// "2026-12-09 09:41:07", as the recorder writes the local time.
bool isDate(std::string_view value) {
    constexpr std::string_view pattern = "dddd-dd-dd dd:dd:dd";
    if (value.size() != pattern.size()) return false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const bool digit = value[i] >= '0' && value[i] <= '9';
        if (pattern[i] == 'd' ? !digit : value[i] != pattern[i]) return false;
    }
    return true;
}

// "1 0": pause on focus loss (0 or 1), then the shake (0 full, 1 reduced, 2 off).
bool parseSettings(std::string_view value, SessionStart& start) {
    if (value.size() != 3 || value[1] != ' ' || (value[0] != '0' && value[0] != '1') || value[2] < '0' ||
        value[2] > '2')
        return false;
    start.pauseOnFocusLoss = value[0] == '1';
    start.shake = static_cast<ShakeLevel>(value[2] - '0');
    return true;
}

// The header's lines up to "data"; where the data begins in dataAt.
bool readHeader(std::string_view bytes, SessionStart& start, std::size_t& dataAt, std::string& error) {
    if (bytes.substr(0, sizeof kMagic - 1) != kMagic) {
        error = "it is not a replay (it does not start with \"vevu replay\")";
        return false;
    }
    std::size_t at = 0;
    bool sawVersion = false, sawAssets = false, sawSeed = false, sawClock = false, sawData = false;
    for (int line = 0; line < kHeaderLines && !sawData; ++line) {
        const auto text = NextHeaderLine(bytes, at);
        if (!text) {
            error = bytes.size() - at > kLongestHeaderLine
                        ? "its header is damaged (a line longer than " + std::to_string(kLongestHeaderLine) +
                              " characters)"
                        : std::string("it is truncated: its header ends early");
            return false;
        }
        if (line == 0) {
            const std::string_view named = text->substr(sizeof kMagic - 1);
            int format = 0;
            if (!ParseWholeNumber(named, format) || format != kSessionFormat) {
                error = "its replay format " + std::string(named) + " is not the one this game reads (" +
                        std::to_string(kSessionFormat) + ")";
                return false;
            }
            continue;
        }
        const auto [word, value] = SplitHeaderLine(*text);
        bool whole = true;
        if (word == "version") {
            whole = sawVersion = IsVersionName(value);
            if (whole) start.version = value;
        } else if (word == "assets") {
            whole = sawAssets = ParseWholeNumber(value, start.assets);
        } else if (word == "seed") {
            whole = sawSeed = ParseWholeNumber(value, start.seed);
        } else if (word == "clock") {
            whole = sawClock = ParseWholeNumber(value, start.clock);
        } else if (word == "date") {
            whole = value.empty() || isDate(value); // none when the system gave no local time
            if (whole) start.date = value;
        } else if (word == "campaign") {
            whole = parseCampaign(value, start.campaign);
        } else if (word == "settings") {
            whole = parseSettings(value, start);
        } else if (word == "data") {
            sawData = value.empty();
            whole = sawData;
        }
        if (!whole) {
            error = "its header is damaged (the " + std::string(word) + " line)";
            return false;
        }
    }
    if (!sawData || !sawVersion || !sawAssets || !sawSeed || !sawClock) {
        error = "its header is damaged (a line is missing)";
        return false;
    }
    dataAt = at;
    return true;
}

// The bytes of the zlib stream after the header, inflated a piece at a time as they are read, so that
// reading holds what it builds and never the whole data.
class InflatedBytes {
  public:
    enum class End { Not, Complete, CutShort, Damaged, TooLarge };

    explicit InflatedBytes(std::string_view packed) {
        // A power cut may leave the end of a file that was being written as zeros: what is before them is
        // the session, cut short there.
        const std::size_t last = packed.find_last_not_of('\0');
        packed = packed.substr(0, last == std::string_view::npos ? 0 : last + 1);
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
        stream.avail_in = static_cast<uInt>(packed.size());
        if (inflateInit(&stream) == Z_OK)
            open = true;
        else
            ended_ = End::Damaged;
    }
    ~InflatedBytes() {
        if (open) inflateEnd(&stream);
    }
    InflatedBytes(const InflatedBytes&) = delete;
    InflatedBytes& operator=(const InflatedBytes&) = delete;

    // The next byte; false once there is none, ended() then saying why.
    bool next(unsigned char& byte) {
        if (at == size && !refill()) return false;
        byte = chunk[at++];
        return true;
    }
    End ended() const { return ended_; }

  private:
    bool refill() {
        at = size = 0;
        while (size == 0 && ended_ == End::Not) {
            if (pending != End::Not) {
                ended_ = pending;
                break;
            }
            stream.next_out = chunk;
            stream.avail_out = sizeof chunk;
            const int result = inflate(&stream, Z_NO_FLUSH);
            size = sizeof chunk - stream.avail_out;
            inflated += size;
            if (inflated > kMaxSessionDataBytes)
                pending = End::TooLarge;
            else if (result == Z_STREAM_END)
                pending = End::Complete;
            else if (result == Z_BUF_ERROR || (result == Z_OK && size == 0 && stream.avail_in == 0))
                pending = End::CutShort; // nothing more to read
            else if (result != Z_OK)
                pending = End::Damaged; // what came before the damage is whole
        }
        return size > 0;
    }

    z_stream stream{};
    bool open = false;
    unsigned char chunk[16384];
    std::size_t at = 0, size = 0, inflated = 0;
    End pending = End::Not, ended_ = End::Not;
};

// Reads the records: LEB128 numbers from the inflated stream.
struct RecordReader {
    InflatedBytes& in;
    bool ranOut = false;  // the data ended within a record
    bool tooLong = false; // a number longer than 64 bits
    std::uint64_t get() {
        std::uint64_t v = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            unsigned char b = 0;
            if (!in.next(b)) {
                ranOut = true;
                return 0;
            }
            v |= std::uint64_t{b & 0x7Fu} << shift;
            if (!(b & 0x80)) return v;
        }
        tooLong = true;
        return 0;
    }
    bool failed() const { return ranOut || tooLong; }
};

// What a read of the records found.
struct RecordsRead {
    long long ms = 0;
    std::size_t held = 0;
    std::size_t passes = 0;
    int missionsPlayed = 0, missionsWon = 0;
    bool finished = false;
};

// Reads every record after the header; the passes and marks go into recording when it is given. A file
// cut short (mid-pass, within its stream, or followed by zeros) gives what is whole before the cut.
bool readRecords(std::string_view bytes, std::size_t dataAt, RecordsRead& read, SessionRecording* recording,
                 std::string& error) {
    InflatedBytes in(bytes.substr(dataAt));
    RecordReader r{in};
    std::vector<InputEvent> events;
    bool damaged = false, tooMuch = false, betweenRecords = false;
    while (!read.finished) {
        const std::uint64_t tag = r.get();
        betweenRecords = r.ranOut;
        if (r.failed()) break;
        if (tag == PassTag) {
            const std::uint64_t frameMs = r.get();
            const std::uint64_t count = r.get();
            if (r.failed()) break;
            if (frameMs > static_cast<std::uint64_t>(kLongestPassMs)) {
                damaged = true;
                break;
            }
            events.clear();
            for (std::uint64_t i = 0; i < count && !r.failed() && !damaged && !tooMuch; ++i) {
                const std::uint64_t kind = r.get();
                const std::uint64_t code = r.get();
                if (kind >= static_cast<std::uint64_t>(InputEvent::kKinds) || code > 0x10FFFF) damaged = true;
                events.push_back({static_cast<InputEvent::Kind>(kind), static_cast<std::uint32_t>(code)});
                tooMuch = SessionHeldBytes(events.size()) > kMostSessionHeldBytes - read.held;
            }
            if (r.failed() || damaged) break;
            read.held += SessionHeldBytes(events.size());
            read.ms += static_cast<long long>(frameMs);
            if (tooMuch || read.held > kMostSessionHeldBytes || read.ms > kLongestSessionMs) {
                tooMuch = true;
                break;
            }
            ++read.passes;
            if (recording)
                recording->passes.push_back({static_cast<int>(frameMs), {events.begin(), events.end()}});
        } else if (tag == MarkTag) {
            const std::uint64_t kind = r.get();
            const std::uint64_t mission = r.get();
            if (r.failed()) break;
            if (kind < 1 || kind > SessionMark::kLastKind || mission > 3) {
                damaged = true;
                break;
            }
            read.held += sizeof(SessionMark);
            if (read.held > kMostSessionHeldBytes) {
                tooMuch = true;
                break;
            }
            read.missionsPlayed += kind == SessionMark::MissionStarted;
            read.missionsWon += kind == SessionMark::MissionWon;
            if (recording)
                recording->marks.push_back({static_cast<SessionMark::Kind>(kind), static_cast<int>(mission),
                                            static_cast<int>(read.passes)});
        } else if (tag == EndTag) {
            read.finished = true;
        } else {
            damaged = true;
        }
    }
    // Nothing follows the end record, and the stream's own check holds (the end of a file cut after the
    // end record may be missing: the session is whole).
    unsigned char after = 0;
    if (read.finished && in.next(after)) damaged = true;
    // Bytes ran out: a session cut short, unless its stream said it was complete within a record (a stream
    // complete without its end record is a session the recorder stopped at the longest it keeps).
    const InflatedBytes::End end = in.ended();
    const bool endedWithin = r.ranOut && !betweenRecords && end == InflatedBytes::End::Complete;
    if (r.tooLong || endedWithin || end == InflatedBytes::End::Damaged) damaged = true;
    if (tooMuch || end == InflatedBytes::End::TooLarge) {
        error = "it holds more than any session the game records (at most " +
                std::to_string(kLongestSessionMs / 3600000) + " hours of play)";
        return false;
    }
    if (damaged) {
        error = "its data is damaged after " + secondsText(read.ms) + " of play";
        return false;
    }
    return true;
}

} // namespace

std::size_t SessionHeldBytes(std::size_t events) {
    // The pass, and its events in a block of their own (the allocator hands out 32 bytes at least).
    return sizeof(PassRecord) + (events == 0 ? 0 : std::max<std::size_t>(events * sizeof(InputEvent), 32));
}

long long SessionRecording::lengthMs() const {
    long long ms = 0;
    for (const PassRecord& pass : passes)
        ms += pass.frameMs;
    return ms;
}

int SessionRecording::missionsPlayed() const {
    return static_cast<int>(std::count_if(marks.begin(), marks.end(), [](const SessionMark& m) {
        return m.kind == SessionMark::MissionStarted;
    }));
}

int SessionRecording::missionsWon() const {
    return static_cast<int>(std::count_if(
        marks.begin(), marks.end(), [](const SessionMark& m) { return m.kind == SessionMark::MissionWon; }));
}

// ---------------------------------------------------------------------------------------------------
// Writing

SessionWriter::~SessionWriter() {
    finish();
}

bool SessionWriter::open(const std::string& filePath, const SessionStart& start, std::string& error) {
    finish();
    path = filePath;
    failed.clear();
    full = false;
    held = 0;
    writtenMs = 0;
    // Never replaces a file: the caller names a new one.
    std::error_code ignored;
    const std::filesystem::path where = PathFromUtf8(path);
    if (std::filesystem::exists(where, ignored)) {
        error = path + ": already exists";
        return false;
    }
#ifdef _WIN32
    file = _wfopen(where.c_str(), L"wb");
#else
    file = std::fopen(where.c_str(), "wb");
#endif
    if (!file) {
        error = path + ": cannot be created";
        return false;
    }
    std::string header = std::string(kMagic) + std::to_string(kSessionFormat) + "\n";
    header += "version " + start.version + "\n";
    header += "assets " + std::to_string(start.assets) + "\n";
    header += "seed " + std::to_string(start.seed) + "\n";
    header += "clock " + std::to_string(start.clock) + "\n";
    header += "date " + start.date + "\n";
    header += "campaign ";
    for (int lock : start.campaign.nodeLock)
        header += lock ? '1' : '0';
    header += ' ';
    for (bool trait : start.campaign.traits)
        header += trait ? '1' : '0';
    header += "\nsettings " + std::to_string(start.pauseOnFocusLoss ? 1 : 0) + " " +
              std::to_string(static_cast<int>(start.shake));
    header += "\ndata\n";
    stream = z_stream{};
    if (deflateInit(&stream, 6) != Z_OK) {
        std::fclose(file);
        file = nullptr;
        error = path + ": cannot start compressing";
        return false;
    }
    if (std::fwrite(header.data(), 1, header.size(), file) != header.size() || std::fflush(file) != 0) {
        failed = path + ": cannot be written";
        error = failed;
        deflateEnd(&stream);
        std::fclose(file);
        file = nullptr;
        return false;
    }
    return true;
}

void SessionWriter::put(std::uint64_t value) {
    while (value >= 0x80) {
        buffer.push_back(static_cast<char>(value | 0x80));
        value >>= 7;
    }
    buffer.push_back(static_cast<char>(value));
}

void SessionWriter::addPass(const PassRecord& pass) {
    if (!file || full) return;
    // A session longer than any reader takes ends here, so that what was recorded stays watchable.
    const int frameMs = std::clamp(pass.frameMs, 0, kLongestPassMs);
    const std::size_t passHeld = SessionHeldBytes(pass.events.size());
    if (writtenMs + frameMs > kLongestSessionMs || passHeld > kMostSessionHeldBytes - held) {
        full = true;
        return;
    }
    writtenMs += frameMs;
    held += passHeld;
    put(PassTag);
    put(static_cast<std::uint64_t>(frameMs));
    put(pass.events.size());
    for (const InputEvent& event : pass.events) {
        put(event.kind);
        put(event.code);
    }
}

void SessionWriter::addMark(SessionMark::Kind kind, int mission) {
    if (!file || full) return;
    if (sizeof(SessionMark) > kMostSessionHeldBytes - held) {
        full = true;
        return;
    }
    held += sizeof(SessionMark);
    put(MarkTag);
    put(kind);
    put(static_cast<std::uint64_t>(std::max(mission, 0)));
}

void SessionWriter::deflateBuffer(int mode) {
    stream.next_in = reinterpret_cast<Bytef*>(buffer.data());
    stream.avail_in = static_cast<uInt>(buffer.size());
    char chunk[16384];
    do {
        stream.next_out = reinterpret_cast<Bytef*>(chunk);
        stream.avail_out = sizeof chunk;
        deflate(&stream, mode);
        const std::size_t produced = sizeof chunk - stream.avail_out;
        if (produced > 0 && failed.empty() && std::fwrite(chunk, 1, produced, file) != produced)
            failed = path + ": cannot be written (the disk may be full)";
    } while (stream.avail_out == 0);
    buffer.clear();
    if (failed.empty() && std::fflush(file) != 0)
        failed = path + ": cannot be written (the disk may be full)";
}

void SessionWriter::flush() {
    if (!file) return;
    deflateBuffer(Z_SYNC_FLUSH);
}

void SessionWriter::finish() {
    if (!file) return;
    if (!full) put(EndTag);
    deflateBuffer(Z_FINISH);
    deflateEnd(&stream);
    if (std::fclose(file) != 0 && failed.empty()) failed = path + ": cannot be written";
    file = nullptr;
}

// ---------------------------------------------------------------------------------------------------
// Reading

bool ReadSessionStart(std::string_view bytes, SessionStart& start, std::string& error) {
    std::size_t dataAt = 0;
    return readHeader(bytes, start, dataAt, error);
}

bool ReadSession(std::string_view bytes, SessionRecording& recording, std::string& error) {
    recording = SessionRecording{};
    std::size_t dataAt = 0;
    RecordsRead read;
    if (!readHeader(bytes, recording.start, dataAt, error) ||
        !readRecords(bytes, dataAt, read, &recording, error)) {
        recording = SessionRecording{};
        return false;
    }
    recording.finished = read.finished;
    return true;
}

bool ReadSessionSummary(std::string_view bytes, SessionSummary& summary, std::string& error) {
    summary = SessionSummary{};
    std::size_t dataAt = 0;
    RecordsRead read;
    if (!readHeader(bytes, summary.start, dataAt, error) || !readRecords(bytes, dataAt, read, nullptr, error))
        return false;
    summary.lengthMs = read.ms;
    summary.missionsPlayed = read.missionsPlayed;
    summary.missionsWon = read.missionsWon;
    summary.finished = read.finished;
    return true;
}

bool LoadSessionFile(const std::string& path, SessionRecording& recording, std::string& error) {
    ReplayFile replay;
    if (!LoadReplayFile(path, replay, error)) return false;
    if (replay.format != kSessionFormat) {
        error = path + ": it is one of the game's test replays (format " + std::to_string(replay.format) +
                "), which its test tools play, not the game";
        return false;
    }
    recording = std::move(replay.session);
    return true;
}

bool LoadSessionSummary(const std::string& path, SessionSummary& summary, std::string& error) {
    const FileRead read = ReadWholeFile(PathFromUtf8(path), kMaxSessionFileBytes);
    if (read.outcome != FileRead::Outcome::Read) {
        error = path + ": cannot be read" + (read.error.empty() ? "" : " (" + read.error + ")");
        return false;
    }
    if (!ReadSessionSummary(read.bytes, summary, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}
