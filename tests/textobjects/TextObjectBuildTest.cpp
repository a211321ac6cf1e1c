// Building text objects: the node chain with its two geometry sets, what the
// engine is given, the width squeeze, the 2D edge, setters on a built text,
// materials and the counter's glyph geodes.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>

#include "assets/sgText3D.h"
#include "scene/pnMaterial.h"
#include "scene/pnScene.h"
#include "scene/pnString.h"
#include "scene/pnStringProperty.h"
#include "sg/sgDCS.h"
#include "sg/sgGeoSet.h"
#include "sg/sgGeoState.h"
#include "sg/sgGeode.h"
#include "sg/sgNode.h"
#include "tests/support/OffscreenGL.h"
#include "tests/textobjects/TextObjectSupport.h"

namespace {

class TextBuild : public GLTest {};

// Width of a text at ratio 1, from a text object built the plain way.
float plainWidth(const char* text) {
    pnString s;
    s.setString(text);
    s.getNode();
    return s.getEngine()->getWidth();
}

pnMaterial* addMaterial(pnScene& scene, const char* name, float r, float g, float b) {
    auto* m = new pnMaterial;
    m->setName(name);
    m->setDiffuse(r, g, b);
    EXPECT_EQ(scene.addMaterial(m), 1);
    return m;
}

}  // namespace

TEST_F(TextBuild, NodeChainWithEdgeSetFirst) {
    pnString s;
    s.setName("Headline");
    s.setString("Abc");
    s.setBevel(2.0f, 3.0f);  // width 2, depth 3
    s.setDepth(7.0f);
    sgNode* root = s.getNode();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root, s.getSwitchNode());
    EXPECT_EQ(root->getChild(0), s.getTransNode());
    EXPECT_EQ(s.getTransNode()->getChild(0), s.getPivotNode());
    EXPECT_EQ(s.getPivotNode()->getChild(0), s.getGeode());
    EXPECT_EQ(root->getName(), "Headline");
    EXPECT_EQ(s.getTransNode()->getName(), "Headline");
    EXPECT_EQ(s.getGeode()->getName(), "Headline");
    ASSERT_EQ(s.getGeode()->getNumGSets(), 2);
    EXPECT_EQ(s.getGeode()->getGSet(0), s.getEdgeSet());
    EXPECT_EQ(s.getGeode()->getGSet(1), s.getGeoSet());
    EXPECT_GT(s.getGeoSet()->getDisplayList(), 0);
    EXPECT_EQ(s.getEdgeSet()->getDisplayList(), -1);  // 3D text has no edge

    const sgText3D* e = s.getEngine();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->getVJust(), 5);
    EXPECT_EQ(e->getDepthJust(), 9);
    EXPECT_FLOAT_EQ(e->getBevelSize(), 3.0f);   // the depth value
    EXPECT_FLOAT_EQ(e->getBevelWidth(), 2.0f);  // the width value
    EXPECT_FLOAT_EQ(e->getExtrusion(), 7.0f);
    EXPECT_EQ(e->getString(), "Abc");
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextBuild, FontSizeReachesTheEngineTruncated) {
    pnString s;
    s.setString("A");
    s.setSize(32.7f);
    s.getNode();
    EXPECT_EQ(s.getEngine()->getFontSize(), 32);
    pnStringProperty style;
    style.setSize(40.9f);
    pnString t;
    t.setString("A");
    t.getNode(&style);
    EXPECT_EQ(t.getEngine()->getFontSize(), 40);
    EXPECT_FLOAT_EQ(t.getSize(), 40.9f);
}

