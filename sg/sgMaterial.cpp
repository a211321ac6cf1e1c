#include "sg/sgMaterial.h"

#include <GL/gl.h>

#include "sg/sgGeoState.h"

int sgMaterial::getKey() const { return GL_FRONT; }

int sgMaterial::setColor(int name, float r, float g, float b) {
    if (name != GL_AMBIENT && name != GL_DIFFUSE && name != GL_SPECULAR && name != GL_EMISSION &&
        name != GL_SHININESS)
        return 0;
    for (Record& rec : records_) {
        if (rec.name == name) {
            rec.v[0] = r, rec.v[1] = g, rec.v[2] = b, rec.v[3] = 1.0f;
            return 1;
        }
    }
    records_.push_back(Record{name, {r, g, b, 1.0f}});
    return 1;
}

int sgMaterial::getColor(int name, float* r, float* g, float* b) const {
    for (const Record& rec : records_) {
        if (rec.name == name) {
            if (r) *r = rec.v[0];
            if (g) *g = rec.v[1];
            if (b) *b = rec.v[2];
            return 1;
        }
    }
    return 0;
}

void sgMaterial::writeInto(sgGeoState& state) const {
    for (const Record& rec : records_) state.setColor(rec.name, sgVec4(rec.v[0], rec.v[1], rec.v[2], alpha_));
}
