#include "sessions/session_file.h"

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "engine/utf8_paths.h"
#include "sessions/replay_file.h"

namespace {

constexpr char kMagic[] = "vevu replay ";
constexpr int kHeaderLines = 16; // a header longer than this is not one the game wrote

enum Tag : std::uint8_t { PassTag = 0, MarkTag = 1, EndTag = 2 };

// Reads LEB128 varints; any read past the end marks the reader failed and answers 0.
struct VarintReader {
    const std::string& bytes;
    std::size_t at = 0;
    bool failed = false;
    std::uint64_t get() {
        std::uint64_t v = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            if (at >= bytes.size()) {
                failed = true;
                return 0;
            }
            const auto b = static_cast<unsigned char>(bytes[at++]);
            v |= std::uint64_t{b & 0x7Fu} << shift;
            if (!(b & 0x80)) return v;
        }
        failed = true;
        return 0;
    }
};

std::string secondsText(long long ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", static_cast<double>(ms) / 1000.0);
    return text;
}

bool parseCampaign(const std::string& nodes, const std::string& traits, CampaignRecord& campaign) {
    if (nodes.size() != campaign.nodeLock.size() || traits.size() != campaign.traits.size()) return false;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        if (nodes[i] != '0' && nodes[i] != '1') return false;
        campaign.nodeLock[i] = nodes[i] - '0';
    }
    for (std::size_t i = 0; i < traits.size(); ++i) {
        if (traits[i] != '0' && traits[i] != '1') return false;
        campaign.traits[i] = traits[i] == '1';
    }
    return true;
}

// The header's lines up to "data"; where the data begins in dataAt.
bool readHeader(const std::string& bytes, SessionStart& start, std::size_t& dataAt, std::string& error) {
    if (bytes.rfind(kMagic, 0) != 0) {
        error = "it is not a replay (it does not start with \"vevu replay\")";
        return false;
    }
    std::size_t at = 0;
    bool sawVersion = false, sawAssets = false, sawSeed = false, sawClock = false, sawData = false;
    for (int line = 0; line < kHeaderLines && !sawData; ++line) {
        const std::size_t end = bytes.find('\n', at);
        if (end == std::string::npos) {
            error = "it is truncated: its header ends early";
            return false;
        }
        std::istringstream fields(bytes.substr(at, end - at));
        at = end + 1;
        std::string word;
        fields >> word;
        if (line == 0) {
            std::string replay;
            int format = 0;
            fields >> replay >> format;
            if (format != kSessionFormat) {
                error = "its replay format " + std::to_string(format) + " is not the one this game reads (" +
                        std::to_string(kSessionFormat) + ")";
                return false;
            }
        } else if (word == "version") {
            sawVersion = static_cast<bool>(fields >> start.version);
        } else if (word == "assets") {
            sawAssets = static_cast<bool>(fields >> start.assets);
        } else if (word == "seed") {
            sawSeed = static_cast<bool>(fields >> start.seed);
        } else if (word == "clock") {
            sawClock = static_cast<bool>(fields >> start.clock);
        } else if (word == "date") {
            std::getline(fields >> std::ws, start.date);
            if (start.date.size() > 32) start.date.resize(32);
        } else if (word == "campaign") {
            std::string nodes, traits;
            fields >> nodes >> traits;
            if (!parseCampaign(nodes, traits, start.campaign)) {
                error = "its header is damaged (the campaign line)";
                return false;
            }
        } else if (word == "settings") {
            int pause = 0, shake = 0;
            if (!(fields >> pause >> shake) || pause < 0 || pause > 1 || shake < 0 || shake > 2) {
                error = "its header is damaged (the settings line)";
                return false;
            }
            start.pauseOnFocusLoss = pause == 1;
            start.shake = static_cast<ShakeLevel>(shake);
        } else if (word == "data") {
            sawData = true;
        }
    }
    if (!sawData || !sawVersion || !sawAssets || !sawSeed || !sawClock) {
        error = "its header is damaged (a line is missing)";
        return false;
    }
    dataAt = at;
    return true;
}