TEST_F(TextBuild, WidthSqueeze) {
    const float w = plainWidth("Squeeze me");
    ASSERT_GT(w, 100.0f);
    // A limit of 0.4 of the width draws the text at ratio 0.4.
    pnStringProperty style;
    style.setWJust(0.4f * w);
    pnString s;
    s.setString("Squeeze me");
    s.getNode(&style);
    EXPECT_NEAR(s.getEngine()->getRatio(), 0.4f, 1e-5f);
    EXPECT_NEAR(s.getEngine()->getWidth(), 0.4f * w, 0.01f * w);
    // A limit wider than the text keeps the style's ratio.
    style.setWJust(w + 50.0f);
    style.setRatio(1.0);
    pnString t;
    t.setString("Squeeze me");
    t.getNode(&style);
    EXPECT_FLOAT_EQ(t.getEngine()->getRatio(), 1.0f);
    // The squeeze divides by the width measured at the current ratio, so a
    // half-width style ends at limit / (half the width).
    style.setWJust(0.4f * w);
    style.setRatio(0.5);
    pnString u;
    u.setString("Squeeze me");
    u.getNode(&style);
    EXPECT_NEAR(u.getEngine()->getRatio(), 0.4f * w / (0.5f * w), 1e-4f);
}

TEST_F(TextBuild, TwoDimensionalEdge) {
    pnString plain;
    plain.setString("Ab");
    plain.setKind(0);
    plain.getNode();
    EXPECT_EQ(plain.hasEdge(), 0);
    EXPECT_GT(plain.getGeoSet()->getDisplayList(), 0);
    EXPECT_EQ(plain.getEdgeSet()->getDisplayList(), -1);  // border 0, no offsets
    EXPECT_FLOAT_EQ(plain.getEngine()->getExtrusion(), 0.0f);

    pnString outlined;
    outlined.setString("Ab");
    outlined.setKind(0);
    outlined.setBorder(2.0f);
    outlined.getNode();
    EXPECT_EQ(outlined.hasEdge(), 1);
    EXPECT_GT(outlined.getEdgeSet()->getDisplayList(), 0);
    EXPECT_EQ(outlined.getEngine()->getOutlineList(),
              static_cast<unsigned>(outlined.getEdgeSet()->getDisplayList()));
    EXPECT_FLOAT_EQ(outlined.getEngine()->getBevelWidth(), 2.0f);

    pnStringProperty style;
    style.setKind(0);
    style.setHOffset(3.0f);
    pnString shadowed;
    shadowed.setString("Ab");
    shadowed.getNode(&style);
    EXPECT_EQ(shadowed.getKind(), 0);
    EXPECT_GT(shadowed.getEdgeSet()->getDisplayList(), 0);
    double place[3];
    shadowed.getEngine()->getPlacement(true, place);
    double front[3];
    shadowed.getEngine()->getPlacement(false, front);
    EXPECT_NEAR(place[0] - front[0], 3.0, 1e-6);
    EXPECT_NEAR(place[2] - front[2], -1.0, 1e-6);
}

TEST_F(TextBuild, StyleValuesCopiedButNotVJustOrSpacings) {
    pnStringProperty style;
    style.setName("Tall");
    style.setVJust(3);
    style.setSpacing(1.0f, 7.0f, 8.0f);
    style.setSize(20.0f);
    style.setKind(0);
    style.setBorder(1.0f);
    style.setFont("DejaVu Sans");
    style.setNJust(15.0f);
    style.setHJust(0);
    pnString s;
    s.setString("x");
    s.getNode(&style);
    EXPECT_EQ(s.getVJust(), 4);
    EXPECT_FLOAT_EQ(s.getSpacing1(), 0.0f);
    EXPECT_FLOAT_EQ(s.getSpacing2(), 0.0f);
    EXPECT_FLOAT_EQ(s.getGap(), 1.0f);
    EXPECT_FLOAT_EQ(s.getSize(), 20.0f);
    EXPECT_EQ(s.getKind(), 0);
    EXPECT_EQ(s.getFont(), "DejaVu Sans");
    EXPECT_FLOAT_EQ(s.getNJust(), 15.0f);
    EXPECT_EQ(s.getEngine()->getFontName(), "DejaVu Sans");
    EXPECT_EQ(s.getEngine()->getHJust(), 0);
    // A build from a style lays the text out proportionally; the own build
    // passes nJust on as the fixed advance.
    EXPECT_FLOAT_EQ(s.getEngine()->getFixedAdvance(), 0.0f);
    s.getNode();
    EXPECT_FLOAT_EQ(s.getEngine()->getFixedAdvance(), 15.0f);
    // The pointer form of setStringProperty takes the name too.
    EXPECT_STREQ(s.getStringPropertyName(), nullptr);
    s.setStringProperty(&style);
    EXPECT_STREQ(s.getStringPropertyName(), "Tall");
}

