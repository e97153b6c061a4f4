#pragma once
#include <cstdint>
#include <type_traits>

// Root class of everything a TList holds.
//
// Typed list walks must be cheap (many actors search the whole actor list every pass), so instead of
// dynamic_cast each object carries a bit mask of the classes it is: every class that lists are walked
// by has `static constexpr KindMask kKind`, its own bit, which is in `kinds` of each of its objects
// (the game's classes get both from tKinded in game/object_kinds.h). `objectAs<T>` is then one AND
// and a static_cast.
using KindMask = std::uint64_t;

class Object {
  public:
    virtual ~Object() = default;
    KindMask kinds = 0;
};

// The object as a T when it is one (or derives from one), else null. T must declare kKind.
template <class T> T* objectAs(Object* object) {
    // A class that names the owner of its kind bit must be that owner: one that inherited its base's
    // bit would pick up every object of the base.
    if constexpr (requires { typename T::KindOwner; })
        static_assert(std::is_same_v<typename T::KindOwner, T>,
                      "a class walked over needs a kind bit of its own");
    return object && (object->kinds & T::kKind) ? static_cast<T*>(object) : nullptr;
}
