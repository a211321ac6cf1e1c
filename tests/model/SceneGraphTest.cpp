// Lights' nodes, materials applied to geometry trees, the scene transform node.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "scene/pnLight.h"
#include "scene/pnMaterial.h"
#include "scene/pnScene.h"
#include "sg/SceneGraphRoots.h"
#include "sg/sgDCS.h"
#include "sg/sgGeoSet.h"
#include "sg/sgGeoState.h"
#include "sg/sgGeode.h"
#include "sg/sgLightSource.h"
#include "sg/sgTexEnv.h"
#include "sg/sgNode.h"
#include "sg/sgTexture.h"
#include "tests/support/OffscreenGL.h"

namespace {
class ModelGraphTest : public GLTest {};

sgGeode* geodeWithState(sgGeoState** stateOut) {
    auto* geode = new sgGeode;
    auto* set = new sgGeoSet;
    auto* state = new sgGeoState;
    set->setGState(state);
    geode->addGSet(set);
    *stateOut = state;
    return geode;
}

void expectColor(const sgVec4& c, float r, float g, float b, float a) {
    EXPECT_FLOAT_EQ(c[0], r);
    EXPECT_FLOAT_EQ(c[1], g);
    EXPECT_FLOAT_EQ(c[2], b);
    EXPECT_FLOAT_EQ(c[3], a);
}
}  // namespace

TEST_F(ModelGraphTest, BuildingTwiceLeavesOneSwitchAndOneLightNode) {
    pnLight light;
    light.setName("key");
    sgGroup lightGroup;
    lightGroup.addChild(light.buildNodes());
    light.setBuilt(1);
    sgSwitch* second = light.buildNodes();  // the first switch leaves the group as it goes
    EXPECT_EQ(lightGroup.getNumChildren(), 0);
    lightGroup.addChild(second);
    ASSERT_EQ(lightGroup.getNumChildren(), 1);
    EXPECT_EQ(lightGroup.getChild(0), light.getSwitchNode());
    ASSERT_EQ(second->getNumChildren(), 1);
    EXPECT_EQ(second->getChild(0), light.getLightNode());
    EXPECT_TRUE(light.getLightNode()->isOfType("sgLightSource"));
    EXPECT_EQ(second->getName(), "key");
    EXPECT_EQ(light.getLightNode()->getName(), "key");
    light.releaseNodes();
    EXPECT_EQ(lightGroup.getNumChildren(), 0);
    EXPECT_EQ(light.getSwitchNode(), nullptr);
}

TEST_F(ModelGraphTest, BuildSendsFlaggedValuesAndSceneMaterial) {
    pnScene scene;
    auto* red = new pnMaterial;
    red->setName("red");
    red->setDiffuse(1, 0, 0);
    red->setAmbient(0.1f, 0, 0);
    scene.addMaterial(red);

    pnLight light;
    light.setScene(&scene);
    light.setPosition(1, 2, 3);
    light.setPositional(0);
    light.setSpotCone(10, 45);
    light.setMaterial("red");
    light.setOn(0);
    light.setFile("gobo.png");
    sgSwitch* sw = light.buildNodes();
    sgLightSource* node = light.getLightNode();
    float x, y, z, w, e, c, r, g, b;
    node->getPosition(&x, &y, &z, &w);
    EXPECT_FLOAT_EQ(x, 1);
    EXPECT_FLOAT_EQ(z, 3);
    EXPECT_FLOAT_EQ(w, 0);
    node->getSpot(&e, &c);
    EXPECT_FLOAT_EQ(e, 10);
    EXPECT_FLOAT_EQ(c, 45);
    node->getColor(GL_DIFFUSE, &r, &g, &b);
    EXPECT_FLOAT_EQ(r, 1);
    EXPECT_FLOAT_EQ(g, 0);
    node->getColor(GL_AMBIENT, &r, &g, &b);
    EXPECT_FLOAT_EQ(r, 0.1f);
    EXPECT_EQ(sw->getEnabled(), 0);
    ASSERT_NE(light.getTexture(), nullptr);
    EXPECT_EQ(light.getTexture()->getFileName(), "gobo.png");
    // Not flagged: the attenuation record was never sent.
    float att[4];
    EXPECT_EQ(node->getAttr(GL_CONSTANT_ATTENUATION, att), 0);

    // A material the scene lacks leaves the colours alone.
    light.setBuilt(1);
    light.setMaterial("missing");
    node->getColor(GL_DIFFUSE, &r, &g, &b);
    EXPECT_FLOAT_EQ(r, 1);
    EXPECT_FLOAT_EQ(g, 0);
    light.releaseNodes();
}

