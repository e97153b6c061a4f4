#pragma once
#include <string>

#include "engine/object.h"
#include "engine/words.h"
#include "settings/menu_keys.h"

// The question after the intro when a campaign is saved: "Continue" or "New campaign". New asks once
// more before it replaces the saved campaign. Up and Down pick, Fire, C, Enter or Space take the one
// picked; X or Back in the second question answer no, and in the first change nothing: a pad's B there
// must not end the game.
class tCampaignChoice : public Object {
  public:
    enum class Outcome { Undecided, Continue, NewCampaign };

    explicit tCampaignChoice(int missionsWon);

    // One pass: reads the keys.
    Outcome update();
    void draw();

    int missionsWon;
    int picked = 0;          // 0: the first entry of the question shown
    bool confirming = false; // the second question: replace the saved campaign?
    tMenuKeys menuKeys;

    // The entries of the question shown now, in order.
    static constexpr const char* kContinue = TrMark("Continue");
    static constexpr const char* kNewCampaign = TrMark("New campaign");
    static constexpr const char* kKeep = TrMark("No, keep it");
    static constexpr const char* kReplace = TrMark("Yes, start again");
};
