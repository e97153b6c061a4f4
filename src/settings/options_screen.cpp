#include "settings/options_screen.h"

#include <algorithm>

#include "engine/engine.h"
#include "engine/words.h"
#include "hud/panel.h"
#include "settings/apply.h"
#include "settings/bindings.h"
#include "settings/menu_keys.h"

namespace {

using namespace panel;

constexpr int kRowsTop = 56;
constexpr int kRowHeight = 18;
constexpr int kRowsShown = 17;
constexpr int kLabelX = 64;
constexpr int kValueX = 400;
// A control's columns: its key, its second key, its pad button's picture.
constexpr int kKeyX = 330;
constexpr int kSecondKeyX = 430;
constexpr int kPadX = 530;
constexpr int kExplanationY = 388;
constexpr int kFooterY = 436;

std::string onOff(bool value) {
    return value ? "On" : "Off";
}

const char* label(tOptionsScreen::Entry entry) {
    using Entry = tOptionsScreen::Entry;
    switch (entry) {
    case Entry::MusicVolume:
        return "Music volume";
    case Entry::EffectsVolume:
        return "Effects volume";
    case Entry::Fullscreen:
        return "Fullscreen";
    case Entry::Scaling:
        return "Scaling";
    case Entry::VSync:
        return "Vertical sync";
    case Entry::DefaultControls:
        return "Default controls";
    case Entry::PauseOnFocusLoss:
        return "Pause when the window loses focus";
    case Entry::Shake:
        return "Screen shake";
    case Entry::HitFlashes:
        return "Flashes";
    case Entry::PadRumble:
        return "Pad rumble when hurt";
    case Entry::Replays:
        return "Watch a recorded game";
    case Entry::RestoreDefaults:
        return "Restore defaults";
    case Entry::Close:
        return "Close";
    default:
        return "";
    }
}

const char* actionExplanation(Action action) {
    switch (action) {
    case Action::Left:
    case Action::Right:
    case Action::Up:
    case Action::Down:
        return "Moves the larva, the mothership on the map and the menus' cursors.";
    case Action::Fire:
        return "Fires; on the map, starts the mission under the mothership.";
    case Action::Beam:
        return "The beam, the shield, and the upgrades at the mothership.";
    case Action::Select:
        return "Buys an upgrade; in the pause, opens these options.";
    case Action::Pause:
        return "Pauses the battle; on the map, opens these options.";
    default:
        return "Leaves the upgrades or these options, or ends the game.";
    }
}

} // namespace

tOptionsScreen::tOptionsScreen(std::shared_ptr<tSettings> settings, bool withReplays, bool watched)
    : _settings(std::move(settings)), _watched(watched) {
    if (!_settings) _settings = std::make_shared<tSettings>();
    if (withReplays) _lines.push_back({Entry::Replays, Action::Left, "Replays"});
    _lines.push_back({Entry::MusicVolume, Action::Left, "Sound"});
    _lines.push_back({Entry::EffectsVolume});
    _lines.push_back({Entry::Fullscreen, Action::Left, "Display"});
    _lines.push_back({Entry::Scaling});
    _lines.push_back({Entry::VSync});
    _lines.push_back({Entry::Language});
    for (int a = 0; a < kActionCount; ++a)
        _lines.push_back({Entry::Control, static_cast<Action>(a), a == 0 ? "Controls" : nullptr});
    _lines.push_back({Entry::DefaultControls});
    _lines.push_back({Entry::PauseOnFocusLoss, Action::Left, "Comfort"});
    _lines.push_back({Entry::Shake});
    _lines.push_back({Entry::HitFlashes});
    _lines.push_back({Entry::PadRumble});
    _lines.push_back({Entry::RestoreDefaults, Action::Left, ""});
    _lines.push_back({Entry::Close});
    // The window may have been switched with F11 since the settings were read.
    if (DisplaySettingsApply() && !_watched) _settings->fullscreen = Fullscreen();
    // The key that opened the screen must not act in it.
    ClearKeys();
    TakeKeyPressed();
    TakePadButtonPressed();
}

