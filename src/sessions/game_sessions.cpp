#include "sessions/game_sessions.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "engine/engine.h"
#include "engine/file_store.h"
#include "engine/utf8_paths.h"
#include "game/program.h"
#include "hud/notice.h"
#include "sessions/replay_viewer.h"
#include "sessions/session_recorder.h"

namespace {

std::string notRecordedTold; // why the last session was not recorded, as the notice line told it

} // namespace

void PlayRecordedSession(const CampaignRecord& campaign, const PlayerFilesHeld& held) {
    tSessionRecorder recorder;
    SessionStart start = NewSessionStart(campaign);
    const std::string folder = ReplaysFolder();
    std::string error, notRecorded;
    if (folder.empty()) {
        start.clock = Millis();
    } else if (!recorder.start(folder, start, error)) {
        std::fprintf(stderr, "vevu: this session is not recorded: %s\n", error.c_str());
        // A second copy of the game was told by the store's own line that it saves nothing.
        if (!PlayerFolderHeldElsewhere()) notRecorded = "the replays folder cannot be written";
        start.clock = Millis();
    }
    BeginSessionProgram(start, SessionUse::Played, held);
    // Told once, as the store tells a file it cannot save, not again by every session after it.
    if (notRecorded != notRecordedTold && !notRecorded.empty() && theProgram->notice)
        theProgram->notice->show(NotRecordedNotice(notRecorded));
    notRecordedTold = notRecorded;
    theProgram->playFromMap();
    const std::string file = recorder.filePath();
    recorder.stop();
    if (!recorder.failure().empty())
        std::fprintf(stderr, "vevu: the session's recording stopped: %s\n", recorder.failure().c_str());
    if (file.empty()) return;
    // A session that never left the map has nothing to watch: it goes before the folder counts its games.
    std::error_code ignored;
    const bool watchable = recorder.missionStarted();
    if (!watchable) std::filesystem::remove(PathFromUtf8(file), ignored);
    RemoveOldSessions(folder, watchable ? file : "");
}

namespace {

// Watches the files dropped on the window, one after another. False when the window was closed.
bool watchDroppedFiles() {
    for (std::string dropped = TakeDroppedFile(); !dropped.empty(); dropped = TakeDroppedFile()) {
        if (WindowCloseWaiting()) return false;
        WatchReplayFile(dropped);
    }
    return !WindowCloseWaiting();
}

} // namespace

std::string ReplaysFolder() {
    const std::filesystem::path progress = PlayerFiles().folderOf(PlayerFileKind::Progress);
    return progress.empty() ? std::string() : Utf8FromPath(progress / "replays");
}

void PlayGame(const std::string& replayFile) {
    if (!replayFile.empty()) {
        WatchReplayFile(replayFile);
        if (!watchDroppedFiles()) return;
    }
    theProgram = std::make_shared<tProgram>();
    theProgram->init();
    if (!tProgram::showIntro() || !theProgram->chooseCampaign()) return;
    CampaignRecord campaign = CurrentCampaign();
    const PlayerFilesHeld held{theProgram->campaignFile, theProgram->notice};
    while (true) {
        PlayRecordedSession(campaign, held);
        // Only a replay chosen or a file dropped ends a session without ending the game; a new session
        // begins on the map once it was watched.
        const std::string chosen = theProgram->watchChosen;
        if ((chosen.empty() && !DroppedFileWaiting()) || WindowCloseWaiting()) return;
        campaign = CurrentCampaign();
        if (!chosen.empty()) WatchReplayFile(chosen);
        if (!watchDroppedFiles()) return;
    }
}
