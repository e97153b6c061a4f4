#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "engine/list.h"

// The objects of a list that fight for another side than a given faction, in list order.
//
// Every unit, turret and air mine looks for the nearest opponent several times a second, and on a
// crowded battlefield almost everything it would walk past is on its own side. The roster is taken
// once per change of the list (its stamp) and side, so a search only looks at the few opponents.
// A side is fixed from the moment an object is on the battlefield (every Create sets it before the
// object is added to a list). The pointers are good until the list changes again: a search reads
// the roster and acts on its pick after it is done.
template <class T> class tFactionRoster {
  public:
    static const std::vector<T*>& opponentsOf(const TList& list, int faction) {
        for (Entry& entry : entries)
            if (entry.list == &list && entry.stamp == list.Stamp() && entry.faction == faction)
                return entry.objects;
        Entry& entry = entries[next];
        next = (next + 1) % entries.size();
        entry.list = &list;
        entry.stamp = list.Stamp();
        entry.faction = faction;
        entry.objects.clear();
        list.scan<T>([&](T* object) {
            if (object->faction != faction) entry.objects.push_back(object);
        });
        return entry.objects;
    }

  private:
    struct Entry {
        const TList* list = nullptr;
        std::uint64_t stamp = 0;
        int faction = 0;
        std::vector<T*> objects;
    };
    // The two sides searching the two lists fit without thrashing.
    static inline std::array<Entry, 4> entries{};
    static inline std::size_t next = 0;
};
