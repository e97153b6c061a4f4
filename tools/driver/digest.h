#pragma once
// A digest: what the game is at one moment, as numbered values that a replay keeps and compares.
//
// Value 0 of the objects is the game itself (the random generator, the game state, the larva's matter,
// health, battery and traits, the homebase's state, the camera, the shake, the director's mood and
// timer, the menu's cursor, the map's mothership, the military strength, the fade, and one count and
// one hash for each of the lists of shots, effects and floating numbers, whose objects live too briefly
// to be followed one by one), and the same for the actors and the buildings. In a detailed digest every
// actor and building is also an object of its own, numbered in the order it was first seen (#12), with
// its class, position, speed, hit points, state, facing, frame and picture. A digest also holds the hash of
// the frame drawn just before it (when one was drawn) and the sounds started and stopped since the last one.
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

class Object;
class TList;

struct DigestItem {
    std::uint32_t object = 0; // 0: the game
    std::uint8_t field = 0;   // into gameFields() or objectFields()
    std::uint32_t bits = 0;   // the value: an int, a float's bits or a hash
    bool operator==(const DigestItem&) const = default;
};

struct Digest {
    int pass = 0;                      // the pass after which it was taken
    int ms = 0;                        // game clock
    std::vector<DigestItem> items;     // by object, then field
    std::vector<std::uint16_t> sounds; // (sound id << 1) | started
    bool hasFrame = false;
    std::uint32_t frameHash = 0;
    // Actors and buildings one by one; the others sum them up in a count and a hash per list.
    bool detailed = false;
    bool operator==(const Digest&) const = default;
};

struct FieldInfo {
    const char* name;
    bool isFloat;
};
const std::vector<FieldInfo>& gameFields();
const std::vector<FieldInfo>& objectFields();
std::string className(int classId);
std::string soundName(int soundId);
std::string pictureName(int pictureId);
// A value as the messages write it.
std::string formatValue(const FieldInfo& field, std::uint32_t bits);

// Takes digests of the running game and gathers what was seen for the coverage line.
class DigestTaker {
  public:
    DigestTaker();
    ~DigestTaker();
    DigestTaker(const DigestTaker&) = delete;
    DigestTaker& operator=(const DigestTaker&) = delete;

    // Starts the sound and picture listeners (one taker at a time).
    void listen();
    // Notes the classes and states on the battlefield now (every pass: a knockback lasts a quarter
    // of a second, a digest comes once a second).
    void notePass();
    Digest take(int pass, bool frameDrawn, bool detailed);
    // Class of each object number handed out so far (index: object number).
    std::vector<std::uint8_t> objectClasses{0};

    // Coverage: class names with the states seen ("duster 4"; an actor's state, the homebase's
    // baseState, no number for classes without states), sounds played, pictures drawn. classesSeen
    // holds what notePass saw up to the last digest taken.
    std::set<std::string> classesSeen;
    std::set<std::string> soundsPlayed;
    std::set<std::string> picturesDrawn;

  private:
    struct Seen {
        std::weak_ptr<Object> object;
        std::uint32_t number;
    };
    std::map<const Object*, Seen> numbers; // looked up only: ids follow the order objects are seen
    // Bit s + 1 of statesSeen[class]: seen in state s; bit 0: seen, a class without states.
    std::uint32_t statesSeen[64] = {};
    void noteList(const std::shared_ptr<TList>& list);
    std::uint32_t numberOf(const std::shared_ptr<Object>& object);
};

// The hash of the back buffer as drawn.
std::uint32_t frameHash();
