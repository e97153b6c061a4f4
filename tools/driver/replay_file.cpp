#include "driver/replay_file.h"

#include <zlib.h>

#include <algorithm>
#include <charconv>
#include <climits>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <map>
#include <optional>

#include "engine/engine.h"
#include "sessions/session.h"

namespace {

constexpr std::string_view kMagic = "vevu replay";
// Every header line the writer makes is far shorter; a longer one is not a header.
constexpr std::size_t kLongestHeaderLine = 200;
// zlib packs at most 1032 bytes into one: data declared larger than that is damaged.
constexpr std::uint64_t kMostPackedRatio = 1032;
// What a held value costs beyond its own bytes: the smallest block the allocator hands out for a list of
// keys, and a node of the map of values a digest is read into.
constexpr std::size_t kSmallestBlock = 32;
constexpr std::size_t kMapNodeBytes = 64;
// A digest's value is filed under its object number (32 bits) and its field (8 bits).
constexpr std::uint64_t kLargestKey = (std::uint64_t{1} << 40) - 1;

// ---------------------------------------------------------------------------------------------------
// Numbers, seven bits a byte

struct Writer {
    std::string bytes;
    void put(std::uint64_t v) {
        while (v >= 0x80) {
            bytes.push_back(static_cast<char>(v | 0x80));
            v >>= 7;
        }
        bytes.push_back(static_cast<char>(v));
    }
    void putSigned(std::int64_t v) {
        put((static_cast<std::uint64_t>(v) << 1) ^ static_cast<std::uint64_t>(v >> 63));
    }
};

// Reads the data and counts what the replay holds; the first fault found is kept in words and every
// read after it answers 0.
struct Reader {
    std::string_view bytes;
    std::size_t at = 0;
    std::size_t held = 0;
    std::string fault;

