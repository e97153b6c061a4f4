#include "sessions/session_recorder.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <tuple>

#include "campaign/persistence.h"
#include "engine/engine.h"
#include "engine/file_store.h"
#include "engine/utf8_paths.h"
#include "engine/words.h"
#include "game/constants.h"
#include "game/program.h"
#include "hud/notice.h"

namespace fs = std::filesystem;

namespace {

constexpr int kFlushEveryMs = 1000;
constexpr char kKeptFolder[] = "kept";
constexpr char kNoDateStem[] = "session";
// Every header the recorder writes is far shorter; more is not read to date a file.
constexpr std::size_t kHeaderBytesRead = 4096;

std::string recordingNow; // the file of the session being recorded

int closedNodes() {
    if (!theProgram || !theProgram->worldData) return 0;
    int closed = 0;
    for (int id = 0; id < tPersistence::kMissionCount; ++id)
        closed += theProgram->worldData->nodeLock[id] != 0;
    return closed;
}

// "2026-12-09 09:41:07" → "2026-12-09_09-41-07": sorts by time, and every file system takes it.
std::string fileStem(const std::string& date) {
    std::string stem = date;
    std::replace(stem.begin(), stem.end(), ' ', '_');
    std::replace(stem.begin(), stem.end(), ':', '-');
    stem.erase(std::remove_if(stem.begin(), stem.end(),
                              [](char c) {
                                  return !(std::isalnum(static_cast<unsigned char>(c)) || c == '_' ||
                                           c == '-');
                              }),
               stem.end());
    return stem.empty() ? kNoDateStem : stem;
}

// A name the recorder gave: its stem (the date, "2026-12-09_09-41-07", or "session" without one) and the
// number freeName added (1 for none). False for any other name.
bool parseSessionName(const std::string& name, std::string& stem, int& number) {
    const std::string extension = ".vrp";
    if (name.size() <= extension.size() ||
        name.compare(name.size() - extension.size(), extension.size(), extension))
        return false;
    const std::string base = name.substr(0, name.size() - extension.size());
    const auto isDate = [](const std::string& text) {
        static const std::string shape = "0000-00-00_00-00-00";
        if (text.size() != shape.size()) return false;
        for (std::size_t i = 0; i < shape.size(); ++i) {
            const bool digit = std::isdigit(static_cast<unsigned char>(text[i])) != 0;
            if (shape[i] == '0' ? !digit : text[i] != shape[i]) return false;
        }
        return true;
    };
    const std::size_t stemLength = isDate(base.substr(0, 19)) ? 19 : base.rfind(kNoDateStem, 0) == 0 ? 7 : 0;
    if (stemLength == 0) return false;
    stem = base.substr(0, stemLength);
    number = 1;
    if (base.size() == stemLength) return true;
    const std::string suffix = base.substr(stemLength);
    // "-2" and on, as freeName counts: no sign, no leading zero, no more digits than an int holds.
    if (suffix.size() < 2 || suffix.size() > 10 || suffix[0] != '-' || suffix[1] == '0') return false;
    number = 0;
    for (std::size_t i = 1; i < suffix.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(suffix[i]))) return false;
        number = number * 10 + (suffix[i] - '0');
    }
    return number >= 2;
}

// Newest first: the date in the name, then the number that tells apart two sessions of one second.
struct NameOrder {
    bool recorded = false; // a name the recorder gives
    std::string stem;
    int number = 0;
    std::string name;
    bool operator>(const NameOrder& other) const {
        return std::tie(stem, number, name) > std::tie(other.stem, other.number, other.name);
    }
};

NameOrder nameOrder(const std::string& path) {
    NameOrder order;
    order.name = Utf8FromPath(PathFromUtf8(path).filename());
    order.recorded = parseSessionName(order.name, order.stem, order.number);
    if (!order.recorded) order.stem = order.name;
    return order;
}

// The date a session's header says it began, "" when the header cannot be read.
std::string headerDate(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes(kHeaderBytesRead, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    SessionStart start;
    std::string error;
    if (!ReadSessionStart(bytes, start, error)) return "";
    return start.date;
}

std::string freeName(const fs::path& folder, const std::string& stem) {
    std::error_code ignored;
    for (int n = 1;; ++n) {
        const std::string name = stem + (n == 1 ? "" : "-" + std::to_string(n)) + ".vrp";
        if (!fs::exists(folder / name, ignored) && !fs::exists(folder / kKeptFolder / name, ignored))
            return Utf8FromPath(folder / name);
    }
}

void listInto(const fs::path& folder, bool kept, std::vector<SessionFileEntry>& out) {
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (it->path().extension() == ".vrp" && it->is_regular_file(error))
            out.push_back({Utf8FromPath(it->path()), kept});
    }
}

} // namespace

tSessionRecorder::~tSessionRecorder() {
    stop();
}

