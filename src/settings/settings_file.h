#pragma once
#include <string>

#include "engine/key_value_file.h"
#include "settings/settings.h"

// The settings file: text under the player's settings folder, `name = value` lines under a version line,
// which a person may read and edit. Entries this build does not know, and comments, are kept when it is
// written again. A file that is damaged or from a newer version is left for the player (the file store
// sets it aside and says so in one line) and the game plays on with the defaults.
class tSettingsFile {
  public:
    static constexpr int kVersion = 1;

    // Reads the settings file (or its backup) from the process's file store. Values a setting cannot have
    // keep their defaults; the notice, if any, is the store's one line about it.
    tSettings load();
    // Queues the settings to be written over the file as it was read; returns at once.
    void save(const tSettings& settings);
    // What load had to say ("" when nothing went wrong).
    const std::string& notice() const { return _notice; }
    // The file's text as save would write it.
    std::string text(const tSettings& settings);

  private:
    TKeyValueFile _file{kVersion};
    std::string _notice;
};
