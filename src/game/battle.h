#pragma once
#include <memory>

#include "engine/list.h"
#include "engine/sound.h"
#include "game/program.h"

// The one way the game adds to and leaves the battlefield lists of theProgram (nothing happens while
// there is no battlefield) and plays a sound from the catalogue on a fresh channel.
namespace battle {

inline TList* list(std::shared_ptr<TList> tProgram::*which) {
    return theProgram && (theProgram.get()->*which) ? (theProgram.get()->*which).get() : nullptr;
}

inline void addTo(std::shared_ptr<TList> tProgram::*which, std::shared_ptr<Object> object) {
    if (TList* target = list(which)) target->AddLast(std::move(object));
}

inline void removeFrom(std::shared_ptr<TList> tProgram::*which, const Object* object) {
    if (TList* target = list(which)) target->Remove(object);
}

inline void addFx(std::shared_ptr<Object> object) {
    addTo(&tProgram::fxList, std::move(object));
}
inline void addWeapon(std::shared_ptr<Object> object) {
    addTo(&tProgram::weaponList, std::move(object));
}
inline void addBuilding(std::shared_ptr<Object> object) {
    addTo(&tProgram::buildingList, std::move(object));
}
inline void addActor(std::shared_ptr<Object> object) {
    addTo(&tProgram::actorList, std::move(object));
}
inline void addMessage(std::shared_ptr<Object> object) {
    addTo(&tProgram::messages, std::move(object));
}

// Plays a sound once (or looping, by its own flag) on a fresh channel; null when there is no sound.
inline std::shared_ptr<TChannel> play(const std::shared_ptr<TSound>& sound) {
    return sound ? sound->Play() : nullptr;
}

} // namespace battle
