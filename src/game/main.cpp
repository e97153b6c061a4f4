#include "engine/program_message.h"
#include "engine/utf8_paths.h"
#include "game/command_line.h"
#include "game/startup.h"

// `vevu` starts the game; `vevu FILE` plays the replay FILE first (what opening a .vrp file does). The
// game ends with exit code 0. `--help` and `--version` answer without opening a window; an option the
// game does not know is refused with the usage and exit code 2 (game/command_line.h).
int main(int argc, char** argv) {
    const CommandLine command = CommandLine::Read(ProgramArguments(argc, argv));
    switch (command.action) {
    case CommandLine::Action::ShowUsage:
        TellUser("The Vevu Zudevur", UsageText(), false);
        return 0;
    case CommandLine::Action::ShowVersion:
        TellUser("The Vevu Zudevur", VersionText(), false);
        return 0;
    case CommandLine::Action::Refuse:
        TellUser("The Vevu Zudevur", "vevu: " + command.error + "\n\n" + UsageText(), true);
        return 2;
    case CommandLine::Action::Play:
        break;
    }
    runGame(command.replayFile);
}
