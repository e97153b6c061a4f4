#pragma once
#include <string>

#include "engine/file_store.h"
#include "engine/object.h"

class tPersistence;

// The saved campaign: campaign.sav among the player's progress files (engine/file_store.h), holding what
// of the campaign record lasts from one mission to the next. The program reads it once at start, saves the
// record whenever it changes and when it closes, and a new campaign started over a saved one keeps the
// old one in campaign-replaced.sav (besides the usual backup). A mission in progress is never saved.
class tCampaignFile : public Object {
  public:
    static const PlayerFile kFile;
    static const PlayerFile kReplacedFile;

    // Reads the saved campaign; true when there is one to continue.
    bool load();
    bool hasSaved() const { return hasSaved_; }
    // The saved campaign's missions won (0 without one).
    int missionsWon() const;
    // The saved record becomes the program's.
    void continueInto(tPersistence& record) const;
    // The record given (a new campaign) replaces the saved one, which is kept in campaign-replaced.sav.
    void startNew(const tPersistence& record);
    // Queues the record to be saved when it differs from the one saved last (or read). A record no
    // different from a new campaign's is not saved where nothing was saved before.
    void saveIfChanged(const tPersistence& record);

  private:
    bool hasSaved_ = false;
    std::string savedBytes_; // the record as it is on disk (or queued), or a new campaign's
};
