#include "driver/replay.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "driver/harness.h"
#include "engine/engine.h"
#include "game/game_clock.h"
#include "game/program.h"

namespace {

constexpr char kMagic[] = "vevu replay";
// A session that will not end after its input ran out is stopped after this many more passes.
constexpr int kPassesToLeave = 10000;
// Seconds between digests that hold every actor and building one by one.
constexpr int kDetailSeconds = 5;

// ---------------------------------------------------------------------------------------------------
// Bytes

struct Writer {
    std::string bytes;
    void put(std::uint64_t v) {
        while (v >= 0x80) {
            bytes.push_back(static_cast<char>(v | 0x80));
            v >>= 7;
        }
        bytes.push_back(static_cast<char>(v));
    }
    void putSigned(std::int64_t v) { put(static_cast<std::uint64_t>((v << 1) ^ (v >> 63))); }
};

struct Reader {
    const std::string& bytes;
    std::size_t at = 0;
    bool failed = false;
    std::uint64_t get() {
        std::uint64_t v = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            if (at >= bytes.size()) {
                failed = true;
                return 0;
            }
            const auto b = static_cast<unsigned char>(bytes[at++]);
            v |= std::uint64_t{b & 0x7Fu} << shift;
            if (!(b & 0x80)) return v;
        }
        failed = true;
        return 0;
    }
    std::int64_t getSigned() {
        const std::uint64_t v = get();
        return static_cast<std::int64_t>(v >> 1) ^ -static_cast<std::int64_t>(v & 1);
    }
    // A count that must fit in what is left (every element takes at least a byte).
    std::size_t count() {
        const std::uint64_t n = get();
        if (n > bytes.size() - std::min(at, bytes.size())) failed = true;
        return failed ? 0 : static_cast<std::size_t>(n);
    }
};

std::uint64_t keyOf(const DigestItem& item) {
    return std::uint64_t{item.object} << 8 | item.field;
}

// Digests are written as changes against the one before: most values stand still from second to second.
void writeDigests(Writer& w, const std::vector<Digest>& digests) {
    std::map<std::uint64_t, std::uint32_t> last;
    int lastPass = 0, lastMs = 0;
    w.put(digests.size());
    for (const Digest& d : digests) {
        w.put(static_cast<std::uint64_t>(d.pass - lastPass));
        w.putSigned(d.ms - lastMs);
        lastPass = d.pass;
        lastMs = d.ms;
        w.put(d.detailed ? 1 : 0);
        std::map<std::uint64_t, std::uint32_t> now;
        for (const DigestItem& item : d.items)
            now[keyOf(item)] = item.bits;
        // A digest without detail leaves the objects as the last detailed one had them.
        if (!d.detailed)
            for (const auto& [key, bits] : last)
                if (key >> 8) now.emplace(key, bits);
        std::vector<std::pair<std::uint64_t, std::uint32_t>> changed;
        std::vector<std::uint64_t> gone;
        for (const auto& [key, bits] : now) {
            auto found = last.find(key);
            if (found == last.end() || found->second != bits) changed.emplace_back(key, bits);
        }
        for (const auto& [key, bits] : last)
            if (!now.count(key)) gone.push_back(key);
        w.put(changed.size());
        std::uint64_t previousKey = 0;
        for (const auto& [key, bits] : changed) {
            w.put(key - previousKey);
            previousKey = key;
            auto found = last.find(key);
            w.put(bits ^ (found == last.end() ? 0u : found->second));
        }
        w.put(gone.size());
        previousKey = 0;
        for (std::uint64_t key : gone) {
            w.put(key - previousKey);
            previousKey = key;
        }
        w.put(d.sounds.size());
        for (std::uint16_t s : d.sounds)
            w.put(s);
        w.put(d.hasFrame ? 1 : 0);
        if (d.hasFrame) w.put(d.frameHash);
        last = std::move(now);
    }
}

bool readDigests(Reader& r, std::vector<Digest>& digests) {
    std::map<std::uint64_t, std::uint32_t> last;
    int pass = 0, ms = 0;
    digests.resize(r.count());
    for (Digest& d : digests) {
        pass += static_cast<int>(r.get());
        ms += static_cast<int>(r.getSigned());
        d.pass = pass;
        d.ms = ms;
        d.detailed = r.get() != 0;
        std::uint64_t key = 0;
        for (std::size_t n = r.count(); n > 0 && !r.failed; --n) {
            key += r.get();
            last[key] ^= static_cast<std::uint32_t>(r.get());
        }
        key = 0;
        for (std::size_t n = r.count(); n > 0 && !r.failed; --n) {
            key += r.get();
            last.erase(key);
        }
        for (std::size_t n = r.count(); n > 0 && !r.failed; --n)
            d.sounds.push_back(static_cast<std::uint16_t>(r.get()));
        d.hasFrame = r.get() != 0;
        if (d.hasFrame) d.frameHash = static_cast<std::uint32_t>(r.get());
        if (r.failed) return false;
        for (const auto& [k, bits] : last)
            if (d.detailed || (k >> 8) == 0)
                d.items.push_back(
                    {static_cast<std::uint32_t>(k >> 8), static_cast<std::uint8_t>(k & 0xFF), bits});
    }
    return !r.failed;
}

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

} // namespace

