#pragma once
#include <string>

// Says something before the game's window exists (its usage, its version, a command line refused): on
// standard output, or standard error for an error. The Windows program has no console: started from a
// shortcut or from Explorer it has no standard output either, and there it shows the text in a message box
// instead, which needs neither the window nor SDL's video. Output redirected to a file or a pipe is written.
void TellUser(const std::string& title, const std::string& text, bool error);
