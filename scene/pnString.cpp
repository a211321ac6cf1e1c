#include "scene/pnString.h"

#include <climits>
#include <cmath>

#include "assets/sgText3D.h"
#include "scene/pnMaterial.h"
#include "scene/pnScene.h"
#include "scene/pnStringProperty.h"
#include "scene/pnWriteUtil.h"
#include "sg/sgDCS.h"
#include "sg/sgGeoSet.h"
#include "sg/sgGeoState.h"
#include "sg/sgGeode.h"
#include "sg/sgNode.h"
#include "sg/sgRuntime.h"

namespace {

// The engine takes whole font sizes: truncated, and kept inside int.
int fontSizeOf(float size) {
    if (std::isnan(size)) return 0;
    if (size >= static_cast<float>(INT_MAX)) return INT_MAX;
    if (size <= static_cast<float>(INT_MIN)) return INT_MIN;
    return static_cast<int>(size);
}

int readHJust(int h) { return (h >= 0 && h <= 2) ? h : 1; }

const char* kindWord(int kind) { return kind == 1 ? "3D" : "2D"; }

}  // namespace

// A text object's own vertical justification is stored only; it starts at 4.
pnString::pnString() { vJust = 4; }

pnString::~pnString() {
    releaseTextureObjects();
    detachNodesForDelete(true);
}

// ---- Copy ----

void pnString::dropNodes() {
    engine.reset();
    forgetNodes();
    edgeSet = nullptr;
    edgeState = nullptr;
}

int pnString::copy(const pnObject* other) {
    if (!other) return 0;
    if (other == this) return 1;
    dropNodes();
    pnObject::copy(other);
    copyTexPlanes(other);
    const pnString* s = dynamic_cast<const pnString*>(other);
    if (!s) return 1;
    text = s->text;
    backMaterial = s->backMaterial;
    styleName = s->styleName;
    copyValues(*s);
    fromStyle = s->fromStyle;
    return 1;
}

// ---- Building ----

void pnString::takeStyle(const pnStringProperty* style) {
    style->giveFaceValues(*this);
    fromStyle = true;
}

void pnString::setupEngine(bool withNJust) {
    engine = std::make_unique<sgText3D>(font);
    engine->setDefaults();
    engine->setFontSize(fontSizeOf(size));
    engine->setExtrusion(depth);
    engine->setPrecision(precision);
    engine->setOffset(0.0f, 0.0f, 0.0f);
    engine->setRatio(static_cast<float>(ratio));
    engine->setSlantAngle(slantAngle);
    engine->setItalic(italic);
    engine->setGap(gap);
    engine->setHOffset(hOffset);
    engine->setVOffset(vOffset);
    engine->setHJust(readHJust(hJust));
    // Text is always centred vertically and in depth on its origin; the
    // stored vJust never reaches the geometry.
    engine->setVJust(5);
    engine->setDepthJust(9);
    if (withNJust && !fromStyle) engine->setFixedAdvance(nJust);
}

void pnString::generateSqueezed() {
    engine->generate(text);
    // The squeeze divides by the width measured at the current ratio.
    if (wJust > 0.0f && engine->getWidth() > wJust) {
        engine->setRatio(wJust / engine->getWidth());
        engine->generate(text);
    }
}

void pnString::replaceList(sgGeoSet* set, unsigned id) {
    if (!set) return;
    if (id == 0 || id > static_cast<unsigned>(INT_MAX)) {
        debugPrint("Failed to generate string.");
        return;
    }
    set->setDisplayList(static_cast<int>(id));  // deletes the old list
}

void pnString::buildGeometry(bool styleForm) {
    fromStyle = styleForm;
    if (edgeSet) edgeSet->setDisplayList(-1);
    if (kind == 1) {
        engine->setExtrusion(depth);
        engine->setBevel(bevel[1], bevel[0]);
        generateSqueezed();
        replaceList(geoSet, engine->makeSolid());
        retexture();
        geoSet->setPolygonOffset(static_cast<float>(forward));
        geoSet->setOutline(highlight);
    } else {
        engine->setExtrusion(0.0f);
        engine->setBevel(0.0f, flatBevelWidth());
        generateSqueezed();
        replaceList(geoSet, engine->makeFrontFace());
        geoSet->setPolygonOffset(static_cast<float>(forward));
        geoSet->setOutline(highlight);
        retexture();
        if (hasEdge()) makeEdge();
    }
}

void pnString::makeNodes() {
    releaseNodes();
    edgeSet = nullptr;
    edgeState = nullptr;
    makeNodeChain();
    transNode->setName(switchNode->getName());
    geode->setName(switchNode->getName());
    edgeState = new sgGeoState;
    edgeSet = new sgGeoSet;
    edgeSet->setGState(edgeState);
    makeMainGeoSet();
    // The edge is drawn first, the text over it.
    geode->addGSet(edgeSet);
    geode->addGSet(geoSet);
}

sgNode* pnString::getNode(pnStringProperty* style) {
    if (!style) return getNode();
    makeNodes();
    takeStyle(style);
    setupEngine(false);
    buildGeometry(true);
    return switchNode;
}

