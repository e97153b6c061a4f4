#include "sessions/replay_viewer.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>

#include "engine/engine.h"
#include "engine/words.h"
#include "game/constants.h"
#include "game/program.h"
#include "sessions/replays_screen.h"
#include "settings/prompts.h"

namespace {

// Behind by more than this (a slow machine at 8x), the viewer lets the lost time go rather than rush.
constexpr long long kMostBehindMs = 250;
constexpr int kBandHeight = 42;
constexpr int kStillFrameMs = 16;

// A black band across the picture: the blackScreen picture drawn squeezed.
void drawBand(float y, float height) {
    static const std::shared_ptr<TImage> black = TImage::Load("incbin::Gfx\\blackScreen.png", 0);
    if (!black || black->height <= 0) return;
    SetBlend(BLEND_ALPHA);
    SetDrawTransform(0, static_cast<float>(screen::SCREEN_WIDTH) / static_cast<float>(black->width),
                     height / static_cast<float>(black->height));
    SetOrigin(0, 0);
    SetAlpha(1);
    SetColor(255, 255, 255);
    DrawFrame(black, 0, y, 0);
}

long long systemRealMillis() {
    return static_cast<long long>(SDL_GetTicks64());
}

} // namespace

tReplayViewer::tReplayViewer(const SessionRecording& recording, std::string name)
    : player(recording), name(std::move(name)) {
    realMillis = systemRealMillis;
    wait = [](int ms) { SDL_Delay(static_cast<Uint32>(std::max(ms, 1))); };
}

tReplayViewer::~tReplayViewer() {
    SetFrameOverlay(nullptr);
}

void tReplayViewer::anchorHere() {
    anchorReal = realMillis();
    anchorGame = player.playedMs();
}

void tReplayViewer::run() {
    player.pace = [this](int pass) { return pace(pass); };
    SetFrameOverlay([this] { drawStatus(); });
    anchorHere();
    player.play();
    SetPlaybackQuiet(false);
    // The last frame stays, saying it has ended, until the player goes back.
    if (!leaving && !WindowCloseWaiting() && !DroppedFileWaiting() && !IsHeadless()) {
        PlayPasses([](PassRecord&) { return false; }); // the window's keys are the viewer's
        while (!leaving && !WindowCloseWaiting() && !DroppedFileWaiting()) {
            showStill();
            if (PlayerKeyPressCount(KEY_ESCAPE) + PlayerKeyPressCount(KEY_BACKSPACE) +
                    PlayerKeyPressCount(KEY_P) + PlayerKeyPressCount(KEY_ENTER) +
                    PlayerKeyPressCount(KEY_SPACE) + PlayerKeyPressCount(KEY_X) +
                    PlayerKeyPressCount(KEY_MENU_BACK) + PlayerKeyPressCount(KEY_MENU_CONFIRM) >
                0)
                leaving = true;
        }
        PlayPasses(nullptr);
    }
    SetFrameOverlay(nullptr);
}

void tReplayViewer::readKeys() {
    // The viewer's own keys: the player's bindings (the engine's, which are the viewer's), and the menu keys.
    if (PlayerKeyPressCount(KEY_ESCAPE) + PlayerKeyPressCount(KEY_BACKSPACE) +
            PlayerKeyPressCount(KEY_MENU_BACK) >
        0)
        leaving = true;
    if (PlayerKeyPressCount(KEY_P) + PlayerKeyPressCount(KEY_SPACE) > 0) {
        pausedNow = !pausedNow;
        if (!pausedNow) anchorHere();
    }
    const int faster = std::max(PlayerKeyPressCount(KEY_RIGHT), PlayerKeyPressCount(KEY_MENU_RIGHT));
    const int slower = std::max(PlayerKeyPressCount(KEY_LEFT), PlayerKeyPressCount(KEY_MENU_LEFT));
    if (faster + slower > 0) {
        for (int i = 0; i < faster; ++i)
            speedFactor = std::min(speedFactor * 2, kFastest);
        for (int i = 0; i < slower; ++i)
            speedFactor = std::max(speedFactor / 2, 1);
        anchorHere();
        // Four sounds at once where one was: fast forward is watched, not heard (nor felt in the pad).
        SetPlaybackQuiet(speedFactor > 2);
    }
    if (PlayerKeyPressCount(KEY_DOWN) + PlayerKeyPressCount(KEY_MENU_DOWN) + PlayerKeyPressCount(KEY_C) +
            PlayerKeyPressCount(KEY_N) >
        0)
        jumpToNextMission();
}

void tReplayViewer::jumpToNextMission() {
    const int now = player.passesPlayed();
    for (const SessionMark& mark : player.recording.marks) {
        if (mark.kind == SessionMark::MissionStarted && mark.pass > now) {
            jumpUntilPass = mark.pass;
            pausedNow = false;
            SetPlaybackQuiet(true);
            return;
        }
    }
}

bool tReplayViewer::pace(int pass) {
    if (beforePass) beforePass(pass);
    readKeys();
    while (pausedNow && !leaving && !WindowCloseWaiting() && !DroppedFileWaiting()) {
        showStill();
        readKeys();
    }
    if (leaving || WindowCloseWaiting() || DroppedFileWaiting()) return false;
    if (jumpUntilPass >= 0) {
        if (pass < jumpUntilPass) {
            SetDrawingEnabled(false);
            return true;
        }
        jumpUntilPass = -1;
        SetPlaybackQuiet(speedFactor > 2);
        anchorHere();
    }
    const long long game = player.playedMs();
    long long target = anchorGame + (realMillis() - anchorReal) * speedFactor;
    if (game > target) {
        // Ahead of the clock: the frame shown stays until the clock catches up.
        wait(static_cast<int>((game - target) / speedFactor));
        target = anchorGame + (realMillis() - anchorReal) * speedFactor;
    } else if (target - game > kMostBehindMs * speedFactor) {
        anchorHere();
        target = game;
    }
    const int frameMs = player.recording.passes[static_cast<std::size_t>(pass)].frameMs;
    // Only the last pass before the clock is shown: the others run their draw code undrawn.
    SetDrawingEnabled(game + frameMs >= target);
    return true;
}

