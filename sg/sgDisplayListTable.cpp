#include "sg/sgDisplayListTable.h"

#include <algorithm>

int sgDisplayListTable::addDisplayList(int id, sgGeoSet* set) {
    for (Entry& e : entries_) {
        if (e.id == id) {
            e.set = set;
            return 1;
        }
    }
    entries_.push_back(Entry{id, set});
    return 1;
}

sgGeoSet* sgDisplayListTable::find(int id) const {
    for (const Entry& e : entries_)
        if (e.id == id) return e.set;
    return nullptr;
}

int sgDisplayListTable::addPickName(sgGeoSet* set) {
    // Names stay positive; after a wrap the table restarts.
    if (lastName_ == 0x7fffffff) clear();
    int name = ++lastName_;
    entries_.push_back(Entry{name, set});
    return name;
}

void sgDisplayListTable::removeGeoSet(const sgGeoSet* set) {
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(), [set](const Entry& e) { return e.set == set; }),
                   entries_.end());
}

void sgDisplayListTable::clear() {
    entries_.clear();
    lastName_ = 0;
}

sgDisplayListTable& sgGetDisplayListTable() {
    static sgDisplayListTable table;
    return table;
}
