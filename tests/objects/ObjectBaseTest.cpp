// The object base: transform setters and the node chain, refusals, draw
// order, copying, texture generation, materials, node release.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <climits>

#include "scene/pnCounter.h"
#include "scene/pnMaterial.h"
#include "scene/pnModel.h"
#include "scene/pnPanel.h"
#include "scene/pnScene.h"
#include "scene/pnString.h"
#include "scene/pnVolume.h"
#include "sg/sgDCS.h"
#include "sg/sgGeoSet.h"
#include "sg/sgGeoState.h"
#include "sg/sgGeode.h"
#include "sg/sgNode.h"
#include "sg/sgTexGen.h"
#include "tests/objects/ObjectTestSupport.h"
#include "tests/support/VecCheck.h"

namespace {

void expectPlane(const sgTexGen* g, int i, float a, float b, float c, float d) {
    float p[4];
    g->getPlane(i, p);
    EXPECT_FLOAT_EQ(p[0], a) << "plane " << i;
    EXPECT_FLOAT_EQ(p[1], b) << "plane " << i;
    EXPECT_FLOAT_EQ(p[2], c) << "plane " << i;
    EXPECT_FLOAT_EQ(p[3], d) << "plane " << i;
}
}  // namespace

TEST(ObjectBase, CenterSplitsTheTranslationAtBuildAndLive) {
    pnPanel p;
    p.setCenter(1, 0, 0);
    p.setPosition(3, 0, 0);  // unbuilt: fields and flags only
    EXPECT_EQ(p.getSwitchNode(), nullptr);
    ASSERT_NE(p.getNode(), nullptr);
    expectVec(p.getTransNode()->getTrans(), 1, 0, 0);
    expectVec(p.getPivotNode()->getTrans(), 2, 0, 0);

    p.setBuilt(1);
    p.setPosition(5, 1, 0);
    expectVec(p.getTransNode()->getTrans(), 1, 0, 0);
    expectVec(p.getPivotNode()->getTrans(), 4, 1, 0);
    p.setCenterX(2);
    expectVec(p.getTransNode()->getTrans(), 2, 0, 0);
    expectVec(p.getPivotNode()->getTrans(), 3, 1, 0);

    // Without a centre the outer node alone translates.
    pnPanel q;
    q.setPosition(3, 0, 0);
    q.getNode();
    expectVec(q.getTransNode()->getTrans(), 3, 0, 0);
    EXPECT_EQ(q.getPivotNode()->getTranslateOn(), 0);
}

TEST(ObjectBase, BuildAppliesOnlyWhatWasSetAndBuiltSettersFollow) {
    pnPanel p;
    p.getNode();
    EXPECT_EQ(p.getTransNode()->getRotateOn(), 0);
    EXPECT_EQ(p.getTransNode()->getScaleOn(), 0);
    EXPECT_EQ(p.getPivotNode()->getRotateOn(), 0);
    EXPECT_EQ(p.getPivotNode()->getScaleOn(), 0);

    p.setRotAngle(30);
    p.setPivotAngle(0);  // the flag, not the value, decides for the pivot
    p.setScale(2);
    p.setScaleOrigin(3, 4, 5);
    EXPECT_EQ(p.getTransNode()->getRotateOn(), 0);  // not built: nodes untouched
    p.getNode();
    EXPECT_FLOAT_EQ(p.getTransNode()->getRotAngle(), 30);
    EXPECT_EQ(p.getPivotNode()->getRotateOn(), 1);
    expectVec(p.getTransNode()->getScale(), 2, 2, 2);
    expectVec(p.getPivotNode()->getScale(), 3, 4, 5);

    p.setBuilt(1);
    p.setRotAxis(1, 0, 0);
    p.setRotAngle(45);
    EXPECT_FLOAT_EQ(p.getTransNode()->getRotAngle(), 45);
    expectVec(p.getTransNode()->getRotAxis(), 1, 0, 0);
    p.setPivotAxis(0, 0, 1);
    p.setPivotAngle(10);
    EXPECT_FLOAT_EQ(p.getPivotNode()->getRotAngle(), 10);
    expectVec(p.getPivotNode()->getRotAxis(), 0, 0, 1);
    p.setScaleY(7);
    expectVec(p.getTransNode()->getScale(), 2, 7, 2);
    for (int i = pnObject::POSITION_FLAG; i <= pnObject::SCALEORIGIN_FLAG; ++i)
        EXPECT_EQ(p.getSetFlag(i), i == pnObject::POSITION_FLAG ? 0 : 1) << i;
    EXPECT_EQ(p.getSetFlag(pnObject::NUM_FLAGS), 0);
    EXPECT_EQ(p.getSetFlag(-1), 0);
}

