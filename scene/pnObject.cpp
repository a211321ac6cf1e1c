#include "scene/pnObject.h"

#include <cstring>

#include "sg/sgRuntime.h"

pnObject::pnObject() = default;
pnObject::~pnObject() = default;

int pnObject::copy(const pnObject* other) {
    if (!other) return 0;
    if (other == this) return 1;
    name = other->name;
    material = other->material;
    for (int i = 0; i < NUM_FLAGS; ++i) setFlags[i] = other->setFlags[i];
    scene = other->scene;
    return 1;
}

void pnObject::setName(const char* n) { setNameString(n); }

void pnObject::setNameString(const char* n) {
    if (n) name = sgCutName(n);
}

void pnObject::setMaterialName(const char* n) {
    material = sgCutName(n);
    setFlags[MATERIAL_FLAG] = 1;
}

int pnObject::getSetFlag(int i) const { return (i >= 0 && i < NUM_FLAGS) ? setFlags[i] : 0; }

int pnObject::isChart() const {
    const char* t = getTypeName();
    return (std::strcmp(t, "pnBarChart") == 0 || std::strcmp(t, "pnLineChart") == 0 ||
            std::strcmp(t, "pnPieChart") == 0 || std::strcmp(t, "pnVolumeChart") == 0)
               ? 1
               : 0;
}
