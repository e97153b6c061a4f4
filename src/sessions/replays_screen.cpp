#include "sessions/replays_screen.h"

#include <algorithm>
#include <cstdio>

#include "engine/engine.h"
#include "engine/words.h"
#include "hud/panel.h"
#include "sessions/session_file.h"
#include "sessions/session_recorder.h"

namespace {

using namespace panel;

constexpr int kRowsTop = 64;
constexpr int kRowHeight = 20;
constexpr int kDateX = 56;
constexpr int kSummaryX = 264;
constexpr int kLengthX = 484;
constexpr int kKeptX = 552;
constexpr int kMessageY = 412;
constexpr int kFooterY = 436;

std::string plural(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// A row of the list from its file: the header, and the length and missions the records hold.
void describe(tReplaysScreen::Entry& entry) {
    entry.described = true;
    SessionSummary session;
    std::string error;
    if (!LoadSessionSummary(entry.path, session, error)) {
        const std::size_t slash = entry.path.find_last_of("/\\");
        entry.date = entry.path.substr(slash == std::string::npos ? 0 : slash + 1);
        entry.summary = "damaged";
        return;
    }
    entry.date = session.start.date.substr(0, 16); // to the minute
    entry.length = PlayTimeText(session.lengthMs);
    if (!WhyNotPlayable(session.start).empty()) {
        entry.summary = "version " + session.start.version;
        return;
    }
    entry.playable = true;
    const int played = session.missionsPlayed;
    entry.summary = played == 0 ? std::string("the map only")
                                : plural(played, "mission", "missions") + ", " +
                                      std::to_string(session.missionsWon) + " won";
    if (!session.finished) entry.summary += ", cut short";
}

} // namespace

std::string PlayTimeText(long long ms) {
    const long long seconds = std::max(ms, 0LL) / 1000;
    char text[32];
    if (seconds >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60,
                      seconds % 60);
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", seconds / 60, seconds % 60);
    return text;
}

tReplaysScreen::tReplaysScreen(const std::string& folder, std::shared_ptr<const tSettings> settings,
                               bool readOnly)
    : _settings(settings ? std::move(settings) : std::make_shared<const tSettings>()), _readOnly(readOnly) {
    const std::string recordingNow = RecordingSessionPath();
    if (!folder.empty() && !_readOnly) {
        for (const SessionFileEntry& file : ListSessionFiles(folder)) {
            if (file.path == recordingNow) continue;
            Entry& entry = _entries.emplace_back();
            entry.path = file.path;
            entry.kept = file.kept;
        }
    }
    showSelected();
    // The key that opened the screen must not act in it.
    ClearKeys();
}

bool tReplaysScreen::update() {
    if (_closed) return false;
    if (!_message.empty() && MillisBetween(Millis(), _messageUntil) <= 0) _message.clear();
    // Every press is read each pass, so that none waits to act elsewhere once the screen closes.
    const tMenuKeys::Pass keys = _keys.read();
    const int enters = KeyPressCount(KEY_ENTER);
    const bool watch = keys.take || enters > 0;
    // Keeping is Select's (a pad's north button): a pad's east button steps back in every menu.
    const int keep = KeyPressCount(ActionGameKey(Action::Select));
    const int pauses = KeyPressCount(ActionGameKey(Action::Pause));
    const bool close = keys.back || pauses > 0;
    KeyPressCount(ActionGameKey(Action::Beam));
    const int count = static_cast<int>(_entries.size());
    // Keys typed faster than the passes each count; a close in the same pass comes last, so that a session
    // kept just before it stays kept.
    if (count > 0) {
        _selected = ((_selected + keys.down - keys.up) % count + count) % count;
        showSelected();
        if (keep > 0) toggleKept();
    }
    if (close) {
        _closed = true;
        return false;
    }
    if (count > 0 && watch) {
        const Entry& entry = _entries[static_cast<std::size_t>(_selected)];
        if (!entry.playable) {
            say(entry.summary == "damaged" ? "This session is damaged: it cannot be watched."
                                           : "This session was recorded by another version of the game.");
        } else {
            _chosen = entry.path;
            _closed = true;
        }
    }
    return !_closed;
}

void tReplaysScreen::showSelected() {
    const int count = static_cast<int>(_entries.size());
    if (_selected < _firstShown) _firstShown = _selected;
    if (_selected >= _firstShown + kRowsShown) _firstShown = _selected - kRowsShown + 1;
    // Only the rows shown are read: a folder of many sessions opens as fast as one of a few.
    for (int i = _firstShown; i < std::min(_firstShown + kRowsShown, count); ++i) {
        Entry& entry = _entries[static_cast<std::size_t>(i)];
        if (!entry.described) describe(entry);
    }
}

void tReplaysScreen::toggleKept() {
    Entry& entry = _entries[static_cast<std::size_t>(_selected)];
    if (_readOnly) return;
    std::string error;
    const std::string moved = MarkSessionKept(entry.path, !entry.kept, error);
    if (moved.empty()) {
        std::fprintf(stderr, "vevu: %s\n", error.c_str());
        say("This session cannot be moved: " + error);
        return;
    }
    entry.path = moved;
    entry.kept = !entry.kept;
    say(entry.kept ? "Kept: no later session removes it." : "No longer kept: it goes with the oldest.");
}

void tReplaysScreen::say(const std::string& text) {
    _message = text;
    _messageUntil = MillisAfter(Millis(), kMessageMs);
}

std::vector<tHint> tReplaysScreen::footer() const {
    if (_entries.empty()) return {{{Action::Back}, TrMark("close")}};
    return {{{Action::Up, Action::Down}, TrMark("choose")},
            {{Action::Fire}, TrMark("watch")},
            {{Action::Select}, TrMark("keep")},
            {{Action::Back}, TrMark("close")}};
}

void tReplaysScreen::draw() {
    const DrawingState saved = GetDrawingState();
    panel::DrawFrame("REPLAYS");
    if (_readOnly) {
        Text("The replays are not listed while one is watched.", kDateX, kRowsTop, kText);
    } else if (_entries.empty()) {
        Text("No session recorded yet.", kDateX, kRowsTop, kText);
        Text("Every game from the map on is recorded", kDateX, kRowsTop + 2 * kRowHeight, kHint);
        Text("and the last 20 are kept here.", kDateX, kRowsTop + 3 * kRowHeight, kHint);
    } else {
        Text("Date", kDateX, kRowsTop - kRowHeight, kHeading);
        Text("Missions", kSummaryX, kRowsTop - kRowHeight, kHeading);
        Text("Length", kLengthX - 16, kRowsTop - kRowHeight, kHeading);
    }
    const int count = static_cast<int>(_entries.size());
    const int first = _firstShown;
    for (int i = first; i < std::min(first + kRowsShown, count); ++i) {
        const Entry& entry = _entries[static_cast<std::size_t>(i)];
        const int y = kRowsTop + (i - first) * kRowHeight;
        const bool chosen = i == _selected;
        if (chosen) Fill(kX + 8, y - 2, kW - 16, kRowHeight, kBar);
        const Colour colour = !entry.playable ? kHint : chosen ? kChosen : kText;
        Text(entry.date, kDateX, y, colour);
        Text(entry.summary, kSummaryX, y, colour);
        Text(entry.length, kLengthX, y, colour);
        if (entry.kept) Text("kept", kKeptX, y, chosen ? kValue : kEdge);
    }
    if (first > 0) Text("^", kX + kW - 24, kRowsTop, kEdge);
    if (first + kRowsShown < count) Text("v", kX + kW - 24, kRowsTop + (kRowsShown - 1) * kRowHeight, kEdge);
    Fill(kX + 8, kMessageY - 10, kW - 16, 2, kBar);
    if (!_message.empty()) {
        const float squeeze =
            TextWidth(_message) > kW - 16 ? static_cast<float>(kW - 16) / TextWidth(_message) : 1;
        SetColor(kMessage.r, kMessage.g, kMessage.b);
        SetDrawScale(2 * squeeze, 2);
        DrawString(_message, static_cast<float>(kDateX - 8), kMessageY);
    }
    SetColor(kHint.r, kHint.g, kHint.b);
    DrawHintLine(footer(), 320, kFooterY - 2, true);
    SetColor(saved.color_red, saved.color_green, saved.color_blue);
    SetAlpha(saved.color_alpha);
    SetDrawTransform(saved.tform_rot, saved.tform_scale_x, saved.tform_scale_y);
}
