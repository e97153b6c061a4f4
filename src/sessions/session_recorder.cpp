#include "sessions/session_recorder.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "campaign/persistence.h"
#include "engine/engine.h"
#include "engine/file_store.h"
#include "engine/utf8_paths.h"
#include "game/constants.h"
#include "game/program.h"

namespace fs = std::filesystem;

namespace {

constexpr int kFlushEveryMs = 1000;
constexpr char kKeptFolder[] = "kept";

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
    return stem.empty() ? "session" : stem;
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
    RemoveOldSessions(folder);
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
}

std::vector<SessionFileEntry> ListSessionFiles(const std::string& folder) {
    std::vector<SessionFileEntry> files;
    listInto(PathFromUtf8(folder), false, files);
    listInto(PathFromUtf8(folder) / kKeptFolder, true, files);
    // Newest first: the names begin with the date and time the session began.
    std::sort(files.begin(), files.end(), [](const SessionFileEntry& a, const SessionFileEntry& b) {
        return PathFromUtf8(a.path).filename() > PathFromUtf8(b.path).filename();
    });
    return files;
}

void RemoveOldSessions(const std::string& folder, int keep) {
    int unmarked = 0;
    for (const SessionFileEntry& file : ListSessionFiles(folder)) {
        if (file.kept || ++unmarked <= keep) continue;
        std::error_code ignored;
        fs::remove(PathFromUtf8(file.path), ignored);
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
