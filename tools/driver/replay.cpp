#include "driver/replay.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "driver/harness.h"
#include "engine/engine.h"
#include "game/game_clock.h"
#include "game/program.h"
#include "sessions/session.h"

namespace {

// A session that will not end after its input ran out is stopped after this many more passes.
constexpr int kPassesToLeave = 10000;
// Seconds between digests that hold every actor and building one by one.
constexpr int kDetailSeconds = 5;

// ---------------------------------------------------------------------------------------------------
// Words

// "20.033": the game clock in seconds, as the replay tool takes it.
std::string secondsNumber(int ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", ms / 1000.0);
    return text;
}
std::string seconds(int ms) {
    return secondsNumber(ms) + " s";
}

std::string objectName(std::uint32_t object, const std::vector<std::uint8_t>& classes) {
    const int cls = object < classes.size() ? classes[object] : -1;
    return className(cls) + " #" + std::to_string(object);
}

// Up to three sounds from the first one that differs.
std::string describeSounds(const std::vector<std::uint16_t>& sounds, std::size_t from) {
    if (from >= sounds.size()) return "nothing more";
    std::string text;
    for (std::size_t i = from; i < sounds.size() && i < from + 3; ++i)
        text += (text.empty() ? "" : ", ") + soundName(sounds[i] >> 1) +
                ((sounds[i] & 1) ? " started" : " stopped");
    return text + (sounds.size() > from + 3 ? ", ..." : "");
}

// Where the first difference lies: actors and buildings first (the most telling), then the game's own
// values, then the lists summed up, the random generator last (it differs as soon as anything does).
int rank(const DigestItem& item) {
    if (item.object != 0) return 0;
    if (item.field == 0) return 3;
    return item.field >= 19 ? 2 : 1;
}

// The field a value is of; null for a number no field has (a digest read from a file may hold any).
const FieldInfo* fieldOf(const DigestItem& item) {
    const auto& fields = item.object ? objectFields() : gameFields();
    return item.field < fields.size() ? &fields[item.field] : nullptr;
}
std::string fieldName(const DigestItem& item) {
    const FieldInfo* field = fieldOf(item);
    return field ? field->name : "value " + std::to_string(item.field);
}

} // namespace

PassInput recordedInput(const Replay& replay) {
    return {nullptr, nullptr, &replay.passes};
}

