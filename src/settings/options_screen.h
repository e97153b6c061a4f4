#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/object.h"
#include "settings/menu_keys.h"
#include "settings/prompts.h"
#include "settings/settings.h"

// The options screen, over the map or the paused battlefield: sound, display, controls and comfort, one
// entry per line with a one-line explanation of the chosen one, and "Restore defaults". Every change is
// applied at once. It is steered with the game's own keys, so the keyboard, the pads and the touch
// controls all reach it: Up/Down choose an entry, Left/Right change it (or pick the key or the pad
// column of a control: its key, its second key, its pad button), Fire, Select or Enter set it, Back or
// Pause close the screen.
class tOptionsScreen : public Object {
  public:
    enum class Entry {
        MusicVolume,
        EffectsVolume,
        Fullscreen,
        Scaling,
        VSync,
        Control, // one per action
        DefaultControls,
        PauseOnFocusLoss,
        Shake,
        HitFlashes,
        PadRumble,
        Language,
        Replays,
        RestoreDefaults,
        Close,
    };
    // A control's columns, left to right.
    enum class Column { Key, SecondKey, Pad };
    struct Line {
        Entry entry;
        Action action = Action::Left;  // the control's action
        const char* section = nullptr; // a heading drawn above the entry, or null
    };
    // How long the screen waits for the key or button a control is to take.
    static constexpr int kWaitForKeyMs = 5000;
    // How long a message (a binding swapped or refused) stays in place of the explanation.
    static constexpr int kMessageMs = 4000;

    // The settings are changed in place. The replays are listed among the options opened over the map.
    // The entries are the same on every platform, so that a session recorded on one moves through the
    // same entries watched on another: where the display entries do nothing (the page) they are shown
    // and change nothing. watched: the options of a session watched change its copy of the settings and
    // what they do to its game, never the viewer's window, sound, keys or pads.
    explicit tOptionsScreen(std::shared_ptr<tSettings> settings, bool withReplays = false,
                            bool watched = false);

    // One pass; false once the player closed the screen.
    bool update();
    void draw();

    const std::vector<Line>& lines() const { return _lines; }
    int selected() const { return _selected; }
    Column column() const { return _column; }
    bool padColumn() const { return _column == Column::Pad; }
    bool waitingForKey() const { return _waiting; }
    // What the screen shows for an entry's value ("80 %", "On", "Z", "A"; "-" for no second key) and the
    // explanation line.
    std::string valueText(const Line& line, Column column = Column::Key) const;
    std::string explanation(const Line& line) const;
    // The message in place of the explanation, "" when none.
    const std::string& message() const { return _message; }
    // True once the player closed the screen for the replays.
    bool replaysWanted() const { return _replaysWanted; }
    // The question asked before the defaults are put back, "" when none is open.
    std::string question() const;
    // The hints at the bottom: what the keys bound (or the pad's buttons) do here.
    std::vector<tHint> footer() const;

  private:
    void select(int step);
    void change(int step);
    void activate();
    void startWaiting();
    void waitForKey();
    void say(const std::string& text);
    void applied();
    bool askFirst();

    std::shared_ptr<tSettings> _settings;
    std::vector<Line> _lines;
    int _selected = 0;
    int _firstShown = 0;          // the top line of the scrolled list
    Column _column = Column::Key; // on a control: which of its keys or its pad button
    bool _waiting = false;        // waiting for the key or button a control is to take
    int _waitStarted = 0;
    std::string _message;
    int _messageUntil = 0;
    bool _closed = false;
    bool _replaysWanted = false;
    bool _watched = false;
    bool _asking = false; // "Restore defaults" or "Default controls" asked once, waiting for the answer
    tMenuKeys _keys;
};
