// Draws every screen whose hints are prompts, in each state that matters (the keyboard's key caps, a
// pad's buttons), headless through the harness, and compares each frame with its kept picture, so that a
// hint line drawn elsewhere, missing or naming the wrong key is seen.
//
//   vevu_prompt_pictures check DIR [--out FAILURES]   every frame against DIR/NAME.png
//   vevu_prompt_pictures write DIR                    draws them again into DIR (a change meant)
//
// A frame that differs is written to FAILURES (default: picture-failures beside the program)
// with the count of pixels that differ and the box around them.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "buildings/homebase.h"
#include "campaign/campaign_choice.h"
#include "driver/harness.h"
#include "engine/engine.h"
#include "engine/input_device.h"
#include "game/program.h"
#include "player/foo.h"
#include "sessions/game_sessions.h"
#include "sessions/replay_viewer.h"
#include "sessions/session.h"
#include "sessions/session_file.h"
#include "settings/options_screen.h"

namespace {

constexpr int kSeed = 2026;

enum class Mode { Check, Write };
Mode mode = Mode::Check;
std::filesystem::path referenceDir, failureDir;
int checked = 0, failed = 0;

std::vector<unsigned char> readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The back buffer as it is now.
TPixmap grab() {
    const std::shared_ptr<TImage> frame = TImage::Create(640, 480);
    GrabFrame(frame, 0, 0);
    return *frame->Lock(0);
}

void compare(const std::string& name, const TPixmap& drawn) {
    const std::filesystem::path kept = referenceDir / (name + ".png");
    if (mode == Mode::Write) {
        if (!WritePng(kept.string(), drawn)) {
            std::fprintf(stderr, "prompt pictures: cannot write %s\n", kept.string().c_str());
            ++failed;
        }
        ++checked;
        return;
    }
    ++checked;
    const std::vector<unsigned char> bytes = readFile(kept);
    TPixmap reference;
    if (bytes.empty() || !DecodePng(bytes.data(), bytes.size(), reference)) {
        std::fprintf(stderr, "%s: no kept picture %s\n", name.c_str(), kept.string().c_str());
        ++failed;
        return;
    }
    int differ = 0, left = drawn.width, top = drawn.height, right = -1, bottom = -1;
    const bool sameSize = reference.width == drawn.width && reference.height == drawn.height;
    for (int y = 0; sameSize && y < drawn.height; ++y) {
        for (int x = 0; x < drawn.width; ++x) {
            const std::size_t i = static_cast<std::size_t>(y * drawn.width + x);
            if (drawn.pixels[i] == reference.pixels[i]) continue;
            ++differ;
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
        }
    }
    if (sameSize && differ == 0) return;
    ++failed;
    std::error_code error;
    std::filesystem::create_directories(failureDir, error);
    const std::filesystem::path out = failureDir / (name + ".png");
    WritePng(out.string(), drawn);
    if (!sameSize) {
        std::fprintf(stderr, "%s: %dx%d drawn, %dx%d kept (drawn: %s)\n", name.c_str(), drawn.width,
                     drawn.height, reference.width, reference.height, out.string().c_str());
    } else {
        std::fprintf(stderr, "%s: %d pixels differ in (%d,%d)-(%d,%d) (drawn: %s)\n", name.c_str(), differ,
                     left, top, right, bottom, out.string().c_str());
    }
}

// The game's frame drawn now, after the device named was the one used last.
void gameFrame(Harness& game, const std::string& name, bool pad, PadStyle style = PadStyle::Xbox) {
    if (pad) {
        engine_detail::NotePadUsed(style);
    } else {
        engine_detail::ResetInputDevice();
    }
    game.program().drawTimer = 0;
    game.program().drawAll();
    compare(name, grab());
}

void bothDevices(Harness& game, const std::string& name, PadStyle style = PadStyle::Xbox) {
    gameFrame(game, name + "_keys", false);
    gameFrame(game, name + "_pad", true, style);
}

// A session of the map left alone for passes of 10 ms, in the player's replays folder; its path.
std::string writeSampleSession(const std::string& name, int passes) {
    const std::filesystem::path folder = ReplaysFolder();
    std::filesystem::create_directories(folder);
    SessionStart start = NewSessionStart(CampaignRecord{});
    start.date = "2026-12-09 21:14:03";
    SessionWriter writer;
    std::string error;
    const std::string path = (folder / name).string();
    if (!writer.open(path, start, error)) {
        std::fprintf(stderr, "prompt pictures: a sample session: %s\n", error.c_str());
        ++failed;
        return "";
    }
    for (int pass = 0; pass < passes; ++pass)
        writer.addPass(PassRecord{});
    writer.finish();
    return path;
}

// The viewer's band along the bottom, over the session it shows.
void viewersLine(const std::string& path) {
    SessionRecording recording;
    std::string error;
    if (path.empty() || !LoadSessionFile(path, recording, error)) {
        std::fprintf(stderr, "prompt pictures: the sample session cannot be watched: %s\n", error.c_str());
        ++failed;
        return;
    }
    tReplayViewer viewer(recording, std::filesystem::path(path).filename().string());
    long long realMs = 0;
    viewer.realMillis = [&] { return realMs; };
    viewer.wait = [&](int ms) { realMs += std::max(ms, 1); };
    bool pad = false;
    viewer.beforePass = [&](int pass) {
        realMs += 10;
        // The frame before this pass is in the back buffer, the band drawn over it.
        if (pass == 100 || pass == 102) {
            compare(pad ? "viewer_pad" : "viewer_keys", grab());
            engine_detail::NotePadUsed(PadStyle::Xbox);
            pad = true;
        }
    };
    engine_detail::ResetInputDevice();
    viewer.run(); // to the session's end
}

// The map's legend, the options with a binding's message and the pad's column, the replays list and the
// viewer's band.
void mapOptionsAndReplays() {
    Harness game(4, kSeed);
    game.drawEvery = 1000;
    game.runFor(600); // the fade from black
    bothDevices(game, "map");

    game.press(KEY_P);
    for (int i = 0; i < 10; ++i)
        game.press(KEY_DOWN); // Down's binding, the replays being listed first
    game.press(KEY_Z);
    game.press(KEY_SPACE); // "Down is now Space or S."
    bothDevices(game, "options_message", PadStyle::PlayStation);
    game.press(KEY_ESCAPE);
    gameFrame(game, "map_rebound", false); // the legend drawn again with Space

    writeSampleSession("2026-12-09_21-14-03.vrp", 6000);
    game.press(KEY_P);
    game.press(KEY_Z); // the replays, the first entry
    bothDevices(game, "replays");
    game.press(KEY_ESCAPE);
    viewersLine(writeSampleSession("2026-12-10_08-00-00.vrp", 150));
}

// The upgrade menu beside the landed homebase: its bottom line of prompts over the page's own.
void upgradeMenu() {
    Harness game(4, kSeed);
    game.drawEvery = 1000;
    game.startMission(0);
    tFoo& larva = *game.program().player;
    const bool hatched = game.runUntil([&] { return larva.state == states::IDLE; }, 10000);
    const float home = game.program().playerBase->x;
    // Left or Right until the larva stands still beside the homebase (it slides on a little).
    const bool there = hatched && game.runUntil(
                                      [&] {
                                          InjectKeyUp(KEY_LEFT);
                                          InjectKeyUp(KEY_RIGHT);
                                          const float dx = home - larva.x;
                                          if (std::fabs(dx) <= 6) return std::fabs(larva.xVel) < 1;
                                          if (std::fabs(dx) > 30 || std::fabs(larva.xVel) < 10)
                                              InjectKeyDown(dx > 0 ? KEY_RIGHT : KEY_LEFT);
                                          return false;
                                      },
                                      20000);
    InjectKeyDown(KEY_X);
    const bool open = there && game.runUntil([&] { return game.program().state == gamestate::MENU; }, 1000);
    InjectKeyUp(KEY_X);
    if (!open) {
        std::fprintf(stderr, "prompt pictures: the upgrade menu did not open\n");
        ++failed;
        return;
    }
    game.runFor(300);
    bothDevices(game, "upgrade_menu", PadStyle::PlayStation);
}

void campaignChoice() {
    Harness game(4, kSeed);
    tCampaignChoice choice(2);
    for (bool pad : {false, true}) {
        if (pad) {
            engine_detail::NotePadUsed(PadStyle::Nintendo);
        } else {
            engine_detail::ResetInputDevice();
        }
        Cls();
        choice.draw();
        compare(pad ? "campaign_choice_pad" : "campaign_choice_keys", grab());
    }
}

void messageScreen() {
    Harness game(4, kSeed);
    const std::vector<std::string> lines = MessageScreenLines(
        {"This replay was recorded by another version of the game.", "It cannot be played."});
    for (bool pad : {false, true}) {
        if (pad) {
            engine_detail::NotePadUsed(PadStyle::Generic);
        } else {
            engine_detail::ResetInputDevice();
        }
        DrawMessageScreen(lines);
        compare(pad ? "message_pad" : "message_keys", grab());
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3 || (std::strcmp(argv[1], "check") != 0 && std::strcmp(argv[1], "write") != 0)) {
        std::fprintf(stderr, "usage: vevu_prompt_pictures check|write DIR [--out FAILURES]\n");
        return 2;
    }
    mode = std::strcmp(argv[1], "write") == 0 ? Mode::Write : Mode::Check;
    referenceDir = argv[2];
    failureDir = std::filesystem::path(argv[0]).parent_path() / "picture-failures";
    if (argc >= 5 && std::strcmp(argv[3], "--out") == 0) failureDir = argv[4];
    std::error_code error;
    if (mode == Mode::Write) std::filesystem::create_directories(referenceDir, error);
    mapOptionsAndReplays();
    upgradeMenu();
    campaignChoice();
    messageScreen();
    std::printf("prompt pictures: %d %s, %d differ\n", checked, mode == Mode::Write ? "written" : "checked",
                failed);
    return failed == 0 ? 0 : 1;
}