bool tOptionsScreen::update() {
    if (_closed) return false;
    if (!_message.empty() && MillisBetween(Millis(), _messageUntil) <= 0) _message.clear();
    if (_waiting) {
        waitForKey();
        return true;
    }
    // Every press is read each pass, so that none waits to act elsewhere once the screen closes.
    const tMenuKeys::Pass keys = _keys.read();
    const int selects = KeyPressCount(ActionGameKey(Action::Select)) + KeyPressCount(KEY_ENTER);
    const int pauses = KeyPressCount(ActionGameKey(Action::Pause));
    const bool set = keys.take || selects > 0;
    const bool close = keys.back || pauses > 0;
    TakeKeyPressed();
    TakePadButtonPressed();
    // Keys typed faster than the passes each count: Down, Down, Left in one pass is two lines on. A close
    // in the same pass comes last, so that a change typed just before it is kept, not lost.
    for (int i = 0; i < keys.up; ++i)
        select(-1);
    for (int i = 0; i < keys.down; ++i)
        select(1);
    for (int i = 0; i < keys.left; ++i)
        change(-1);
    for (int i = 0; i < keys.right; ++i)
        change(1);
    if (close) {
        if (_asking) { // Back answers the question no and keeps the screen
            _asking = false;
            return true;
        }
        _closed = true;
        return false;
    }
    if (set) activate();
    return !_closed;
}

void tOptionsScreen::select(int step) {
    const int count = static_cast<int>(_lines.size());
    _selected = (_selected + step + count) % count;
    _message.clear();
    _asking = false; // moving away answers no
}

namespace {
bool displayEntry(tOptionsScreen::Entry entry) {
    using Entry = tOptionsScreen::Entry;
    return entry == Entry::Fullscreen || entry == Entry::Scaling || entry == Entry::VSync;
}
} // namespace

void tOptionsScreen::change(int step) {
    tSettings& s = *_settings;
    const Line& line = _lines[static_cast<std::size_t>(_selected)];
    if (displayEntry(line.entry) && !DisplaySettingsApply()) return; // the page's own
    switch (line.entry) {
    case Entry::MusicVolume:
        s.musicVolume = std::clamp(s.musicVolume + step * tSettings::kVolumeStep, 0, 100);
        break;
    case Entry::EffectsVolume:
        s.effectsVolume = std::clamp(s.effectsVolume + step * tSettings::kVolumeStep, 0, 100);
        break;
    case Entry::Fullscreen:
        s.fullscreen = !s.fullscreen;
        break;
    case Entry::Scaling:
        s.fillScaling = !s.fillScaling;
        break;
    case Entry::VSync:
        s.vsync = !s.vsync;
        break;
    case Entry::Control:
        _column = static_cast<Column>(std::clamp(static_cast<int>(_column) + step, 0, 2));
        return;
    case Entry::PauseOnFocusLoss:
        s.pauseOnFocusLoss = !s.pauseOnFocusLoss;
        break;
    case Entry::Shake:
        s.shake = static_cast<ShakeLevel>((static_cast<int>(s.shake) + step + 3) % 3);
        break;
    case Entry::HitFlashes:
        s.hitFlashes = !s.hitFlashes;
        break;
    case Entry::PadRumble:
        s.padRumble = !s.padRumble;
        if (s.padRumble && !_watched) RumbleGamepads(0.5f, 150); // felt at once, as the larva's hurt will be
        break;
    case Entry::Language: {
        // From the language spoken (the system's, until one is chosen) to the next the game has words in.
        const std::vector<TLanguage> languages = Languages();
        const std::string shown = s.language.empty() ? CurrentLanguage() : s.language;
        const auto at = std::find_if(languages.begin(), languages.end(),
                                     [&shown](const TLanguage& language) { return language.code == shown; });
        const int count = static_cast<int>(languages.size());
        const int index = at == languages.end() ? 0 : static_cast<int>(at - languages.begin());
        s.language = languages[static_cast<std::size_t>((index + step % count + count) % count)].code;
        break;
    }
    default:
        return;
    }
    applied();
}

