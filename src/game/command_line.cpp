#include "game/command_line.h"

#include "sessions/session.h"

CommandLine CommandLine::Read(const std::vector<std::string>& arguments) {
    CommandLine command;
    auto refuse = [&command](std::string error) {
        command.action = Action::Refuse;
        command.error = std::move(error);
        return command;
    };
    bool optionsEnded = false;
    bool fileNamed = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (argument == "--help" || argument == "-h")) {
            command.action = Action::ShowUsage;
            return command;
        } else if (!optionsEnded && argument == "--version") {
            command.action = Action::ShowVersion;
            return command;
        } else if (!optionsEnded && !argument.empty() && argument[0] == '-') {
            // A lone '-' too: the game reads no replay from its standard input.
            return refuse("unknown option '" + argument + "'");
        } else if (fileNamed) {
            return refuse("one replay file at most ('" + command.replayFile + "' and '" + argument + "')");
        } else {
            command.replayFile = argument;
            fileNamed = true;
        }
    }
    return command;
}

std::string UsageText() {
    return "Usage: vevu [FILE.vrp]\n"
           "       vevu --help | --version\n"
           "\n"
           "The Vevu Zudevur, a side-scrolling action game about an abducting alien larva.\n"
           "Given FILE.vrp, a session recorded by this version of the game, it shows that first.\n"
           "\n"
           "Options:\n"
           "  -h, --help   print this help and exit\n"
           "  --version    print the version and exit\n"
           "  --           what follows is a file, even one whose name begins with '-'\n"
           "\n"
           "Environment:\n"
           "  VEVU_DATA_DIR     keep the saved campaign, the settings and the recorded sessions in this\n"
           "                    folder instead of the platform's own\n"
           "  VEVU_FRAME_LOG    write the clock and a hash of every frame shown to this file\n"
           "  XDG_DATA_HOME     Linux: the campaign and the sessions go in its org.vevuzudevur.Vevu folder\n"
           "                    (by default ~/.local/share)\n"
           "  XDG_CONFIG_HOME   Linux: the settings go in its org.vevuzudevur.Vevu folder (by default\n"
           "                    ~/.config); both unless portable.txt lies beside vevu\n"
           "  APPDATA           Windows: everything goes in its \"The Vevu Zudevur\" folder, unless\n"
           "                    portable.txt lies beside vevu.exe\n"
           "  SDL_RENDER_VSYNC  0 turns vertical sync off (read by SDL, not by the game)\n"
           "\n"
           "Exit status: 0 when the game ends, 1 when it cannot start (no display), 2 for a command line\n"
           "it does not understand.\n";
}

std::string VersionText() {
    return "vevu " + GameVersion() + "\n";
}
