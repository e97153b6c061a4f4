#pragma once
// The game as a player starts it: a replay file first when one was named, the intro, then one recorded
// session after another. A session ends at Esc, the close button, the outro's end, or a replay file
// dropped on the window, which is watched before a new session begins on the map with the campaign as
// it stood.
#include <string>

#include "sessions/session.h"

void PlayGame(const std::string& replayFile);
// One session played from the map with the campaign given, recorded into the replays folder (when it
// cannot be, the notice line says so once); once it ends, the folder keeps its last sessions.
void PlayRecordedSession(const CampaignRecord& campaign, const PlayerFilesHeld& held);
// The player's replays folder (in the progress folder); empty where the platform keeps no files.
std::string ReplaysFolder();
