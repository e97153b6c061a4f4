#include "game/startup.h"

#include <cstdio>

#include "engine/engine.h"
#include "engine/file_store.h"
#include "engine/words.h"
#include "game/assets.h"
#include "game/constants.h"
#include "game/program.h"
#include "sessions/game_sessions.h"
#include "settings/apply.h"
#include "settings/settings_file.h"

void startGame(bool headless) {
    FillResourceTable();
    // Loading only decodes pixels and sound; textures are made when a frame is first drawn, so this
    // happens before the window exists.
    loadAssets();
    prepareGraphics(headless);
}

void prepareGraphics(bool headless) {
    if (headless) {
        InitHeadless(screen::SCREEN_WIDTH, screen::SCREEN_HEIGHT);
    } else {
        SetWindowTitle("The Vevu Zudevur");
        SetWindowClass("org.vevuzudevur.Vevu"); // the desktop entry's id
        SetWindowIcon("incbin::Icon\\org.vevuzudevur.Vevu.png");
        CreateGraphics(screen::SCREEN_WIDTH, screen::SCREEN_HEIGHT, 0, 60, 0);
    }
    SetBlend(BLEND_ALPHA);
    SetDrawScale(scale::SCALE_X, scale::SCALE_Y);
    SeedRandom(Millis());
    // Our pixel font draws ASCII, and its second file the Latin, Cyrillic and Greek letters beyond it; the
    // Chinese, Japanese and Korean ones come from the bitmap font cut to the characters the translations
    // use, twice its size and drawn at half scale.
    SetFont(LoadFonts({{"incbin::Font\\super_effective.ttf", 8},
                       {"incbin::Locale\\Font\\super_effective_letters.ttf", 8},
                       {"incbin::Locale\\Font\\unifont.otf", 16}}));
    ReadColor(colours::defaultR, colours::defaultG, colours::defaultB);
    anchorAssets();
    SleepMillis(10);
}

void runGame(const std::string& replayFile) {
    CatchStopSignals();         // a desktop logging out ends the game as its close button does, exit code 0
    UsePlatformPlayerFolders(); // the game, and nothing else, keeps the player's files where they live
    UseSystemLanguage();        // and speaks the player's language from its first run on
    // The settings before the window: it opens fullscreen, at the scaling and with the keys chosen.
    tSettingsFile settingsFile;
    auto settings = std::make_shared<tSettings>(settingsFile.load());
    if (!settingsFile.notice().empty()) std::fprintf(stderr, "vevu: %s\n", settingsFile.notice().c_str());
    ApplySettings(*settings);
    startGame(false);
    tProgram::playerSettings = settings;
    tProgram::settingsClosed = [&settingsFile](const tSettings& changed) { settingsFile.save(changed); };
    PlayGame(replayFile);
    tProgram::settingsClosed = nullptr; // it holds the settings file, which ends here
    // The last save is written before the process ends (the writes run on their own thread).
    if (!PlayerFiles().flush()) std::fprintf(stderr, "vevu: the last save was not written in time\n");
    EndProgram();
}
