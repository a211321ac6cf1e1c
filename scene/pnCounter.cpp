#include "scene/pnCounter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "scene/pnScene.h"
#include "scene/pnString.h"
#include "scene/pnWriteUtil.h"
#include "sg/sgDCS.h"
#include "sg/sgGeoSet.h"
#include "sg/sgGeoState.h"
#include "sg/sgGeode.h"
#include "sg/sgNode.h"
#include "sg/sgRuntime.h"

namespace {

constexpr double TWO_POW_63 = 9223372036854775808.0;

// Truncation toward zero, clamped to +-INT64_MAX (so that the magnitude always
// fits); NaN gives 0.
int64_t truncClamp(double v) {
    if (std::isnan(v)) return 0;
    if (v >= TWO_POW_63) return INT64_MAX;
    if (v <= -TWO_POW_63) return -INT64_MAX;
    return static_cast<int64_t>(v);
}

uint64_t magnitude(int64_t n) { return n < 0 ? static_cast<uint64_t>(-n) : static_cast<uint64_t>(n); }

int countDigits(uint64_t m) {
    int d = 1;
    while (m >= 10) {
        m /= 10;
        ++d;
    }
    return d;
}

int digitAt(uint64_t m, int power) {
    for (int i = 0; i < power; ++i) m /= 10;
    return static_cast<int>(m % 10);
}

// Integer display: the digit positions from the units leftwards.
constexpr int COMMA_DIGIT_POS[10] = {12, 11, 10, 8, 7, 6, 4, 3, 2, 0};
constexpr int COMMA_SEP_POS[3] = {9, 5, 1};

// Fraction display with grouping: positions 0..8 and their places (-1 marks a
// separator).
constexpr int FRACTION_COMMA_POWER[9] = {6, -1, 5, 4, 3, -1, 2, 1, 0};

// The value held to what the row can show with its sign: a wider one shows
// the widest number of its sign (all nines), never a number with its leading
// digits or its minus cut off. A negative number needs a place for the sign.
double fitToRow(double value, int numFraction, int useComma) {
    if (std::isnan(value)) return value;
    const bool negative = value < 0.0;
    const int places = numFraction <= 0 ? (useComma ? 10 : pnCounterDisplay::NUM_POSITIONS) - (negative ? 1 : 0)
                                        : (useComma ? 7 : 9) - (negative ? 1 : 0);
    // Fraction places show the three printed digits at most: .999 is the
    // widest that does not carry.
    const double limit = std::pow(10.0, places) - 1.0 + (numFraction > 0 ? 0.999 : 0.0);
    return value > limit ? limit : value < -limit ? -limit : value;
}

}  // namespace

pnCounterDisplay::pnCounterDisplay() {
    for (int& g : glyph) g = GLYPH_NONE;
    for (float& v : x) v = 0.0f;
}