SessionResult playSession(const std::string& entry, int seed, const PassInput& input,
                          const DigestCheck& check) {
    SessionResult result;
    Replay& r = result.replay;
    r.entry = entry;
    r.seed = seed;
    r.assets = AssetsHash();
    Harness harness(10, seed);
    tProgram& game = harness.program();
    DigestTaker taker;
    taker.listen();
    int pass = 0, lastSecond = -1, lastState = -1, leaving = 0;
    bool lastOutro = false, drawn = false, stopped = false, ending = false;
    auto digest = [&] {
        // Every fifth second, and at every change of state, the actors and buildings one by one.
        const bool detailed = gameMillisecs() / 1000 % kDetailSeconds == 0 || game.state != lastState ||
                              (game.outro != nullptr) != lastOutro || pass == 0 || ending;
        const Digest d = taker.take(pass, drawn, detailed);
        lastSecond = d.ms / 1000;
        lastState = game.state;
        lastOutro = game.outro != nullptr;
        r.digests.push_back(d);
        if (!check(d, taker.objectClasses)) stopped = true;
    };
    // Only the frames a digest looks at are drawn; the draw code runs on every pass all the same. The
    // clock the pass reads is the one now, moved on by its frame time at the top of the pass.
    auto drawIfDigested = [&](int frameMs) {
        drawn = (gameMillisecs() + frameMs) / 1000 != lastSecond;
        SetDrawingEnabled(drawn || input.frameDrawn);
    };
    const bool recorded = input.recorded != nullptr;
    if (recorded) {
        PlayPasses(
            [&](PassRecord& next) {
                if (pass >= static_cast<int>(input.recorded->size())) return false; // the hook stops first
                next = (*input.recorded)[static_cast<std::size_t>(pass)];
                r.passes.push_back(next);
                drawIfDigested(next.frameMs);
                ++pass;
                return true;
            },
            true);
    } else {
        RecordPasses([&r](const PassRecord& done) { r.passes.push_back(done); });
        sendKeysThroughWindow(true);
    }
    auto stopRecording = [&] {
        if (!RecordingPasses()) return;
        RecordPasses(nullptr);
        sendKeysThroughWindow(false);
    };
    tProgram::passHook = [&] {
        if (input.frameDrawn && pass > 0) input.frameDrawn(gameMillisecs());
        taker.notePass();
        if (pass > 0 && !stopped &&
            (gameMillisecs() / 1000 != lastSecond || game.state != lastState ||
             (game.outro != nullptr) != lastOutro))
            digest();
        if (!stopped && !result.ranPastEnd) {
            if (recorded) {
                // The recording's next pass is the engine's to play, at the top of the pass.
                if (pass < static_cast<int>(input.recorded->size())) return;
            } else if (const int frameMs = input.frameMs(pass); frameMs > 0) {
                AdvanceMillis(frameMs);
                drawIfDigested(frameMs);
                input.keys(pass);
                ++pass;
                return;
            }
            result.ranPastEnd = true;
        }
        // Leave the game, unrecorded: Esc ends the main loop (and a menu first), its character the intro
        // and outro; a recording's playback ends, which closes the window as far as the game knows.
        stopRecording();
        if (recorded) StopPlayback();
        InjectKeyTap(KEY_ESCAPE);
        if (++leaving > kPassesToLeave) {
            std::fprintf(stderr, "the session does not end: stopped after %d passes\n", pass);
            std::exit(2);
        }
        AdvanceMillis(10);
    };
    if (entry == "outro") {
        game.runOutro();
    } else if (entry.rfind("battle", 0) == 0) {
        // A mission started as the map screen starts it, then the game's main loop.
        harness.startMission(entry.back() - '0');
        while (true) {
            tProgram::passHook();
            BeginPass();
            game.updateMain();
            game.drawAll();
            if (game.gameExit() || game.flagEndGame) break;
        }
    } else {
        game.run();
    }
    tProgram::passHook = nullptr;
    stopRecording();
    if (recorded) PlayPasses(nullptr);
    ending = true;
    taker.notePass();
    if (!stopped && !result.ranPastEnd) digest(); // how the session ended
    SetDrawingEnabled(true);
    r.objectClasses = taker.objectClasses;
    result.classesSeen = taker.classesSeen;
    result.soundsPlayed = taker.soundsPlayed;
    result.picturesDrawn = taker.picturesDrawn;
    return result;
}

