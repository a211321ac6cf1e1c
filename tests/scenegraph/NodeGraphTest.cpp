#include <GL/gl.h>
#include <gtest/gtest.h>

#include "sg/sgDCS.h"
#include "sg/sgGeode.h"
#include "sg/sgGeoSet.h"
#include "sg/sgLightSource.h"
#include "sg/sgNode.h"
#include "tests/scenegraph/SgFixture.h"

namespace {
sgNode* named(sgNode* n, const char* name) {
    n->setName(name);
    return n;
}

sgGeode* quadGeode(float x0, float y0, float x1, float y1, float r, float g, float b, float a = 1, bool ccw = true) {
    sgGeode* g1 = new sgGeode;
    g1->addGSet(makeQuad(x0, y0, x1, y1, 0, r, g, b, a, ccw));
    return g1;
}
}  // namespace

TEST(NodeGraph, ChildListOperations) {
    sgGroup root;
    sgNode* a = named(new sgGroup, "a");
    sgNode* b = named(new sgGroup, "b");
    sgNode* c = named(new sgGroup, "c");
    EXPECT_EQ(root.addChild(a), 1);
    EXPECT_EQ(root.insertChild(0, b), 1);  // front
    EXPECT_EQ(root.insertChild(2, c), 1);  // after the second: last
    sgGroup outside;
    EXPECT_EQ(root.insertChild(4, &outside), 0);
    EXPECT_EQ(root.insertChild(-1, c), 0);
    EXPECT_EQ(root.addChild(nullptr), 0);
    EXPECT_EQ(root.addChild(&root), 0);
    ASSERT_EQ(root.getNumChildren(), 3);
    EXPECT_EQ(root.getChild(0), b);
    EXPECT_EQ(root.getChild(1), a);
    EXPECT_EQ(root.getChild(2), c);
    EXPECT_EQ(root.getChild(3), nullptr);
    EXPECT_EQ(root.getChild(-1), nullptr);
    EXPECT_EQ(a->getParent(), &root);

    EXPECT_EQ(root.removeChildByName("a"), a);
    EXPECT_EQ(root.removeChildByName("a"), nullptr);
    EXPECT_EQ(a->getParent(), nullptr);
    EXPECT_EQ(root.removeChild(a), 0);
    EXPECT_EQ(root.removeChildIndex(-1), 0);
    EXPECT_EQ(root.removeChildIndex(2), 0);
    EXPECT_EQ(root.removeChildIndex(1), 1);  // c, not deleted
    EXPECT_EQ(root.getNumChildren(), 1);
    EXPECT_EQ(c->getNumParents(), 0);
    delete a;
    delete c;

    sgGroup empty;
    EXPECT_EQ(empty.removeChildByName("x"), nullptr);
}

TEST(NodeGraph, TypeNamesAndCopies) {
    sgSwitch sw;
    EXPECT_TRUE(sw.isOfType("sgSwitch"));
    EXPECT_FALSE(sw.isOfType("sgNode"));
    EXPECT_FALSE(sw.isOfType(nullptr));
    EXPECT_EQ(sw.getVal(), -2);

    sgScene root;
    sgSwitch* s = new sgSwitch;
    sgDCS* d = new sgDCS;
    d->setTrans(1, 2, 3);
    d->setScale(2);
    root.addChild(s);
    s->addChild(d);
    s->addChild(new sgGroup);
    s->setVal(1);
    d->addChild(new sgNode);
    sgNode* copy = root.copyTree();
    ASSERT_TRUE(copy);
    EXPECT_STREQ(copy->getTypeName(), "sgScene");
    auto* cs = dynamic_cast<sgSwitch*>(copy->getChild(0));
    ASSERT_TRUE(cs);
    EXPECT_EQ(cs->getVal(), 1);
    auto* cd = dynamic_cast<sgDCS*>(cs->getChild(0));
    ASSERT_TRUE(cd);
    EXPECT_NE(cd, d);
    EXPECT_EQ(cd->getTrans(), sgVec3(1, 2, 3));
    EXPECT_EQ(cd->getScale(), sgVec3(2, 2, 2));
    EXPECT_TRUE(cd->getTranslateOn() && cd->getScaleOn() && !cd->getRotateOn());
    EXPECT_STREQ(cd->getChild(0)->getTypeName(), "sgNode");
    EXPECT_STREQ(cs->getChild(1)->getTypeName(), "sgGroup");
    delete copy;
}