// Inflates the stream as far as it goes. A stream cut short gives what it holds; damaged data stops the
// reading where it begins (damaged true).
std::string inflateStream(const std::string& bytes, std::size_t from, bool& damaged, bool& tooLarge) {
    std::string out;
    z_stream stream{};
    damaged = tooLarge = false;
    if (inflateInit(&stream) != Z_OK) {
        damaged = true;
        return out;
    }
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data() + from));
    stream.avail_in = static_cast<uInt>(bytes.size() - from);
    char chunk[16384];
    for (;;) {
        stream.next_out = reinterpret_cast<Bytef*>(chunk);
        stream.avail_out = sizeof chunk;
        const int result = inflate(&stream, Z_NO_FLUSH);
        out.append(chunk, sizeof chunk - stream.avail_out);
        if (out.size() > kMaxSessionDataBytes) {
            tooLarge = true;
            break;
        }
        if (result == Z_STREAM_END) break;
        if (result == Z_BUF_ERROR) break; // cut short: nothing more to read
        if (result != Z_OK) {
            damaged = true;
            break;
        }
    }
    inflateEnd(&stream);
    return out;
}

} // namespace

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
    if (!file) return;
    put(PassTag);
    put(static_cast<std::uint64_t>(std::clamp(pass.frameMs, 0, kLongestPassMs)));
    put(pass.events.size());
    for (const InputEvent& event : pass.events) {
        put(event.kind);
        put(event.code);
    }
}

void SessionWriter::addMark(SessionMark::Kind kind, int mission) {
    if (!file) return;
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
    put(EndTag);
    deflateBuffer(Z_FINISH);
    deflateEnd(&stream);
    if (std::fclose(file) != 0 && failed.empty()) failed = path + ": cannot be written";
    file = nullptr;
}

// ---------------------------------------------------------------------------------------------------
// Reading

bool ReadSessionStart(const std::string& bytes, SessionStart& start, std::string& error) {
    std::size_t dataAt = 0;
    return readHeader(bytes, start, dataAt, error);
}

bool ReadSession(const std::string& bytes, SessionRecording& recording, std::string& error) {
    recording = SessionRecording{};
    std::size_t dataAt = 0;
    if (!readHeader(bytes, recording.start, dataAt, error)) return false;
    bool damaged = false, tooLarge = false;
    const std::string data = inflateStream(bytes, dataAt, damaged, tooLarge);
    if (tooLarge) {
        error = "it holds more than any session the game records";
        return false;
    }
    VarintReader r{data};
    long long ms = 0;
    while (r.at < data.size() && !recording.finished) {
        const std::uint64_t tag = r.get();
        if (tag == PassTag) {
            PassRecord pass;
            const std::uint64_t frameMs = r.get();
            const std::uint64_t count = r.get();
            // Every event takes two bytes at least: a count beyond what is left is damage, not a size.
            if (r.failed || frameMs > static_cast<std::uint64_t>(kLongestPassMs) ||
                count > (data.size() - r.at) / 2) {
                if (!r.failed) damaged = true;
                break;
            }
            pass.frameMs = static_cast<int>(frameMs);
            pass.events.reserve(static_cast<std::size_t>(count));
            for (std::uint64_t i = 0; i < count && !r.failed; ++i) {
                const std::uint64_t kind = r.get();
                const std::uint64_t code = r.get();
                if (kind >= static_cast<std::uint64_t>(InputEvent::kKinds) || code > 0x10FFFF) damaged = true;
                pass.events.push_back(
                    {static_cast<InputEvent::Kind>(kind), static_cast<std::uint32_t>(code)});
            }
            if (r.failed || damaged) break;
            ms += pass.frameMs;
            recording.passes.push_back(std::move(pass));
        } else if (tag == MarkTag) {
            const std::uint64_t kind = r.get();
            const std::uint64_t mission = r.get();
            if (r.failed) break;
            if (kind < 1 || kind > SessionMark::kLastKind || mission > 3) {
                damaged = true;
                break;
            }
            recording.marks.push_back({static_cast<SessionMark::Kind>(kind), static_cast<int>(mission),
                                       static_cast<int>(recording.passes.size())});
        } else if (tag == EndTag && !r.failed) {
            recording.finished = true;
        } else {
            if (!r.failed) damaged = true;
            break;
        }
    }
    if (damaged) {
        error = "its data is damaged after " + secondsText(ms) + " of play";
        return false;
    }
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