TEST(ObjectBase, ZeroAxesAreRefusedWithTheirMessage) {
    DiagnosticLog log;
    pnObject o;
    o.setRotAxis(0, 0, 0);
    EXPECT_EQ(o.getSetFlag(pnObject::ROTAXIS_FLAG), 0);
    expectVec(o.getRotAxis(), 0, 1, 0);
    EXPECT_NE(log.text().find("TORVIS: [pnObject::setRotAxis]  one of axis component should not be 0\n\n"),
              std::string::npos);

    o.setRotAxis(0, 0, 0.001f);
    EXPECT_EQ(o.getSetFlag(pnObject::ROTAXIS_FLAG), 1);
    expectVec(o.getRotAxis(), 0, 0, 0.001f);
    o.setRotAxisZ(0);  // the single-component form would make it zero
    expectVec(o.getRotAxis(), 0, 0, 0.001f);

    o.setPivotAxis(sgVec3(0, 0, 0));
    EXPECT_EQ(o.getSetFlag(pnObject::PIVOTAXIS_FLAG), 0);
    EXPECT_NE(log.text().find("[pnObject::setPivotAxis]  one of axis component should not be 0"), std::string::npos);
}

TEST(ObjectBase, ForwardIsStoredNegatedAndReachesEverySet) {
    pnPanel p;
    p.setForward(3);
    EXPECT_EQ(p.getForward(), -3);
    p.getNode();
    ASSERT_EQ(p.getGeode()->getNumGSets(), 6);
    for (int i = 0; i < 6; ++i) EXPECT_FLOAT_EQ(p.getGeode()->getGSet(i)->getPolygonOffset(), -3.0f);
    EXPECT_NE(writtenBy(p).find("    forward\t3\n"), std::string::npos);

    p.setBuilt(1);
    p.setForward(-2);
    p.setHighlight(1);
    for (int i = 0; i < 6; ++i) {
        EXPECT_FLOAT_EQ(p.getGeode()->getGSet(i)->getPolygonOffset(), 2.0f);
        EXPECT_EQ(p.getGeode()->getGSet(i)->getOutline(), 1);
    }
    p.setForward(INT_MIN);  // no overflow in the negation
    EXPECT_EQ(p.getForward(), INT_MAX);
}

TEST(ObjectBase, CopyIsUnbuiltAndLeavesMappingAndHighlightAlone) {
    pnPanel src;
    src.setName("src");
    src.setFile("a.obj");
    src.setPosition(1, 2, 3);
    src.setMaterialName("red");
    src.setForward(4);
    src.setHighlight(1);
    src.setLineFlag(1);
    src.setPartFlag(1);
    src.setVisible(0);
    src.getNode();
    src.setBuilt(1);

    pnObject dst;
    ASSERT_EQ(dst.copy(&src), 1);
    EXPECT_EQ(dst.getName(), "src");
    EXPECT_EQ(dst.getFile(), "a.obj");
    EXPECT_EQ(dst.getMaterialName(), "red");
    expectVec(dst.getPosition(), 1, 2, 3);
    EXPECT_EQ(dst.getForward(), -4);
    EXPECT_EQ(dst.getSetFlag(pnObject::POSITION_FLAG), 1);
    EXPECT_EQ(dst.getPartFlag(), 1);
    EXPECT_EQ(dst.getVisible(), 0);
    EXPECT_EQ(dst.getHighlight(), 0);
    EXPECT_EQ(dst.getLineFlag(), 0);
    EXPECT_EQ(dst.isBuilt(), 0);
    EXPECT_EQ(dst.getSwitchNode(), nullptr);
    EXPECT_EQ(dst.copy(nullptr), 0);
    EXPECT_EQ(dst.copy(&dst), 1);

    // Copying over a built object: its own nodes never leak, and a switch
    // that hangs in a graph stays with the graph.
    pnPanel loose;
    loose.getNode();
    loose.setBuilt(1);
    loose.copy(&src);
    EXPECT_EQ(loose.getSwitchNode(), nullptr);
    EXPECT_EQ(loose.isBuilt(), 0);

    sgGroup graph;
    pnPanel hung;
    graph.addChild(hung.getNode());
    hung.copy(&src);
    EXPECT_EQ(hung.getSwitchNode(), nullptr);
    EXPECT_EQ(graph.getNumChildren(), 1);
}

