// Attribute records (vertex, normal and texture-coordinate arrays addressed
// through index lists) with the display list compiled from them. A set of
// records shared by several geometry sets is reference-counted; the display
// list compiled from shared records belongs to the shared set and is deleted
// once, when its last user lets go.
#pragma once

#include <cstddef>
#include <vector>

struct sgAttrRecord {
    int key = 0;                  // GL_VERTEX_ARRAY, GL_NORMAL_ARRAY or GL_TEXTURE_COORD_ARRAY
    bool isDouble = false;        // which of the two arrays holds the data
    std::vector<float> floats;
    std::vector<double> doubles;
    std::vector<int> index;

    std::size_t size() const { return isDouble ? doubles.size() : floats.size(); }
};

class sgAttrSet {
public:
    sgAttrSet() = default;
    // Deletes the display list when its id is > 0.
    virtual ~sgAttrSet();
    sgAttrSet(const sgAttrSet&) = delete;
    sgAttrSet& operator=(const sgAttrSet&) = delete;

    // Deletes the list when id > 0 and sets -1.
    void deleteDisplayList();
    int getDisplayList() const { return displayList_; }

    int getAttrCount() const { return static_cast<int>(attrs_.size()); }
    const sgAttrRecord* findAttr(int key) const;

    int getRefCount() const { return refCount_; }
    void ref() { ++refCount_; }
    // Drops one reference and deletes the set when none is left.
    static void unref(sgAttrSet* set);

protected:
    // Replaces the record with this key or appends one.
    void storeAttr(sgAttrRecord&& record);

    std::vector<sgAttrRecord> attrs_;
    int displayList_ = -1;
    int refCount_ = 1;

    friend class sgGeoSet;
};
