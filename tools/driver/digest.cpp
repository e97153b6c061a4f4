#include "driver/digest.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "ai/ai.h"
#include "buildings/homebase.h"
#include "campaign/map_dazozuzo.h"
#include "campaign/map_screen.h"
#include "campaign/persistence.h"
#include "campaign/upg_cursor.h"
#include "campaign/upgrade_menu.h"
#include "engine/engine.h"
#include "entities/actor.h"
#include "game/assets.h"
#include "game/game_clock.h"
#include "game/program.h"
#include "hud/shake.h"
#include "player/foo.h"
#include "player/laser.h"
#include "world/camera.h"

namespace {

// In the order of Kind: an object is named after the last kind bit it carries, its own class.
const char* const kClassNames[] = {"object",
                                   "actor",
                                   "building",
                                   "weapon",
                                   "abductable",
                                   "person",
                                   "civilian",
                                   "soldier",
                                   "cow",
                                   "matter ball",
                                   "person death",
                                   "tank",
                                   "aircraft",
                                   "duster",
                                   "super copter",
                                   "air mine",
                                   "larva",
                                   "mothership",
                                   "tank factory",
                                   "barracks",
                                   "airpad",
                                   "house",
                                   "turret",
                                   "heavy turret",
                                   "light turret",
                                   "air mine launcher",
                                   "homebase",
                                   "photon bolt",
                                   "bile spit",
                                   "air bile spit",
                                   "flak shot",
                                   "laser",
                                   "laser spinner",
                                   "laser hit",
                                   "abduction beam",
                                   "tank shot",
                                   "bullet",
                                   "photon explosion",
                                   "flak explosion",
                                   "flak explosion rad",
                                   "super flak explosion",
                                   "tank shot hit",
                                   "bullet hit",
                                   "big explosion",
                                   "egg",
                                   "bile splash",
                                   "heart spawner",
                                   "heart",
                                   "number",
                                   "radiation indicator",
                                   "button flasher",
                                   "intro unit",
                                   "intro star",
                                   "intro title",
                                   "intro missile",
                                   "intro flash",
                                   "intro survivor"};
static_assert(std::size(kClassNames) == static_cast<std::size_t>(Kind::Count));

const std::vector<FieldInfo> kGameFields = {{"random state", false},
                                            {"game state", false},
                                            {"larva matter", false},
                                            {"larva hp", false},
                                            {"larva battery", true},
                                            {"larva traits", false},
                                            {"homebase state", false},
                                            {"camera x", true},
                                            {"shake x", true},
                                            {"shake y", true},
                                            {"director mood", false},
                                            {"director timer", false},
                                            {"menu cursor", false},
                                            {"mothership x", true},
                                            {"mothership y", true},
                                            {"mission", false},
                                            {"nodes closed", false},
                                            {"military strength", true},
                                            {"fade", true},
                                            {"shots", false},
                                            {"shots hash", false},
                                            {"effects", false},
                                            {"effects hash", false},
                                            {"numbers", false},
                                            {"numbers hash", false},
                                            {"outro stars", false},
                                            {"outro stars hash", false},
                                            {"actors", false},
                                            {"actors hash", false},
                                            {"buildings", false},
                                            {"buildings hash", false}};

const std::vector<FieldInfo> kObjectFields = {
    {"class", false}, {"x", true},      {"y", true},       {"x speed", true}, {"y speed", true},
    {"hp", false},    {"state", false}, {"facing", false}, {"frame", false},  {"picture", false}};

// A float's bits (by memcpy: the WebAssembly build's standard library has no std::bit_cast).
std::uint32_t bitsOf(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}
std::uint32_t bitsOf(int value) {
    return static_cast<std::uint32_t>(value);
}

// FNV-1a over 32-bit words.
struct Hash {
    std::uint32_t value = 2166136261u;
    void add(std::uint32_t word) {
        for (int i = 0; i < 4; ++i)
            value = (value ^ ((word >> (8 * i)) & 0xFF)) * 16777619u;
    }
};

// The object's own class: the highest bit of its kinds (counted by hand: the WebAssembly build's
// standard library has no std::countl_zero).
int classOf(const Object& object) {
    int highest = 0;
    for (KindMask kinds = object.kinds >> 1; kinds; kinds >>= 1)
        ++highest;
    return highest;
}

int pictureIdOf(const TImage* image) {
    if (!image) return 0;
    const auto& catalogue = imageCatalogue();
    for (std::size_t i = 0; i < catalogue.size(); ++i)
        if (catalogue[i].handle->get() == image) return static_cast<int>(i) + 2;
    return 1; // a picture of its own: a text, a map or a screen
}

int soundIdOf(const TSound& sound) {
    const auto& catalogue = soundCatalogue();
    for (std::size_t i = 0; i < catalogue.size(); ++i)
        if (catalogue[i].handle->get() == &sound) return static_cast<int>(i) + 1;
    return 0; // a song of its own
}

DigestTaker* listening = nullptr;
std::vector<std::uint16_t> soundsHeard;

void hearSound(const TSound& sound, bool started) {
    const int id = soundIdOf(sound);
    soundsHeard.push_back(static_cast<std::uint16_t>(id << 1 | (started ? 1 : 0)));
    if (listening && started) listening->soundsPlayed.insert(soundName(id));
}

void seePicture(const TImage& image, int frame) {
    if (listening) listening->picturesDrawn.insert(pictureName(pictureIdOf(&image)));
}

// Count and hash of a list whose objects are not followed one by one.
void addListSummary(Digest& digest, int countField, const std::shared_ptr<TList>& list) {
    int count = 0;
    Hash hash;
    if (list) {
        for (const std::shared_ptr<Object>& object : *list) {
            ++count;
            const int cls = classOf(*object);
            hash.add(bitsOf(cls));
            if (auto* o = objectAs<tOnscreenObject>(object.get())) {
                const auto* actor = objectAs<tActor>(object.get());
                for (std::uint32_t word :
                     {bitsOf(o->x), bitsOf(o->y), bitsOf(o->xVel), bitsOf(o->yVel), bitsOf(o->hp),
                      bitsOf(o->frame), bitsOf(o->facing), bitsOf(actor ? actor->state : -1),
                      bitsOf(pictureIdOf(o->defaultImg.get()))})
                    hash.add(word);
            }
        }
    }
    digest.items.push_back({0, static_cast<std::uint8_t>(countField), bitsOf(count)});
    digest.items.push_back({0, static_cast<std::uint8_t>(countField + 1), hash.value});
}

} // namespace