TEST(ObjectBase, FileTextureAndMaterialNames) {
    pnObject o;
    o.setFile("");
    EXPECT_EQ(o.getSetFlag(pnObject::FILE_FLAG), 0);
    o.setFile("a.3ds");
    o.setFile("");
    EXPECT_EQ(o.getFile(), "");
    EXPECT_EQ(o.getSetFlag(pnObject::FILE_FLAG), 1);

    o.setTextureName("t.png");
    o.setTextureName("");
    EXPECT_EQ(o.getTexture(), "");
    EXPECT_EQ(o.getSetFlag(pnObject::TEXTURE_FLAG), 1);
    o.setTexture("x.png");  // the base ignores it
    EXPECT_EQ(o.getTexture(), "");

    o.setNameString(nullptr);
    o.setName("n");
    o.setName(nullptr);
    EXPECT_EQ(o.getName(), "n");
    EXPECT_EQ(o.isChart(), 0);
}

TEST(ObjectBase, TexGenPlanesByMode) {
    pnModel m;  // stores the mode while unbuilt
    m.setMode(2);
    m.makeTexGen();
    const sgTexGen* g = m.getTexGen();
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->getMode(0), 2);
    EXPECT_EQ(g->getMode(1), 2);
    // s = 0.005 (x + z) + 0.5, t = 0.005 y + 0.5
    expectPlane(g, 0, 0.005f, 0, 0.005f, 0.5f);
    expectPlane(g, 1, 0, 0.005f, 0, 0.5f);

    m.setMode(3);
    m.setTexScale(2, 3);     // splane[0], tplane[1]
    m.setTexRotate(0.5f, 4);  // splane[1], tplane[0]
    m.makeTexGen();
    expectPlane(g, 0, 0.01f, 0.0025f, 0.005f, 0.5f);
    expectPlane(g, 1, 0.02f, 0.015f, 0.005f, 0.5f);

    m.setMode(2);  // the t plane's y term stays the constant 0.005
    m.makeTexGen();
    expectPlane(g, 1, 0.02f, 0.005f, 0, 0.5f);

    m.setMode(1);
    m.makeTexGen();
    expectPlane(g, 0, 0.01f, 0.0025f, 0, 0.5f);
    expectPlane(g, 1, 0.02f, 0.015f, 0, 0.5f);

    m.setMode(4);
    m.setTexMove(9, 9);  // ignored for a sphere map
    m.makeTexGen();
    EXPECT_EQ(g->getMode(0), 3);
    EXPECT_EQ(g->getMode(1), 3);
    float s, t;
    m.getTexMove(&s, &t);
    EXPECT_FLOAT_EQ(s, 0.5f);
    EXPECT_FLOAT_EQ(t, 0.5f);
    m.getTexRotate(&s, &t);
    EXPECT_FLOAT_EQ(s, 0.5f);
    EXPECT_FLOAT_EQ(t, 4);
    m.getTexScale(&s, &t);
    EXPECT_FLOAT_EQ(s, 2);
    EXPECT_FLOAT_EQ(t, 3);

    m.setMode(0);
    m.setTexScale(7, 7);  // ignored without generated coordinates
    m.getTexScale(&s, &t);
    EXPECT_FLOAT_EQ(s, 2);
    m.resetTexPlanes();
    m.getTexScale(&s, &t);
    EXPECT_FLOAT_EQ(s, 1);
    EXPECT_FLOAT_EQ(t, 1);
}

