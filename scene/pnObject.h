// Base of every object a scene shows (text, panels, models, counters, meshes,
// the background and the chart kinds). This holds what the scene container
// relies on: the name, the material name with its set flag, the kind's type
// name, copying, and the owning scene.
#pragma once

#include <string>

class pnScene;
class pnChartDataPt;

class pnObject {
public:
    // Set flags, in file order.
    enum {
        FILE_FLAG = 0,
        TEXTURE_FLAG,
        POSITION_FLAG,
        ROTANGLE_FLAG,
        ROTAXIS_FLAG,
        PIVOTANGLE_FLAG,
        PIVOTAXIS_FLAG,
        SCALE_FLAG,
        SCALEORIGIN_FLAG,
        CENTER_FLAG,
        MATERIAL_FLAG,
        NUM_FLAGS
    };

    pnObject();
    virtual ~pnObject();
    pnObject(const pnObject&) = delete;
    pnObject& operator=(const pnObject&) = delete;

    // Takes other's settings; the copy shares nothing with it. Returns 1
    // (0 for null).
    virtual int copy(const pnObject* other);
    virtual void setName(const char* name);
    // The class name; kind tests compare it ("pnString", "pnBarChart", ...).
    virtual const char* getTypeName() const { return "pnObject"; }

    // A chart's data points; other kinds have none. The scene reads them to
    // find material uses and the last animated frame.
    virtual int getNumDataPts() const { return 0; }
    virtual const pnChartDataPt* getDataPt(int index) const { return nullptr; }

    // Replaces the name (cut at the name limit); null is ignored.
    void setNameString(const char* name);
    const std::string& getName() const { return name; }

    // Stores the material name and sets the material flag. Null (or "") means
    // no material.
    void setMaterialName(const char* name);
    const std::string& getMaterialName() const { return material; }
    bool hasMaterial() const { return !material.empty(); }

    // Flag i, 0 outside 0..NUM_FLAGS-1.
    int getSetFlag(int i) const;
    int getNumFlags() const { return NUM_FLAGS; }

    // 1 for the four chart kinds.
    int isChart() const;

    pnScene* getScene() const { return scene; }
    void setScene(pnScene* s) { scene = s; }

protected:
    std::string name;
    std::string material;
    int setFlags[NUM_FLAGS] = {};
    pnScene* scene = nullptr;
};