void pnCounterDisplay::setValue(double value, int numFraction, int useComma) {
    for (int& g : glyph) g = GLYPH_NONE;
    for (float& v : x) v = 0.0f;
    digits = sign = separators = fraction = 0;
    width = 0.0f;
    if (numFraction > 3) numFraction = 3;
    value = fitToRow(value, numFraction, useComma);

    if (numFraction <= 0) {
        const int64_t n = truncClamp(value);
        const uint64_t m = magnitude(n);
        const int slots = useComma ? 10 : NUM_POSITIONS;
        auto posOf = [&](int k) { return useComma ? COMMA_DIGIT_POS[k] : NUM_POSITIONS - 1 - k; };
        // The row holds the value (fitToRow), its sign included.
        const int d = std::min(countDigits(m), slots);
        for (int k = 0; k < d; ++k) glyph[posOf(k)] = digitAt(m, k);
        const int first = posOf(d - 1);
        if (useComma)
            for (int p : COMMA_SEP_POS)
                if (p > first) glyph[p] = GLYPH_COMMA;
        if (n < 0 && first > 0) {
            glyph[first - 1] = GLYPH_MINUS;
            sign = 1;
        }
        digits = d;
        separators = useComma ? (digits - 1) / 3 : 0;
        return;
    }

    // Fraction digits come from a three-place printing of the fractional part.
    const bool negative = value < 0.0;
    double a = std::isnan(value) ? 0.0 : std::fabs(value);
    uint64_t n;
    double frac;
    if (a >= TWO_POW_63) {
        n = static_cast<uint64_t>(INT64_MAX);
        frac = 0.0;
    } else {
        n = static_cast<uint64_t>(std::floor(a));
        frac = a - static_cast<double>(n);
    }
    char printed[32];
    std::snprintf(printed, sizeof printed, "%.3f", frac);
    char fracDigits[3] = {printed[2], printed[3], printed[4]};
    if (printed[0] != '0') {
        // 0.9996 prints as 1.000: carry into the integer part so that the
        // shown number stays the rounded value.
        if (n < static_cast<uint64_t>(INT64_MAX)) ++n;
        fracDigits[0] = fracDigits[1] = fracDigits[2] = '0';
    }

    if (useComma) {
        for (int p = 0; p < 9; ++p)
            glyph[p] = FRACTION_COMMA_POWER[p] < 0 ? GLYPH_COMMA : digitAt(n, FRACTION_COMMA_POWER[p]);
    } else {
        for (int p = 0; p < 9; ++p) glyph[p] = digitAt(n, 8 - p);
    }
    glyph[9] = GLYPH_POINT;
    for (int i = 0; i < 3; ++i)
        glyph[10 + i] = i < numFraction ? fracDigits[i] - '0' : GLYPH_NONE;
    fraction = numFraction;

    // Last position blanked for the magnitude (-1: none), and the digits left.
    int lastBlank = -1;
    if (useComma) {
        static const struct {
            uint64_t below;
            int lastBlank;
            int digits;
        } table[] = {{10, 7, 1}, {100, 6, 2}, {1000, 5, 3}, {10000, 3, 4}, {100000, 2, 5}, {1000000, 1, 6}};
        digits = 7;
        for (const auto& row : table)
            if (n < row.below) {
                lastBlank = row.lastBlank;
                digits = row.digits;
                break;
            }
    } else {
        digits = 9;
        uint64_t limit = 10;
        for (int k = 1; k <= 8; ++k, limit *= 10)
            if (n < limit) {
                lastBlank = 8 - k;
                digits = k;
                break;
            }
    }
    for (int p = 0; p <= lastBlank; ++p) glyph[p] = GLYPH_NONE;
    if (negative && lastBlank >= 0) {
        glyph[lastBlank] = GLYPH_MINUS;
        sign = 1;
    }
    separators = useComma ? (digits - 1) / 3 : 0;
}

void pnCounterDisplay::layout(float advance, int hJust) {
    const float chars = static_cast<float>(digits + sign);
    if (fraction > 0)
        width = advance * (chars + fraction + 0.2f * separators - 0.8f);
    else
        width = advance * (chars + 0.2f * separators - 1.0f);
    float pen = -advance;
    if (hJust == 2)
        pen -= width;
    else if (hJust != 0)
        pen -= width / 2.0f;
    for (int p = 0; p < NUM_POSITIONS; ++p) {
        const int g = glyph[p];
        if (g != GLYPH_NONE) pen += (g == GLYPH_COMMA || g == GLYPH_POINT) ? 0.6f * advance : advance;
        x[p] = pen;
    }
}

double pnCounterValueAt(int frame, int frameCount, double step, double initValue, double finalValue) {
    if (step == 0.0) return finalValue;
    if (frame <= 0) return initValue;
    if (frame < frameCount) return step * frame + initValue;
    return finalValue;
}

// ---- The counter object ----

namespace {

// Characters of the glyphs, in glyph order.
const char* const GLYPH_TEXT[pnCounterDisplay::NUM_GLYPHS] = {"0", "1", "2", "3", "4", "5", "6",
                                                              "7", "8", "9", "+", "-", ".", ","};

int clampToInt(int64_t v) {
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int>(v);
}

}  // namespace

pnCounter::pnCounter() = default;

pnCounter::~pnCounter() {
    releaseTextureObjects();
    // The glyphs go with the last position switch that holds them.
    detachNodesForDelete(true);
}

void pnCounter::dropNodes() {
    forgetNodes();
    group = nullptr;
    for (int p = 0; p < NUM_POSITIONS; ++p) {
        positionNodes[p] = nullptr;
        positions[p] = nullptr;
    }
    for (sgGeode*& g : glyphs) g = nullptr;
}