const std::vector<FieldInfo>& gameFields() {
    return kGameFields;
}
const std::vector<FieldInfo>& objectFields() {
    return kObjectFields;
}

std::string className(int classId) {
    return classId >= 0 && classId < static_cast<int>(std::size(kClassNames)) ? kClassNames[classId] : "?";
}

std::string soundName(int soundId) {
    const auto& catalogue = soundCatalogue();
    if (soundId <= 0 || soundId > static_cast<int>(catalogue.size())) return "a song";
    std::string path = catalogue[soundId - 1].path;
    return path.substr(path.find("::") + 2);
}

std::string pictureName(int pictureId) {
    const auto& catalogue = imageCatalogue();
    if (pictureId <= 1 || pictureId - 2 >= static_cast<int>(catalogue.size()))
        return pictureId ? "a text or screen" : "none";
    std::string path = catalogue[pictureId - 2].path;
    return path.substr(path.rfind('\\') + 1);
}

float floatOf(std::uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::string formatValue(const FieldInfo& field, std::uint32_t bits) {
    char text[40];
    if (std::string_view(field.name).ends_with("hash"))
        std::snprintf(text, sizeof text, "%08x", bits);
    else if (field.isFloat)
        std::snprintf(text, sizeof text, "%.2f", static_cast<double>(floatOf(bits)));
    else
        std::snprintf(text, sizeof text, "%d", static_cast<int>(bits));
    return text;
}

DigestTaker::DigestTaker() = default;

DigestTaker::~DigestTaker() {
    if (listening == this) {
        listening = nullptr;
        ListenToSounds(nullptr);
        ListenToDraws(nullptr);
    }
}

void DigestTaker::listen() {
    listening = this;
    soundsHeard.clear();
    ListenToSounds(hearSound);
    ListenToDraws(seePicture);
}

std::uint32_t DigestTaker::numberOf(const std::shared_ptr<Object>& object) {
    auto found = numbers.find(object.get());
    if (found != numbers.end() && !found->second.object.expired()) return found->second.number;
    const auto number = static_cast<std::uint32_t>(objectClasses.size());
    objectClasses.push_back(static_cast<std::uint8_t>(classOf(*object)));
    numbers[object.get()] = {object, number};
    return number;
}

Digest DigestTaker::take(int pass, bool frameDrawn, bool detailed) {
    Digest d;
    d.detailed = detailed;
    d.pass = pass;
    d.ms = gameMillisecs();
    tProgram& game = *theProgram;
    auto put = [&](int field, std::uint32_t bits) {
        d.items.push_back({0, static_cast<std::uint8_t>(field), bits});
    };
    put(0, bitsOf(RandomState()));
    put(1, bitsOf(game.state));
    if (const auto& larva = game.player) {
        put(2, bitsOf(larva->matterBank));
        put(3, bitsOf(larva->hp));
        put(4, bitsOf(larva->battery));
        put(5, bitsOf(larva->unlockLaser | larva->unlockPhotons << 1 | larva->unlockFlak << 2 |
                      larva->unlockShield << 3 | larva->unlockSpaceWarp << 4));
    }
    if (game.playerBase) put(6, bitsOf(game.playerBase->baseState));
    if (game.camera) put(7, bitsOf(game.camera->xOffset));
    put(8, bitsOf(tShake::xOffset));
    put(9, bitsOf(tShake::yOffset));
    if (game.theAi) {
        put(10, bitsOf(game.theAi->mood));
        put(11, bitsOf(game.theAi->timer));
    }
    if (auto menu = std::dynamic_pointer_cast<tUpgradeMenu>(game.currentMenu); menu && menu->cursor)
        put(12, bitsOf(menu->cursor->buttonIndex));
    if (game.mapScreen && game.mapScreen->dazozuzo) {
        put(13, bitsOf(game.mapScreen->dazozuzo->x));
        put(14, bitsOf(game.mapScreen->dazozuzo->y));
    }
    if (game.worldData) {
        put(15, bitsOf(game.worldData->currentMissionId));
        int closed = 0;
        for (int i = 0; i < tPersistence::kMissionCount; ++i)
            closed |= (game.worldData->getLock(i) != 0) << i;
        put(16, bitsOf(closed));
    }
    put(17, bitsOf(game.militaryStrength));
    if (game.blackScreen) put(18, bitsOf(game.blackScreenAlpha));
    addListSummary(d, 19, game.weaponList);
    addListSummary(d, 21, game.fxList);
    addListSummary(d, 23, game.messages);
    if (game.outro && game.outro->stars) addListSummary(d, 25, game.outro->stars);
    addListSummary(d, 27, game.actorList);
    addListSummary(d, 29, game.buildingList);

    for (const auto* list : {&game.actorList, &game.buildingList}) {
        if (!*list || !detailed) continue;
        for (const std::shared_ptr<Object>& object : **list) {
            auto* o = objectAs<tOnscreenObject>(object.get());
            if (!o) continue;
            const std::uint32_t n = numberOf(object);
            const auto* actor = objectAs<tActor>(object.get());
            const int cls = classOf(*object);
            const std::uint32_t values[] = {bitsOf(cls),
                                            bitsOf(o->x),
                                            bitsOf(o->y),
                                            bitsOf(o->xVel),
                                            bitsOf(o->yVel),
                                            bitsOf(o->hp),
                                            bitsOf(actor ? actor->state : -1),
                                            bitsOf(o->facing),
                                            bitsOf(o->frame),
                                            bitsOf(pictureIdOf(o->defaultImg.get()))};
            for (std::size_t f = 0; f < std::size(values); ++f)
                d.items.push_back({n, static_cast<std::uint8_t>(f), values[f]});
        }
    }
    // Forget objects that are gone, so their addresses may serve new ones.
    std::erase_if(numbers, [](const auto& entry) { return entry.second.object.expired(); });
    d.sounds = std::move(soundsHeard);
    soundsHeard.clear();
    d.hasFrame = frameDrawn;
    if (frameDrawn) d.frameHash = frameHash();
    for (int cls = 0; cls < static_cast<int>(std::size(statesSeen)); ++cls)
        for (int bit = 0; bit < 32; ++bit)
            if (statesSeen[cls] >> bit & 1)
                classesSeen.insert(className(cls) + (bit ? " " + std::to_string(bit - 1) : ""));
    return d;
}

void DigestTaker::noteList(const std::shared_ptr<TList>& list) {
    if (!list) return;
    list->scan<tOnscreenObject>([&](tOnscreenObject* object) {
        const int cls = classOf(*object);
        int state = -1;
        if (const auto* actor = objectAs<tActor>(object))
            state = actor->state;
        else if (const auto* base = objectAs<tHomebase>(object))
            state = base->baseState;
        else if (const auto* laser = objectAs<tLaser>(object); laser && laser->spinnerEffect)
            statesSeen[static_cast<int>(Kind::LaserSpinner)] |= 1; // the laser updates and draws it
        statesSeen[cls] |= state >= 0 && state < 31 ? 2u << state : 1u;
    });
}

void DigestTaker::notePass() {
    const tProgram& game = *theProgram;
    for (const auto* list :
         {&game.weaponList, &game.fxList, &game.messages, &game.actorList, &game.buildingList})
        noteList(*list);
    if (game.outro) noteList(game.outro->stars);
    if (game.mapScreen && game.mapScreen->buttonFlasher)
        statesSeen[static_cast<int>(Kind::ButtonFlasher)] |= 1;
    if (game.mapScreen && game.mapScreen->dazozuzo) statesSeen[static_cast<int>(Kind::MapDazozuzo)] |= 1;
}

std::uint32_t frameHash() {
    const int w = GraphicsWidth(), h = GraphicsHeight();
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * h);
    if (!ReadBackBuffer(0, 0, w, h, pixels.data())) return 0;
    Hash hash;
    for (std::uint32_t p : pixels)
        hash.add(p);
    return hash.value;
}