void tOptionsScreen::activate() {
    const Line& line = _lines[static_cast<std::size_t>(_selected)];
    switch (line.entry) {
    case Entry::MusicVolume:
    case Entry::EffectsVolume:
        return; // Left and Right set a volume
    case Entry::Control:
        startWaiting();
        return;
    case Entry::DefaultControls:
        if (!askFirst()) return;
        RestoreDefaultControls(*_settings);
        applied();
        say("Every key and pad button is back to its default.");
        return;
    case Entry::RestoreDefaults:
        if (!askFirst()) return;
        *_settings = tSettings{};
        applied();
        say("Every setting is back to its default.");
        return;
    case Entry::Replays:
        _replaysWanted = _closed = true;
        return;
    case Entry::Close:
        _closed = true;
        return;
    default:
        change(1);
        return;
    }
}

// Putting things back to their defaults asks once: the first take asks, the second does it.
bool tOptionsScreen::askFirst() {
    _message.clear();
    _asking = !_asking;
    return !_asking;
}

std::string tOptionsScreen::question() const {
    if (!_asking) return "";
    return _lines[static_cast<std::size_t>(_selected)].entry == Entry::RestoreDefaults
               ? "Put every setting back to its default?"
               : "Put every key and pad button back to its default?";
}

void tOptionsScreen::startWaiting() {
    _waiting = true;
    _waitStarted = Millis();
    _message.clear();
    TakeKeyPressed();
    TakePadButtonPressed();
}

// The first key (for the key column) or pad button (for the pad column) is the one taken; the other kind,
// or nothing for a few seconds, leaves the control as it was.
void tOptionsScreen::waitForKey() {
    const Line& line = _lines[static_cast<std::size_t>(_selected)];
    const int key = TakeKeyPressed();
    const int button = TakePadButtonPressed();
    KeyPressCount(ActionGameKey(Action::Back)); // Esc may be the key wanted: it must not end the game
    const bool pad = _column == Column::Pad;
    const KeySlot slot = _column == Column::SecondKey ? KeySlot::Second : KeySlot::First;
    const auto keeps = [&] {
        const std::string name = ActionName(line.action);
        if (pad) return name + " keeps " + PadButtonName(_settings->padButton(line.action)) + ".";
        const int kept =
            slot == KeySlot::Second ? _settings->secondKey(line.action) : _settings->key(line.action);
        return kept == 0 ? name + " keeps no second key." : name + " keeps " + KeyName(kept) + ".";
    };
    if (!pad && key != 0) {
        _waiting = false;
        say(BindKey(*_settings, line.action, key, slot).message);
    } else if (pad && button >= 0) {
        _waiting = false;
        say(BindPadButton(*_settings, line.action, button).message);
    } else if (key != 0 || button >= 0) {
        _waiting = false;
        say(std::string(pad ? "That was not a pad button: " : "That was not a key: ") + keeps());
    } else if (MillisBetween(_waitStarted, Millis()) >= kWaitForKeyMs) {
        _waiting = false;
        say(std::string(pad ? "No button pressed: " : "No key pressed: ") + keeps());
    }
    if (_waiting) return;
    applied();
    ClearKeys(); // the key just taken must not act on the screen as well
}

void tOptionsScreen::say(const std::string& line) {
    _message = line;
    _messageUntil = MillisAfter(Millis(), kMessageMs);
}

void tOptionsScreen::applied() {
    if (_watched)
        ApplyWatchedSettings(*_settings);
    else
        ApplySettings(*_settings);
}

