// A rectangular slab (3D) or flat rectangle (2D) with an optional bevel. Each
// of the six faces may carry the object's texture, mapped through a texture-
// coordinate rectangle (or through generated coordinates when mode is set).
//
// Faces: 0 front (+z), 1 back (-z), 2 left (-x), 3 right (+x), 4 top (+y),
// 5 bottom (-y). A 3D panel's geode holds one geometry set per face in the
// order 1, 2, 3, 4, 5, 0; a 2D panel has face 0 only.
#pragma once

#include <vector>

#include "scene/pnTexturedObject.h"

class pnPanel : public pnTexturedObject {
public:
    enum { FACE_FRONT = 0, FACE_BACK, FACE_LEFT, FACE_RIGHT, FACE_TOP, FACE_BOTTOM, NUM_FACES };
    enum { KIND_2D = 0, KIND_3D = 1 };

    pnPanel() = default;
    ~pnPanel() override;

    using pnObject::getNode;
    using pnObject::setBevel;
    using pnObject::setDimension;

    sgNode* getNode() override;
    const char* getTypeName() const override { return "pnPanel"; }
    static constexpr pnObjectKind kKind = pnObjectKind::Panel;
    int copy(const pnObject* other) override;
    // The "panel" block.
    int write(FILE* f, int convertPaths) override;

    // Which faces carry the texture (flags[0] is face 0). A built panel
    // rebuilds its mesh.
    void setFaceFlags(const int flags[NUM_FACES]);
    void setEachFaceFlag(int f1, int f2, int f3, int f4, int f5, int f6);
    int getFaceFlag(int face) const;
    void getFaceFlags(int flags[NUM_FACES]) const;

    // Width, height, depth. A width or height that is not above 0 becomes 50,
    // a depth below 0 becomes 50 (0 stays: a flat slab).
    void setDimension(const sgVec3& v) override;
    void setDimension(float x, float y, float z) override;
    void setDimensionX(float x) override;
    void setDimensionY(float y) override;
    void setDimensionZ(float z) override;
    sgVec3 getDimension() const { return dimension; }

    // How far the front face is inset from the back face's outline.
    void setBevel(float bevel) override;
    float getBevel() const { return bevel; }
    // KIND_3D or KIND_2D.
    void setKind(int kind) override;
    int getKind() const { return kind; }

    // The texture-coordinate rectangle, taken (and written) in the order
    // left, bottom, right, top.
    void setCoords(float left, float bottom, float right, float top);
    void getCoords(float* left, float* bottom, float* right, float* top) const;

    // Sequence frame of every textured face.
    void setTexFrame(int frame) override;
    // Applied to every face's geometry set.
    void setForward(int forward) override;
    void setHighlight(int highlight) override;

    // Index in the geode of a face's geometry set, -1 when the kind has no
    // such face.
    static int faceSetIndex(int face, int kind);

protected:
    // A built panel is made again; a new texture also takes new coordinate
    // lists.
    void textureChanged(TextureChange what) override;

private:
    // Adds the face sets to the geode (see the order above). A 2D panel built
    // from scratch drops its bevel.
    void buildFaceSets(bool resetFlatBevel);
    sgGeoSet* makeFaceSet(int face, bool flat);
    void textureFace(sgGeoState* state, sgGeoSet* set, int face, bool flat);
    void faceTexCoords(int face, bool flat, std::vector<float>& coordsOut, std::vector<int>& indexOut) const;
    // Replaces the geode with a freshly built one (built panels only).
    void rebuild();
    // New coordinate lists for the textured faces (mode 0 only).
    void recomputeTexCoords();

    int faceFlags[NUM_FACES] = {0, 0, 0, 0, 0, 0};
    sgVec3 dimension{50, 50, 50};
    float bevel = 0;
    int kind = KIND_3D;
    // Stored as left u, right u, bottom v, top v.
    float coords[4] = {0.01f, 0.99f, 0.01f, 0.99f};
};
