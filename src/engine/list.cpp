#include "engine/list.h"

#include <algorithm>

void TLink::Remove() {
    if (_list) _list->unlink(this);
}

namespace {
// One counter for every list, so no two states of any two lists share a stamp.
std::uint64_t lastStamp = 0;
} // namespace

void TList::touch() {
    _stamp = ++lastStamp;
}

TList::TList() : _head(std::make_shared<TLink>()) {
    touch();
}

TList::~TList() {
    // A walk may still stand on a link of this list: `for (auto& a : makeSquad()->typed<tActor>())` walks
    // a list that dies before the loop body runs. Such a walk keeps the rest of the chain, values included,
    // and goes on to its end; the links merely stop belonging to a list.
    for (TLink* link = _head->_succ.get(); link; link = link->_succ.get())
        link->_list = nullptr;
    // Free the links nobody else holds one at a time, so a long list does not unwind recursively.
    std::shared_ptr<TLink> next = std::move(_head->_succ);
    while (next && next.use_count() == 1) {
        std::shared_ptr<TLink> succ = std::move(next->_succ);
        next = std::move(succ);
    }
}

std::shared_ptr<TLink> TList::AddLast(std::shared_ptr<Object> value) {
    auto link = std::make_shared<TLink>();
    link->_value = std::move(value);
    link->_list = this;
    TLink* last = _head->_pred ? _head->_pred : _head.get();
    link->_pred = last;
    last->_succ = link;
    _head->_pred = link.get();
    for (const std::weak_ptr<TLink>& removed : _removedTails)
        if (std::shared_ptr<TLink> tail = removed.lock()) tail->_succ = link;
    _removedTails.clear();
    ++_count;
    touch();
    return link;
}

std::shared_ptr<TLink> TList::AddFirst(std::shared_ptr<Object> value) {
    auto link = std::make_shared<TLink>();
    link->_value = std::move(value);
    link->_list = this;
    link->_pred = _head.get();
    link->_succ = _head->_succ;
    if (link->_succ) {
        link->_succ->_pred = link.get();
    } else {
        _head->_pred = link.get();
    }
    _head->_succ = link;
    ++_count;
    touch();
    return link;
}

void TList::unlink(TLink* link) {
    // Keep the link alive until it is fully detached: its predecessor may hold the only reference.
    std::shared_ptr<TLink> self = link->_pred->_succ;
    TLink* pred = link->_pred;
    if (link->_succ) {
        link->_succ->_pred = pred;
    } else {
        _head->_pred = pred == _head.get() ? nullptr : pred;
    }
    pred->_succ = link->_succ; // the removed link keeps its successor for walks standing on it
    link->_list = nullptr;
    // Held elsewhere (a walk standing on it) and last: it must lead on to what is appended later.
    if (!link->_succ && self.use_count() > 1) {
        std::erase_if(_removedTails, [](const std::weak_ptr<TLink>& removed) { return removed.expired(); });
        _removedTails.push_back(self);
    }
    --_count;
    touch();
    // The value may hold the last reference to an object whose destructor touches this list again:
    // let it go only when the list is consistent.
    std::shared_ptr<Object> value = std::move(link->_value);
    link->_value = nullptr;
}

bool TList::Remove(const Object* value) {
    for (TLink* link = _head->_succ.get(); link; link = link->_succ.get()) {
        if (link->_value.get() == value) {
            unlink(link);
            return true;
        }
    }
    return false;
}

bool TList::Contains(const Object* value) const {
    for (TLink* link = _head->_succ.get(); link; link = link->_succ.get()) {
        if (link->_value.get() == value) return true;
    }
    return false;
}

void TList::Clear() {
    // Unlink one by one from the front: iterative, so a long list does not unwind recursively.
    while (_head->_succ) {
        std::shared_ptr<TLink> first = _head->_succ;
        unlink(first.get());
    }
    _removedTails.clear(); // walks in progress end here, whatever is added next
    _count = 0;
}

std::vector<std::shared_ptr<TLink>> TList::liveLinks() const {
    std::vector<std::shared_ptr<TLink>> links;
    links.reserve(static_cast<std::size_t>(_count));
    for (std::shared_ptr<TLink> link = _head->_succ; link; link = link->_succ)
        links.push_back(link);
    return links;
}

void TList::relink(const std::vector<std::shared_ptr<TLink>>& links) {
    TLink* pred = _head.get();
    _head->_succ.reset();
    for (const std::shared_ptr<TLink>& link : links) {
        link->_pred = pred;
        link->_succ.reset();
        pred->_succ = link;
        pred = link.get();
    }
    _head->_pred = pred == _head.get() ? nullptr : pred;
    touch();
}

void TList::Reverse() {
    std::vector<std::shared_ptr<TLink>> links = liveLinks();
    std::reverse(links.begin(), links.end());
    relink(links);
}

void TList::Sort(bool ascending, const Compare& compare) {
    if (_count < 2 || !compare) return;
    std::vector<std::shared_ptr<TLink>> links = liveLinks();
    // std::stable_sort is a merge sort: equal elements keep their order in both directions.
    std::stable_sort(links.begin(), links.end(),
                     [&](const std::shared_ptr<TLink>& a, const std::shared_ptr<TLink>& b) {
                         int order = compare(a->_value, b->_value);
                         return ascending ? order < 0 : order > 0;
                     });
    relink(links);
}

std::shared_ptr<Object> TList::First() const {
    return _head->_succ ? _head->_succ->_value : nullptr;
}

std::shared_ptr<Object> TList::Last() const {
    return _head->_pred ? _head->_pred->_value : nullptr;
}

std::vector<std::shared_ptr<Object>> TList::ToVector() const {
    std::vector<std::shared_ptr<Object>> values;
    values.reserve(static_cast<std::size_t>(_count));
    for (TLink* link = _head->_succ.get(); link; link = link->_succ.get())
        values.push_back(link->_value);
    return values;
}