std::string compareDigests(const Digest& got, const Digest& want, const std::vector<std::uint8_t>& gotClasses,
                           const std::vector<std::uint8_t>& wantClasses) {
    std::vector<std::string> found;
    std::map<std::uint64_t, const DigestItem*> gotItems, wantItems;
    for (const DigestItem& item : got.items)
        gotItems[digestKey(item)] = &item;
    for (const DigestItem& item : want.items)
        wantItems[digestKey(item)] = &item;
    std::string world;
    int worldRank = 99;
    auto note = [&](int itemRank, std::string text) {
        if (itemRank < worldRank) {
            worldRank = itemRank;
            world = std::move(text);
        }
    };
    auto describe = [](const DigestItem& item) {
        const FieldInfo* field = fieldOf(item);
        if (!field) return std::make_pair(fieldName(item), std::to_string(item.bits));
        std::string value = item.object && item.field == 0   ? className(static_cast<int>(item.bits))
                            : item.object && item.field == 9 ? pictureName(static_cast<int>(item.bits))
                                                             : formatValue(*field, item.bits);
        return std::make_pair(std::string(field->name), value);
    };
    for (const auto& [key, item] : wantItems) {
        auto other = gotItems.find(key);
        const std::string who = item->object ? objectName(item->object, wantClasses) + " " : "";
        if (other == gotItems.end()) {
            const auto [field, value] = describe(*item);
            note(rank(*item), item->object ? who + "is missing (recorded " + field + " " + value + ")"
                                           : field + " is missing (recorded " + value + ")");
        } else if (other->second->bits != item->bits) {
            const auto [field, value] = describe(*other->second);
            note(rank(*item),
                 who + field + " " + value + ", recorded " + describe(*item).second);
        }
    }
    for (const auto& [key, item] : gotItems)
        if (!wantItems.count(key))
            note(rank(*item), item->object
                                  ? objectName(item->object, gotClasses) + " was not recorded"
                                  : fieldName(*item) + " was not recorded");
    if (!world.empty()) found.push_back(world);
    if (got.hasFrame != want.hasFrame || got.frameHash != want.frameHash) found.push_back("frame differs");
    if (got.sounds != want.sounds) {
        const auto at =
            std::mismatch(got.sounds.begin(), got.sounds.end(), want.sounds.begin(), want.sounds.end());
        const auto from = static_cast<std::size_t>(at.first - got.sounds.begin());
        found.push_back("sound " + std::to_string(from + 1) + " since the last digest: " +
                        describeSounds(got.sounds, from) + ", recorded " + describeSounds(want.sounds, from));
    }
    if (got.pass != want.pass)
        found.push_back("taken after pass " + std::to_string(got.pass) + ", recorded after pass " +
                        std::to_string(want.pass));
    std::string text;
    for (const std::string& f : found)
        text += (text.empty() ? "" : "; ") + f;
    return text;
}

std::string checkReplay(const std::string& path, const Replay& recorded, const std::string& outDir,
                        SessionResult* resultOut) {
    std::size_t next = 0;
    std::string failure, first;
    int waited = 0;
    const std::string name = path.substr(path.find_last_of('/') + 1);
    DigestCheck check = [&](const Digest& d, const std::vector<std::uint8_t>& classes) {
        if (next >= recorded.digests.size()) {
            failure = "at " + seconds(d.ms) + ": a digest more than the " +
                      std::to_string(recorded.digests.size()) + " recorded";
            return false;
        }
        const Digest& want = recorded.digests[next++];
        const std::string difference = compareDigests(d, want, classes, recorded.objectClasses);
        const std::string when = d.ms == want.ms
                                     ? "at " + seconds(d.ms)
                                     : "at " + seconds(d.ms) + " (recorded " + seconds(want.ms) + ")";
        if (!difference.empty() && first.empty()) {
            first = when + ": " + difference;
            if (!outDir.empty() && d.hasFrame && d.frameHash != want.frameHash) {
                const std::string png = outDir + "/" + name + "-" + std::to_string(d.ms) + "ms-drawn.png";
                if (SaveBackBufferPng(png))
                    first += " (the frame drawn is in " + png + "; scripts/replay-frame.sh " + path + " " +
                             secondsNumber(d.ms) +
                             " draws the recorded one beside it and pictures the difference)";
            }
            // A difference in the world waits for the next detailed digest; one in the picture or the
            // sounds alone is all there is to tell.
            const bool world = difference.rfind("frame", 0) != 0 && difference.rfind("sound", 0) != 0;
            if (d.detailed || !world) return false;
        }
        // A difference in a digest without detail is told with the objects of the next detailed one.
        if (first.empty() || (!(d.detailed && want.detailed) && ++waited < 2 * kDetailSeconds)) return true;
        if (!difference.empty()) first += "; in detail " + when + ": " + difference;
        return false;
    };
    SessionResult result = playSession(recorded.entry, recorded.seed, recordedInput(recorded), check);
    if (!first.empty()) failure = first;
    if (failure.empty() && result.ranPastEnd)
        failure = "ran past the end of its inputs: the game did not end after the " +
                  std::to_string(recorded.passes.size()) + " recorded passes";
    if (failure.empty() && next != recorded.digests.size())
        failure = "the game ended after " + std::to_string(next) + " digests, recorded " +
                  std::to_string(recorded.digests.size());
    if (resultOut) *resultOut = std::move(result);
    return failure.empty() ? "" : path + ": " + failure;
}
