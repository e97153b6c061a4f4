#include "engine/pass_input.h"

#include <algorithm>
#include <deque>
#include <utility>

#include "engine/clock.h"
#include "engine/keyboard.h"
#include "engine/platform.h"

namespace {

struct Recording {
    PassSink sink;
    PassRecord current;
    bool begun = false; // a pass is under way (current is complete once the next begins)
    bool pumping = false;
};

struct Playback {
    PassSource source;
    bool ended = false;
    bool closeWaiting = false; // a recorded close the game has not taken yet
    bool focusLost = false;
    std::deque<bool> endAnswers;
    bool unrecordedAnswer = false;
};

Recording recording;
Playback playback;

void handOverCurrentPass() {
    if (recording.begun && recording.sink) recording.sink(recording.current);
    recording.current = PassRecord{};
    recording.begun = false;
}

} // namespace

void ApplyInputEvent(const InputEvent& event) {
    switch (event.kind) {
    case InputEvent::FocusLost:
        if (playback.source) playback.focusLost = true;
        break;
    case InputEvent::Close:
        if (playback.source) playback.closeWaiting = true;
        break;
    case InputEvent::EndAnswer:
        if (playback.source) playback.endAnswers.push_back(event.code != 0);
        break;
    case InputEvent::ButtonChosen:
        engine_detail::ChooseButton(static_cast<int>(event.code));
        break;
    default:
        engine_detail::ApplyKeyEvent(event.kind, static_cast<int>(event.code));
        break;
    }
}

void BeginPass() {
    if (recording.sink) {
        handOverCurrentPass();
        recording.begun = true;
        recording.current.frameMs = LatchClock(kLongestPassMs); // the game's clock moved as far
        // The window's events of the last pass reach the game now, and only now.
        engine_detail::LogInputTo(&recording.current.events);
        recording.pumping = true;
        engine_detail::PumpEvents();
        recording.pumping = false;
        engine_detail::LogInputTo(nullptr);
        return;
    }
    if (!playback.source || playback.ended) return;
    PassRecord next;
    if (!playback.source(next)) {
        playback.ended = true;
        return;
    }
    AdvanceMillis(std::clamp(next.frameMs, 0, kLongestPassMs));
    for (const InputEvent& event : next.events)
        ApplyInputEvent(event);
}

void RecordPasses(PassSink sink) {
    if (!sink) {
        handOverCurrentPass();
        recording.sink = nullptr;
        UseLatchedClock(false);
        return;
    }
    recording = Recording{};
    recording.sink = std::move(sink);
    UseLatchedClock(true);
}

bool RecordingPasses() {
    return recording.sink != nullptr;
}

void PlayPasses(PassSource source, bool unrecordedAnswer) {
    playback = Playback{};
    playback.source = std::move(source);
    playback.unrecordedAnswer = unrecordedAnswer;
    engine_detail::SendDeviceInputToPlayer(playback.source != nullptr);
}

bool PlayingPasses() {
    return playback.source != nullptr;
}

bool PlaybackEnded() {
    return playback.ended;
}

void StopPlayback() {
    playback.ended = true;
}

namespace engine_detail {

bool EventsHeldBack() {
    return recording.sink && !recording.pumping;
}

bool PlaybackCloseRequested() {
    // Once the recording has run out every loop is told to end, however many ask.
    return std::exchange(playback.closeWaiting, false) || playback.ended;
}

bool PlaybackFocusLost() {
    return std::exchange(playback.focusLost, false);
}

bool PlaybackEndAnswer() {
    if (playback.endAnswers.empty()) return playback.unrecordedAnswer;
    const bool yes = playback.endAnswers.front();
    playback.endAnswers.pop_front();
    return yes;
}

void RecordEndAnswer(bool yes) {
    if (recording.begun) recording.current.events.push_back({InputEvent::EndAnswer, yes ? 1u : 0u});
}

void RecordFocusLost() {
    if (recording.begun) recording.current.events.push_back({InputEvent::FocusLost, 0});
}

void RecordClose() {
    if (recording.begun) recording.current.events.push_back({InputEvent::Close, 0});
}

} // namespace engine_detail
