#pragma once
#include <cstdint>

// Root class of everything a TList holds.
//
// Typed list walks must be cheap (many actors search the whole actor list every pass), so instead of
// dynamic_cast each object carries a bit mask of the classes it is: every class that lists are walked
// by declares `static constexpr KindMask kKind` (one bit from game/object_kinds.h) and ORs it into
// `kinds` in its constructor. `objectAs<T>` is then one AND and a static_cast.
using KindMask = std::uint64_t;

class Object {
  public:
    virtual ~Object() = default;
    KindMask kinds = 0;
};

// The object as a T when it is one (or derives from one), else null. T must declare kKind.
template <class T> T* objectAs(Object* object) {
    return object && (object->kinds & T::kKind) ? static_cast<T*>(object) : nullptr;
}