int pnCounter::copy(const pnObject* other) {
    if (!other) return 0;
    if (other == this) return 1;
    dropNodes();
    pnObject::copy(other);
    copyTexPlanes(other);
    const pnCounter* c = dynamic_cast<const pnCounter*>(other);
    if (!c) return 1;
    backMaterial = c->backMaterial;
    stringProperty = c->stringProperty;
    startFrame = c->startFrame;
    endFrame = c->endFrame;
    useComma = c->useComma;
    numFraction = c->numFraction;
    initValue = c->initValue;
    finalValue = c->finalValue;
    return 1;
}

// ---- Values ----

// The frame count and the step follow from the span and the values whenever
// they are asked for, so a span set before the values still ends on the final
// value.
int pnCounter::getFrameCount() const { return clampToInt(static_cast<int64_t>(endFrame) - startFrame); }

double pnCounter::getStep() const {
    const int64_t span = static_cast<int64_t>(endFrame) - startFrame;
    return span > 0 ? (finalValue - initValue) / static_cast<double>(span) : -1.0;
}

void pnCounter::setFrames(int start, int end) {
    startFrame = start;
    endFrame = end;
}

void pnCounter::setInitValue(double v) {
    initValue = v;
    if (nodesLive()) showFrame(0);
}

void pnCounter::setFinalValue(double v) {
    finalValue = v;
    if (nodesLive()) showFrame(0);
}

void pnCounter::setNumFraction(int n) {
    numFraction = n <= 0 ? 0 : n > 3 ? 3 : n;
    if (nodesLive()) showFrame(0);
}

void pnCounter::setUseComma(int on) {
    useComma = on;
    if (nodesLive()) rebuildGlyphs(nullptr);
}

double pnCounter::getValueAt(int frame) const {
    return pnCounterValueAt(frame, getFrameCount(), getStep(), initValue, finalValue);
}

void pnCounter::showFrame(int frame) {
    shownFrame = frame;
    showValue(getValueAt(frame));
}

void pnCounter::showValue(double value) {
    display.setValue(value, numFraction, useComma);
    const float nJust = glyphStyle ? glyphStyle->getNJust() : 0.0f;
    display.layout(nJust > 0.0f ? nJust : DEFAULT_ADVANCE, glyphStyle ? glyphStyle->getHJust() : 1);
    for (int p = 0; p < NUM_POSITIONS; ++p) {
        if (!positions[p] || !positionNodes[p]) continue;
        const int g = display.glyph[p];
        positions[p]->setVal(g >= 0 && g < positions[p]->getNumChildren() ? g : sgSwitch::SG_SWITCH_OFF);
        positionNodes[p]->setTrans(display.x[p], 0.0f, 0.0f);
    }
}

// ---- Nodes and glyphs ----

const pnStringProperty* pnCounter::resolveStyle(pnStringProperty* style) const {
    if (style) return style;
    if (scene && !stringProperty.empty())
        if (pnStringProperty* s = scene->findStringProperty(stringProperty.c_str())) return s;
    if (glyphStyle) return glyphStyle.get();
    static const pnStringProperty defaultStyle;
    return &defaultStyle;
}

sgNode* pnCounter::getNode(pnStringProperty* style) {
    // Resolved before the nodes go: the style last built from may be the one.
    pnStringProperty use;
    use.copy(resolveStyle(style));
    releaseNodes();
    dropNodes();
    makeNodeChain();
    // The positions take the place of the geode.
    pivotNode->removeChild(geode);
    delete geode;
    geode = nullptr;
    group = new sgGroup;
    pivotNode->addChild(group);
    for (int p = 0; p < NUM_POSITIONS; ++p) {
        positionNodes[p] = new sgDCS;
        positions[p] = new sgSwitch;
        positions[p]->setVal(sgSwitch::SG_SWITCH_OFF);
        positionNodes[p]->addChild(positions[p]);
        group->addChild(positionNodes[p]);
    }
    shownFrame = 0;
    rebuildGlyphs(&use);
    return switchNode;
}