std::string tOptionsScreen::valueText(const Line& line, Column column) const {
    const tSettings& s = *_settings;
    if (displayEntry(line.entry) && !DisplaySettingsApply()) return "By the page";
    switch (line.entry) {
    case Entry::MusicVolume:
        return std::to_string(s.musicVolume) + " %";
    case Entry::EffectsVolume:
        return std::to_string(s.effectsVolume) + " %";
    case Entry::Fullscreen:
        return onOff(s.fullscreen);
    case Entry::Scaling:
        return s.fillScaling ? "Fill" : "Whole number";
    case Entry::VSync:
        return onOff(s.vsync);
    case Entry::Control:
        if (column == Column::Pad) return PadButtonName(s.padButton(line.action));
        if (column == Column::SecondKey)
            return s.secondKey(line.action) == 0 ? "-" : KeyName(s.secondKey(line.action));
        return KeyName(s.key(line.action));
    case Entry::PauseOnFocusLoss:
        return onOff(s.pauseOnFocusLoss);
    case Entry::Shake:
        return s.shake == ShakeLevel::Full ? "Full" : s.shake == ShakeLevel::Reduced ? "Reduced" : "Off";
    case Entry::HitFlashes:
        return onOff(s.hitFlashes);
    case Entry::PadRumble:
        return onOff(s.padRumble);
    case Entry::Language:
        return LanguageName(s.language.empty() ? CurrentLanguage() : s.language);
    default:
        return "";
    }
}

std::string tOptionsScreen::explanation(const Line& line) const {
    if (displayEntry(line.entry) && !DisplaySettingsApply())
        return "The page sets this itself: its Fullscreen button, or F11.";
    switch (line.entry) {
    case Entry::MusicVolume:
        return "How loud the songs play, from 0 (silent) to 100 %.";
    case Entry::EffectsVolume:
        return "How loud shots, blasts and every other sound play.";
    case Entry::Fullscreen:
        return "The whole screen, or a window (F11 switches too).";
    case Entry::Scaling:
        return "Whole number: sharp, perhaps small. Fill: as large as fits.";
    case Entry::VSync:
        return "Frames in step with the screen; off: less delay, may tear.";
    case Entry::Control:
        return actionExplanation(line.action);
    case Entry::DefaultControls:
        return "Every key and pad button back to how the game came.";
    case Entry::PauseOnFocusLoss:
        return "Pauses the battle when you switch to another window.";
    case Entry::Shake:
        return "How much blasts shake the screen: full, reduced or not at all.";
    case Entry::HitFlashes:
        return "The white flash of whatever is hit and of the intro's blast.";
    case Entry::PadRumble:
        return GamepadCount() > 0 && !GamepadsCanRumble()
                   ? "A short rumble when the larva is hurt (this pad has none)."
                   : "A short rumble of the pad when the larva is hurt.";
    case Entry::Language:
        // TRANSLATORS: the explanation under the options' Language entry.
        return Tr("The language of the game's words; at first, your system's.");
    case Entry::Replays:
        return "Your last 20 games, to watch again or keep for good.";
    case Entry::RestoreDefaults:
        return "Every setting back to how the game came.";
    default:
        return "Back to the game. The settings are kept for the next time.";
    }
}

std::vector<tHint> tOptionsScreen::footer() const {
    if (_waiting) return {};
    if (_asking) return {{{Action::Fire}, TrMark("yes")}, {{Action::Back}, TrMark("no")}};
    return {{{Action::Up, Action::Down}, TrMark("choose")},
            {{Action::Left, Action::Right}, TrMark("change")},
            {{Action::Fire}, TrMark("set")},
            {{Action::Back}, TrMark("close")}};
}

