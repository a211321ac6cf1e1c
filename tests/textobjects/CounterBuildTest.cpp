// Building counters: 13 position switches over 14 shared glyph geodes, the
// glyphs selected and placed for a frame, and the glyphs made again.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>

#include "scene/pnCounter.h"
#include "scene/pnMaterial.h"
#include "scene/pnScene.h"
#include "scene/pnStringProperty.h"
#include "sg/sgDCS.h"
#include "sg/sgGeoSet.h"
#include "sg/sgGeoState.h"
#include "sg/sgGeode.h"
#include "sg/sgNode.h"
#include "tests/support/OffscreenGL.h"
#include "tests/textobjects/TextObjectSupport.h"

namespace {

class CounterBuild : public GLTest {};

// The glyph each position selects, as text ('_' for none).
std::string selections(const pnCounter& c) {
    static const char glyphs[] = "0123456789+-.,";
    std::string s;
    for (int p = 0; p < pnCounter::NUM_POSITIONS; ++p) {
        int v = c.getPositionSwitch(p)->getVal();
        s += v >= 0 && v < 14 ? glyphs[v] : '_';
    }
    return s;
}

}  // namespace

TEST_F(CounterBuild, PositionsOverSharedGlyphs) {
    pnCounter c;
    c.setName("Count");
    pnStringProperty style;
    sgNode* root = c.getNode(&style);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->getName(), "Count");
    EXPECT_EQ(c.getGeode(), nullptr);
    ASSERT_EQ(c.getPivotNode()->getNumChildren(), 1);
    EXPECT_EQ(c.getPivotNode()->getChild(0), c.getPositionGroup());
    ASSERT_EQ(c.getPositionGroup()->getNumChildren(), 13);
    for (int p = 0; p < 13; ++p) {
        EXPECT_EQ(c.getPositionGroup()->getChild(p), c.getPositionNode(p));
        EXPECT_EQ(c.getPositionNode(p)->getChild(0), c.getPositionSwitch(p));
        ASSERT_EQ(c.getPositionSwitch(p)->getNumChildren(), 14);
        for (int g = 0; g < 14; ++g) EXPECT_EQ(c.getPositionSwitch(p)->getChild(g), c.getGlyphGeode(g));
    }
    for (int g = 0; g < 14; ++g) {
        sgGeode* geode = c.getGlyphGeode(g);
        ASSERT_NE(geode, nullptr);
        EXPECT_EQ(geode->getNumParents(), 13);
        ASSERT_EQ(geode->getNumGSets(), 2);
        EXPECT_GT(geode->getGSet(1)->getDisplayList(), 0) << "glyph " << g;
        EXPECT_TRUE(c.ownsGeoSet(geode->getGSet(1)));
    }
    EXPECT_EQ(c.getGlyphGeode(14), nullptr);
    EXPECT_EQ(c.getPositionSwitch(-1), nullptr);
    // Frame 0 shows the initial value 0.
    EXPECT_EQ(selections(c), "____________0");
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(CounterBuild, ShowsTheValueOfAFrame) {
    pnCounter c;
    c.setFinalValue(100.0);
    c.setFrames(0, 10);
    pnStringProperty style;
    c.getNode(&style);
    c.setBuilt(1);
    c.showFrame(5);
    EXPECT_EQ(selections(c), "___________50");
    c.showFrame(10);
    EXPECT_EQ(selections(c), "__________100");
    // Places: centred on 0 with the default advance of 25.
    EXPECT_FLOAT_EQ(c.getPositionNode(10)->getTrans()[0], -25.0f);
    EXPECT_FLOAT_EQ(c.getPositionNode(11)->getTrans()[0], 0.0f);
    EXPECT_FLOAT_EQ(c.getPositionNode(12)->getTrans()[0], 25.0f);

    c.setInitValue(-1234.5);
    c.setNumFraction(1);  // shows frame 0 at once
    EXPECT_EQ(selections(c), "___-1,234.5__");
    c.setUseComma(0);
    EXPECT_EQ(selections(c), "____-1234.5__");
    c.setNumFraction(7);
    EXPECT_EQ(c.getNumFraction(), 3);
    EXPECT_EQ(selections(c), "____-1234.500");
}