std::uint32_t assetsHash() {
    FillResourceTable();
    std::vector<std::string> names = ResourceNames();
    std::sort(names.begin(), names.end());
    std::uint32_t hash = 2166136261u;
    auto add = [&](const unsigned char* bytes, std::size_t size) {
        hash = static_cast<std::uint32_t>(crc32(hash, bytes, static_cast<uInt>(size)));
    };
    for (const std::string& name : names) {
        // The window's icon is the desktop's business: it never appears in the game's picture.
        if (name.rfind("Icon\\", 0) == 0) continue;
        add(reinterpret_cast<const unsigned char*>(name.data()), name.size());
        const ResourceData data = OpenResource(kEmbeddedPrefix + name);
        if (data) add(data.bytes, data.size);
    }
    return hash;
}

bool saveReplay(const std::string& path, const Replay& replay, std::string& error) {
    Writer w;
    w.put(replay.passes.size());
    for (const ReplayPass& p : replay.passes) {
        w.put(p.frameMs);
        w.put(p.keys.size());
        for (const KeyEvent& k : p.keys) {
            w.put(k.kind);
            w.put(k.code);
        }
    }
    writeDigests(w, replay.digests);
    w.put(replay.objectClasses.size());
    for (std::uint8_t c : replay.objectClasses)
        w.put(c);
    uLongf packedSize = compressBound(w.bytes.size());
    std::string packed(packedSize, '\0');
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
                  reinterpret_cast<const Bytef*>(w.bytes.data()), w.bytes.size(), 9) != Z_OK) {
        error = path + ": could not compress the replay";
        return false;
    }
    packed.resize(packedSize);
    std::ofstream out(path, std::ios::binary);
    out << kMagic << ' ' << Replay::kVersion << '\n'
        << "entry " << replay.entry << '\n'
        << "seed " << replay.seed << '\n'
        << "assets " << replay.assets << '\n'
        << "passes " << replay.passes.size() << '\n'
        << "digests " << replay.digests.size() << '\n'
        << "data " << w.bytes.size() << ' ' << packed.size() << '\n';
    out.write(packed.data(), static_cast<std::streamsize>(packed.size()));
    if (!out.flush()) {
        error = path + ": could not be written";
        return false;
    }
    return true;
}

bool loadReplay(const std::string& path, Replay& replay, std::string& error, bool otherAssetsAllowed) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot be opened";
        return false;
    }
    auto fail = [&](const std::string& what) {
        error = path + ": " + what;
        return false;
    };
    std::string line, word;
    int version = 0;
    std::getline(in, line);
    if (line.rfind(kMagic, 0) != 0) return fail("not a replay (it does not start with \"vevu replay\")");
    std::istringstream(line.substr(sizeof kMagic)) >> version;
    if (version != Replay::kVersion)
        return fail("replay format " + std::to_string(version) + " is unknown (this build reads format " +
                    std::to_string(Replay::kVersion) + "): record it again");
    std::uint64_t rawSize = 0, packedSize = 0, passes = 0, digests = 0;
    std::uint32_t assets = 0;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        fields >> word;
        if (word == "entry") fields >> replay.entry;
        if (word == "seed") fields >> replay.seed;
        if (word == "assets") fields >> assets;
        if (word == "passes") fields >> passes;
        if (word == "digests") fields >> digests;
        if (word == "data") {
            fields >> rawSize >> packedSize;
            break;
        }
    }
    const bool battle = replay.entry.size() == 7 && replay.entry.rfind("battle", 0) == 0 &&
                        replay.entry[6] >= '0' && replay.entry[6] <= '3';
    if (replay.entry != "run" && replay.entry != "outro" && !battle)
        return fail("unknown entry \"" + replay.entry + "\"");
    if (rawSize == 0 || rawSize > (1u << 30)) return fail("the header is truncated or damaged");
    std::string packed(packedSize, '\0');
    in.read(packed.data(), static_cast<std::streamsize>(packedSize));
    if (static_cast<std::uint64_t>(in.gcount()) != packedSize)
        return fail("truncated: " + std::to_string(in.gcount()) + " of " + std::to_string(packedSize) +
                    " bytes of data");
    std::string raw(rawSize, '\0');
    uLongf unpacked = rawSize;
    if (uncompress(reinterpret_cast<Bytef*>(raw.data()), &unpacked,
                   reinterpret_cast<const Bytef*>(packed.data()), packedSize) != Z_OK ||
        unpacked != rawSize)
        return fail("the data is damaged (it does not decompress)");
    Reader r{raw};
    replay.passes.resize(r.count());
    for (ReplayPass& p : replay.passes) {
        p.frameMs = static_cast<std::uint8_t>(r.get());
        p.keys.resize(r.count());
        for (KeyEvent& k : p.keys) {
            k.kind = static_cast<KeyEvent::Kind>(r.get() & 3);
            k.code = static_cast<std::uint8_t>(r.get());
        }
    }
    if (!readDigests(r, replay.digests)) return fail("the data is damaged (digests cut short)");
    replay.objectClasses.resize(r.count());
    for (std::uint8_t& c : replay.objectClasses)
        c = static_cast<std::uint8_t>(r.get());
    if (r.failed || replay.passes.size() != passes || replay.digests.size() != digests)
        return fail("the data is damaged (the counts do not match the header)");
    replay.assets = assets;
    if (assets != assetsHash() && !otherAssetsAllowed)
        return fail("recorded with other assets (assets hash " + std::to_string(assets) +
                    ", this build's is " + std::to_string(assetsHash()) +
                    "): the pictures or sounds changed since; record it again");
    return true;
}