TEST(ObjectBase, VisibilityNameAndReleasedNodes) {
    pnPanel p;
    p.setName("a-name-that-is-longer-than-the-sixty-three-bytes-a-node-name-can-hold");
    p.setVisible(0);
    sgSwitch* sw = static_cast<sgSwitch*>(p.getNode());
    EXPECT_EQ(sw->getVal(), sgSwitch::SG_SWITCH_OFF);
    EXPECT_EQ(sw->getName().size(), 63u);
    EXPECT_EQ(sw->getName(), p.getName().substr(0, 63));
    p.setVisible(1);
    EXPECT_EQ(sw->getVal(), sgSwitch::SG_SWITCH_ON);
    p.setBuilt(1);
    p.setName("short");
    EXPECT_EQ(sw->getName(), "short");

    // Released while hanging under an event's transform: the transform is
    // left without a dangling child.
    sgDCS eventNode;
    eventNode.addChild(sw);
    p.releaseNodes();
    EXPECT_EQ(eventNode.getNumChildren(), 0);
    EXPECT_EQ(p.getSwitchNode(), nullptr);
    EXPECT_EQ(p.getGeoSet(), nullptr);
}

TEST(ObjectBase, MaterialFromTheSceneOrTheDefault) {
    pnScene scene;
    auto* red = new pnMaterial;
    red->setName("red");
    red->setDiffuse(1, 0, 0);
    scene.addMaterial(red);
    auto* p = new pnPanel;
    p->setName("p");
    scene.addObject(p);
    p->getNode();
    p->setBuilt(1);

    p->setMaterial("red");
    for (int i = 0; i < 6; ++i) {
        sgVec4 d = p->getGeode()->getGSet(i)->getGState()->getColor(GL_DIFFUSE);
        EXPECT_FLOAT_EQ(d[0], 1);
        EXPECT_FLOAT_EQ(d[1], 0);
    }
    p->setMaterial("missing");
    EXPECT_EQ(p->getMaterialName(), "missing");
    sgVec4 d = p->getGeoState()->getColor(GL_DIFFUSE);
    EXPECT_FLOAT_EQ(d[0], 0.8f);
    EXPECT_FLOAT_EQ(d[1], 0.8f);
    EXPECT_FLOAT_EQ(p->getGeoState()->getColor(GL_SPECULAR)[0], 0);
    pnObject::applyDefaultMaterial(nullptr);  // ignored
}

TEST(ObjectBase, DeletingMovesChildEventsToTheGrandparent) {
    // Event layout: group G -> event transform P -> object switch, whose
    // children after its own transform are child events' transforms.
    sgGroup grand;
    auto* eventNode = new sgDCS;
    grand.addChild(eventNode);
    auto* panel = new pnPanel;
    sgNode* sw = panel->getNode();
    eventNode->addChild(sw);
    auto* e1 = new sgDCS;
    auto* e2 = new sgDCS;
    e1->setName("e1");
    e2->setName("e2");
    sw->addChild(e1);
    sw->addChild(e2);
    delete panel;  // the model's procedure: the event transform goes too
    ASSERT_EQ(grand.getNumChildren(), 2);
    EXPECT_EQ(grand.getChild(0), e1);
    EXPECT_EQ(grand.getChild(1), e2);

    // A volume keeps the event transform.
    sgGroup grand2;
    auto* eventNode2 = new sgDCS;
    grand2.addChild(eventNode2);
    auto* vol = new pnVolume;
    sw = vol->getNode();
    eventNode2->addChild(sw);
    auto* e3 = new sgDCS;
    sw->addChild(e3);
    delete vol;
    ASSERT_EQ(grand2.getNumChildren(), 2);
    EXPECT_EQ(grand2.getChild(0), eventNode2);
    EXPECT_EQ(grand2.getChild(1), e3);
    EXPECT_EQ(eventNode2->getNumChildren(), 0);
}