TEST(NodeGraph, SwitchValues) {
    sgSwitch sw;
    sw.addChild(new sgGroup);
    sw.addChild(new sgGroup);
    testing::internal::CaptureStdout();
    EXPECT_EQ(sw.setVal(2), 0);   // == numChildren
    EXPECT_EQ(sw.setVal(-3), 0);  // below -2
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "sgSwitch::setVal : Switch setting failure \nsgSwitch::setVal : Switch setting failure \n");
    EXPECT_EQ(sw.getVal(), -2);
    EXPECT_EQ(sw.setVal(1), 1);
    EXPECT_TRUE(sw.selects(1));
    EXPECT_FALSE(sw.selects(0));
    EXPECT_EQ(sw.setVal(-1), 1);
    EXPECT_FALSE(sw.selects(0));
}

TEST(NodeGraph, TransformSetters) {
    sgDCS d;
    sgMatrix m;
    m.translate(5, 0, 0);
    d.setRot(30, 0, 0, 1);
    d.setMatrix(m);
    EXPECT_TRUE(d.getMatrixOn());
    EXPECT_TRUE(d.getRotateOn());  // kept
    d.setTrans(1, 1, 1);
    EXPECT_FALSE(d.getMatrixOn());
    EXPECT_FLOAT_EQ(d.getRotAngle(), 30);
    EXPECT_EQ(d.getRotAxis(), sgVec3(0, 0, 1));

    d.setScale(-1, 1, 1);
    EXPECT_TRUE(d.mirrors());
    d.setScale(-1, -1, 1);  // a half turn, not a mirror
    EXPECT_FALSE(d.mirrors());
    sgMatrix mirror;
    mirror.scale(1, 1, -1);
    d.setMatrix(mirror);
    EXPECT_TRUE(d.mirrors());
}

class NodeDrawTest : public SgGLTest {};

TEST_F(NodeDrawTest, UnsetSwitchDrawsEveryChild) {
    sgScene root;
    sgSwitch* sw = new sgSwitch;
    root.addChild(sw);
    sw->addChild(quadGeode(10, 10, 50, 50, 1, 0, 0));
    sw->addChild(quadGeode(100, 10, 140, 50, 0, 1, 0));
    clear();
    root.draw(SG_PASS_OPAQUE);
    Frame f = frame();
    EXPECT_TRUE(near(f.at(30, 30), rgb(255, 0, 0))) << describe(f.at(30, 30));
    EXPECT_TRUE(near(f.at(120, 30), rgb(0, 255, 0))) << describe(f.at(120, 30));

    sw->setVal(1);
    clear();
    root.draw(SG_PASS_OPAQUE);
    f = frame();
    EXPECT_TRUE(near(f.at(30, 30), rgb(0, 0, 0, 0)));
    EXPECT_TRUE(near(f.at(120, 30), rgb(0, 255, 0)));

    sw->setVal(-1);
    clear();
    root.draw(SG_PASS_OPAQUE);
    f = frame();
    EXPECT_TRUE(near(f.at(120, 30), rgb(0, 0, 0, 0)));

    // Only switches test the enabled flag: a disabled group still draws.
    sgGroup* g = new sgGroup;
    g->setEnabled(0);
    g->addChild(quadGeode(200, 10, 240, 50, 0, 0, 1));
    root.addChild(g);
    sw->setVal(-2);
    sw->setEnabled(0);
    clear();
    root.draw(SG_PASS_OPAQUE);
    f = frame();
    EXPECT_TRUE(near(f.at(220, 30), rgb(0, 0, 255)));
    EXPECT_TRUE(near(f.at(30, 30), rgb(0, 0, 0, 0)));
}

