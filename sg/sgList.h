// Growable array of untyped pointers. It owns its slots, never the items.
#pragma once

class sgList {
public:
    sgList();
    explicit sgList(int n);
    ~sgList();
    sgList(const sgList&) = delete;
    sgList& operator=(const sgList&) = delete;

    // Returns 1 when the item was stored, 0 when the list could not grow.
    int append(void* item);
    // Valid for 0 <= index <= top; returns 1 when inserted.
    int insert(int index, void* item);
    void* get(int index) const;
    void set(int index, void* item);
    void removeIndex(int index);
    void fastRemoveIndex(int index);
    int find(const void* item) const;
    int remove(void* item);
    int fastRemove(void* item);
    int replace(void* oldItem, void* newItem);
    int getTop() const { return top_; }
    int getCapacity() const { return capacity_; }

    // Typed access for callers that know what they stored.
    template <class T> T* getAs(int index) const { return static_cast<T*>(get(index)); }

private:
    int grow();
    bool inRange(int index) const { return index >= 0 && index <= top_; }

    int capacity_ = 0;
    int top_ = -1;
    void** items_ = nullptr;
};

// The lists' message for an item that is not there; gives remove's -1.
int sgListItemMissing();
