// A line of text shown as extruded 3D glyphs or as a flat 2D face with an
// optional outline or shadow copy. The object keeps its own copy of a text
// style and drives the 3D text engine, which compiles the string into display
// lists. Chart labels and data texts are text objects too, and the counter
// builds its digit glyphs through makeTextGeode.
//
// Geometry of a built text: the geode holds the edge set (outline or shadow,
// drawn first) and the main set (solid text or front face).
#pragma once

#include <memory>
#include <string>

#include "scene/pnTexturedObject.h"
#include "scene/pnStringProperty.h"

class sgText3D;

// The own copy of a text style is the pnTextStyleValues base.
class pnString : public pnTexturedObject, public pnTextStyleValues {
public:
    pnString();
    // Deletes the texturing, moves child events' nodes to the event's parent
    // and deletes the nodes.
    ~pnString() override;

    using pnObject::getNode;
    using pnObject::setBevel;

    // Takes other's settings, its text style values (vJust included), mode
    // and planes; the engine is made again at the next build. 1, or 0 for null.
    int copy(const pnObject* other) override;
    const char* getTypeName() const override { return "pnString"; }
    static constexpr pnObjectKind kKind = pnObjectKind::String;

    // Builds the nodes with the style's values copied into the object (all
    // but vJust and the spare spacings); a null style builds from the own
    // values like getNode().
    sgNode* getNode(pnStringProperty* style) override;
    // Builds the nodes from the object's own style values.
    sgNode* getNode() override;

    // Setters act at once on a built text; those that change the geometry do
    // nothing when the value is unchanged.
    void setForward(int forward) override;
    void setHighlight(int highlight) override;
    void setMaterial(const char* name) override;
    void setString(const char* text) override;
    void setBackMaterial(const char* name) override;
    bool usesMaterial(const std::string& materialName) const override {
        return pnObject::usesMaterial(materialName) || (!materialName.empty() && backMaterial == materialName);
    }
    // By name: a built text takes the scene's style of that name (when there
    // is one) and is built again. By pointer: takes the style at once.
    void setStringProperty(const char* name) override;
    void setStringProperty(pnStringProperty* style) override;
    void setHJust(int just) override;
    // Stored only: the text is always centred vertically.
    void setVJust(int just) override;
    void setWJust(float just) override;
    void setNJust(float just) override;
    // (width, depth).
    void setBevel(float width, float depth) override;
    void setBevel(float bevel) override;
    void setBevelWidth(float width) override;
    void setBevelDepth(float depth) override;
    void setGap(float gap) override;
    void setSlantAngle(float angle) override;
    void setItalic(int italic) override;
    void setHOffset(float offset) override;
    void setVOffset(float offset) override;
    void setBorder(float border) override;
    // Null or "" is ignored; a built text gets a new engine for the face.
    void setFont(const char* font) override;
    void setSpacing(float gap, float spacing1, float spacing2) override;
    void setSpacing1(float spacing) override;
    void setSpacing2(float spacing) override;
    void setDepth(float depth) override;
    void setSize(float size) override;
    void setRatio(double ratio) override;
    void setPrecision(float precision) override;
    // The name of the text style last assigned, or null.
    const char* getStringPropertyName() const override;
    // 1 extruded 3D, any other value flat 2D.
    void setKind(int kind) override;

    // The "string" block.
    int write(FILE* f, int convertPaths) override;

    // Regenerates the lists with the existing engine.
    void rebuild();
    // Builds the edge set's list (outline with a border, else the shadow) and
    // gives it the back material.
    void makeEdge();
    // A border, or a shadow offset.
    int hasEdge() const;
    // A geode holding an edge set and a main set made from the style for the
    // current text, with no switch or transform nodes (the counter's glyphs).
    // The caller owns the geode. Null for a null style.
    sgGeode* makeTextGeode(pnStringProperty* style);

    const std::string& getString() const { return text; }
    const std::string& getBackMaterial() const { return backMaterial; }
    // As stored (setHJust keeps it within 0..2).
    int getHJust() const { return hJust; }
    sgText3D* getEngine() const { return engine.get(); }
    sgGeoSet* getEdgeSet() const { return edgeSet; }
    sgGeoState* getEdgeState() const { return edgeState; }

protected:
    void textureChanged(TextureChange what) override;

private:
    // Copies the style's values that a build takes (not vJust and the spare
    // spacings) and its face.
    void takeStyle(const pnStringProperty* style);
    // A new engine for the face, set from the own values.
    void setupEngine(bool withNJust);
    // Lists of a full build; styleForm also gives a 2D face its border as
    // bevel width, as builds from a style do. Remembered in fromStyle.
    void buildGeometry(bool styleForm);
    // The bevel width a flat face is laid out with: the border after a build
    // from a style, else 0.
    float flatBevelWidth() const { return fromStyle ? border : 0.0f; }
    // generate, then the width squeeze.
    void generateSqueezed();
    // Builds the node chain with the edge and main sets.
    void makeNodes();
    // Engine and lists again from the own values (font or style changes), in
    // the form of the last full build.
    void regenerate();
    // Replaces a set's list with id, or keeps the old one when there is none.
    void replaceList(sgGeoSet* set, unsigned id);
    // The edge state takes the scene's back material; without one it takes
    // the default material when useDefault is set, else it stays as it is.
    void applyEdgeMaterial(bool useDefault);
    // applyTexture() and then the back material again, which the texture
    // procedure's material would otherwise cover.
    void retexture();
    // Drops the engine and forgets the nodes (deleted when they hang nowhere).
    void dropNodes();
    bool live() const { return nodesLive() && geoSet && edgeSet && engine; }
    // The geometry setters: nothing when value equals field; else stores it
    // and, on a built text, hands it to the engine (toEngine) and rebuilds.
    template <class T, class ToEngine>
    void changeGeometry(T& field, T value, ToEngine toEngine);

    std::unique_ptr<sgText3D> engine;
    std::string text;
    std::string backMaterial;
    std::string styleName;
    sgGeoSet* edgeSet = nullptr;
    sgGeoState* edgeState = nullptr;
    // The last full build took a style (opened with one, or one assigned):
    // a flat face then spaces its letters by its border, every rebuild too.
    bool fromStyle = false;
};