TEST_F(NodeDrawTest, TransformPlacesQuadAtComputedPixels) {
    sgScene root;
    sgDCS* d = new sgDCS;
    root.addChild(d);
    d->addChild(quadGeode(0, 0, 1, 1, 1, 1, 0));
    // Unit square scaled to 40 x 20, turned 90 degrees about z, moved by
    // (250, 100): x from 230 to 250, y from 100 to 140.
    d->setTrans(250, 100, 0);
    d->setRot(90, 0, 0, 1);
    d->setScale(40, 20, 1);
    clear();
    root.draw(SG_PASS_OPAQUE);
    Frame f = frame();
    EXPECT_TRUE(near(f.at(240, 120), rgb(255, 255, 0))) << describe(f.at(240, 120));
    EXPECT_TRUE(near(f.at(232, 102), rgb(255, 255, 0)));
    EXPECT_TRUE(near(f.at(248, 138), rgb(255, 255, 0)));
    EXPECT_TRUE(near(f.at(227, 120), rgb(0, 0, 0, 0)));
    EXPECT_TRUE(near(f.at(253, 120), rgb(0, 0, 0, 0)));
    EXPECT_TRUE(near(f.at(240, 143), rgb(0, 0, 0, 0)));
    EXPECT_TRUE(near(f.at(240, 97), rgb(0, 0, 0, 0)));

    // Matrix mode: the matrix alone places the children.
    sgMatrix m;
    m.translate(20, 200, 0);
    sgMatrix s;
    s.scale(10, 10, 1);
    sgMatrix both;
    sgMatrix::multiply(both, s, m);
    d->setMatrix(both);
    clear();
    root.draw(SG_PASS_OPAQUE);
    f = frame();
    EXPECT_TRUE(near(f.at(25, 205), rgb(255, 255, 0))) << describe(f.at(25, 205));
    EXPECT_TRUE(near(f.at(240, 120), rgb(0, 0, 0, 0)));
}

TEST_F(NodeDrawTest, MirrorShowsTheRightFaceAndRestoresCulling) {
    glEnable(GL_CULL_FACE);
    sgScene root;
    sgDCS* mirror = new sgDCS;
    mirror->setScale(-1, 1, 1);
    root.addChild(mirror);
    // Front faces towards the viewer; mirrored to x -60..-20, then moved back
    // into view by an outer transform.
    sgDCS* outer = new sgDCS;
    outer->setTrans(100, 0, 0);
    root.removeChild(mirror);
    root.addChild(outer);
    outer->addChild(mirror);
    mirror->addChild(quadGeode(20, 20, 60, 60, 1, 0, 0));
    // A sibling facing the viewer and one facing away, drawn after the mirror.
    root.addChild(quadGeode(120, 20, 160, 60, 0, 1, 0));
    root.addChild(quadGeode(200, 20, 240, 60, 0, 0, 1, 1, false));
    clear();
    root.draw(SG_PASS_OPAQUE);
    Frame f = frame();
    EXPECT_TRUE(near(f.at(60, 40), rgb(255, 0, 0))) << describe(f.at(60, 40));
    EXPECT_TRUE(near(f.at(140, 40), rgb(0, 255, 0)));
    EXPECT_TRUE(near(f.at(220, 40), rgb(0, 0, 0, 0))) << "back face drawn after the mirror";
    GLint cull = 0;
    glGetIntegerv(GL_CULL_FACE_MODE, &cull);
    EXPECT_EQ(cull, GL_BACK);

    // Two mirrors undo each other; a half turn is no mirror at all.
    sgDCS* inner = new sgDCS;
    inner->setScale(1, -1, 1);
    inner->setTrans(0, 80, 0);
    sgNode* old = mirror->getChild(0);
    mirror->removeChildIndex(0);
    delete old;
    mirror->addChild(inner);
    inner->addChild(quadGeode(20, 0, 60, 40, 1, 0, 1));
    sgDCS* halfTurn = new sgDCS;
    halfTurn->setTrans(300, 100, 0);
    halfTurn->setScale(-1, -1, 1);
    halfTurn->addChild(quadGeode(20, 20, 60, 60, 0, 1, 1));
    root.addChild(halfTurn);
    clear();
    root.draw(SG_PASS_OPAQUE);
    f = frame();
    EXPECT_TRUE(near(f.at(60, 60), rgb(255, 0, 255))) << describe(f.at(60, 60));
    EXPECT_TRUE(near(f.at(260, 60), rgb(0, 255, 255))) << describe(f.at(260, 60));
}

