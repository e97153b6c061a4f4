#pragma once
// A session: the game from the map screen on, as a player played it. The same start gives the same game
// whenever the same passes are played (src/engine/pass_input.h): the random seed, the engine's clock at
// the start, and the campaign record the map screen opened with. The game's version and the hash of its
// assets tell whether this build can play a recorded session at all.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "settings/settings.h"

class tCampaignFile;
class tNotice;

struct CampaignRecord {
    std::array<int, 4> nodeLock{0, 0, 0, 1}; // 1: the mission's node is closed
    std::array<bool, 5> traits{};            // laser, photons, flak, shield, space warp unlocked
    bool operator==(const CampaignRecord&) const = default;
};

struct SessionStart {
    std::string version;      // the game's version that recorded it
    std::uint32_t assets = 0; // the hash of the assets it was recorded with
    int seed = 0;
    int clock = 0;    // the engine's clock when the map screen began
    std::string date; // local time it began, "2026-12-09 09:41"
    CampaignRecord campaign;
    // The player's settings that change the game itself, not only its picture or sound, as they stood
    // when the session began (a later change is in the session: the options screen plays again).
    bool pauseOnFocusLoss = true;
    ShakeLevel shake = ShakeLevel::Full; // the shake moves the camera the creatures see
};

// This build's version ("1.0.0").
std::string GameVersion();
// The hash of every embedded asset the game shows or plays: a session recorded with other pictures or
// sounds cannot play the same.
std::uint32_t AssetsHash();
// Why this build cannot play a session that started so, in words naming both versions; empty when it can.
std::string WhyNotPlayable(const SessionStart& start);

// A new session's start: this build, a seed and a date of now, the given campaign, the player's settings
// (the clock is set when the session begins).
SessionStart NewSessionStart(const CampaignRecord& campaign);
// The state the game keeps outside theProgram put back as a program's start leaves it.
void ResetClassWideState();
// The saved campaign as the game read it at start-up and the notice line over its screens: a session played
// after another takes them over (the file is not read again, so its notice is not told again).
struct PlayerFilesHeld {
    std::shared_ptr<tCampaignFile> campaignFile;
    std::shared_ptr<tNotice> notice;
};
// theProgram made anew on the map screen, as right after the intro, from the session's start. The engine's
// clock must already read start.clock. A session played takes over `held` (none held: it reads the saved
// campaign itself). A session watched reads none of the player's files, saves no campaign and shows no
// notices of them: what it shows is the session as it was played, with the settings it was played with
// (the options opened in it change a copy; EndWatchedSession puts the player's back).
enum class SessionUse { Played, Watched };
void BeginSessionProgram(const SessionStart& start, SessionUse use, const PlayerFilesHeld& held = {});
// The player's own settings in force again after a watched session.
void EndWatchedSession();
// The campaign record theProgram holds now (the record of a new campaign without one).
CampaignRecord CurrentCampaign();
