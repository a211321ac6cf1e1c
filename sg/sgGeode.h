// Leaf node holding geometry sets. It owns them and deletes them with itself.
#pragma once

#include <vector>

#include "sg/sgNode.h"

class sgGeoSet;

class sgGeode : public sgNode {
public:
    sgGeode() = default;
    ~sgGeode() override;

    const char* getTypeName() const override { return "sgGeode"; }
    // A new geode holding a copy (sgGeoSet::copy) of every set.
    sgNode* copy() override;
    // Draws each set for the pass, in order.
    void apply(int pass) override;
    // Pass 4 draws pass 2 with front faces culled, then pass 3 with back faces
    // culled (swapped inside a mirroring transform).
    void draw(int pass) override;
    // Converts the sets' textures; does not descend further.
    void convertGL() override;

    // Appends the set and records this geode in it. Null, or a set that already
    // sits in a geode, is refused (0): a geode deletes its sets, so a set may
    // belong to one geode only.
    int addGSet(sgGeoSet* set);
    // Unlinks the first link to the set (not deleted): 1, else 0.
    int removeGSet(sgGeoSet* set);
    sgGeoSet* getGSet(int index) const;
    int getNumGSets() const { return static_cast<int>(sets_.size()); }

private:
    friend class sgGeoSet;
    void forgetGSet(sgGeoSet* set);

    std::vector<sgGeoSet*> sets_;
};
