// Plays, records and re-records the replays of tests/replays.
//
//   vevu_replay play FILE... [--out DIR] [--complete]  play each, compare every digest; exit 1 on a
//                                           difference (--complete: also when the coverage line names
//                                           anything no replay reaches)
//   vevu_replay record KIND FILE            a new session: campaign (the bot's whole campaign), mission0
//                                           to mission3 (random keys on one battlefield), tasks (the
//                                           task player's chores on one battlefield), intro, outro
//   vevu_replay rerecord FILE...            the same inputs again, new digests; prints the first digest
//                                           that changed (scripts/replays.sh runs it on every replay)
//   vevu_replay flashes FILE... [--seen F]  play each with flashes off, every frame drawn; exit 1 when a
//                                           large part of the screen brightens fast (driver/flash_watch.h),
//                                           or when F with flashes on shows none (the check must see one)
//   vevu_replay frame FILE SECONDS OUT.png  the frame drawn at that second of game clock
//   vevu_replay diff DRAWN.png WANTED.png OUT.png  how many pixels differ and where, pictured in OUT.png
//
// After playing, a coverage line names the classes (with the states seen), sounds and pictures that
// the replays reached, and those of the catalogue that none reached.
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "driver/bot_player.h"
#include "driver/flash_watch.h"
#include "driver/random_keys.h"
#include "driver/replay.h"
#include "driver/task_player.h"
#include "engine/engine.h"
#include "game/assets.h"
#include "game/constants.h"
#include "game/game_clock.h"
#include "game/object_kinds.h"
#include "game/program.h"

