#include "scene/pnMaterial.h"

#include <GL/gl.h>

#include "sg/sgGeoSet.h"
#include "sg/sgGeoState.h"
#include "sg/sgGeode.h"
#include "sg/sgMaterial.h"
#include "sg/sgNode.h"
#include "sg/sgRuntime.h"

namespace {
// "not >= 0" catches NaN as well as negatives.
float clampTo(float v, float hi) {
    if (!(v >= 0.0f)) return 0.0f;
    return v > hi ? hi : v;
}
sgVec3 clampColor(float r, float g, float b) { return sgVec3(clampTo(r, 1), clampTo(g, 1), clampTo(b, 1)); }
}  // namespace

int pnMaterial::copy(const pnMaterial* other) {
    if (!other) return 0;
    if (other == this) return 1;
    if (!other->name.empty()) name = other->name;
    diffuse = other->diffuse;
    ambient = other->ambient;
    emission = other->emission;
    specular = other->specular;
    shininess = other->shininess;
    alpha = other->alpha;
    file = other->file;
    for (int i = 0; i < NUM_FLAGS; ++i) setFlags[i] = other->setFlags[i];
    return 1;
}

void pnMaterial::setName(const char* n) {
    if (n) name = sgCutName(n);
}

void pnMaterial::setDiffuse(float r, float g, float b) {
    diffuse = clampColor(r, g, b);
    setFlags[DIFFUSE_FLAG] = 1;
}

void pnMaterial::setAmbient(float r, float g, float b) {
    ambient = clampColor(r, g, b);
    setFlags[AMBIENT_FLAG] = 1;
}

void pnMaterial::setEmission(float r, float g, float b) {
    emission = clampColor(r, g, b);
    setFlags[EMISSION_FLAG] = 1;
}

void pnMaterial::setSpecular(float r, float g, float b) {
    specular = clampColor(r, g, b);
    setFlags[SPECULAR_FLAG] = 1;
}

void pnMaterial::setShininess(float s) {
    shininess = clampTo(s, 128.0f);
    setFlags[SHININESS_FLAG] = 1;
}

void pnMaterial::setAlpha(float a) {
    alpha = clampTo(a, 1.0f);
    setFlags[ALPHA_FLAG] = 1;
}

void pnMaterial::setFile(const char* f) {
    file = f ? f : "";
    setFlags[FILE_FLAG] = file.empty() ? 0 : 1;
}

int pnMaterial::getSetFlag(int i) const { return (i >= 0 && i < NUM_FLAGS) ? setFlags[i] : 0; }

namespace {
// Every geometry state below node, depth first; geodes are not descended.
template <class Fn>
void forEachState(sgNode* node, const Fn& fn) {
    if (!node) return;
    if (node->isOfType("sgGeode")) {
        sgGeode* geode = static_cast<sgGeode*>(node);
        for (int i = 0; i < geode->getNumGSets(); ++i)
            if (sgGeoSet* set = geode->getGSet(i))
                if (sgGeoState* state = set->getGState()) fn(*state);
        return;
    }
    for (int i = 0; i < node->getNumChildren(); ++i) forEachState(node->getChild(i), fn);
}
}  // namespace

void pnMaterial::apply(sgNode* node) const {
    forEachState(node, [this](sgGeoState& state) { applyToState(&state); });
}

void pnMaterial::fade(sgNode* node) const {
    forEachState(node, [this](sgGeoState& state) {
        const bool textured = state.getTextureMode() != sgGeoState::SG_TEX_NONE &&
                              (state.getTexture() || state.getSequenceEntry(0));
        auto own = [&](int which) { return state.getColor(which); };
        auto mine = [&](const sgVec3& c) { return sgVec4(c[0], c[1], c[2], alpha); };
        if (textured) {
            sgVec4 d = own(GL_DIFFUSE);
            d[3] = alpha;
            state.setFadeColors(own(GL_AMBIENT), d, own(GL_SPECULAR), own(GL_EMISSION), own(GL_SHININESS));
        } else {
            state.setFadeColors(mine(ambient), mine(diffuse), mine(specular), mine(emission),
                                sgVec4(shininess, 0, 0, alpha));
        }
    });
}

void pnMaterial::clearFade(sgNode* node) {
    forEachState(node, [](sgGeoState& state) { state.clearFadeColors(); });
}

void pnMaterial::applyToGeode(sgGeode* geode) const {
    if (!geode) return;
    for (int i = 0; i < geode->getNumGSets(); ++i) {
        sgGeoSet* set = geode->getGSet(i);
        applyToState(set ? set->getGState() : nullptr);
    }
}

void pnMaterial::applyToState(sgGeoState* state) const {
    if (!state) return;
    const bool textured = state->getTextureMode() != sgGeoState::SG_TEX_NONE &&
                          (state->getTexture() || state->getSequenceEntry(0));
    if (textured) {
        // Textured faces keep the texture's colours; only the alpha follows.
        sgVec4 d = state->getColor(GL_DIFFUSE);
        d[3] = alpha;
        state->setColor(GL_DIFFUSE, d);
        return;
    }
    sgMaterial m;
    m.setColor(GL_AMBIENT, ambient[0], ambient[1], ambient[2]);
    m.setColor(GL_DIFFUSE, diffuse[0], diffuse[1], diffuse[2]);
    m.setColor(GL_EMISSION, emission[0], emission[1], emission[2]);
    m.setColor(GL_SPECULAR, specular[0], specular[1], specular[2]);
    m.setAlpha(alpha);
    m.setColor(GL_SHININESS, shininess, 0, 0);
    state->sgAttr(GL_FRONT, &m);  // the state keeps its own copy
}
