#include "driver/replay_file.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <map>
#include <optional>

#include "engine/engine.h"
#include "engine/utf8_paths.h"
#include "sessions/session.h"

namespace {

// What a held value costs beyond its own bytes: a node of the map of values a digest is read into.
constexpr std::size_t kMapNodeBytes = 64;
// A digest's value is filed under its object number (32 bits) and its field (8 bits).
constexpr std::uint64_t kLargestKey = (std::uint64_t{1} << 40) - 1;

// Digests are written as changes against the one before: most values stand still from second to second.
void writeDigests(PackedWriter& w, const std::vector<Digest>& digests) {
    std::map<std::uint64_t, std::uint32_t> last;
    int lastPass = 0, lastMs = 0;
    w.put(digests.size());
    for (const Digest& d : digests) {
        w.put(static_cast<std::uint64_t>(d.pass - lastPass));
        w.putSigned(std::int64_t{d.ms} - lastMs);
        lastPass = d.pass;
        lastMs = d.ms;
        w.put(d.detailed ? 1 : 0);
        std::map<std::uint64_t, std::uint32_t> now;
        for (const DigestItem& item : d.items)
            now[digestKey(item)] = item.bits;
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

// A key read as a change from the one before, within the keys a value can have.
std::uint64_t nextKey(PackedReader& r, std::uint64_t key) {
    const std::uint64_t step = r.get();
    if (step > kLargestKey - key) r.fail("the data is damaged (an object number past the largest)");
    return r.failed() ? 0 : key + step;
}

// The values of the last digest read, by key. The game's own (object 0: keys below 256) are few and every
// digest holds them; the objects' go into a sorted list only when a detailed digest is filled, the
// changes since kept apart until then, so filling a digest costs about what it holds and a file cannot
// make the reader copy every value it ever saw into every digest for nothing.
class DigestValues {
  public:
    explicit DigestValues(PackedReader& r) : _r(r) {}

    void change(std::uint64_t key, std::uint32_t bits) {
        if (key < kObjectKeys) {
            if (!_game.count(key)) _r.hold(kMapNodeBytes);
            _game[key] ^= bits;
            return;
        }
        auto& value = pendingValue(key);
        value = (value ? *value : 0u) ^ bits;
    }
    void erase(std::uint64_t key) {
        if (key < kObjectKeys)
            _game.erase(key);
        else
            pendingValue(key).reset();
    }
    // Fills the digest with the game's values, and the objects' too when it is detailed.
    void fill(Digest& d) {
        if (d.detailed) settle();
        const std::size_t items = _game.size() + (d.detailed ? _objects.size() : 0);
        if (!_r.hold(items * sizeof(DigestItem))) return;
        d.items.reserve(items);
        for (const auto& [key, bits] : _game)
            d.items.push_back(itemOf(key, bits));
        if (d.detailed) d.items.insert(d.items.end(), _objects.begin(), _objects.end());
    }

  private:
    static constexpr std::uint64_t kObjectKeys = 1u << 8;

    static DigestItem itemOf(std::uint64_t key, std::uint32_t bits) {
        return {static_cast<std::uint32_t>(key >> 8), static_cast<std::uint8_t>(key & 0xFF), bits};
    }
    static bool keyBefore(const DigestItem& item, std::uint64_t key) { return digestKey(item) < key; }

    // A change since the list was settled: the value now, or none when it is gone.
    std::optional<std::uint32_t>& pendingValue(std::uint64_t key) {
        auto [at, added] = _pending.try_emplace(key);
        if (added) {
            _r.hold(kMapNodeBytes);
            const auto settled = std::lower_bound(_objects.begin(), _objects.end(), key, keyBefore);
            if (settled != _objects.end() && digestKey(*settled) == key) at->second = settled->bits;
        }
        return at->second;
    }
    // The changes merged into the sorted list, which detailed digests then copy as it is.
    void settle() {
        if (_pending.empty()) return;
        std::vector<DigestItem> merged;
        if (!_r.hold((_objects.size() + _pending.size()) * sizeof(DigestItem))) return;
        merged.reserve(_objects.size() + _pending.size());
        auto settled = _objects.begin();
        for (const auto& [key, value] : _pending) {
            const auto before = std::lower_bound(settled, _objects.end(), key, keyBefore);
            merged.insert(merged.end(), settled, before);
            settled = before;
            if (settled != _objects.end() && digestKey(*settled) == key) ++settled;
            if (value) merged.push_back(itemOf(key, *value));
        }
        merged.insert(merged.end(), settled, _objects.end());
        _r.held -= _objects.size() * sizeof(DigestItem);
        _objects = std::move(merged);
        _r.held -= _pending.size() * kMapNodeBytes;
        _pending.clear();
    }

    PackedReader& _r;
    std::map<std::uint64_t, std::uint32_t> _game;
    std::vector<DigestItem> _objects; // sorted by key
    std::map<std::uint64_t, std::optional<std::uint32_t>> _pending;
};

// Each digest holds every value it had (a detailed one) or the game's own (one without detail).
// passCount: the passes read before them.
void readDigests(PackedReader& r, std::vector<Digest>& digests, std::size_t passCount) {
    DigestValues values(r);
    std::uint64_t pass = 0;
    std::int64_t ms = 0;
    // A digest takes at least seven numbers: pass, clock, detail, three counts and whether it has a frame.
    digests.resize(r.count(7, sizeof(Digest), "digests"));
    for (Digest& d : digests) {
        const std::uint64_t passes = r.get();
        if (passes > passCount - pass)
            r.fail("the data is damaged (digest " + std::to_string(&d - digests.data() + 1) +
                   " is taken after pass " + std::to_string(pass + passes) + " of " +
                   std::to_string(passCount) + ")");
        const std::int64_t step = r.getSigned();
        if (step < INT_MIN - ms || step > INT_MAX - ms)
            r.fail("the data is damaged (a game clock past the largest)");
        if (r.failed()) return;
        pass += passes;
        ms += step;
        d.pass = static_cast<int>(pass);
        d.ms = static_cast<int>(ms);
        d.detailed = r.get(1, "whether a digest is detailed:") != 0;
        std::uint64_t key = 0;
        for (std::size_t n = r.count(2, 0, "values"); n > 0 && !r.failed(); --n) {
            key = nextKey(r, key);
            const auto bits = static_cast<std::uint32_t>(r.get(UINT32_MAX, "a value's change"));
            if (!r.failed()) values.change(key, bits);
        }
        key = 0;
        for (std::size_t n = r.count(1, 0, "values gone"); n > 0 && !r.failed(); --n) {
            key = nextKey(r, key);
            if (!r.failed()) values.erase(key);
        }
        d.sounds.resize(r.count(1, sizeof(std::uint16_t), "sounds"));
        for (std::uint16_t& s : d.sounds)
            s = static_cast<std::uint16_t>(r.get(UINT16_MAX, "a sound"));
        d.hasFrame = r.get(1, "whether a frame was drawn:") != 0;
        if (d.hasFrame) d.frameHash = static_cast<std::uint32_t>(r.get(UINT32_MAX, "a frame's hash"));
        if (r.failed()) return;
        values.fill(d);
    }
}

} // namespace

bool encodeReplay(const Replay& replay, std::string& bytes) {
    PackedWriter w;
    w.put(replay.passes.size());
    for (const PassRecord& p : replay.passes) {
        w.put(static_cast<std::uint64_t>(p.frameMs));
        w.put(p.events.size());
        for (const KeyEvent& k : p.events) {
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
                  reinterpret_cast<const Bytef*>(w.bytes.data()), w.bytes.size(), 9) != Z_OK)
        return false;
    packed.resize(packedSize);
    bytes = "vevu replay " + std::to_string(kTestReplayFormat) + '\n' + "entry " + replay.entry +
            '\n' + "seed " + std::to_string(replay.seed) + '\n' + "assets " + std::to_string(replay.assets) +
            '\n' + "passes " + std::to_string(replay.passes.size()) + '\n' + "digests " +
            std::to_string(replay.digests.size()) + '\n' + "data " + std::to_string(w.bytes.size()) + ' ' +
            std::to_string(packed.size()) + '\n' + packed;
    return true;
}

namespace {

// A replay file the game's reader read, digests and all; false with the reason in error.
bool replayOf(ReplayFile& file, Replay& replay, std::string& error) {
    if (file.format != kTestReplayFormat) {
        error = "a player's session (format " + std::to_string(file.format) +
                "), not a test's replay: the game watches it (vevu FILE)";
        return false;
    }
    // The game's reader read the header and the passes; the digests and the classes follow them.
    TestReplay& test = file.test;
    PackedReader r = test.rest();
    Replay read;
    readDigests(r, read.digests, test.passes.size());
    read.objectClasses.resize(r.count(1, 1, "object classes"));
    for (std::uint8_t& c : read.objectClasses)
        c = static_cast<std::uint8_t>(r.get(255, "an object class"));
    if (!r.failed() && r.at != test.data.size())
        r.fail("the data is damaged (" + std::to_string(test.data.size() - r.at) + " bytes after its end)");
    if (!r.failed() && read.digests.size() != test.digestCount)
        r.fail("the data is damaged (the counts do not match the header)");
    if (r.failed()) {
        error = r.fault;
        return false;
    }
    read.entry = std::move(test.entry);
    read.seed = test.seed;
    read.assets = test.assets;
    read.passes = std::move(test.passes);
    replay = std::move(read);
    return true;
}

} // namespace

bool decodeReplay(std::string_view bytes, Replay& replay, std::string& error) {
    ReplayFile file;
    return ReadReplayFile(bytes, file, error) && replayOf(file, replay, error);
}

bool saveReplay(const std::string& path, const Replay& replay, std::string& error, const WriteFault* fault) {
    std::string bytes;
    if (!encodeReplay(replay, bytes)) {
        error = path + ": could not compress the replay";
        return false;
    }
    // Replaced whole or not at all: a re-recording stopped or failing halfway keeps the replay it had.
    const std::filesystem::path file = PathFromUtf8(path);
    const std::string why = ReplaceFileAtomically(file.parent_path().empty() ? "." : file.parent_path(),
                                                  Utf8FromPath(file.filename()), bytes, false, fault);
    if (!why.empty()) {
        error = path + ": could not be written (" + why + ")";
        return false;
    }
    return true;
}

bool loadReplay(const std::string& path, Replay& replay, std::string& error, bool otherAssetsAllowed) {
    ReplayFile file;
    if (!LoadReplayFile(path, file, error)) return false;
    if (!replayOf(file, replay, error)) {
        error = path + ": " + error;
        return false;
    }
    if (replay.assets != AssetsHash() && !otherAssetsAllowed) {
        error = path + ": recorded with other assets (assets hash " + std::to_string(replay.assets) +
                ", this build's is " + std::to_string(AssetsHash()) +
                "): the pictures or sounds changed since; record it again";
        return false;
    }
    return true;
}
