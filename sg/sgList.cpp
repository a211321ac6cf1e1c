#include "sg/sgList.h"

#include <cstdio>
#include <new>

sgList::sgList() : sgList(4) {}

sgList::sgList(int n) {
    // A list always has a slot, so the first append never writes past the array.
    capacity_ = n > 0 ? n : 1;
    items_ = new (std::nothrow) void*[capacity_]();
    if (!items_) {
        std::fputs("MERAK: memory allocation error [sgList]\n", stderr);
        capacity_ = 0;
    }
}

sgList::~sgList() { delete[] items_; }

int sgList::grow() {
    int newCapacity = capacity_ * 2 > 4 ? capacity_ * 2 : 4;
    void** bigger = new (std::nothrow) void*[newCapacity]();
    if (!bigger) {
        std::fputs("MERAK: memory allocation error [sgList]\n", stderr);
        return 0;
    }
    for (int i = 0; i <= top_; ++i) bigger[i] = items_[i];
    delete[] items_;
    items_ = bigger;
    capacity_ = newCapacity;
    return 1;
}

int sgList::append(void* item) {
    if (top_ + 1 >= capacity_ && !grow()) return 0;
    items_[++top_] = item;
    return 1;
}

int sgList::insert(int index, void* item) {
    if (!inRange(index)) {
        std::fputs("MERAK: index out of range [sgList::insert]\n", stderr);
        return 0;
    }
    if (top_ + 1 >= capacity_ && !grow()) return 0;
    for (int i = top_; i >= index; --i) items_[i + 1] = items_[i];
    items_[index] = item;
    ++top_;
    return 1;
}

void* sgList::get(int index) const {
    if (!inRange(index)) {
        std::fputs("MERAK: index out of range [sgList::get]\n", stderr);
        return nullptr;
    }
    return items_[index];
}

void sgList::set(int index, void* item) {
    if (!inRange(index)) {
        std::fputs("MERAK: index out of range [sgList::set]\n", stderr);
        return;
    }
    items_[index] = item;
}

void sgList::removeIndex(int index) {
    if (!inRange(index)) {
        std::fputs("MERAK: index out of range [sgList::removeIndex]\n", stderr);
        return;
    }
    for (int i = index; i < top_; ++i) items_[i] = items_[i + 1];
    items_[top_--] = nullptr;
}

void sgList::fastRemoveIndex(int index) {
    if (!inRange(index)) {
        std::fputs("MERAK: index out of range [sgList::fastRemoveIndex]\n", stderr);
        return;
    }
    items_[index] = items_[top_];
    items_[top_--] = nullptr;
}

int sgList::find(const void* item) const {
    for (int i = 0; i <= top_; ++i)
        if (items_[i] == item) return i;
    return -1;
}

int sgListItemMissing() {
    std::fputs("MERAK: element not exist in list [sgList]\n", stderr);
    return -1;
}

int sgList::remove(void* item) {
    int i = find(item);
    if (i < 0) return sgListItemMissing();
    removeIndex(i);
    return i;
}

int sgList::fastRemove(void* item) {
    int i = find(item);
    if (i < 0) return sgListItemMissing();
    fastRemoveIndex(i);
    return i;
}

int sgList::replace(void* oldItem, void* newItem) {
    int i = find(oldItem);
    if (i >= 0) items_[i] = newItem;
    return i;
}