namespace {

// Battle time a random session plays before it leaves.
constexpr int kRandomSessionMs = 3 * 60 * 1000;

int usage() {
    std::fprintf(
        stderr,
        "usage: vevu_replay play FILE... [--out DIR] [--complete] | record KIND FILE | rerecord FILE... | "
        "flashes FILE... [--seen FILE] | frame FILE SECONDS OUT.png | diff DRAWN.png WANTED.png OUT.png\n");
    return 2;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

SessionResult recordCampaign() {
    std::unique_ptr<BotPlayer> bot;
    PassInput input{[](int) { return 10; },
                    [&](int) {
                        if (!bot) {
                            bot = std::make_unique<BotPlayer>(*theProgram, std::vector<int>{0, 1, 2, 3});
                            bot->maxAttempts = 20;
                        }
                        if (bot->phase != BotPlayer::Phase::Done) bot->step();
                    }};
    return playSession("run", 12345, input, [](const Digest&, const auto&) { return true; });
}

// Missions 0 to 2: the bot skips the intro and steers to the mission on the map. The boss mission,
// closed on the map until the others are won, is started as the map screen starts it. On the
// battlefield the bot plays until it has bought the session's trait (the photon bomb, flak, shield,
// space warp: the campaign's bot buys only the laser and the warp), then random keys play, with frame
// times from 5 to 40 ms, until the time is up and Esc leaves the game (or the map, should the homebase
// flee).
SessionResult recordMission(int mission) {
    std::unique_ptr<BotPlayer> bot;
    RandomKeys keys(7919u * (mission + 1));
    std::mt19937 frames(104729u * (mission + 1));
    int battleMs = 0;
    bool randomKeys = false;
    auto onBattlefield = [] { return theProgram->state != gamestate::MAP; };
    PassInput input{[&](int) {
                        if (!randomKeys) return 10;
                        const int ms = std::uniform_int_distribution<int>(5, 40)(frames);
                        battleMs += ms;
                        return ms;
                    },
                    [&](int) {
                        if (!bot) {
                            bot = std::make_unique<BotPlayer>(*theProgram, std::vector<int>{mission});
                            bot->firstTrait = mission + 1;
                            if (mission == 3) bot->beginMission(mission);
                        }
                        if (!randomKeys && onBattlefield() && bot->hasTrait(mission + 1) &&
                            theProgram->state == gamestate::RUNNING) {
                            bot->releaseAll();
                            randomKeys = true;
                        }
                        if (battleMs >= kRandomSessionMs || (randomKeys && !onBattlefield())) {
                            keys.releaseAll();
                            keyTap(KEY_ESCAPE); // in the menu it closes the menu; the next one leaves
                        } else if (randomKeys) {
                            keys.step(*theProgram);
                        } else {
                            bot->step();
                        }
                    }};
    return playSession(mission == 3 ? "battle3" : "run", 1000 + mission, input,
                       [](const Digest&, const auto&) { return true; });
}

// The task player's session on the first battlefield (started as the map screen starts it), with frame
// times from 5 to 40 ms: the shield bought and hit, a cow, a matter ball and a soldier irradiated and
// dropped, then Esc.
SessionResult recordTasks() {
    std::unique_ptr<TaskPlayer> player;
    std::mt19937 frames(15485863u);
    PassInput input{[&](int) { return std::uniform_int_distribution<int>(5, 40)(frames); },
                    [&](int) {
                        if (!player) player = std::make_unique<TaskPlayer>(*theProgram, 0);
                        const TaskPlayer::Task before = player->task;
                        player->step();
                        static const char* const tasks[] = {"buying the shield", "a shot on the shield",
                                                            "the cow", "the matter ball", "the soldier"};
                        if (player->task != before) // how each task ended
                            std::printf("%.1f s: %s ended: %s\n", gameMillisecs() / 1000.0,
                                        tasks[static_cast<int>(before)], player->lastNote.c_str());
                    }};
    return playSession("battle0", 2000, input, [](const Digest&, const auto&) { return true; });
}

// The whole intro: the formation comes down and the title waits until a key launches the missile 12 s
// in; the rest plays out without a key. Then Esc on the map.
SessionResult recordIntro() {
    bool typed = false, left = false;
    PassInput input{[](int) { return 16; },
                    [&](int) {
                        const tProgram& game = *theProgram;
                        if (!typed && gameMillisecs() >= 12000) {
                            keyTap(KEY_SPACE);
                            typed = true;
                        }
                        if (!left && game.blackScreen && game.blackScreenAlpha < 2.0f) {
                            keyTap(KEY_ESCAPE);
                            left = true;
                        }
                    }};
    return playSession("run", 77, input, [](const Digest&, const auto&) { return true; });
}

// The outro until its song has played out, then a key.
SessionResult recordOutro() {
    bool typed = false;
    PassInput input{[](int) { return 16; },
                    [&](int) {
                        const tProgram& game = *theProgram;
                        if (!typed && game.outro && game.outro->song && !game.outro->song->Playing()) {
                            keyTap(KEY_Q);
                            typed = true;
                        }
                    }};
    return playSession("outro", 78, input, [](const Digest&, const auto&) { return true; });
}

bool save(const std::string& path, const SessionResult& result) {
    std::string error;
    if (!saveReplay(path, result.replay, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    const Replay& r = result.replay;
    std::printf("%s: %zu passes, %zu digests, %.1f s of game clock%s\n", path.c_str(), r.passes.size(),
                r.digests.size(), r.digests.empty() ? 0.0 : r.digests.back().ms / 1000.0,
                result.ranPastEnd ? " (RAN PAST THE END)" : "");
    return !result.ranPastEnd;
}

int record(const std::string& kind, const std::string& path) {
    SessionResult result;
    if (kind == "campaign")
        result = recordCampaign();
    else if (kind.rfind("mission", 0) == 0 && kind.size() == 8 && kind[7] >= '0' && kind[7] <= '3')
        result = recordMission(kind[7] - '0');
    else if (kind == "tasks")
        result = recordTasks();
    else if (kind == "intro")
        result = recordIntro();
    else if (kind == "outro")
        result = recordOutro();
    else
        return usage();
    return save(path, result) ? 0 : 1;
}

// The same inputs again; the digests are taken anew and the first one that changed is told.
int rerecord(const std::string& path) {
    Replay old;
    std::string error;
    if (!loadReplay(path, old, error, true)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::size_t next = 0;
    std::string change;
    SessionResult result =
        playSession(old.entry, old.seed, recordedInput(old), [&](const Digest& d, const auto& classes) {
            if (change.empty() && next < old.digests.size()) {
                const std::string difference =
                    compareDigests(d, old.digests[next], classes, old.objectClasses);
                if (!difference.empty())
                    change = "first change at " + std::to_string(d.ms / 1000.0) + " s: " + difference;
            }
            ++next;
            return true;
        });
    if (change.empty() && next != old.digests.size())
        change = std::to_string(next) + " digests, were " + std::to_string(old.digests.size());
    std::printf("%s: %s\n", path.c_str(), change.empty() ? "unchanged" : change.c_str());
    if (result.ranPastEnd) {
        std::fprintf(stderr,
                     "%s: the game no longer ends with these inputs: record it anew (vevu_replay record)\n",
                     path.c_str());
        return 1;
    }
    return save(path, result) ? 0 : 1;
}

// The states each class can be in. An actor's come from the rules that set them: people, cows and
// matter balls walk (IDLE), hang in the beam (STUNNED) and fall when it lets go (FALLING); a tank and an
// air mine only ever patrol (nothing pushes or catches them); a duster is pushed back when it rams the
// larva; the boss dies slowly (DEAD); the larva is hatched and warped (STUNNED), pushed, abducts, dies,
// shields, waits for and enters a new egg. MOVING, FIRING, STRAFING, PRODUCING, REGENERATING and
// HOLDING have no rule that enters them. The homebase's are its own: it lands, stands, flees and
// leaves in victory.
struct ClassStates {
    Kind kind;
    std::vector<int> states;
};
const std::vector<ClassStates>& classStates() {
    using s = states;
    static const std::vector<ClassStates> table = {
        {Kind::Civilian, {s::IDLE, s::STUNNED, s::FALLING}},
        {Kind::Soldier, {s::IDLE, s::STUNNED, s::FALLING}},
        {Kind::Cow, {s::IDLE, s::STUNNED, s::FALLING}},
        {Kind::MatterBall, {s::IDLE, s::STUNNED, s::FALLING}},
        {Kind::Tank, {s::IDLE}},
        {Kind::Duster, {s::IDLE, s::KNOCKBACK}},
        {Kind::SuperCopter, {s::IDLE, s::DEAD}},
        {Kind::AirMine, {s::IDLE}},
        {Kind::Foo,
         {s::IDLE, s::KNOCKBACK, s::ABDUCTING, s::STUNNED, s::DEAD, s::SHIELDING, s::RESPAWN, s::WAIT}},
        {Kind::Homebase,
         {cBaseStates::LANDING, cBaseStates::IDLE, cBaseStates::TAKEOFF, cBaseStates::VICTORY}},
    };
    return table;
}

std::string stateName(Kind kind, int state) {
    static const char* const actorStates[] = {
        "IDLE",    "MOVING",  "FIRING",  "STRAFING", "KNOCKBACK", "PRODUCING", "REGENERATING", "ABDUCTING",
        "STUNNED", "FALLING", "HOLDING", "DEAD",     "SHIELDING", "RESPAWN",   "WAIT"};
    static const char* const baseStates[] = {"LANDING", "IDLE", "TAKEOFF", "VICTORY"};
    if (kind == Kind::Homebase) return state >= 0 && state < 4 ? baseStates[state] : std::to_string(state);
    return state >= 0 && state < 15 ? actorStates[state] : std::to_string(state);
}

// Pictures the game loads with the others and no rule draws: no replay can reach them.
const std::set<std::string> kPicturesNeverDrawn = {"photonGlow.png", "bigExplosionRad.png"};

void addTo(std::string& text, const std::string& item) {
    text += (text.empty() ? "" : ", ") + item;
}

// seen: "duster 4" for a class in a state, "laser" for a class without states. False when anything
// is left unreached.
bool printCoverage(const std::set<std::string>& seen, const std::set<std::string>& sounds,
                   const std::set<std::string>& pictures) {
    std::map<std::string, std::set<int>> statesOf;
    for (const std::string& entry : seen) {
        const std::size_t space = entry.find_last_of(' ');
        const bool numbered =
            space != std::string::npos && std::isdigit(static_cast<unsigned char>(entry.back()));
        std::set<int>& states = statesOf[numbered ? entry.substr(0, space) : entry];
        if (numbered) states.insert(std::atoi(entry.c_str() + space + 1));
    }
    std::string text, missing, unexpected;
    for (const auto& seenClass : statesOf) {
        // Not a structured binding: clang 14's lambdas cannot capture one.
        const std::string& name = seenClass.first;
        const std::set<int>& states = seenClass.second;
        std::string item = name;
        const auto entry =
            std::find_if(classStates().begin(), classStates().end(),
                         [&](const ClassStates& c) { return className(static_cast<int>(c.kind)) == name; });
        for (int state : states) {
            const std::string word =
                entry != classStates().end() ? stateName(entry->kind, state) : std::to_string(state);
            item += (state == *states.begin() ? " " : "/") + word;
            if (entry != classStates().end() &&
                std::find(entry->states.begin(), entry->states.end(), state) == entry->states.end())
                addTo(unexpected, name + " " + word);
        }
        addTo(text, item);
    }
    std::printf("coverage: classes and states seen: %s\n", text.c_str());
    // The bases no object is only of, and the intro's objects, which belong to the intro alone: the
    // intro's replay sees them in its frames and the random state.
    for (int k = static_cast<int>(Kind::Civilian); k < static_cast<int>(Kind::IntroUnit); ++k) {
        if (k == static_cast<int>(Kind::Aircraft)) continue;
        const std::string name = className(k);
        const auto found = statesOf.find(name);
        if (found == statesOf.end()) {
            addTo(missing, name);
            continue;
        }
        for (const ClassStates& c : classStates())
            if (c.kind == static_cast<Kind>(k))
                for (int state : c.states)
                    if (!found->second.count(state)) addTo(missing, name + " " + stateName(c.kind, state));
    }
    std::printf(
        "coverage: %zu sounds played, %zu pictures drawn; no replay reaches the classes and states: %s\n",
        sounds.size(), pictures.size(), missing.empty() ? "none" : missing.c_str());
    bool complete = missing.empty();
    // A state the table says no rule enters, seen all the same: the table or the rules are wrong.
    if (!unexpected.empty())
        std::printf("coverage: states no rule was known to enter: %s\n", unexpected.c_str());
    missing.clear();
    for (const SoundEntry& entry : soundCatalogue()) {
        const std::string name = std::string(entry.path).substr(std::strlen(kEmbeddedPrefix));
        if (!sounds.count(name)) addTo(missing, name);
    }
    std::printf("coverage: sounds no replay plays: %s\n", missing.empty() ? "none" : missing.c_str());
    complete = complete && missing.empty();
    missing.clear();
    std::string neverDrawn;
    for (const ImageEntry& entry : imageCatalogue()) {
        const std::string path = entry.path;
        const std::string name = path.substr(path.rfind('\\') + 1);
        if (kPicturesNeverDrawn.count(name))
            addTo(neverDrawn, name + (pictures.count(name) ? " (DRAWN: take it off this list)" : ""));
        else if (!pictures.count(name))
            addTo(missing, name);
    }
    std::printf("coverage: pictures no replay draws: %s (loaded, drawn by no rule: %s)\n",
                missing.empty() ? "none" : missing.c_str(), neverDrawn.c_str());
    return complete && missing.empty();
}

int play(const std::vector<std::string>& paths, const std::string& outDir, bool wantComplete) {
    int failures = 0;
    std::set<std::string> classes, sounds, pictures;
    for (const std::string& path : paths) {
        const auto start = std::chrono::steady_clock::now();
        Replay replay;
        std::string error;
        if (!loadReplay(path, replay, error)) {
            std::printf("FAILED %s\n", error.c_str());
            ++failures;
            continue;
        }
        SessionResult result;
        const std::string failure = checkReplay(path, replay, outDir, &result);
        if (!failure.empty()) {
            std::printf("FAILED %s\n", failure.c_str());
            ++failures;
            continue;
        }
        std::printf("ok %s: %zu digests over %.1f s of game clock, played in %.1f s\n", path.c_str(),
                    replay.digests.size(), replay.digests.back().ms / 1000.0, secondsSince(start));
        classes.merge(result.classesSeen);
        sounds.merge(result.soundsPlayed);
        pictures.merge(result.picturesDrawn);
    }
    if (failures) return 1;
    if (!printCoverage(classes, sounds, pictures) && wantComplete) {
        std::printf("FAILED the replays no longer reach everything they reached: record what is missing\n");
        return 1;
    }
    return 0;
}

// Plays the replay's inputs with flashes on or off, every frame watched; -1 when it cannot be read.
int watchReplay(const std::string& path, bool flashesOn, FlashWatch& watch) {
    Replay replay;
    std::string error;
    if (!loadReplay(path, replay, error)) {
        std::printf("FAILED %s\n", error.c_str());
        return -1;
    }
    return WatchReplayForFlashes(replay, flashesOn, watch);
}

// The replay's inputs played with the player's comfort setting for flashes off, every frame watched.
int flashes(const std::string& path) {
    FlashWatch watch;
    const int frames = watchReplay(path, false, watch);
    if (frames < 0) return 1;
    if (!watch.flash().empty()) {
        std::printf("FAILED %s: a flash with flashes off: %s\n", path.c_str(), watch.flash().c_str());
        return 1;
    }
    std::printf("ok %s: %d frames with flashes off, the largest rise %.0f of 255 within %d ms\n",
                path.c_str(), frames, watch.largestRise(), FlashWatch::kWindowMs);
    return frames > 0 ? 0 : 1;
}

// The same with flashes on: the replay must show one, or the check could not see it either.
int flashSeen(const std::string& path) {
    FlashWatch watch;
    if (watchReplay(path, true, watch) < 0) return 1;
    if (watch.flash().empty()) {
        std::printf("FAILED %s: no flash seen with flashes on, the largest rise %.0f of 255\n", path.c_str(),
                    watch.largestRise());
        return 1;
    }
    std::printf("ok %s: with flashes on %s\n", path.c_str(), watch.flash().c_str());
    return 0;
}

int frame(const std::string& path, double secondsWanted, const std::string& png) {
    Replay replay;
    std::string error;
    if (!loadReplay(path, replay, error, true)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const int wantedMs = static_cast<int>(secondsWanted * 1000);
    bool saved = false;
    playSession(replay.entry, replay.seed, recordedInput(replay), [&](const Digest& d, const auto&) {
        if (d.ms / 1000 < wantedMs / 1000 || !d.hasFrame) return true;
        saved = SaveBackBufferPng(png);
        return false;
    });
    std::printf("%s\n", saved ? png.c_str() : "no frame drawn at that time");
    return saved ? 0 : 1;
}

// The pixels of two pictures that differ: how many, where, and a picture of them (the drawn frame dimmed,
// the differing pixels in magenta).
int diff(const std::string& drawnPath, const std::string& wantedPath, const std::string& outPath) {
    TPixmap drawn, wanted;
    for (auto [path, pixmap] : {std::pair{&drawnPath, &drawn}, std::pair{&wantedPath, &wanted}}) {
        const ResourceData data = OpenResource(*path);
        if (!data || !DecodePng(data.bytes, data.size, *pixmap)) {
            std::fprintf(stderr, "%s: not a PNG picture\n", path->c_str());
            return 2;
        }
    }
    if (drawn.width != wanted.width || drawn.height != wanted.height) {
        std::printf("the pictures differ in size\n");
        return 1;
    }
    TPixmap picture(drawn.width, drawn.height);
    int count = 0, left = drawn.width, top = drawn.height, right = -1, bottom = -1;
    for (int y = 0; y < drawn.height; ++y) {
        for (int x = 0; x < drawn.width; ++x) {
            const std::uint32_t a = drawn.ReadPixel(x, y), b = wanted.ReadPixel(x, y);
            picture.WritePixel(x, y, a == b ? 0xFF000000u | ((a >> 2) & 0x3F3F3F) : 0xFFFF00FFu);
            if (a == b) continue;
            ++count;
            left = std::min(left, x), top = std::min(top, y), right = std::max(right, x),
            bottom = std::max(bottom, y);
        }
    }
    if (count == 0) {
        std::printf("the pictures are the same\n");
        return 0;
    }
    WritePng(outPath, picture);
    std::printf("%d pixels differ in (%d,%d)-(%d,%d); %s shows them\n", count, left, top, right, bottom,
                outPath.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    const std::string command = argv[1];
    std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "record" && args.size() == 2) return record(args[0], args[1]);
    if (command == "diff" && args.size() == 3) return diff(args[0], args[1], args[2]);
    if (command == "frame" && args.size() == 3) return frame(args[0], std::atof(args[1].c_str()), args[2]);
    if (command == "flashes") {
        int status = 0;
        for (std::size_t i = 0; i < args.size(); ++i)
            status |= args[i] == "--seen" && i + 1 < args.size() ? flashSeen(args[++i]) : flashes(args[i]);
        return status;
    }
    if (command == "rerecord") {
        int status = 0;
        for (const std::string& path : args)
            status |= rerecord(path);
        return status;
    }
    if (command == "play") {
        std::string outDir;
        std::vector<std::string> paths;
        bool wantComplete = false;
        for (std::size_t i = 0; i < args.size(); ++i) {
            if (args[i] == "--out" && i + 1 < args.size())
                outDir = args[++i];
            else if (args[i] == "--complete")
                wantComplete = true;
            else
                paths.push_back(args[i]);
        }
        if (!outDir.empty()) std::filesystem::create_directories(outDir);
        return play(paths, outDir, wantComplete);
    }
    return usage();
}
