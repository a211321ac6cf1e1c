// A number counter: a value that runs from an initial to a final value over a
// span of frames, drawn with the 3D glyphs of a text style in a row of 13
// character positions. Each position is a switch over 14 glyph geodes shared by
// all positions (digits 0-9, "+", "-", ".", ",").
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "scene/pnTexturedObject.h"
#include "scene/pnStringProperty.h"

class sgGroup;

// What the 13 positions of a counter show for one value, and where each sits
// along x. Pure arithmetic, kept apart from the nodes so that it can be checked
// on its own.
struct pnCounterDisplay {
    static constexpr int NUM_POSITIONS = 13;
    enum {
        GLYPH_NONE = -1,  // the position shows nothing
        GLYPH_PLUS = 10,  // built with the others but never selected
        GLYPH_MINUS = 11,
        GLYPH_POINT = 12,
        GLYPH_COMMA = 13,
        NUM_GLYPHS = 14
    };

    pnCounterDisplay();

    int glyph[NUM_POSITIONS];
    float x[NUM_POSITIONS];  // translation of each position
    int digits = 0;          // integer digits shown
    int sign = 0;            // 1 when the minus glyph is shown
    int separators = 0;      // (digits - 1) / 3 with thousands grouping, else 0
    int fraction = 0;        // fraction digits shown
    float width = 0.0f;

    // Fills glyph[], digits, sign, separators and fraction for value. Values
    // beyond the 64-bit integer range are clamped to it; NaN shows 0.
    void setValue(double value, int numFraction, int useComma);
    // Fills x[] and width for the glyphs: one advance per digit or sign, 0.6 of
    // one for a separator or the point; hJust 0 starts at minus one advance,
    // 2 moves left by the whole width, anything else by half of it.
    void layout(float advance, int hJust);
};

// Value shown at frame: the final value when step is 0; the initial one at
// frame 0 (and before); step * frame + initial while 0 < frame < frameCount;
// the final value from frameCount on.
double pnCounterValueAt(int frame, int frameCount, double step, double initValue, double finalValue);

class pnCounter : public pnTexturedObject {
public:
    static constexpr int NUM_POSITIONS = pnCounterDisplay::NUM_POSITIONS;
    static constexpr int NUM_GLYPHS = pnCounterDisplay::NUM_GLYPHS;
    // Advance of one character when the style gives no fixed advance (nJust).
    static constexpr float DEFAULT_ADVANCE = 25.0f;

    pnCounter();
    // Deletes the texturing, moves child events' nodes to the event's parent
    // and deletes the nodes with the glyphs.
    ~pnCounter() override;

    using pnObject::getNode;

    // Takes other's settings, values, frame span and texture planes; the
    // nodes are not shared. 1, or 0 for null.
    int copy(const pnObject* other) override;
    const char* getTypeName() const override { return "pnCounter"; }
    static constexpr pnObjectKind kKind = pnObjectKind::Counter;

    // Builds the switch, the two transforms, a group of 13 positions and the
    // 14 glyphs from the style (null: the scene's style of the stored name,
    // else the default style), and shows frame 0.
    sgNode* getNode(pnStringProperty* style) override;

    // The value runs from the initial to the final value between start and
    // end; the step per frame follows the values and the span (-1 for an
    // empty or reversed span).
    void setFrames(int start, int end);
    int getStartFrame() const { return startFrame; }
    int getEndFrame() const { return endFrame; }
    int getFrameCount() const;
    double getStep() const;
    // A built counter shows frame 0 after each of these.
    void setInitValue(double v);
    void setFinalValue(double v);
    double getInitValue() const { return initValue; }
    double getFinalValue() const { return finalValue; }
    // 0 to 3 fraction digits (below 0 gives 0, above 3 gives 3).
    void setNumFraction(int n);
    int getNumFraction() const { return numFraction; }
    // Thousands grouping; a built counter makes its glyphs again.
    void setUseComma(int on);
    int getUseComma() const { return useComma; }

    // The value at a frame counted from the start of the span.
    double getValueAt(int frame) const;
    // Selects the glyphs and places the positions for the value at frame.
    void showFrame(int frame);
    int getShownFrame() const { return shownFrame; }
    // What the positions show now.
    const pnCounterDisplay& getDisplay() const { return display; }

    // Makes the 14 glyph geodes again from the style (null: as getNode) and
    // hangs them under every position. 0 when the counter is not built.
    int rebuildGlyphs(pnStringProperty* style);

    void setStringProperty(const char* name) override;
    void setStringProperty(pnStringProperty* style) override;
    const char* getStringPropertyName() const override;
    void setBackMaterial(const char* name) override;
    bool usesMaterial(const std::string& materialName) const override {
        return pnObject::usesMaterial(materialName) || (!materialName.empty() && backMaterial == materialName);
    }
    const std::string& getBackMaterial() const { return backMaterial; }
    void setMaterial(const char* name) override;

    // Sequence frame of the main set of every glyph.
    void setTexFrame(int frame) override;

    // The "counter" block.
    int write(FILE* f, int convertPaths) override;

    // Nodes, for picking and tests.
    sgGroup* getPositionGroup() const { return group; }
    sgSwitch* getPositionSwitch(int i) const;
    sgDCS* getPositionNode(int i) const;
    sgGeode* getGlyphGeode(int i) const;
    // 1 when the set belongs to one of the glyphs.
    int ownsGeoSet(const sgGeoSet* set) const;

protected:
    void textureChanged(TextureChange what) override;

private:
    // Forgets the nodes (deleted when they hang nowhere).
    void dropNodes();
    // The style to build from: the one given, the scene's of the stored name,
    // the one last built from, or the default.
    const pnStringProperty* resolveStyle(pnStringProperty* style) const;
    // Selects and places the glyphs for a value.
    void showValue(double value);

    double initValue = 0.0;
    double finalValue = 0.0;
    sgGroup* group = nullptr;
    sgDCS* positionNodes[NUM_POSITIONS] = {};
    sgSwitch* positions[NUM_POSITIONS] = {};
    sgGeode* glyphs[NUM_GLYPHS] = {};
    std::string backMaterial;
    std::string stringProperty;
    int startFrame = 0;
    int endFrame = 0;
    int numFraction = 0;
    int useComma = 1;
    int shownFrame = 0;
    pnCounterDisplay display;
    // The style the glyphs were last made from: its advance and
    // justification place the positions.
    std::unique_ptr<pnStringProperty> glyphStyle;
};