bool tSessionRecorder::start(const std::string& folder, SessionStart& start, std::string& error) {
    stop();
    failureTold = false;
    if (PlayerFolderHeldElsewhere()) {
        error = "another copy of the game is using the player's files";
        return false;
    }
    std::error_code made;
    fs::create_directories(PathFromUtf8(folder), made);
    const std::string path = freeName(PathFromUtf8(folder), fileStem(start.date));
    RecordPasses([this](const PassRecord& pass) { onPass(pass); });
    start.clock = Millis();
    if (!writer.open(path, start, error)) {
        RecordPasses(nullptr);
        return false;
    }
    recordingNow = path;
    flushedMs = 0;
    missionBegun = false;
    lastState = gamestate::MAP;
    lastMission = 0;
    lastClosedNodes = -1; // read when the first pass ends: the campaign is given after the clock starts
    outroMarked = false;
    return true;
}

void tSessionRecorder::stop() {
    if (!writer.isOpen()) return;
    RecordPasses(nullptr); // hands over the last pass
    writer.finish();
    PlayerFileWrittenAside();
    recordingNow.clear();
}

std::string RecordingSessionPath() {
    return recordingNow;
}

void tSessionRecorder::onPass(const PassRecord& pass) {
    if (lastClosedNodes < 0) lastClosedNodes = closedNodes();
    writer.addPass(pass);
    flushedMs += pass.frameMs;
    bool marked = false;
    if (theProgram) {
        const int state = theProgram->state;
        if (lastState == gamestate::MAP && state != gamestate::MAP && !theProgram->outro) {
            lastMission = theProgram->worldData ? theProgram->worldData->currentMissionId : 0;
            writer.addMark(SessionMark::MissionStarted, lastMission);
            marked = missionBegun = true;
        } else if (lastState != gamestate::MAP && state == gamestate::MAP) {
            const int closed = closedNodes();
            writer.addMark(closed > lastClosedNodes ? SessionMark::MissionWon : SessionMark::MissionLeft,
                           lastMission);
            lastClosedNodes = closed;
            marked = true;
        }
        if (theProgram->outro && !outroMarked) {
            writer.addMark(SessionMark::Outro, 0);
            outroMarked = marked = true;
        }
        lastState = state;
    }
    if (marked || flushedMs >= kFlushEveryMs) {
        writer.flush();
        PlayerFileWrittenAside();
        flushedMs = 0;
    }
    // A full disk: the player learns it on the screen, once, not from a list that later lacks the game.
    if (!writer.failure().empty() && !failureTold) {
        failureTold = true;
        if (theProgram && theProgram->notice) theProgram->notice->show(RecordingStoppedNotice());
    }
}

std::string NotRecordedNotice(const std::string& why) {
    return Placed(Tr("This session is not recorded (%s): play goes on"), {why});
}

std::string RecordingStoppedNotice() {
    return Tr("This session's recording stopped (the disk may be full): play goes on");
}

bool IsRecordedSessionName(const std::string& fileName) {
    std::string stem;
    int number = 0;
    return parseSessionName(fileName, stem, number);
}

std::vector<SessionFileEntry> ListSessionFiles(const std::string& folder) {
    std::vector<SessionFileEntry> files;
    listInto(PathFromUtf8(folder), false, files);
    listInto(PathFromUtf8(folder) / kKeptFolder, true, files);
    // Newest first: the names begin with the date and time the session began.
    std::sort(files.begin(), files.end(), [](const SessionFileEntry& a, const SessionFileEntry& b) {
        return nameOrder(a.path) > nameOrder(b.path);
    });
    return files;
}

void RemoveOldSessions(const std::string& folder, const std::string& newest, int keep) {
    struct Dated {
        fs::path path;
        std::string date;
        NameOrder order;
    };
    std::vector<Dated> sessions;
    std::vector<SessionFileEntry> unmarked;
    listInto(PathFromUtf8(folder), false, unmarked);
    int spared = 0;
    for (const SessionFileEntry& file : unmarked) {
        const NameOrder order = nameOrder(file.path);
        if (!order.recorded) continue; // another program's file: not the game's to count or remove
        if (file.path == newest || file.path == recordingNow) {
            ++spared;
            continue;
        }
        std::string date = headerDate(PathFromUtf8(file.path));
        if (!date.empty()) sessions.push_back({PathFromUtf8(file.path), std::move(date), order});
    }
    std::sort(sessions.begin(), sessions.end(), [](const Dated& a, const Dated& b) {
        return a.date != b.date ? a.date > b.date : a.order > b.order;
    });
    for (std::size_t i = static_cast<std::size_t>(std::max(keep - spared, 0)); i < sessions.size(); ++i) {
        std::error_code ignored;
        fs::remove(sessions[i].path, ignored);
    }
}

std::string MarkSessionKept(const std::string& path, bool kept, std::string& error) {
    const fs::path from = PathFromUtf8(path);
    const fs::path folder = kept ? from.parent_path() / kKeptFolder : from.parent_path().parent_path();
    std::error_code failed;
    fs::create_directories(folder, failed);
    const fs::path to = folder / from.filename();
    if (fs::exists(to, failed)) {
        error = Utf8FromPath(to) + ": already exists";
        return "";
    }
    fs::rename(from, to, failed);
    if (failed) {
        error = path + ": cannot be moved (" + failed.message() + ")";
        return "";
    }
    return Utf8FromPath(to);
}
