#pragma once
#include <deque>
#include <string>

#include "engine/object.h"

// One line of text across the bottom of the screen, over everything, telling the player something about
// their files ("The saved campaign is damaged ...: its backup is used, the file is kept"). Lines wait their
// turn; each stays kShowMillis on the engine's clock (so a paused game shows it too) and fades out.
// The program keeps one (tProgram::notice), takes the file store's and the language's lines into it on
// every pass and draws it last on every screen. Anything else with one line to tell calls show.
class tNotice : public Object {
  public:
    static constexpr int kShowMillis = 6000;
    static constexpr int kFadeMillis = 500;
    static constexpr std::size_t kMaxWaiting = 8; // beyond this, a line repeats or floods: dropped

    void show(const std::string& line);
    // Takes the file store's and the language's new lines, and moves on to the next line when one has had
    // its time.
    void update();
    void draw();
    // The line shown now (empty when none).
    const std::string& current() const { return current_; }

  private:
    std::deque<std::string> waiting_;
    std::string current_;
    int shownAt_ = 0;
};