int pnCounter::rebuildGlyphs(pnStringProperty* style) {
    if (!switchNode) return 0;
    pnStringProperty use;
    use.copy(resolveStyle(style));

    pnString maker;
    maker.setStringProperty(stringProperty.c_str());
    maker.setMaterial(material.c_str());
    maker.setBackMaterial(backMaterial.c_str());
    if (!texture.empty()) {
        maker.setTexture(texture.c_str());
        maker.setMode(mode);
        maker.setTexMove(splane[3], tplane[3]);
        maker.setTexRotate(splane[1], tplane[0]);
        maker.setTexScale(splane[0], tplane[1]);
        maker.setTexMode(texMode);
        maker.setNumIndex(numIndex);
    }
    if (scene) maker.setScene(scene);

    for (sgSwitch* s : positions)
        if (s)
            for (sgGeode* g : glyphs)
                if (g) s->removeChild(g);
    for (int i = 0; i < NUM_GLYPHS; ++i) {
        maker.setString(GLYPH_TEXT[i]);
        delete glyphs[i];
        glyphs[i] = maker.makeTextGeode(&use);
    }
    // Child number = glyph number in every position.
    for (sgSwitch* s : positions)
        if (s)
            for (sgGeode* g : glyphs) s->addChild(g);

    glyphStyle = std::make_unique<pnStringProperty>();
    glyphStyle->copy(&use);
    showFrame(shownFrame);
    return 1;
}

sgSwitch* pnCounter::getPositionSwitch(int i) const { return i >= 0 && i < NUM_POSITIONS ? positions[i] : nullptr; }

sgDCS* pnCounter::getPositionNode(int i) const { return i >= 0 && i < NUM_POSITIONS ? positionNodes[i] : nullptr; }

sgGeode* pnCounter::getGlyphGeode(int i) const { return i >= 0 && i < NUM_GLYPHS ? glyphs[i] : nullptr; }

int pnCounter::ownsGeoSet(const sgGeoSet* set) const {
    if (!set) return 0;
    for (sgGeode* g : glyphs)
        if (g && set->getGeode() == g) return 1;
    return 0;
}

// ---- Names, materials, texturing ----

void pnCounter::setStringProperty(const char* n) {
    if (!n) return;
    stringProperty = sgCutName(n);
    if (nodesLive()) rebuildGlyphs(nullptr);
}

void pnCounter::setStringProperty(pnStringProperty* style) {
    if (!style) return;
    stringProperty = style->getName();
    if (nodesLive()) rebuildGlyphs(style);
}

const char* pnCounter::getStringPropertyName() const {
    return stringProperty.empty() ? nullptr : stringProperty.c_str();
}

void pnCounter::setBackMaterial(const char* n) {
    // The same name again still rebuilds: the material may have changed.
    if (n) backMaterial = sgCutName(n);
    if (nodesLive()) rebuildGlyphs(nullptr);
}

void pnCounter::setMaterial(const char* n) {
    pnObject::setMaterial(n);
    if (nodesLive()) rebuildGlyphs(nullptr);
}

// Texturing as a model does it; a built counter makes its glyphs again.
void pnCounter::textureChanged(TextureChange) {
    if (nodesLive()) rebuildGlyphs(nullptr);
}

void pnCounter::setTexFrame(int frame) {
    for (sgGeode* g : glyphs) {
        // The main set follows the edge set in every glyph.
        sgGeoSet* set = g ? g->getGSet(1) : nullptr;
        if (set && set->getGState()) set->getGState()->setSequenceFrame(frame);
    }
}

// ---- Writing ----

int pnCounter::write(FILE* f, int convertPaths) {
    if (!f) return 0;
    bool ok = pnWriteBlockBegin(f, "counter") >= 0;
    ok = pnObject::write(f, convertPaths) && ok;
    auto line = [&ok](int result) { ok = ok && result >= 0; };
    if (!stringProperty.empty()) line(pnWriteQuoted(f, "stringProperty", stringProperty));
    if (!backMaterial.empty()) line(pnWriteQuoted(f, "backMaterial", backMaterial));
    line(pnWriteFloat(f, "initValue", initValue));
    line(pnWriteFloat(f, "finalValue", finalValue));
    line(pnWriteInt(f, "useComma", useComma));
    line(pnWriteInt(f, "numFraction", numFraction));
    line(pnWriteInt(f, "mode", mode));
    line(pnWriteVec4(f, "splane", splane, false));
    line(pnWriteVec4(f, "tplane", tplane, false));
    line(pnWriteBlockEnd(f));
    return ok && pnWriteOk(f) ? 1 : 0;
}
