// One batch of quads or triangles with its material and texture state,
// compiled once into a GL display list and drawn with glCallList.
//
// Display lists:
// - a set with records of its own compiles its own list from them;
// - a set that only holds a list id handed to it (models, text) owns that id
//   and deletes it once;
// - after copy(), original and copy share one reference-counted sgAttrSet that
//   holds the records and the list; the list is deleted when the last of them
//   goes. Changing the geometry of a sharing set (setAttr, setDisplayList,
//   setNumPrims, setNormalBind) first gives it its own copy of the records, so
//   the other sharers keep what they had.
#pragma once

#include "sg/sgAttrSet.h"

class sgGeode;
class sgGeoState;
struct sgTextureFileEntry;

class sgGeoSet : public sgAttrSet {
public:
    sgGeoSet() = default;
    // Deletes its own list, drops the shared set, deletes the state, leaves its
    // geode and the display-list table.
    ~sgGeoSet() override;

    virtual const char* getTypeName() const { return "sgGeoSet"; }
    // Draws the set for a pass (pass filter, texture generation, state, list).
    virtual void draw(int pass);
    // A new set with a copy of the state, sharing the geometry and its list,
    // with the same primitive type, primitive count and normal binding.
    virtual sgGeoSet* copy();

    // Takes ownership of the arrays. key: GL_VERTEX_ARRAY, GL_NORMAL_ARRAY or
    // GL_TEXTURE_COORD_ARRAY (else 0). Replaces the record with this key.
    int setAttr(int key, std::vector<float> data, std::vector<int> index);
    int setAttr(int key, std::vector<double> data, std::vector<int> index);

    // The set deletes the state with itself.
    void setGState(sgGeoState* state);
    sgGeoState* getGState() const { return state_; }

    void setPrimType(int type) { primType_ = type; }  // GL_QUADS or GL_TRIANGLES
    int getPrimType() const { return primType_; }
    // Both drop a list compiled from records, so the next draw rebuilds it. A
    // list handed in without records cannot be rebuilt and is kept.
    void setNumPrims(int n);
    int getNumPrims() const { return numPrims_; }
    void setNormalBind(int bind);  // 0 one normal per primitive, 1 per vertex
    int getNormalBind() const { return normalBind_; }

    // Deletes the current list (id > 0) and stores id; -1 means "compile from
    // the records at the next draw". The set owns an id handed in here.
    void setDisplayList(int id);
    // The list that draws this set (own, or the shared set's), -1 when none.
    int getDisplayList() const;
    // Compiles the display list now when it is missing (draw does it lazily).
    void buildDisplayList();

    sgAttrSet* getSharedAttrSet() const { return shared_; }
    sgGeode* getGeode() const { return geode_; }

    void setPolygonOffset(float units) { polygonOffset_ = units; }
    float getPolygonOffset() const { return polygonOffset_; }
    void setOutline(int on) { outline_ = on; }
    int getOutline() const { return outline_; }

    // Texture conversion of the state: mode 0 the single texture, 1 the sequence.
    void convertGL();

    // Pass filter: 1 opaque sets without an RGBA texture; 2 transparent sets;
    // 3 and 4 what pass 1 leaves out (transparent sets and sets with an RGBA
    // texture); 0 every set.
    bool drawsInPass(int pass) const;
    // The texture this set draws with now (mode 0 the texture, 1 the current
    // sequence element, 2 or no state none).
    sgTextureFileEntry* currentTexture() const;
    bool isTransparent() const;

private:
    friend class sgGeode;
    bool sharing() const { return attrs_.empty() && shared_ != nullptr; }
    // Gives a sharing set its own copy of the shared records and lets go of the
    // shared set.
    void unshare();
    void compile(const std::vector<sgAttrRecord>& attrs, int& listId);

    sgGeoState* state_ = nullptr;
    sgAttrSet* shared_ = nullptr;
    int primType_ = 0x0007;  // GL_QUADS
    int numPrims_ = 0;
    int normalBind_ = 0;
    sgGeode* geode_ = nullptr;
    float polygonOffset_ = 0;
    int outline_ = 0;
};