TEST_F(ModelGraphTest, BuiltLightMirrorsEverySetter) {
    pnLight light;
    sgGroup group;
    group.addChild(light.buildNodes());
    light.setBuilt(1);
    sgLightSource* node = light.getLightNode();
    float x, y, z, w;
    light.setPosition(4, 5, 6);
    node->getPosition(&x, &y, &z, &w);
    EXPECT_FLOAT_EQ(y, 5);
    EXPECT_FLOAT_EQ(w, 1);
    light.setPositional(0);
    node->getPosition(&x, &y, &z, &w);
    EXPECT_FLOAT_EQ(w, 0);
    light.setSpotDirectionX(1);
    node->getSpotDirection(&x, &y, &z);
    EXPECT_FLOAT_EQ(x, 1);
    EXPECT_FLOAT_EQ(z, -1);
    light.setAttenuation(sgVec3(1, 0.5f, 0.25f));
    node->getAttenuation(&x, &y, &z);
    EXPECT_FLOAT_EQ(y, 0.5f);
    light.setSpotCone(200, 120);
    node->getSpot(&x, &y);
    EXPECT_FLOAT_EQ(x, 128);
    EXPECT_FLOAT_EQ(y, 90);
    light.setIntensity(0.5f);
    EXPECT_FLOAT_EQ(node->getIntensity(), 0.5f);
    light.setOn(1);
    EXPECT_EQ(light.getSwitchNode()->getEnabled(), 1);
    EXPECT_EQ(node->isOn(), 1);
    light.setOn(0);
    EXPECT_EQ(light.getSwitchNode()->getEnabled(), 0);
    EXPECT_EQ(node->isOn(), 0);
    light.releaseNodes();
}

TEST_F(ModelGraphTest, MaterialGivesUntexturedSetsEverythingAndTexturedOnlyAlpha) {
    sgGroup root;
    sgGeoState* plain = nullptr;
    sgGeoState* textured = nullptr;
    root.addChild(geodeWithState(&plain));
    auto* dcs = new sgDCS;
    root.addChild(dcs);
    dcs->addChild(geodeWithState(&textured));
    sgTexture tex;
    ASSERT_EQ(tex.loadFile("wood.png"), 1);
    textured->sgAttr(GL_TEXTURE_2D, &tex);
    ASSERT_NE(textured->getTexture(), nullptr);

    pnMaterial m;
    m.setDiffuse(1, 0, 0);
    m.setAmbient(0, 0.5f, 0);
    m.setEmission(0, 0, 0.25f);
    m.setSpecular(1, 1, 1);
    m.setShininess(100);
    m.setAlpha(0.5f);
    m.apply(&root);

    expectColor(plain->getColor(GL_DIFFUSE), 1, 0, 0, 0.5f);
    expectColor(plain->getColor(GL_AMBIENT), 0, 0.5f, 0, 0.5f);
    expectColor(plain->getColor(GL_EMISSION), 0, 0, 0.25f, 0.5f);
    expectColor(plain->getColor(GL_SPECULAR), 1, 1, 1, 0.5f);
    EXPECT_FLOAT_EQ(plain->getColor(GL_SHININESS)[0], 100);
    EXPECT_FLOAT_EQ(plain->getColor(GL_SHININESS)[1], 0);
    EXPECT_FLOAT_EQ(plain->getAlpha(), 0.5f);

    expectColor(textured->getColor(GL_DIFFUSE), 0.8f, 0.8f, 0.8f, 0.5f);
    expectColor(textured->getColor(GL_AMBIENT), 0.2f, 0.2f, 0.2f, 1);
    m.apply(nullptr);  // nothing to do, no crash
}

TEST_F(ModelGraphTest, SceneTransformFollowsAtOnce) {
    pnScene scene;
    scene.setPosition(sgVec3(5, 0, 0));  // no roots yet: values only
    sgDCS transform;
    SceneGraphRoots roots;
    roots.sceneTransform = &transform;
    scene.setRoots(&roots);
    scene.setPosition(sgVec3(1, 2, 3));
    EXPECT_FLOAT_EQ(transform.getTrans()[1], 2);
    scene.setRotAxis(sgVec3(1, 0, 0));
    scene.setRotAngle(30);
    EXPECT_FLOAT_EQ(transform.getRotAngle(), 30);
    EXPECT_FLOAT_EQ(transform.getRotAxis()[0], 1);
    EXPECT_EQ(transform.getScaleOn(), 0);
    scene.setScale(sgVec3(2, 2, 2));
    EXPECT_FLOAT_EQ(transform.getScale()[2], 2);
    EXPECT_EQ(scene.getSetFlag(pnScene::SCALE_FLAG), 1);
}
