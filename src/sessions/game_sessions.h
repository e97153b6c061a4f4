#pragma once
// The game as a player starts it: a replay file first when one was named, the intro, then one recorded
// session after another. A session ends at Esc, the close button, the outro's end, or a replay file
// dropped on the window, which is watched before a new session begins on the map with the campaign as
// it stood.
#include <string>

void PlayGame(const std::string& replayFile);
// The player's replays folder (in the progress folder); empty where the platform keeps no files.
std::string ReplaysFolder();
