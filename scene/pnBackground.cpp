#include "scene/pnBackground.h"

#include "scene/pnWriteUtil.h"

pnBackground::pnBackground() { setNameString("Background"); }

void pnBackground::setFileName(const char* f) { setFile(f); }

void pnBackground::setColor(const sgVec4& c) {
    color = c;
    colorSet = 1;
}

int pnBackground::copy(const pnObject* other) {
    if (other == this) return 1;
    if (!pnObject::copy(other)) return 0;
    if (const auto* b = dynamic_cast<const pnBackground*>(other)) {
        color = b->color;
        colorSet = b->colorSet;
        useTexture = b->useTexture;
    }
    return 1;
}

int pnBackground::write(FILE* f, int convertPaths) {
    if (!f) return 0;
    pnWriteBlockBegin(f, "background");
    pnObject::write(f, convertPaths);
    if (colorSet == 1) pnWriteVec4(f, "color", color, true);
    pnWriteInt(f, "useTexture", useTexture);
    pnWriteBlockEnd(f);
    return pnWriteOk(f);
}