PassInput recordedInput(const Replay& replay) {
    return {[&replay](int pass) {
                return pass < static_cast<int>(replay.passes.size()) ? replay.passes[pass].frameMs : 0;
            },
            [&replay](int pass) {
                for (const KeyEvent& k : replay.passes[pass].keys)
                    giveKey(k);
            }};
}

SessionResult playSession(const std::string& entry, int seed, const PassInput& input,
                          const DigestCheck& check) {
    SessionResult result;
    Replay& r = result.replay;
    r.entry = entry;
    r.seed = seed;
    r.assets = assetsHash();
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
    tProgram::passHook = [&] {
        taker.notePass();
        if (pass > 0 && !stopped &&
            (gameMillisecs() / 1000 != lastSecond || game.state != lastState ||
             (game.outro != nullptr) != lastOutro))
            digest();
        if (stopped || result.ranPastEnd) {
            // Leave the game: Esc ends the main loop (and a menu first), its character the intro and outro.
            InjectKeyTap(KEY_ESCAPE);
            if (++leaving > kPassesToLeave) {
                std::fprintf(stderr, "the session does not end: stopped after %d passes\n", pass);
                std::exit(2);
            }
            AdvanceMillis(10);
            return;
        }
        const int frameMs = input.frameMs(pass);
        if (frameMs <= 0) {
            result.ranPastEnd = true;
            InjectKeyTap(KEY_ESCAPE);
            AdvanceMillis(10);
            return;
        }
        AdvanceMillis(frameMs);
        r.passes.push_back({static_cast<std::uint8_t>(frameMs), {}});
        listenToKeys(&r.passes.back().keys);
        input.keys(pass);
        listenToKeys(nullptr);
        // Only the frames a digest looks at are drawn; the draw code runs on every pass all the same.
        drawn = gameMillisecs() / 1000 != lastSecond;
        SetDrawingEnabled(drawn);
        ++pass;
    };
    if (entry == "outro") {
        game.runOutro();
    } else if (entry.rfind("battle", 0) == 0) {
        // A mission started as the map screen starts it, then the game's main loop.
        harness.startMission(entry.back() - '0');
        while (true) {
            tProgram::passHook();
            game.updateMain();
            game.drawAll();
            if (game.gameExit() || game.flagEndGame) break;
        }
    } else {
        game.run();
    }
    tProgram::passHook = nullptr;
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
        gotItems[keyOf(item)] = &item;
    for (const DigestItem& item : want.items)
        wantItems[keyOf(item)] = &item;
    std::string world;
    int worldRank = 99;
    auto note = [&](int itemRank, std::string text) {
        if (itemRank < worldRank) {
            worldRank = itemRank;
            world = std::move(text);
        }
    };
    auto describe = [](const DigestItem& item, const std::vector<std::uint8_t>& classes) {
        const auto& fields = item.object ? objectFields() : gameFields();
        const FieldInfo& field = fields[std::min<std::size_t>(item.field, fields.size() - 1)];
        std::string value = item.object && item.field == 0   ? className(static_cast<int>(item.bits))
                            : item.object && item.field == 9 ? pictureName(static_cast<int>(item.bits))
                                                             : formatValue(field, item.bits);
        return std::make_pair(std::string(field.name), value);
    };
    for (const auto& [key, item] : wantItems) {
        auto other = gotItems.find(key);
        const std::string who = item->object ? objectName(item->object, wantClasses) + " " : "";
        if (other == gotItems.end()) {
            const auto [field, value] = describe(*item, wantClasses);
            note(rank(*item), item->object ? who + "is missing (recorded " + field + " " + value + ")"
                                           : field + " is missing (recorded " + value + ")");
        } else if (other->second->bits != item->bits) {
            const auto [field, value] = describe(*other->second, gotClasses);
            note(rank(*item),
                 who + field + " " + value + ", recorded " + describe(*item, wantClasses).second);
        }
    }
    for (const auto& [key, item] : gotItems)
        if (!wantItems.count(key))
            note(rank(*item), item->object
                                  ? objectName(item->object, gotClasses) + " was not recorded"
                                  : std::string(gameFields()[item->field].name) + " was not recorded");
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
