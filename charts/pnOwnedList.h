// A chart's list of generated items that it owns: the pointer list of the
// scene-graph library (its order, its growth and its messages for a bad
// index or an item it does not hold) holding items of one type, which it
// deletes as that type. Items come in and leave as unique_ptr.
#pragma once

#include <memory>

#include "sg/sgList.h"

template <class T>
class pnOwnedList {
public:
    pnOwnedList() : list(8) {}
    ~pnOwnedList() { clear(); }
    pnOwnedList(const pnOwnedList&) = delete;
    pnOwnedList& operator=(const pnOwnedList&) = delete;

    int size() const { return list.getTop() + 1; }
    // Item k; out of range the list's message and null.
    T* get(int k) const { return list.getAs<T>(k); }
    // Item k, or null out of range without a message.
    T* at(int k) const { return k >= 0 && k < size() ? list.getAs<T>(k) : nullptr; }
    int find(const T* item) const { return item ? list.find(item) : -1; }

    // 1 when the item was taken; else it is deleted and 0.
    int append(std::unique_ptr<T> item) {
        if (!item || !list.append(item.get())) return 0;
        item.release();
        return 1;
    }
    // Takes item out of the list and hands it back, keeping the order of the
    // rest; an item the list does not hold is reported and gives null.
    std::unique_ptr<T> take(T* item) {
        if (list.remove(item) < 0) return nullptr;
        return std::unique_ptr<T>(item);
    }
    // Puts item in slot k and hands back the one that was there (null out of
    // range, where item is deleted).
    std::unique_ptr<T> replace(int k, std::unique_ptr<T> item) {
        T* old = at(k);
        if (!old || !item) return nullptr;
        list.set(k, item.release());
        return std::unique_ptr<T>(old);
    }
    // Deletes every item, last to first.
    void clear() {
        for (int k = size() - 1; k >= 0; --k) {
            T* item = list.getAs<T>(k);
            list.removeIndex(k);
            delete item;
        }
    }

private:
    sgList list;
};
