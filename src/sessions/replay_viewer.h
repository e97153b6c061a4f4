#pragma once
// Watching a recorded session in the game's own picture and sound: the session plays at the pace it was
// played, or paused, or 2, 4 or 8 times as fast, or straight on to the start of the next mission, with a
// line along the bottom saying what is shown. The keys a pad and the page's touch controls also give
// steer it:
//
//     P, Space         pause / go on
//     Right, Left      faster, slower (1x, 2x, 4x, 8x)
//     Down, C, N       on to the next mission
//     Esc, Backspace   back
//
// The pace never changes the game: every pass plays as recorded; only which frames are shown and when
// differs (passes between two shown frames run with drawing switched off).
#include <functional>
#include <string>
#include <vector>

#include "sessions/session_file.h"
#include "sessions/session_player.h"
#include "settings/prompts.h"

class tReplayViewer {
  public:
    tReplayViewer(const SessionRecording& recording, std::string name);
    ~tReplayViewer();

    // Plays the session in the window until it ends (then the last frame stays until a key), the player
    // goes back, or the window is closed (the close is left for the game to take).
    void run();

    // The viewer's own clock and wait, in real milliseconds (tests give theirs).
    std::function<long long()> realMillis;
    std::function<void(int ms)> wait;
    // Called before each pass with its number, after the viewer's own decisions (tests steer from it).
    std::function<void(int pass)> beforePass;

    int speed() const { return speedFactor; }
    bool paused() const { return pausedNow; }
    // What the band along the bottom says now: where the replay is, and the hints of what the keys do.
    std::string statusLine() const;
    std::vector<tHint> statusHints() const;

    static constexpr int kFastest = 8;

  private:
    bool pace(int pass);
    void readKeys();
    void jumpToNextMission();
    void drawStatus();
    void showStill();
    void anchorHere();

    tSessionPlayer player;
    std::string name;
    int speedFactor = 1;
    bool pausedNow = false;
    bool leaving = false;
    int jumpUntilPass = -1; // playing undrawn until this pass (the next mission's start)
    long long anchorReal = 0;
    long long anchorGame = 0;
};

// Loads a replay file and watches it; when it cannot be played, the reason is shown in the window
// (and printed) until a key. False when it could not be played.
bool WatchReplayFile(const std::string& path);
// A few lines of text in the window until a key, the close button, or a stop.
void ShowMessageScreen(const std::vector<std::string>& lines);
// The lines as the message screen shows them (wrapped, cut to what fits), and one frame of it.
std::vector<std::string> MessageScreenLines(const std::vector<std::string>& lines);
void DrawMessageScreen(const std::vector<std::string>& shown);
