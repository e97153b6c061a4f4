#pragma once
#include <string>
#include <vector>

// What `vevu` was asked to do by its arguments: play (a replay file first when one is named), print its
// usage or its version, or nothing at all because the arguments make no sense. An argument that begins
// with '-' is an option, never a file: `vevu --bogus` is refused rather than taken for a replay that
// cannot be opened. A file whose name begins with '-' follows `--`.
struct CommandLine {
    enum class Action { Play, ShowUsage, ShowVersion, Refuse };
    Action action = Action::Play;
    std::string replayFile; // Play: the replay shown first; empty for none
    std::string error;      // Refuse: what is wrong, in one line

    // arguments[0] is the program's own name, as in argv.
    static CommandLine Read(const std::vector<std::string>& arguments);
};

// The usage `vevu --help` prints: the synopsis, the options and the environment variables the game reads.
std::string UsageText();

// "vevu 1.0.0": what `vevu --version` prints.
std::string VersionText();
