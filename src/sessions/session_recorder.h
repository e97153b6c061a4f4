#pragma once
// Every session the player plays, recorded as it is played into the player's replays folder: the file
// grows by each second of play, so a crash or a killed process still leaves the session up to its last
// second. Once a session ends the folder keeps the last kKeptSessions sessions by the date they began;
// older ones are removed, except those the player marked to keep (moved into the folder's "kept" folder,
// which nothing removes).
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
    // error, when the file cannot be made: the game plays on unrecorded, and the notice line says so.
    bool start(const std::string& folder, SessionStart& start, std::string& error);
    // Ends the recording: the file is complete.
    void stop();
    bool recording() const { return writer.isOpen(); }
    const std::string& filePath() const { return writer.filePath(); }
    // What went wrong writing, if anything (the game plays on; the file holds what was written, and the
    // notice line says the recording stopped).
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
    bool failureTold = false;
};

// The notice line's words for a session not recorded, or whose recording stopped, and why.
std::string NotRecordedNotice(const std::string& why);
std::string RecordingStoppedNotice();

// The file of the session being recorded now, "" when none is.
std::string RecordingSessionPath();

// The sessions in folder (and its "kept" folder), newest first by name (the date they began, then the
// number that tells apart two begun within a second: "-10" after "-2").
struct SessionFileEntry {
    std::string path;
    bool kept = false;
};
std::vector<SessionFileEntry> ListSessionFiles(const std::string& folder);
// True for a file name the recorder gives ("2026-12-09_09-41-07.vrp", "2026-12-09_09-41-07-2.vrp").
bool IsRecordedSessionName(const std::string& fileName);
// Removes the oldest sessions until at most `keep` are left, oldest by the date in their header (not by
// name: a file from elsewhere, a clock set back or the hour repeated at the end of summer time name
// sessions out of order). Only files the recorder named count and go; never a kept one, the one being
// recorded, `newest` (the session just played, which counts as the newest), nor one whose header cannot be
// read (a damaged file is kept).
void RemoveOldSessions(const std::string& folder, const std::string& newest = "", int keep = kKeptSessions);
// Moves a session into the kept folder (or back out); the new path, empty with error on failure.
std::string MarkSessionKept(const std::string& path, bool kept, std::string& error);
