#pragma once
// The replays screen, over the map: the sessions kept in the player's replays folder, newest first, each
// with its date, the missions played and won and its length; the chosen one is watched (the session on
// the map ends, and a new one begins on the map once the replay is over), or marked to keep, which no
// later session ever removes. Steered with the game's own keys like the options, so the keyboard, the
// pads and the touch controls all reach it: Up/Down choose, Fire or Enter watch, Select keeps or lets
// go, Back or Pause close the screen (and the menu keys, as in every menu).
#include <memory>
#include <string>
#include <vector>

#include "engine/object.h"
#include "settings/menu_keys.h"
#include "settings/prompts.h"
#include "settings/settings.h"

class tReplaysScreen : public Object {
  public:
    struct Entry {
        std::string path;
        bool kept = false;
        std::string date;    // "2026-12-09 09:41"
        std::string summary; // "2 played, 1 won" or why it cannot be watched
        std::string length;  // "12:34"
        bool playable = false;
        bool described = false; // its file was read (once its row is shown)
    };
    static constexpr int kRowsShown = 14;
    // How long a message (a file that could not be moved) stays in place of the hints.
    static constexpr int kMessageMs = 4000;

    // The sessions in folder, except the one being recorded now; the settings name the keys in the hints.
    // readOnly: a session watched lists none and so neither keeps nor watches anything: the folder its
    // player saw is not the one there now, and a list that differs would steer its keys otherwise.
    tReplaysScreen(const std::string& folder, std::shared_ptr<const tSettings> settings, bool readOnly);

    // One pass; false once the player closed the screen or chose a session to watch.
    bool update();
    void draw();

    // Every session in the folder; those never shown yet are not described (described false).
    const std::vector<Entry>& entries() const { return _entries; }
    int selected() const { return _selected; }
    // The session the player chose to watch, "" when none.
    const std::string& chosen() const { return _chosen; }
    const std::string& message() const { return _message; }
    // The hints at the bottom: what the keys bound (or the pad's buttons) do here.
    std::vector<tHint> footer() const;

  private:
    // Keeps the selected row among those shown, each read once it is.
    void showSelected();
    void toggleKept();
    void say(const std::string& text);

    std::shared_ptr<const tSettings> _settings;
    bool _readOnly = false;
    std::vector<Entry> _entries;
    int _selected = 0;
    int _firstShown = 0;
    std::string _chosen;
    std::string _message;
    int _messageUntil = 0;
    bool _closed = false;
    tMenuKeys _keys;
};

// A length of play as the viewer and the list show it: "4:05", "1:02:03".
std::string PlayTimeText(long long ms);
