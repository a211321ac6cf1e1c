// A scene list: the list operations of the scene's seven lists (append,
// insert, get, remove, index-of) over items of one type. An owning list
// deletes what it holds through the item's own type when it is cleared or
// goes; taking an item out hands it back to the caller. The chart list only
// points into the object list.
#pragma once

#include <cstdio>
#include <memory>
#include <new>
#include <type_traits>
#include <vector>

#include "sg/sgList.h"

template <class T, bool Owning = true>
class pnItemList {
public:
    pnItemList() = default;
    ~pnItemList() { clear(); }
    pnItemList(const pnItemList&) = delete;
    pnItemList& operator=(const pnItemList&) = delete;

    // 1 when the item was stored, 0 when the list could not grow.
    int append(T* item) { return insert(count(), item, false); }
    // Valid for 0 <= index <= top.
    int insert(int index, T* item) { return insert(index, item, true); }
    // Null (and the list's message) out of range.
    T* get(int index) const {
        if (!inRange(index)) {
            std::fputs("MERAK: index out of range [sgList::get]\n", stderr);
            return nullptr;
        }
        return raw(items[static_cast<size_t>(index)]);
    }
    // Takes the item out; the caller has it back.
    void removeIndex(int index) {
        if (!inRange(index)) {
            std::fputs("MERAK: index out of range [sgList::removeIndex]\n", stderr);
            return;
        }
        auto at = items.begin() + index;
        if constexpr (Owning) at->release();
        items.erase(at);
    }
    // The index the item had, -1 when it was not in the list.
    int remove(const T* item) {
        int i = find(item);
        if (i < 0) return sgListItemMissing();
        removeIndex(i);
        return i;
    }
    // Moves an item of the list to position (appended when past the end);
    // 0 when the item is not in the list.
    int move(const T* item, int position) {
        const int from = find(item);
        if (from < 0 || position < 0) return 0;
        T* held = get(from);
        removeIndex(from);
        return position >= count() ? append(held) : insert(position, held);
    }
    int find(const T* item) const {
        for (size_t i = 0; i < items.size(); ++i)
            if (raw(items[i]) == item) return static_cast<int>(i);
        return -1;
    }
    int getTop() const { return count() - 1; }
    int count() const { return static_cast<int>(items.size()); }
    // Empties the list; an owning list deletes its items, last first.
    void clear() {
        while (!items.empty()) {
            // Out of the list before it goes, so its destructor sees a whole list.
            Slot last = std::move(items.back());
            items.pop_back();
            (void)last;
        }
    }

private:
    using Slot = std::conditional_t<Owning, std::unique_ptr<T>, T*>;
    static T* raw(const std::unique_ptr<T>& p) { return p.get(); }
    static T* raw(T* p) { return p; }
    bool inRange(int index) const { return index >= 0 && index < count(); }

    int insert(int index, T* item, bool checked) {
        if (checked && !inRange(index)) {
            std::fputs("MERAK: index out of range [sgList::insert]\n", stderr);
            return 0;
        }
        try {
            // Room first: once the slot holds the item, nothing can throw.
            if (items.size() == items.capacity()) items.reserve(items.empty() ? 4 : items.capacity() * 2);
        } catch (const std::bad_alloc&) {
            std::fputs("MERAK: memory allocation error [sgList]\n", stderr);
            return 0;
        }
        items.emplace(items.begin() + index, item);
        return 1;
    }

    std::vector<Slot> items;
};