void tReplayViewer::showStill() {
    SetDrawingEnabled(true);
    Flip(0); // the last frame again, with the line saying what is shown (the overlay)
    if (IsHeadless()) wait(kStillFrameMs);
}

std::string tReplayViewer::statusLine() const {
    const SessionRecording& recording = player.recording;
    std::string where = "map";
    for (const SessionMark& mark : recording.marks) {
        if (mark.pass > player.passesPlayed()) break;
        if (mark.kind == SessionMark::MissionStarted) where = "mission " + std::to_string(mark.mission + 1);
        if (mark.kind == SessionMark::MissionWon || mark.kind == SessionMark::MissionLeft) where = "map";
        if (mark.kind == SessionMark::Outro) where = "the end";
    }
    std::string line = "Replay " + recording.start.date.substr(0, 16) + "  " + where + "  " +
                       PlayTimeText(player.playedMs()) + " / " + PlayTimeText(recording.lengthMs());
    if (PlaybackEnded() || player.passesPlayed() >= static_cast<int>(recording.passes.size()))
        return line + "  ended";
    if (jumpUntilPass >= 0) return line + "  to the next mission";
    if (pausedNow) return line + "  paused";
    return line + "  " + std::to_string(speedFactor) + "x";
}

std::vector<tHint> tReplayViewer::statusHints() const {
    if (PlaybackEnded() || player.passesPlayed() >= static_cast<int>(player.recording.passes.size()))
        return {{{Action::Back}, TrMark("back")}};
    if (jumpUntilPass >= 0) return {};
    if (pausedNow) return {{{Action::Pause}, TrMark("go on")}, {{Action::Back}, TrMark("back")}};
    return {{{Action::Pause}, TrMark("pause")},
            {{Action::Left, Action::Right}, TrMark("speed")},
            {{Action::Down}, TrMark("next mission")},
            {{Action::Back}, TrMark("back")}};
}

void tReplayViewer::drawStatus() {
    // Two lines at the font's double size, the hints in prompts: readable on a handheld's screen.
    const float y = static_cast<float>(screen::SCREEN_HEIGHT - kBandHeight);
    drawBand(y, kBandHeight);
    SetColor(0, 255, 0);
    SetDrawTransform(0, 2, 2);
    DrawString(statusLine(), 6, y + 2);
    DrawViewersHintLine(statusHints(), 6, y + 20);
}

bool WatchReplayFile(const std::string& path) {
    SessionRecording recording;
    std::string error;
    if (!LoadSessionFile(path, recording, error)) {
        std::fprintf(stderr, "vevu: %s\n", error.c_str());
        ShowMessageScreen({"This replay cannot be played:", error});
        return false;
    }
    const std::string why = WhyNotPlayable(recording.start);
    if (!why.empty()) {
        std::fprintf(stderr, "vevu: %s: %s\n", path.c_str(), why.c_str());
        ShowMessageScreen({"This replay cannot be played:", path, why});
        return false;
    }
    const std::size_t slash = path.find_last_of("/\\");
    tReplayViewer viewer(recording, slash == std::string::npos ? path : path.substr(slash + 1));
    viewer.run();
    return true;
}

namespace {
constexpr float kMessageTop = 200, kMessageLineHeight = 12;
} // namespace

std::vector<std::string> MessageScreenLines(const std::vector<std::string>& lines) {
    // Wrapped once, at the screen's width: a line as long as a file may hold costs one pass over it, not
    // one each frame. What does not fit above the prompt is left out.
    constexpr int kMostShown =
        static_cast<int>((screen::SCREEN_HEIGHT - kMessageTop) / kMessageLineHeight) - 4;
    std::vector<std::string> shown;
    for (const std::string& line : lines) {
        for (std::string& part : WrapString(line, screen::SCREEN_WIDTH - 16))
            if (static_cast<int>(shown.size()) < kMostShown) shown.push_back(std::move(part));
    }
    return shown;
}

void DrawMessageScreen(const std::vector<std::string>& shown) {
    Cls();
    SetDrawTransform(0, 1, 1);
    SetAlpha(1);
    SetColor(255, 255, 255);
    float y = kMessageTop;
    for (const std::string& line : shown) {
        DrawString(line, 8, y);
        y += kMessageLineHeight;
    }
    DrawHintLine({{{Action::Fire}, TrMark("go on")}}, 8, y + 8);
}

void ShowMessageScreen(const std::vector<std::string>& lines) {
    if (IsHeadless()) return;
    PlayPasses([](PassRecord&) { return false; }); // the window's keys are this screen's
    const std::vector<std::string> shown = MessageScreenLines(lines);
    while (!WindowCloseWaiting() && !DroppedFileWaiting()) {
        SetDrawingEnabled(true);
        DrawMessageScreen(shown);
        Flip(0);
        bool key = false;
        for (int k : {KEY_ESCAPE, KEY_ENTER, KEY_SPACE, KEY_X, KEY_Z, KEY_P, KEY_BACKSPACE, KEY_MENU_CONFIRM,
                      KEY_MENU_BACK})
            key = PlayerKeyPressCount(k) > 0 || key;
        if (key) break;
    }
    PlayPasses(nullptr);
}