void tOptionsScreen::draw() {
    const DrawingState saved = GetDrawingState();
    panel::DrawFrame("OPTIONS");

    // The lines as drawn, headings included, scrolled so that the chosen entry shows.
    struct Row {
        int line;            // -1: a heading
        const char* heading; // for a heading
    };
    std::vector<Row> rows;
    int selectedRow = 0;
    for (int i = 0; i < static_cast<int>(_lines.size()); ++i) {
        const Line& line = _lines[static_cast<std::size_t>(i)];
        if (line.section) rows.push_back({-1, line.section});
        if (i == _selected) selectedRow = static_cast<int>(rows.size());
        rows.push_back({i, nullptr});
    }
    int& first = _firstShown;
    if (selectedRow < first + 1) first = std::max(selectedRow - 1, 0);
    if (selectedRow >= first + kRowsShown) first = selectedRow - kRowsShown + 1;
    first = std::clamp(first, 0, std::max(static_cast<int>(rows.size()) - kRowsShown, 0));

    for (int r = first; r < std::min(first + kRowsShown, static_cast<int>(rows.size())); ++r) {
        const int y = kRowsTop + (r - first) * kRowHeight;
        const Row& row = rows[static_cast<std::size_t>(r)];
        if (row.line < 0) {
            Text(row.heading, kLabelX - 12, y, kEdge);
            if (std::string(row.heading) == "Controls") {
                Text("Keys", kKeyX, y, kHeading);
                Text("Pad", kPadX, y, kHeading);
            }
            continue;
        }
        const Line& line = _lines[static_cast<std::size_t>(row.line)];
        const bool chosen = row.line == _selected;
        if (chosen) Fill(kX + 8, y - 1, kW - 16, kRowHeight, kBar);
        const std::string name = line.entry == Entry::Control    ? ActionName(line.action)
                                 : line.entry == Entry::Language ? Tr("Language")
                                                                 : label(line.entry);
        Text(name, kLabelX, y, chosen ? kChosen : kText);
        if (line.entry != Entry::Control) {
            Text(valueText(line), kValueX, y, chosen ? kValue : kText);
            continue;
        }
        for (Column cell : {Column::Key, Column::SecondKey, Column::Pad}) {
            const int x = cell == Column::Pad ? kPadX : cell == Column::SecondKey ? kSecondKeyX : kKeyX;
            const bool column = chosen && cell == _column;
            std::string value = valueText(line, cell);
            const bool waiting = column && _waiting;
            if (waiting) {
                const int left = (kWaitForKeyMs - MillisBetween(_waitStarted, Millis()) + 999) / 1000;
                value = "Press... " + std::to_string(std::max(left, 1));
            }
            // The pad's button as the picture the prompts show, in the labels of the pad used last.
            tPrompt button;
            button.kind = tPrompt::Kind::Button;
            button.code = _settings->padButton(line.action);
            button.picture = PadButtonPicture(button.code, LastPadStyle());
            const bool picture = cell == Column::Pad && !waiting && button.picture >= 0;
            const int width = picture ? PromptWidth(button) : TextWidth(value);
            if (column) Fill(x - 4, y - 1, width + 8, kRowHeight, kChosen);
            if (picture) {
                DrawPrompt(button, static_cast<float>(x), static_cast<float>(y - 2));
            } else {
                Text(value, x, y, column ? kOutline : (chosen ? kValue : kText));
            }
        }
    }
    // More lines above or below the part shown.
    if (first > 0) Text("^", kX + kW - 24, kRowsTop, kEdge);
    if (first + kRowsShown < static_cast<int>(rows.size()))
        Text("v", kX + kW - 24, kRowsTop + (kRowsShown - 1) * kRowHeight, kEdge);

    Fill(kX + 8, kExplanationY - 10, kW - 16, 2, kBar);
    const Line& chosenLine = _lines[static_cast<std::size_t>(_selected)];
    if (_asking) {
        Text(question(), kLabelX - 12, kExplanationY, kMessage);
    } else if (!_message.empty()) {
        Text(_message, kLabelX - 12, kExplanationY, kMessage);
    } else {
        Text(explanation(chosenLine), kLabelX - 12, kExplanationY, kChosen);
    }
    if (_waiting) {
        const std::string wanted =
            PromptWords(_column == Column::Pad ? "Press a pad button, or a key to keep the old one"
                                               : "Press a key, or a pad button to keep the old one");
        Text(wanted, 320 - TextWidth(wanted) / 2, kFooterY, kHint);
    } else {
        SetColor(kHint.r, kHint.g, kHint.b);
        DrawHintLine(footer(), 320, kFooterY - 2, true);
    }

    SetColor(saved.color_red, saved.color_green, saved.color_blue);
    SetAlpha(saved.color_alpha);
    SetDrawTransform(saved.tform_rot, saved.tform_scale_x, saved.tform_scale_y);
}