TEST_F(CounterBuild, LayoutFollowsTheStyle) {
    pnCounter c;
    c.setInitValue(123.0);
    pnStringProperty style;
    style.setNJust(10.0f);
    style.setHJust(0);
    c.getNode(&style);
    EXPECT_FLOAT_EQ(c.getPositionNode(10)->getTrans()[0], 0.0f);
    EXPECT_FLOAT_EQ(c.getPositionNode(11)->getTrans()[0], 10.0f);
    EXPECT_FLOAT_EQ(c.getPositionNode(12)->getTrans()[0], 20.0f);
}

TEST_F(CounterBuild, RebuildingGlyphsReplacesThemEverywhere) {
    pnScene scene;
    auto* style = new pnStringProperty;
    style->setName("Digits");
    style->setNJust(40.0f);
    ASSERT_EQ(scene.addStringProperty(style), 1);
    auto* red = new pnMaterial;
    red->setName("red");
    red->setDiffuse(1, 0, 0);
    ASSERT_EQ(scene.addMaterial(red), 1);

    pnCounter c;
    c.setScene(&scene);
    c.setInitValue(42.0);
    c.setStringProperty("Digits");
    c.getNode(nullptr);  // the scene's style of the stored name
    c.setBuilt(1);
    EXPECT_FLOAT_EQ(c.getPositionNode(12)->getTrans()[0], 20.0f);
    // A mark on the old glyph, since a new one may take the old one's address.
    c.getGlyphGeode(4)->setName("old glyph 4");
    c.setMaterial("red");
    sgGeode* new4 = c.getGlyphGeode(4);
    EXPECT_NE(new4->getName(), "old glyph 4");
    for (int p = 0; p < 13; ++p) EXPECT_EQ(c.getPositionSwitch(p)->getChild(4), new4);
    EXPECT_EQ(new4->getNumParents(), 13);
    EXPECT_FLOAT_EQ(new4->getGSet(1)->getGState()->getColor(GL_DIFFUSE)[0], 1.0f);
    EXPECT_FLOAT_EQ(new4->getGSet(1)->getGState()->getColor(GL_DIFFUSE)[1], 0.0f);
    // Selections and places stay.
    EXPECT_EQ(selections(c), "___________42");
    EXPECT_FLOAT_EQ(c.getPositionNode(12)->getTrans()[0], 20.0f);
    EXPECT_EQ(c.rebuildGlyphs(nullptr), 1);
    EXPECT_EQ(selections(c), "___________42");

    c.setTexFrame(3);
    for (int g = 0; g < 14; ++g) EXPECT_EQ(c.getGlyphGeode(g)->getGSet(1)->getGState()->getSequenceFrame(), 3);
}

TEST_F(CounterBuild, ABuildWithoutAnyStyleUsesTheDefault) {
    pnCounter c;
    c.setStringProperty("nowhere");
    ASSERT_NE(c.getNode(nullptr), nullptr);
    EXPECT_NE(c.getGlyphGeode(0), nullptr);
    EXPECT_FLOAT_EQ(c.getPositionNode(12)->getTrans()[0], 0.0f);
}

TEST_F(CounterBuild, CopyAndDeletion) {
    sgGroup events;
    auto* eventNode = new sgDCS;
    events.addChild(eventNode);
    auto* c = new pnCounter;
    c->setInitValue(7.0);
    pnStringProperty style;
    eventNode->addChild(c->getNode(&style));
    pnCounter copy;
    ASSERT_EQ(copy.copy(c), 1);
    EXPECT_EQ(copy.getSwitchNode(), nullptr);
    EXPECT_EQ(copy.getGlyphGeode(0), nullptr);
    EXPECT_EQ(copy.getPositionSwitch(0), nullptr);
    auto* childEvent = new sgDCS;
    c->getSwitchNode()->addChild(childEvent);
    delete c;  // glyphs, positions and the event node go; the child event stays
    ASSERT_EQ(events.getNumChildren(), 1);
    EXPECT_EQ(events.getChild(0), childEvent);
    // A counter rebuilt while its old nodes are loose frees them.
    pnCounter again;
    again.getNode(&style);
    again.getNode(&style);
    EXPECT_EQ(again.getGlyphGeode(0)->getNumParents(), 13);
}