TEST_F(NodeDrawTest, TransparentPassesOrderBackThenFrontInsideAMirror) {
    // A two-sided transparent object: a far face turned away and a near face
    // turned towards the viewer. Pass 4 must blend the far (back) face first.
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    auto build = [](sgNode* parent) {
        sgGeode* g = new sgGeode;
        g->addGSet(makeQuad(-60, 20, -20, 60, -1, 1, 0, 0, 0.5f, false));  // far, red
        g->addGSet(makeQuad(-60, 20, -20, 60, 0, 0, 0, 1, 0.5f, true));    // near, blue
        parent->addChild(g);
    };
    sgScene root;
    sgDCS* plain = new sgDCS;
    plain->setTrans(100, 0, 0);
    build(plain);
    sgDCS* mirror = new sgDCS;
    mirror->setTrans(200, 0, 0);
    mirror->setScale(-1, 1, 1);  // to x 220..260
    build(mirror);
    root.addChild(plain);
    root.addChild(mirror);
    clear();
    root.draw(SG_PASS_TRANSPARENT);
    Frame f = frame();
    // Red first at 0.5 over black, then blue at 0.5: (64, 0, 128).
    RGBA expected = rgb(64, 0, 128, 96);
    EXPECT_TRUE(near(f.at(60, 40), expected, 3)) << describe(f.at(60, 40));
    EXPECT_TRUE(near(f.at(240, 40), expected, 3)) << describe(f.at(240, 40));
}

TEST_F(NodeDrawTest, LightPassEnablesExactlyTheReachableLights) {
    sgScene root;
    sgLightSource* lights[6];
    for (auto& l : lights) l = new sgLightSource;
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(lights[i]->getLightNumber(), i);
        lights[i]->on();
    }
    for (int i = 0; i < 6; ++i) glDisable(GL_LIGHT0 + i);  // GL state as after sgInitGLState
    root.addChild(lights[0]);                              // reachable
    sgSwitch* off = new sgSwitch;
    off->addChild(lights[1]);
    off->setVal(-1);
    root.addChild(off);  // not selected
    sgGroup* disabled = new sgGroup;
    disabled->setEnabled(0);
    disabled->addChild(lights[2]);
    root.addChild(disabled);  // not entered
    sgSwitch* pickOne = new sgSwitch;
    pickOne->addChild(lights[3]);
    pickOne->addChild(lights[4]);
    pickOne->setVal(1);
    root.addChild(pickOne);  // 4 only
    lights[5]->off();
    root.addChild(lights[5]);  // off

    sgLightPass(&root);
    bool expected[8] = {true, false, false, false, true, false, false, false};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(glIsEnabled(GL_LIGHT0 + i) == GL_TRUE, expected[i]) << "light " << i;

    pickOne->setVal(0);
    sgLightPass(&root);
    EXPECT_TRUE(glIsEnabled(GL_LIGHT3));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT4));
}

TEST_F(NodeDrawTest, LightRecordsAreSentScaledByIntensity) {
    sgLightSource light;
    ASSERT_EQ(light.getLightNumber(), 0);
    float v[4];
    glGetLightfv(GL_LIGHT0, GL_AMBIENT, v);
    EXPECT_FLOAT_EQ(v[0], 0.2f);
    light.setIntensity(0, 0.5f);
    light.setColor(GL_DIFFUSE, 1, 0.5f, 0.25f);
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, v);
    EXPECT_FLOAT_EQ(v[0], 0.5f);
    EXPECT_FLOAT_EQ(v[1], 0.25f);
    EXPECT_FLOAT_EQ(v[2], 0.125f);
    EXPECT_FLOAT_EQ(v[3], 0.5f);
    float r, g;
    light.getColor(GL_DIFFUSE, &r, &g, nullptr);  // recorded, unscaled
    EXPECT_FLOAT_EQ(g, 0.5f);
    EXPECT_EQ(light.setColor(GL_POSITION, 1, 1, 1), 0);

    light.setIntensity(-1, 2.0f);  // re-sends every colour
    glGetLightfv(GL_LIGHT0, GL_AMBIENT, v);
    EXPECT_FLOAT_EQ(v[0], 0.4f);
    EXPECT_FLOAT_EQ(v[3], 2.0f);

    light.setSpotDirection(0, 0, -1);
    float x = 9, y = 9, z = 9;
    light.getSpotDirection(&x, &y, &z);
    EXPECT_FLOAT_EQ(z, -1);
    float rec[4];
    EXPECT_EQ(light.getAttr(GL_SPOT_DIRECTION, rec), 1);
    EXPECT_FLOAT_EQ(rec[3], 0);
    light.setSpot(10, 45);
    glGetLightfv(GL_LIGHT0, GL_SPOT_CUTOFF, v);
    EXPECT_FLOAT_EQ(v[0], 45);
    float c = 9, l = 9, q = 9;
    light.getAttenuation(&c, &l, &q);  // never recorded
    EXPECT_EQ(c + l + q, 0);

    light.on();
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    sgLightSource* copy = static_cast<sgLightSource*>(light.copy());
    EXPECT_EQ(copy->getLightNumber(), 1);
    copy->getColor(GL_DIFFUSE, &r, &g, nullptr);
    EXPECT_FLOAT_EQ(r, 1);
    EXPECT_EQ(copy->getAttr(GL_SPOT_CUTOFF, rec), 1);
    EXPECT_FALSE(copy->isOn());
    delete copy;
    light.off();
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
}