sgNode* pnString::getNode() {
    makeNodes();
    fromStyle = false;
    setupEngine(true);
    buildGeometry(false);
    return switchNode;
}

sgGeode* pnString::makeTextGeode(pnStringProperty* style) {
    if (!style) return nullptr;
    // Build into a loose geode with the object's own set pointers, then hand
    // the geode over: this object keeps no link to it.
    sgGeode* g = new sgGeode;
    edgeState = new sgGeoState;
    edgeSet = new sgGeoSet;
    edgeSet->setGState(edgeState);
    geoState = new sgGeoState;
    geoSet = new sgGeoSet;
    geoSet->setGState(geoState);
    g->addGSet(edgeSet);
    g->addGSet(geoSet);
    geode = g;
    takeStyle(style);
    setupEngine(false);
    buildGeometry(true);
    geode = nullptr;
    geoState = nullptr;
    geoSet = nullptr;
    edgeSet = nullptr;
    edgeState = nullptr;
    return g;
}

void pnString::regenerate() {
    setupEngine(true);
    buildGeometry(fromStyle);
}

void pnString::rebuild() {
    if (!nodesLive() || !geoSet || !edgeSet) return;
    if (!engine) {
        regenerate();
        return;
    }
    if (wJust > 0.0f) {
        engine->setFixedAdvance(0.0f);
        engine->setRatio(static_cast<float>(ratio));
        engine->generate(text);
        if (engine->getWidth() > wJust) engine->setRatio(wJust / engine->getWidth());
    } else {
        engine->setRatio(static_cast<float>(ratio));
    }
    if (kind == 1) {
        engine->generate(text);
        replaceList(geoSet, engine->makeSolid());
    } else {
        // The letters keep the spacing of the last full build (makeEdge
        // leaves the border as the engine's bevel width).
        engine->setBevel(0.0f, flatBevelWidth());
        engine->generate(text);
        replaceList(geoSet, engine->makeFrontFace());
        edgeSet->setDisplayList(-1);
        if (hasEdge()) makeEdge();
    }
}

int pnString::hasEdge() const { return (border > 0.0f || hOffset != 0.0f || vOffset != 0.0f) ? 1 : 0; }

void pnString::makeEdge() {
    if (!engine || !edgeSet) return;
    unsigned id;
    if (border > 0.0f) {
        engine->setBevel(0.0f, border);
        id = engine->makeOutline();
    } else {
        engine->setHOffset(hOffset);
        engine->setVOffset(vOffset);
        id = engine->makeShadow();
    }
    replaceList(edgeSet, id);
    applyEdgeMaterial(false);
    edgeSet->setPolygonOffset(static_cast<float>(forward));
    edgeSet->setOutline(highlight);
}

void pnString::applyEdgeMaterial(bool useDefault) {
    if (!edgeState) return;
    if (pnMaterial* m = sceneMaterial(backMaterial))
        m->applyToState(edgeState);
    else if (useDefault)
        attachDefaultMaterial(edgeState);
}

void pnString::retexture() {
    applyTexture();
    applyEdgeMaterial(false);
}

// ---- Object settings ----

void pnString::setForward(int v) {
    pnObject::setForward(v);
    if (nodesLive() && edgeSet) edgeSet->setPolygonOffset(static_cast<float>(forward));
}

void pnString::setHighlight(int v) {
    pnObject::setHighlight(v);
    if (nodesLive() && edgeSet) edgeSet->setOutline(v);
}

void pnString::setMaterial(const char* n) {
    setMaterialName(n);
    if (!nodesLive() || !geoState) return;
    if (pnMaterial* m = sceneMaterial(material))
        m->applyToState(geoState);
    else
        attachDefaultMaterial(geoState);
}

void pnString::setBackMaterial(const char* n) {
    // The same name again still re-applies: the material may have changed.
    if (n) backMaterial = sgCutName(n);
    if (nodesLive() && scene) applyEdgeMaterial(true);
}

void pnString::setString(const char* s) {
    if (!s || text == s) return;
    text = s;
    if (live()) rebuild();
}

// ---- Text style values ----

template <class T, class ToEngine>
void pnString::changeGeometry(T& field, T value, ToEngine toEngine) {
    if (value == field) return;
    field = value;
    if (!live()) return;
    toEngine();
    rebuild();
}

void pnString::setStringProperty(const char* n) {
    if (!n) return;
    styleName = sgCutName(n);
    if (!nodesLive() || !scene) return;
    pnStringProperty* style = scene->findStringProperty(styleName.c_str());
    if (!style) return;  // the own values stay as they are
    takeStyle(style);
    regenerate();
}

void pnString::setStringProperty(pnStringProperty* style) {
    if (!style) return;
    if (!style->getName().empty()) styleName = style->getName();
    takeStyle(style);
    if (nodesLive() && geoSet) regenerate();
}

const char* pnString::getStringPropertyName() const { return styleName.empty() ? nullptr : styleName.c_str(); }

