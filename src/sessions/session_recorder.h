#pragma once
// Every session the player plays, recorded as it is played into the player's replays folder: the file
// grows by each second of play, so a crash or a killed process still leaves the session up to its last
// second. The folder keeps the last kKeptSessions sessions; older ones are removed, except those the
// player marked to keep (moved into the folder's "kept" folder, which nothing removes).
#include <string>
#include <vector>

#include "sessions/session.h"
#include "sessions/session_file.h"

constexpr int kKeptSessions = 20;

class tSessionRecorder {
  public:
    ~tSessionRecorder();
    // Starts recording the session about to begin: the engine's passes are written to a new file in
    // folder from now on (start.clock is set to the clock's reading now). False, with the reason in
    // error, when the file cannot be made: the game plays on unrecorded.
    bool start(const std::string& folder, SessionStart& start, std::string& error);
    // Ends the recording: the file is complete.
    void stop();
    bool recording() const { return writer.isOpen(); }
    const std::string& filePath() const { return writer.filePath(); }
    // What went wrong writing, if anything (the game plays on; the file holds what was written).
    const std::string& failure() const { return writer.failure(); }
    // True once a mission began in the session (one that never left the map has nothing to watch).
    bool missionStarted() const { return missionBegun; }

  private:
    void onPass(const PassRecord& pass);
    SessionWriter writer;
    int flushedMs = 0; // play since the last flush
    int lastState = -1;
    int lastMission = 0;
    int lastClosedNodes = 0;
    bool outroMarked = false;
    bool missionBegun = false;
};

// The file of the session being recorded now, "" when none is.
std::string RecordingSessionPath();

// The sessions in folder (and its "kept" folder), newest first.
struct SessionFileEntry {
    std::string path;
    bool kept = false;
};
std::vector<SessionFileEntry> ListSessionFiles(const std::string& folder);
// Removes the oldest sessions that are not kept until at most `keep` are left.
void RemoveOldSessions(const std::string& folder, int keep = kKeptSessions);
// Moves a session into the kept folder (or back out); the new path, empty with error on failure.
std::string MarkSessionKept(const std::string& path, bool kept, std::string& error);