TEST(Volume, BuildsWithOrWithoutArrays) {
    pnVolume empty;
    ASSERT_NE(empty.getNode(), nullptr);
    EXPECT_EQ(empty.getGeoSet()->getNumPrims(), 0);
    EXPECT_EQ(empty.getGeoSet()->getPrimType(), GL_TRIANGLES);
    // Rotation and both scales are always applied.
    EXPECT_EQ(empty.getTransNode()->getRotateOn(), 1);
    EXPECT_EQ(empty.getTransNode()->getScaleOn(), 1);
    EXPECT_EQ(empty.getPivotNode()->getScaleOn(), 1);
    EXPECT_EQ(empty.getPivotNode()->getRotateOn(), 0);

    const float xyz[] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    const float n[] = {0, 0, 1};
    const int idx[] = {0, 1, 2};
    const int nidx[] = {0, 0, 0};
    pnVolume v;
    v.setCoords(xyz, 3);
    v.setNormals(n, 1);
    v.setIndex(idx, nidx, 3);
    v.setNormalBind(1);
    v.setNumPrims(1);
    v.getNode();
    EXPECT_EQ(v.getGeoSet()->getNormalBind(), 1);
    EXPECT_EQ(attrOf(v.getGeoSet(), GL_VERTEX_ARRAY)->floats.size(), 9u);
    EXPECT_EQ(attrOf(v.getGeoSet(), GL_NORMAL_ARRAY)->index.size(), 3u);
    v.setBuilt(1);
    v.setNumPrims(0);
    EXPECT_EQ(v.getGeoSet()->getNumPrims(), 0);

    pnVolume c;
    c.setName("c");
    EXPECT_EQ(c.copy(&v), 1);
    EXPECT_EQ(c.getNumVertex(), 3);  // the mesh comes along: a copy draws and saves as the original
    EXPECT_EQ(c.getNumPrims(), v.getNumPrims());
    EXPECT_EQ(c.copy(nullptr), 0);
}

// Model, panel, text and counter take their texture settings the same way:
// each setting is stored unbuilt, plane edits wait for a mode with
// coordinates, and a reset gives the default planes back.
TEST(ObjectBase, TexturedKindsStoreTheirSettingsAlike) {
    // The move and scale read back from the planes.
    auto expectPlacement = [](const pnObject* o, float moveS, float moveT, float scaleS, float scaleT) {
        float s = 0, t = 0;
        o->getTexMove(&s, &t);
        EXPECT_FLOAT_EQ(s, moveS);
        EXPECT_FLOAT_EQ(t, moveT);
        o->getTexScale(&s, &t);
        EXPECT_FLOAT_EQ(s, scaleS);
        EXPECT_FLOAT_EQ(t, scaleT);
    };
    pnModel model;
    pnPanel panel;
    pnString text;
    pnCounter counter;
    for (pnObject* o : std::initializer_list<pnObject*>{&model, &panel, &text, &counter}) {
        SCOPED_TRACE(o->getTypeName());
        o->setTexture("brick.png");
        EXPECT_EQ(o->getTexture(), "brick.png");
        o->setTexMode(1);
        o->setNumIndex(12);
        EXPECT_EQ(o->getTexMode(), 1);
        EXPECT_EQ(o->getNumIndex(), 12);

        o->setMode(4);  // a sphere map takes no plane edits
        o->setTexMove(0.25f, 0.75f);
        o->setTexScale(2, 3);
        expectPlacement(o, 0.5f, 0.5f, 1, 1);

        o->setMode(2);
        EXPECT_EQ(o->getMode(), 2);
        o->setTexMove(0.25f, 0.75f);
        o->setTexScale(2, 3);
        expectPlacement(o, 0.25f, 0.75f, 2, 3);

        o->resetTexPlanes();
        expectPlacement(o, 0.5f, 0.5f, 1, 1);
    }
}