TEST_F(NodeDrawTest, NinthLightTakesTheFirstFreeNumber) {
    sgScene* root = new sgScene;
    sgChannel::sgGetChannel()->setScene(root);
    std::vector<sgLightSource*> loose;
    for (int i = 0; i < 8; ++i) {
        sgLightSource* l = new sgLightSource;
        if (i == 2 || i == 5) {
            loose.push_back(l);  // not in the scene
        } else {
            sgSwitch* sw = new sgSwitch;
            sw->setVal(-1);  // hidden lights still count as used
            sw->addChild(l);
            root->addChild(sw);
        }
    }
    sgLightSource* ninth = new sgLightSource;
    EXPECT_EQ(ninth->getLightNumber(), 2);
    root->addChild(ninth);
    sgLightSource* tenth = new sgLightSource;
    EXPECT_EQ(tenth->getLightNumber(), 5);
    root->addChild(tenth);
    sgLightSource* none = new sgLightSource;
    EXPECT_EQ(none->getLightNumber(), -1);
    for (int i = 0; i < 8; ++i) glDisable(GL_LIGHT0 + i);
    none->on();
    none->setColor(GL_DIFFUSE, 1, 0, 0);
    for (int i = 0; i < 8; ++i) EXPECT_FALSE(glIsEnabled(GL_LIGHT0 + i));
    delete none;
    for (auto* l : loose) delete l;
    sgChannel::sgGetChannel()->setScene(nullptr);
    delete root;
}

TEST_F(NodeDrawTest, DeletingNodesUnlinksThemAndKeepsSharedChildren) {
    sgScene* root = new sgScene;
    sgDCS* event = new sgDCS;
    root->addChild(event);
    sgGeode* glyph = quadGeode(0, 0, 10, 10, 1, 1, 1);
    sgSwitch* digits[3];
    for (auto& d : digits) {
        d = new sgSwitch;
        d->addChild(glyph);  // one geode under many switches
        event->addChild(d);
    }
    EXPECT_EQ(glyph->getNumParents(), 3);
    // An owner deletes a node still hung under its parent: it unlinks first.
    delete digits[0];
    EXPECT_EQ(event->getNumChildren(), 2);
    EXPECT_EQ(glyph->getNumParents(), 2);
    clear();
    root->draw(SG_PASS_OPAQUE);
    EXPECT_TRUE(near(frame().at(5, 5), rgb(255, 255, 255)));
    delete digits[1];
    EXPECT_EQ(glyph->getNumParents(), 1);

    // The rest goes with the subtree.
    sgLightSource* light = new sgLightSource;
    light->on();
    event->addChild(light);
    sgGeode* g = quadGeode(0, 0, 1, 1, 1, 0, 0);
    sgGeoSet* extra = makeQuad(0, 0, 1, 1, 0, 0, 1, 0);
    g->addGSet(extra);
    g->getGSet(0)->buildDisplayList();
    event->addChild(g);
    // A set deleted by its owner leaves its geode.
    delete extra;
    EXPECT_EQ(g->getNumGSets(), 1);
    delete event;
    EXPECT_EQ(root->getNumChildren(), 0);
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
    sgChannel::sgGetChannel()->setScene(root);
    delete root;
    EXPECT_EQ(sgChannel::sgGetChannel()->getScene(), nullptr);
    EXPECT_EQ(sgDrawFrame(GL_RENDER, 0), 1);
}