TEST_F(TextBuild, StoredVJustNeverReachesTheGeometry) {
    pnString s;
    s.setString("Up");
    s.getNode();
    s.setBuilt(1);
    const int list = s.getGeoSet()->getDisplayList();
    s.setVJust(3);
    EXPECT_EQ(s.getVJust(), 3);
    EXPECT_EQ(s.getGeoSet()->getDisplayList(), list);
    EXPECT_EQ(s.getEngine()->getVJust(), 5);
}

TEST_F(TextBuild, SettersRebuildABuiltText) {
    pnString s;
    s.setString("One");
    s.getNode();
    s.setBuilt(1);
    int list = s.getGeoSet()->getDisplayList();
    s.setString("One");  // unchanged: nothing happens
    EXPECT_EQ(s.getGeoSet()->getDisplayList(), list);
    s.setString("Two");
    EXPECT_NE(s.getGeoSet()->getDisplayList(), list);
    EXPECT_FALSE(glIsList(static_cast<GLuint>(list)));  // the old list is gone
    EXPECT_EQ(s.getEngine()->getString(), "Two");

    s.setSize(50.0f);
    EXPECT_EQ(s.getEngine()->getFontSize(), 50);
    s.setHJust(7);
    EXPECT_EQ(s.getHJust(), 2);
    EXPECT_EQ(s.getEngine()->getHJust(), 2);
    s.setBevel(1.0f, 2.0f);
    EXPECT_FLOAT_EQ(s.getEngine()->getBevelSize(), 2.0f);
    EXPECT_FLOAT_EQ(s.getEngine()->getBevelWidth(), 1.0f);

    // 3D to 2D and back: extrusion follows, the edge appears with a border.
    s.setBorder(2.0f);
    s.setKind(0);
    EXPECT_FLOAT_EQ(s.getEngine()->getExtrusion(), 0.0f);
    EXPECT_GT(s.getEdgeSet()->getDisplayList(), 0);
    s.setKind(1);
    EXPECT_FLOAT_EQ(s.getEngine()->getExtrusion(), s.getDepth());
    EXPECT_EQ(s.getEdgeSet()->getDisplayList(), -1);

    // A width limit squeezes at once; the ratio is measured afresh.
    const float w = s.getEngine()->getWidth();
    s.setWJust(0.5f * w);
    EXPECT_NEAR(s.getEngine()->getRatio(), 0.5f, 1e-3f);
    s.setWJust(0.0f);
    EXPECT_FLOAT_EQ(s.getEngine()->getRatio(), 1.0f);
    s.setNJust(30.0f);
    EXPECT_FLOAT_EQ(s.getEngine()->getFixedAdvance(), 30.0f);
    EXPECT_NEAR(s.getEngine()->getWidth(), 3 * 30.0f, 1e-3f);

    s.setFont("DejaVu Sans");
    EXPECT_EQ(s.getEngine()->getFontName(), "DejaVu Sans");
    EXPECT_GT(s.getGeoSet()->getDisplayList(), 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextBuild, FailedGenerationKeepsThePreviousLists) {
    pnString s;
    s.setString("Keep");
    s.setKind(0);
    s.setBorder(1.0f);
    s.getNode();
    s.setBuilt(1);
    const int main = s.getGeoSet()->getDisplayList();
    DiagnosticLog log;
    // No list ids are to be had between glBegin and glEnd.
    glBegin(GL_TRIANGLES);
    s.setString("Lost");
    glEnd();
    glGetError();
    EXPECT_EQ(s.getGeoSet()->getDisplayList(), main);
    EXPECT_TRUE(glIsList(static_cast<GLuint>(main)));
    EXPECT_NE(log.text().find("TORVIS: Failed to generate string.\n\n"), std::string::npos) << log.text();
}

TEST_F(TextBuild, StyleByNameFromTheScene) {
    pnScene scene;
    auto* big = new pnStringProperty;
    big->setName("Big");
    big->setSize(50.0f);
    big->setDepth(9.0f);
    ASSERT_EQ(scene.addStringProperty(big), 1);
    pnString s;
    s.setScene(&scene);
    s.setString("Abc");
    s.getNode();
    s.setBuilt(1);
    s.setStringProperty("Big");
    EXPECT_STREQ(s.getStringPropertyName(), "Big");
    EXPECT_FLOAT_EQ(s.getSize(), 50.0f);
    EXPECT_EQ(s.getEngine()->getFontSize(), 50);
    EXPECT_FLOAT_EQ(s.getEngine()->getExtrusion(), 9.0f);
    // A name the scene lacks keeps the values.
    s.setStringProperty("Missing");
    EXPECT_STREQ(s.getStringPropertyName(), "Missing");
    EXPECT_FLOAT_EQ(s.getSize(), 50.0f);
}

TEST_F(TextBuild, MainAndBackMaterials) {
    pnScene scene;
    addMaterial(scene, "red", 1, 0, 0);
    addMaterial(scene, "blue", 0, 0, 1);
    pnString s;
    s.setScene(&scene);
    s.setString("Ab");
    s.setKind(0);
    s.setBorder(2.0f);
    s.setMaterial("red");
    s.setBackMaterial("blue");
    s.getNode();
    s.setBuilt(1);
    EXPECT_FLOAT_EQ(s.getGeoState()->getColor(GL_DIFFUSE)[0], 1.0f);
    EXPECT_FLOAT_EQ(s.getEdgeState()->getColor(GL_DIFFUSE)[2], 1.0f);
    EXPECT_FLOAT_EQ(s.getEdgeState()->getColor(GL_DIFFUSE)[0], 0.0f);
    // The main material reaches the main set only.
    s.setMaterial("missing");
    EXPECT_FLOAT_EQ(s.getGeoState()->getColor(GL_DIFFUSE)[0], 0.8f);
    EXPECT_FLOAT_EQ(s.getEdgeState()->getColor(GL_DIFFUSE)[2], 1.0f);
    s.setMaterial("red");
    EXPECT_FLOAT_EQ(s.getGeoState()->getColor(GL_DIFFUSE)[0], 1.0f);
    // The edge takes the default material for a back material the scene lacks.
    s.setBackMaterial("nothing");
    EXPECT_FLOAT_EQ(s.getEdgeState()->getColor(GL_DIFFUSE)[2], 0.8f);
    s.setBackMaterial("blue");
    // Texturing changes keep the back material on the edge.
    s.setMode(0);
    EXPECT_FLOAT_EQ(s.getEdgeState()->getColor(GL_DIFFUSE)[0], 0.0f);
    EXPECT_FLOAT_EQ(s.getEdgeState()->getColor(GL_DIFFUSE)[2], 1.0f);
    // Draw order and highlight reach both sets.
    s.setForward(3);
    EXPECT_FLOAT_EQ(s.getGeoSet()->getPolygonOffset(), -3.0f);
    EXPECT_FLOAT_EQ(s.getEdgeSet()->getPolygonOffset(), -3.0f);
    s.setHighlight(1);
    EXPECT_EQ(s.getGeoSet()->getOutline(), 1);
    EXPECT_EQ(s.getEdgeSet()->getOutline(), 1);
    // Naming the same back material again re-applies its changed colours.
    scene.findMaterial("blue")->setDiffuse(0, 1, 0);
    s.setBackMaterial("blue");
    EXPECT_FLOAT_EQ(s.getEdgeState()->getColor(GL_DIFFUSE)[1], 1.0f);
}

TEST_F(TextBuild, CopyOfABuiltTextIsUnbuilt) {
    pnString s;
    s.setString("Abc");
    s.getNode();
    pnString c;
    ASSERT_EQ(c.copy(&s), 1);
    EXPECT_EQ(c.getSwitchNode(), nullptr);
    EXPECT_EQ(c.getGeoSet(), nullptr);
    EXPECT_EQ(c.getEdgeSet(), nullptr);
    EXPECT_EQ(c.isBuilt(), 0);
    ASSERT_NE(c.getNode(), nullptr);
    EXPECT_NE(c.getGeoSet(), s.getGeoSet());
    // Copying over a built text drops its loose nodes (ASan sees any leak).
    ASSERT_EQ(s.copy(&c), 1);
    EXPECT_EQ(s.getSwitchNode(), nullptr);
}

TEST_F(TextBuild, TextGeodeForTheCounter) {
    pnString s;
    EXPECT_EQ(s.makeTextGeode(nullptr), nullptr);
    pnStringProperty style;
    style.setKind(0);
    style.setBorder(1.0f);
    s.setString("7");
    sgGeode* g = s.makeTextGeode(&style);
    ASSERT_NE(g, nullptr);
    ASSERT_EQ(g->getNumGSets(), 2);
    EXPECT_GT(g->getGSet(0)->getDisplayList(), 0);  // the outline
    EXPECT_GT(g->getGSet(1)->getDisplayList(), 0);
    // The object keeps no link to the geode it handed out.
    EXPECT_EQ(s.getGeode(), nullptr);
    EXPECT_EQ(s.getGeoSet(), nullptr);
    EXPECT_EQ(s.getEdgeSet(), nullptr);
    delete g;
}

TEST_F(TextBuild, DeletingATextUnderAnEventKeepsChildEvents) {
    sgGroup events;
    auto* eventNode = new sgDCS;
    events.addChild(eventNode);
    auto* s = new pnString;
    s->setString("Ev");
    sgNode* root = s->getNode();
    eventNode->addChild(root);
    auto* childEvent = new sgDCS;
    root->addChild(childEvent);
    delete s;
    // The event's node went with the text; the child event moved up.
    ASSERT_EQ(events.getNumChildren(), 1);
    EXPECT_EQ(events.getChild(0), childEvent);
}

// A flat text keeps the letter spacing it opened with through edits, a style
// change and a reopen: one built from a style whose border is 3 spaces its
// letters by twice the border, one with the border of its own does not.
TEST_F(TextBuild, FlatTextsKeepTheirSpacingThroughEditsAndReopening) {
    pnScene scene;
    auto* style = new pnStringProperty;
    style->setName("Boxed");
    style->setKind(0);
    style->setBorder(3.0f);
    ASSERT_EQ(scene.addStringProperty(style), 1);
    auto build = [&](pnString& s) {
        s.setScene(&scene);
        s.setString("Wide");
        s.setStringProperty("Boxed");
        s.getNode(style);  // as the scene builds a text that names a style
        s.setBuilt(1);
        return s.getEngine()->getWidth();
    };
    auto edit = [](pnString& s) {
        s.setGap(0.5f);  // an edit rebuilds the text
        s.setGap(0.0f);
        return s.getEngine()->getWidth();
    };
    pnString plain;
    plain.setScene(&scene);
    plain.setString("Wide");
    plain.setKind(0);
    plain.getNode();
    const float unbordered = plain.getEngine()->getWidth();
    plain.setBorder(3.0f);
    const float own = plain.getEngine()->getWidth();
    EXPECT_NEAR(own, unbordered, 1e-3);
    EXPECT_NEAR(edit(plain), own, 1e-3);

    pnString text;
    const float opened = build(text);
    EXPECT_NEAR(opened, own + 4 * 6.0f, 1e-3);
    EXPECT_NEAR(edit(text), opened, 1e-3);
    text.setStringProperty(style);  // as the scene passes on an edit of the style
    EXPECT_NEAR(text.getEngine()->getWidth(), opened, 1e-3);
    pnString reopened;
    EXPECT_NEAR(build(reopened), opened, 1e-3);
    EXPECT_TRUE(reopened.hasEdge());
}