    bool failed() const { return !fault.empty(); }
    void fail(const std::string& what) {
        if (fault.empty()) fault = what;
    }
    std::uint64_t get() {
        std::uint64_t v = 0;
        for (int shift = 0; shift < 64 && !failed(); shift += 7) {
            if (at >= bytes.size()) {
                fail("the data is damaged (it ends in the middle)");
                break;
            }
            const auto b = static_cast<unsigned char>(bytes[at++]);
            v |= std::uint64_t{b & 0x7Fu} << shift;
            if (!(b & 0x80)) return v;
        }
        fail("the data is damaged (a number longer than 64 bits)");
        return 0;
    }
    // A number no larger than most; what names it in the message.
    std::uint64_t get(std::uint64_t most, const char* what) {
        const std::uint64_t v = get();
        if (v > most) fail("the data is damaged (" + std::string(what) + " " + std::to_string(v) + ")");
        return failed() ? 0 : v;
    }
    std::int64_t getSigned() {
        const std::uint64_t v = get();
        return static_cast<std::int64_t>(v >> 1) ^ -static_cast<std::int64_t>(v & 1);
    }
    // The replay will hold this many more bytes: refused past the most a replay may hold.
    bool hold(std::size_t bytesHeld) {
        if (bytesHeld > kMaxReplayHeldBytes - held)
            fail("too large: holding it would take more than " + std::to_string(kMaxReplayHeldBytes >> 20) +
                 " MiB");
        else
            held += bytesHeld;
        return !failed();
    }
    // A count of entries that each take at least bytesEach of the data and heldEach of memory: refused
    // when the rest of the data cannot be that many entries, or holding them is too much.
    std::size_t count(std::size_t bytesEach, std::size_t heldEach, const char* what) {
        const std::uint64_t n = get();
        const std::size_t left = bytes.size() - std::min(at, bytes.size());
        if (!failed() && n > left / bytesEach)
            fail("the data is damaged (" + std::to_string(n) + " " + what + " in " + std::to_string(left) +
                 " bytes)");
        if (failed() || !hold(static_cast<std::size_t>(n) * heldEach)) return 0;
        return static_cast<std::size_t>(n);
    }
};

// Digests are written as changes against the one before: most values stand still from second to second.
void writeDigests(Writer& w, const std::vector<Digest>& digests) {
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
std::uint64_t nextKey(Reader& r, std::uint64_t key) {
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
    explicit DigestValues(Reader& r) : _r(r) {}

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

    Reader& _r;
    std::map<std::uint64_t, std::uint32_t> _game;
    std::vector<DigestItem> _objects; // sorted by key
    std::map<std::uint64_t, std::optional<std::uint32_t>> _pending;
};

// Each digest holds every value it had (a detailed one) or the game's own (one without detail).
// passCount: the passes read before them.
void readDigests(Reader& r, std::vector<Digest>& digests, std::size_t passCount) {
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

void readPasses(Reader& r, std::vector<ReplayPass>& passes) {
    // A pass takes at least two numbers: its frame time and how many keys it gave.
    passes.resize(r.count(2, sizeof(ReplayPass), "passes"));
    for (ReplayPass& p : passes) {
        if (r.failed()) return;
        p.frameMs = static_cast<std::uint8_t>(r.get(255, "a frame time of"));
        if (p.frameMs == 0 && !r.failed()) r.fail("the data is damaged (a frame time of 0)");
        const std::size_t keys = r.count(2, sizeof(KeyEvent), "keys");
        if (keys == 0 || !r.hold(kSmallestBlock)) continue;
        p.keys.resize(keys);
        for (KeyEvent& k : p.keys) {
            k.kind = static_cast<KeyEvent::Kind>(r.get(KeyEvent::Char, "a key of kind"));
            k.code = static_cast<std::uint8_t>(r.get(255, "a key of code"));
        }
    }
}

// ---------------------------------------------------------------------------------------------------
// The header

// The next line of the header (without its end), or nothing when there is no whole line of header length.
std::optional<std::string_view> headerLine(std::string_view bytes, std::size_t& at) {
    const std::size_t end = bytes.find('\n', at);
    if (end == std::string_view::npos || end - at > kLongestHeaderLine) return std::nullopt;
    const std::string_view line = bytes.substr(at, end - at);
    at = end + 1;
    return line;
}

// A whole field as a number; false for anything else.
template <typename Number> bool parseNumber(std::string_view text, Number& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

struct Header {
    int version = 0;
    std::string entry;
    std::optional<int> seed;
    std::optional<std::uint32_t> assets;
    std::optional<std::uint64_t> passes, digests, dataSize, packedSize;
};

bool knownEntry(const std::string& entry) {
    const bool battle =
        entry.size() == 7 && entry.rfind("battle", 0) == 0 && entry[6] >= '0' && entry[6] <= '3';
    return entry == "run" || entry == "outro" || battle;
}

// Reads the header up to its "data" line; at ends where the packed data begins.
bool readHeader(std::string_view bytes, std::size_t& at, Header& h, std::string& error) {
    const std::string damaged = "the header is truncated or damaged";
    if (bytes.substr(0, kMagic.size()) != kMagic ||
        (bytes.size() > kMagic.size() && bytes[kMagic.size()] != ' ' && bytes[kMagic.size()] != '\n')) {
        error = "not a replay (it does not start with \"vevu replay\")";
        return false;
    }
    const auto first = headerLine(bytes, at);
    if (!first || first->size() <= kMagic.size()) {
        error = damaged + " (no format after \"vevu replay\")";
        return false;
    }
    const std::string_view version = first->substr(kMagic.size() + 1);
    if (!parseNumber(version, h.version) || h.version != Replay::kVersion) {
        error = "replay format " + std::string(version) + " is unknown (this build reads format " +
                std::to_string(Replay::kVersion) + "): record it again";
        return false;
    }
    while (const auto line = headerLine(bytes, at)) {
        const std::size_t space = line->find(' ');
        const std::string_view word = line->substr(0, space);
        const std::string_view value = space == std::string_view::npos ? "" : line->substr(space + 1);
        bool read = true;
        if (word == "entry") {
            h.entry = value;
        } else if (word == "seed") {
            read = parseNumber(value, h.seed.emplace());
        } else if (word == "assets") {
            read = parseNumber(value, h.assets.emplace());
        } else if (word == "passes") {
            read = parseNumber(value, h.passes.emplace());
        } else if (word == "digests") {
            read = parseNumber(value, h.digests.emplace());
        } else if (word == "data") {
            const std::size_t between = value.find(' ');
            read = between != std::string_view::npos &&
                   parseNumber(value.substr(0, between), h.dataSize.emplace()) &&
                   parseNumber(value.substr(between + 1), h.packedSize.emplace());
        }
        if (!read) {
            error = damaged + " (\"" + std::string(*line) + "\")";
            return false;
        }
        if (word == "data") break;
    }
    for (const auto& [missing, name] :
         std::initializer_list<std::pair<bool, const char*>>{{h.entry.empty(), "entry"},
                                                             {!h.seed, "seed"},
                                                             {!h.assets, "assets"},
                                                             {!h.passes, "passes"},
                                                             {!h.digests, "digests"},
                                                             {!h.packedSize, "data"}})
        if (missing) {
            error = damaged + " (no \"" + name + "\" line)";
            return false;
        }
    if (!knownEntry(h.entry)) {
        error = "unknown entry \"" + h.entry + "\"";
        return false;
    }
    return true;
}

} // namespace

std::uint32_t assetsHash() {
    return AssetsHash(); // the game's own, which the sessions players record carry too
}

bool encodeReplay(const Replay& replay, std::string& bytes) {
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
                  reinterpret_cast<const Bytef*>(w.bytes.data()), w.bytes.size(), 9) != Z_OK)
        return false;
    packed.resize(packedSize);
    bytes = std::string(kMagic) + ' ' + std::to_string(Replay::kVersion) + '\n' + "entry " + replay.entry +
            '\n' + "seed " + std::to_string(replay.seed) + '\n' + "assets " + std::to_string(replay.assets) +
            '\n' + "passes " + std::to_string(replay.passes.size()) + '\n' + "digests " +
            std::to_string(replay.digests.size()) + '\n' + "data " + std::to_string(w.bytes.size()) + ' ' +
            std::to_string(packed.size()) + '\n' + packed;
    return true;
}

bool decodeReplay(std::string_view bytes, Replay& replay, std::string& error) {
    std::size_t at = 0;
    Header header;
    if (!readHeader(bytes, at, header, error)) return false;
    const std::uint64_t packedSize = *header.packedSize, dataSize = *header.dataSize;
    if (packedSize > bytes.size() - at) {
        error = "truncated: " + std::to_string(bytes.size() - at) + " of " + std::to_string(packedSize) +
                " bytes of data";
        return false;
    }
    if (packedSize < bytes.size() - at) {
        error = "damaged: " + std::to_string(bytes.size() - at - packedSize) + " bytes after the data";
        return false;
    }
    if (dataSize == 0 || dataSize > kMaxReplayDataBytes || dataSize > packedSize * kMostPackedRatio) {
        error = "the header is truncated or damaged (" + std::to_string(dataSize) +
                " bytes of data packed into " + std::to_string(packedSize) + ")";
        return false;
    }
    std::string data(dataSize, '\0');
    uLongf unpacked = static_cast<uLongf>(dataSize);
    if (uncompress(reinterpret_cast<Bytef*>(data.data()), &unpacked,
                   reinterpret_cast<const Bytef*>(bytes.data() + at),
                   static_cast<uLong>(packedSize)) != Z_OK ||
        unpacked != dataSize) {
        error = "the data is damaged (it does not decompress)";
        return false;
    }
    Reader r{data, 0, 0, {}};
    Replay read;
    readPasses(r, read.passes);
    readDigests(r, read.digests, read.passes.size());
    read.objectClasses.resize(r.count(1, 1, "object classes"));
    for (std::uint8_t& c : read.objectClasses)
        c = static_cast<std::uint8_t>(r.get(255, "an object class"));
    if (!r.failed() && r.at != data.size())
        r.fail("the data is damaged (" + std::to_string(data.size() - r.at) + " bytes after its end)");
    if (!r.failed() && (read.passes.size() != *header.passes || read.digests.size() != *header.digests))
        r.fail("the data is damaged (the counts do not match the header)");
    if (r.failed()) {
        error = r.fault;
        return false;
    }
    read.entry = header.entry;
    read.seed = *header.seed;
    read.assets = *header.assets;
    replay = std::move(read);
    return true;
}

bool saveReplay(const std::string& path, const Replay& replay, std::string& error, const WriteFault* fault) {
    std::string bytes;
    if (!encodeReplay(replay, bytes)) {
        error = path + ": could not compress the replay";
        return false;
    }
    // Replaced whole or not at all: a re-recording stopped or failing halfway keeps the replay it had.
    const std::filesystem::path file(path);
    const std::string why = ReplaceFileAtomically(file.parent_path().empty() ? "." : file.parent_path(),
                                                  file.filename().string(), bytes, false, fault);
    if (!why.empty()) {
        error = path + ": could not be written (" + why + ")";
        return false;
    }
    return true;
}

bool loadReplay(const std::string& path, Replay& replay, std::string& error, bool otherAssetsAllowed) {
    auto fail = [&](const std::string& what) {
        error = path + ": " + what;
        return false;
    };
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return fail("cannot be opened");
    const std::streamoff size = in.tellg();
    if (size < 0) return fail("cannot be read");
    if (static_cast<std::uint64_t>(size) > kMaxReplayFileBytes)
        return fail("too large to be a replay (" + std::to_string(size) + " bytes, at most " +
                    std::to_string(kMaxReplayFileBytes >> 20) + " MiB)");
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.seekg(0);
    if (!in.read(bytes.data(), size)) return fail("cannot be read");
    std::string why;
    if (!decodeReplay(bytes, replay, why)) return fail(why);
    if (replay.assets != assetsHash() && !otherAssetsAllowed)
        return fail("recorded with other assets (assets hash " + std::to_string(replay.assets) +
                    ", this build's is " + std::to_string(assetsHash()) +
                    "): the pictures or sounds changed since; record it again");
    return true;
}
