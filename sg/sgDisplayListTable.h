// Program-wide table from selection names to geometry sets, filled while the
// scene is drawn in GL_SELECT mode and read by picking.
//
// Each set drawn for selection is entered under a name of its own (not its
// display-list id): a copied set shares its list with the original, and a pick
// must still tell the two apart.
#pragma once

#include <vector>

class sgGeoSet;

class sgDisplayListTable {
public:
    // Replaces the set of an existing id or appends an entry. 1 done.
    int addDisplayList(int id, sgGeoSet* set);
    // The set entered under id, or null.
    sgGeoSet* find(int id) const;
    // Enters the set under a new name and returns the name (1, 2, ...).
    int addPickName(sgGeoSet* set);
    // Drops every entry of the set (a set leaves the table when deleted).
    void removeGeoSet(const sgGeoSet* set);
    // Empties the table and restarts the names (each pick starts afresh).
    void clear();

private:
    struct Entry {
        int id;
        sgGeoSet* set;
    };
    std::vector<Entry> entries_;
    int lastName_ = 0;
};

sgDisplayListTable& sgGetDisplayListTable();