void pnString::setKind(int k) {
    if (k == kind) return;
    kind = k;
    if (!live()) return;
    if (kind == 1) {
        engine->setExtrusion(depth);
        engine->setBevel(bevel[1], bevel[0]);
        edgeSet->setDisplayList(-1);
    } else {
        engine->setExtrusion(0.0f);
    }
    rebuild();
}

void pnString::setHJust(int h) {
    const int v = h < 0 ? 0 : h > 2 ? 2 : h;
    changeGeometry(hJust, v, [&] { engine->setHJust(v); });
}

void pnString::setVJust(int v) { vJust = v; }

void pnString::setWJust(float w) {
    if (w == wJust) return;
    wJust = w;
    if (w > 0.0f) nJust = 0.0f;
    if (live()) rebuild();
}

void pnString::setNJust(float n) {
    if (n == nJust) return;
    nJust = n;
    if (n > 0.0f) wJust = 0.0f;
    if (!live()) return;
    engine->setFixedAdvance(n);
    rebuild();
}

void pnString::setBevel(float width, float depthValue) {
    if (width == bevel[0] && depthValue == bevel[1]) return;
    bevel[0] = width;
    bevel[1] = depthValue;
    if (!live()) return;
    engine->setBevel(bevel[1], bevel[0]);
    rebuild();
}

void pnString::setBevel(float b) { setBevel(b, b); }

void pnString::setBevelWidth(float w) { setBevel(w, bevel[1]); }

void pnString::setBevelDepth(float d) { setBevel(bevel[0], d); }

void pnString::setGap(float g) {
    changeGeometry(gap, g, [&] { engine->setGap(g); });
}

void pnString::setSlantAngle(float a) {
    changeGeometry(slantAngle, a, [&] { engine->setSlantAngle(a); });
}

void pnString::setItalic(int i) {
    changeGeometry(italic, i, [&] { engine->setItalic(i); });
}

void pnString::setDepth(float d) {
    changeGeometry(depth, d, [&] { engine->setExtrusion(d); });
}

void pnString::setSize(float s) {
    changeGeometry(size, s, [&] { engine->setFontSize(fontSizeOf(s)); });
}

void pnString::setPrecision(float p) {
    changeGeometry(precision, p, [&] { engine->setPrecision(p); });
}

void pnString::setRatio(double r) {
    // The rebuild squeezes again for wJust.
    changeGeometry(ratio, r, [&] { engine->setRatio(static_cast<float>(r)); });
}

void pnString::setHOffset(float o) {
    changeGeometry(hOffset, o, [&] { edgeSet->setDisplayList(-1); });
}

void pnString::setVOffset(float o) {
    changeGeometry(vOffset, o, [&] { edgeSet->setDisplayList(-1); });
}

void pnString::setBorder(float b) {
    changeGeometry(border, b, [&] { edgeSet->setDisplayList(-1); });
}

void pnString::setFont(const char* f) {
    if (!f || !*f) return;
    const std::string fontName = sgCutName(f);
    if (fontName == font) return;
    font = fontName;
    if (nodesLive() && geoSet && edgeSet) regenerate();
}

void pnString::setSpacing(float g, float s1, float s2) {
    gap = g;
    spacing1 = s1;
    spacing2 = s2;
}

void pnString::setSpacing1(float s) { spacing1 = s; }

void pnString::setSpacing2(float s) { spacing2 = s; }

// ---- Texturing ----

// Texturing as a model does it (generated coordinates from the planes).
void pnString::textureChanged(TextureChange) {
    if (nodesLive()) retexture();
}

// ---- Writing ----

int pnString::write(FILE* f, int convertPaths) {
    if (!f) return 0;
    bool ok = pnWriteBlockBegin(f, "string") >= 0;
    ok = pnObject::write(f, convertPaths) && ok;
    auto line = [&ok](int result) { ok = ok && result >= 0; };
    line(pnWriteQuoted(f, "string", text));
    if (!styleName.empty()) line(pnWriteQuoted(f, "stringProperty", styleName));
    ok = writeFaceValues(f) && ok;
    if (!backMaterial.empty()) line(pnWriteQuoted(f, "backMaterial", backMaterial));
    line(pnWriteQuoted(f, "kind", kindWord(kind)));
    if (border > 0.0f) line(pnWriteFloat(f, "border", border));
    if (hOffset != 0.0f) line(pnWriteFloat(f, "hOffset", hOffset));
    if (vOffset != 0.0f) line(pnWriteFloat(f, "vOffset", vOffset));
    line(pnWriteWord(f, "hJust", hJust == 0 ? "Left" : hJust == 2 ? "Right" : "Center"));
    line(pnWriteFloat(f, "wJust", wJust));
    line(pnWriteFloat(f, "nJust", nJust));
    line(pnWriteInt(f, "mode", mode));
    line(pnWriteVec4(f, "splane", splane, false));
    line(pnWriteVec4(f, "tplane", tplane, false));
    line(pnWriteBlockEnd(f));
    return ok && pnWriteOk(f) ? 1 : 0;
}
