#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <type_traits>
#include <vector>

#include "engine/object.h"

// The game's ordered object list: doubly linked and circular behind a sentinel head.
//
// Removing a link nulls its value and joins its neighbours, but the removed link keeps its successor,
// so a walk may remove the element it is visiting (or any other) and carries on with the next live
// one. Links are shared: a walk keeps the link it stands on alive even after it left the list, and the
// walk hands out a strong reference to the visited value, so an object that removes itself from its
// list inside its own update is not freed while that update runs.
//
// Ownership: each link owns its successor; the head owns the first link. A link whose successor is the
// head holds no pointer (null), so there is no ownership cycle and null ends a walk. A link removed while
// it was the last one is given the next link appended, so a walk standing on it reaches what was added
// after it (until the list is cleared).
class TList;

class TLink {
  public:
    std::shared_ptr<Object> _value;
    std::shared_ptr<TLink> _succ; // null: the head comes next
    TLink* _pred = nullptr;

    // Removes this link from its list (nothing when it was removed already).
    void Remove();
    bool InList() const { return _list != nullptr; }
    const std::shared_ptr<Object>& Value() const { return _value; }

  private:
    friend class TList;
    TList* _list = nullptr;
};

class TList {
  public:
    using Compare = std::function<int(const std::shared_ptr<Object>&, const std::shared_ptr<Object>&)>;

    TList();
    ~TList();
    TList(const TList&) = delete;
    TList& operator=(const TList&) = delete;

    // Appends value and answers its link.
    std::shared_ptr<TLink> AddLast(std::shared_ptr<Object> value);
    std::shared_ptr<TLink> AddFirst(std::shared_ptr<Object> value);
    // Removes the first link whose value is this object (identity); false when absent.
    bool Remove(const Object* value);
    bool Remove(const std::shared_ptr<Object>& value) { return Remove(value.get()); }
    bool Contains(const Object* value) const;
    int Count() const { return _count; }
    // Changes whenever the list's membership or order changes, and differs between lists: a cache
    // built from a list's contents stays good while the stamp it was built at is the list's stamp.
    std::uint64_t Stamp() const { return _stamp; }
    bool IsEmpty() const { return _count == 0; }
    // Removes every link (their values become null; walks in progress end).
    void Clear();
    // Reverses the order in place (links keep their identity).
    void Reverse();
    // Stable merge sort of the links by compare (negative, zero, positive); descending when !ascending.
    void Sort(bool ascending, const Compare& compare);
    std::shared_ptr<Object> First() const;
    std::shared_ptr<Object> Last() const;
    // The live values in order.
    std::vector<std::shared_ptr<Object>> ToVector() const;

    // Walks every live value in order. The iterator holds the link it stands on and a strong reference
    // to its value; null values (removed links) are skipped. The successor is read when stepping, so
    // removing the visited, the next or an earlier element during the walk is safe.
    template <class T> class Iterator {
      public:
        using value_type = std::shared_ptr<T>;
        Iterator() = default;
        explicit Iterator(std::shared_ptr<TLink> link) : _link(std::move(link)) { settle(); }
        const std::shared_ptr<T>& operator*() const { return _current; }
        const std::shared_ptr<T>* operator->() const { return &_current; }
        Iterator& operator++() {
            TLink* at = _link.get();
            if (!at) return *this;
            // Skip to the next match along plain pointers (nothing runs meanwhile that could change the
            // list), then take one reference to the link found: walks over long mixed lists stay cheap.
            for (TLink* prev = at; TLink* next = prev->_succ.get(); prev = next) {
                if (matches(next)) {
                    _link = prev->_succ;
                    hold();
                    return *this;
                }
            }
            _link.reset();
            _current.reset();
            return *this;
        }
        bool operator==(const Iterator& other) const { return _link == other._link; }
        bool operator!=(const Iterator& other) const { return _link != other._link; }

      private:
        static bool matches(const TLink* link) {
            if constexpr (std::is_same_v<T, Object>) {
                return link->_value != nullptr;
            } else {
                return objectAs<T>(link->_value.get()) != nullptr;
            }
        }
        // Takes a strong reference to the value of the link we stand on.
        void hold() {
            if constexpr (std::is_same_v<T, Object>) {
                _current = _link->_value;
            } else {
                _current = std::shared_ptr<T>(_link->_value, objectAs<T>(_link->_value.get()));
            }
        }
        // Moves forward from the starting link to the first whose value is a T.
        void settle() {
            if (!_link || matches(_link.get())) {
                if (_link) hold();
                return;
            }
            ++*this;
        }
        std::shared_ptr<TLink> _link;
        std::shared_ptr<T> _current;
    };

    template <class T> class Range {
      public:
        explicit Range(std::shared_ptr<TLink> first) : _first(std::move(first)) {}
        Iterator<T> begin() const { return Iterator<T>(_first); }
        Iterator<T> end() const { return Iterator<T>(); }

      private:
        std::shared_ptr<TLink> _first;
    };

    // for (const std::shared_ptr<Object>& o : list) ...
    Iterator<Object> begin() const { return Iterator<Object>(_head->_succ); }
    Iterator<Object> end() const { return Iterator<Object>(); }
    // for (const std::shared_ptr<tTank>& tank : list.typed<tTank>()) ... skips other classes and nulls.
    template <class T> Range<T> typed() const { return Range<T>(_head->_succ); }
    // list.each<tTank>([](const std::shared_ptr<tTank>& tank) { ... });
    template <class T, class F> void each(F&& body) const {
        for (Iterator<T> it(_head->_succ), end; it != end; ++it) {
            std::shared_ptr<T> held = *it; // keeps the object alive even if the body drops the last reference
            body(held);
        }
    }
    // Visits every live value that is a T, in order, as a plain pointer, taking no references: the
    // cheap walk for searches. The body must not add to or remove from this list, nor drop objects
    // (a search that finds something acts on it after the scan).
    template <class T, class F> void scan(F&& body) const {
        for (const TLink* link = _head->_succ.get(); link; link = link->_succ.get())
            if (T* typed = objectAs<T>(link->_value.get())) body(typed);
    }

  private:
    friend class TLink;
    void unlink(TLink* link);
    std::vector<std::shared_ptr<TLink>> liveLinks() const;
    void relink(const std::vector<std::shared_ptr<TLink>>& links);

    void touch();

    std::shared_ptr<TLink> _head; // sentinel; _head->_succ is the first link, _head->_pred the last
    // Links removed while last that a walk may still stand on: the next AddLast becomes their successor.
    std::vector<std::weak_ptr<TLink>> _removedTails;
    int _count = 0;
    std::uint64_t _stamp = 0;
};
