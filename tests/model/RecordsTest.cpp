// Materials, lights and the viewpoint as plain values, chart data points.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "scene/pnChartDataPt.h"
#include "scene/pnLight.h"
#include "scene/pnMaterial.h"
#include "scene/pnViewpoint.h"
#include "tests/support/VecCheck.h"

namespace {
const float kNaN = std::numeric_limits<float>::quiet_NaN();
}  // namespace

TEST(Material, DefaultsAndClampedSetters) {
    pnMaterial m;
    expectVec(m.getDiffuse(), 0.8f, 0.8f, 0.8f);
    expectVec(m.getAmbient(), 0.2f, 0.2f, 0.2f);
    EXPECT_FLOAT_EQ(m.getShininess(), 60.0f);
    EXPECT_FLOAT_EQ(m.getAlpha(), 1.0f);
    for (int i = 0; i < m.getNumFlags(); ++i) EXPECT_EQ(m.getSetFlag(i), 0);

    m.setDiffuse(1.5f, -0.2f, 0.5f);
    expectVec(m.getDiffuse(), 1, 0, 0.5f);
    EXPECT_EQ(m.getSetFlag(pnMaterial::DIFFUSE_FLAG), 1);
    for (int i = 1; i < m.getNumFlags(); ++i) EXPECT_EQ(m.getSetFlag(i), 0) << i;

    m.setSpecular(kNaN, 2.0f, 0.25f);
    expectVec(m.getSpecular(), 0, 1, 0.25f);
    EXPECT_EQ(m.getSetFlag(3), 1);  // flag order: diffuse, ambient, emission, specular
    m.setShininess(200);
    EXPECT_FLOAT_EQ(m.getShininess(), 128.0f);
    m.setShininess(kNaN);
    EXPECT_FLOAT_EQ(m.getShininess(), 0.0f);
    EXPECT_EQ(m.getSetFlag(4), 1);
    m.setAlpha(2);
    EXPECT_FLOAT_EQ(m.getAlpha(), 1.0f);
    m.setAlpha(-1);
    EXPECT_FLOAT_EQ(m.getAlpha(), 0.0f);
    EXPECT_EQ(m.getSetFlag(5), 1);
    EXPECT_EQ(m.getSetFlag(pnMaterial::AMBIENT_FLAG), 0);
    EXPECT_EQ(m.getSetFlag(-1), 0);
    EXPECT_EQ(m.getSetFlag(7), 0);
}

TEST(Material, CopyKeepsOwnNameWhenSourceIsUnnamed) {
    pnMaterial a, b;
    a.setDiffuse(0.1f, 0.2f, 0.3f);
    a.setAlpha(0.5f);
    a.setFile("marble.png");
    b.setName("target");
    EXPECT_EQ(b.copy(&a), 1);
    EXPECT_EQ(b.getName(), "target");
    expectVec(b.getDiffuse(), 0.1f, 0.2f, 0.3f);
    EXPECT_EQ(b.getSetFlag(pnMaterial::DIFFUSE_FLAG), 1);
    EXPECT_EQ(b.getSetFlag(pnMaterial::ALPHA_FLAG), 1);
    EXPECT_EQ(b.getSetFlag(pnMaterial::FILE_FLAG), 1);
    EXPECT_EQ(b.getFile(), "marble.png");
    a.setName("source");
    b.copy(&a);
    EXPECT_EQ(b.getName(), "source");
    EXPECT_EQ(b.copy(nullptr), 0);
    EXPECT_EQ(b.copy(&b), 1);
}

TEST(Names, LongNamesAreCutTo127Bytes) {
    const std::string longName(200, 'n');
    pnMaterial m;
    m.setName(longName.c_str());
    EXPECT_EQ(m.getName(), std::string(127, 'n'));
    pnLight l;
    l.setName(longName.c_str());
    EXPECT_EQ(l.getName().size(), 127u);
    pnViewpoint v;
    v.setName(longName.c_str());
    EXPECT_EQ(v.getName().size(), 127u);
    pnChartDataPt p;
    p.setLabel(longName.c_str());
    p.setMaterialName(longName.c_str());
    EXPECT_EQ(p.label.size(), 127u);
    EXPECT_EQ(p.materialName.size(), 127u);
}

TEST(Light, DefaultsAndSpotConeClamping) {
    pnLight l;
    expectVec(l.getSpotDirection(), 0, 0, -1);
    EXPECT_FLOAT_EQ(l.getSpotCone()[0], 0);
    EXPECT_FLOAT_EQ(l.getSpotCone()[1], 180);
    EXPECT_FLOAT_EQ(l.getIntensity(), 1);
    EXPECT_TRUE(l.isPositional());
    EXPECT_EQ(l.getOn(), 1);

    l.setSpotCone(200, 180);
    EXPECT_FLOAT_EQ(l.getSpotCone()[0], 128);
    EXPECT_FLOAT_EQ(l.getSpotCone()[1], 180);
    l.setSpotCone(5, 120);
    EXPECT_FLOAT_EQ(l.getSpotCone()[0], 5);
    EXPECT_FLOAT_EQ(l.getSpotCone()[1], 90);
    l.setSpotCone(5, -3);
    EXPECT_FLOAT_EQ(l.getSpotCone()[1], 0);
    l.setSpotCone(kNaN, kNaN);
    EXPECT_FLOAT_EQ(l.getSpotCone()[0], 0);
    EXPECT_FLOAT_EQ(l.getSpotCone()[1], 0);
    EXPECT_EQ(l.getSetFlag(pnLight::SPOTCONE_FLAG), 1);
    // The single-value setters store as given.
    l.setSpotCutoff(120);
    EXPECT_FLOAT_EQ(l.getSpotCone()[1], 120);
}

TEST(Light, UnbuiltSettersTouchNoNodesAndNullMaterialMeansNone) {
    pnLight l;
    l.setPosition(1, 2, 3);
    l.setAttenuation(sgVec3(1, 0.5f, 0));
    l.setIntensity(0.5f);
    l.setSpotDirectionY(1);
    l.setOn(0);
    l.setPositional(0);
    EXPECT_EQ(l.getLightNode(), nullptr);
    EXPECT_EQ(l.getSwitchNode(), nullptr);
    expectVec(l.getPosition(), 1, 2, 3);
    expectVec(l.getSpotDirection(), 0, 1, -1);
    EXPECT_FALSE(l.isPositional());
    EXPECT_EQ(l.getSetFlag(pnLight::INTENSITY_FLAG), 1);

    l.setMaterial("red");
    EXPECT_EQ(l.getMaterial(), "red");
    l.setMaterial(nullptr);
    EXPECT_FALSE(l.hasMaterial());
    EXPECT_EQ(l.getSetFlag(pnLight::MATERIAL_FLAG), 1);
}

TEST(Light, CopyKeepsOwnPositionalAndStaysUnbuilt) {
    pnLight a, b;
    a.setName("key");
    a.setPosition(10, 20, 30);
    a.setMaterial("warm");
    a.setFile("gobo.tga");
    a.setOn(0);
    a.setPositional(0);
    EXPECT_EQ(b.copy(&a), 1);
    EXPECT_EQ(b.getName(), "key");
    expectVec(b.getPosition(), 10, 20, 30);
    EXPECT_EQ(b.getMaterial(), "warm");
    EXPECT_EQ(b.getFile(), "gobo.tga");
    EXPECT_EQ(b.getOn(), 0);
    EXPECT_TRUE(b.isPositional());
    EXPECT_EQ(b.getBuilt(), 0);
    EXPECT_EQ(b.getTexture(), nullptr);
    pnLight unnamed;
    b.copy(&unnamed);
    EXPECT_EQ(b.getName(), "key");
    EXPECT_EQ(b.copy(nullptr), 0);
}

TEST(Viewpoint, DefaultsAndCopyKeepsRunTimeValues) {
    pnViewpoint v;
    EXPECT_EQ(v.perspective, 1);
    EXPECT_FLOAT_EQ(v.near, 10);
    EXPECT_FLOAT_EQ(v.far, 5000);
    EXPECT_FLOAT_EQ(v.fov, 30);
    EXPECT_FLOAT_EQ(v.width, 720);
    expectVec(v.getPosition(), 0, 0, 906);
    expectVec(v.getUpVector(), 0, 1, 0);

    pnViewpoint src;
    src.setName("cam");
    src.setPosition(1, 2, 3);
    src.setDirection(0, 0, -1);
    src.setLookAt(9, 9, 9);
    src.fov = 45;
    src.perspective = 0;
    v.setLookAt(4, 5, 6);
    v.setUpVector(0, 0, 1);
    EXPECT_EQ(v.copy(&src), 1);
    EXPECT_EQ(v.getName(), "cam");
    expectVec(v.getPosition(), 1, 2, 3);
    expectVec(v.getDirection(), 0, 0, -1);
    EXPECT_FLOAT_EQ(v.fov, 45);
    EXPECT_EQ(v.perspective, 0);
    expectVec(v.getLookAt(), 4, 5, 6);
    expectVec(v.getUpVector(), 0, 0, 1);
    EXPECT_EQ(v.copy(nullptr), 0);
}

TEST(ChartDataPt, DefaultsAndIndependentCopies) {
    pnChartDataPt p;
    EXPECT_DOUBLE_EQ(p.growValue, 100.0);
    EXPECT_EQ(p.label, "m");
    EXPECT_EQ(p.dataText, "50");
    EXPECT_EQ(p.startTime, 0);
    EXPECT_EQ(p.endTime, 0);
    EXPECT_EQ(p.shrinkStart, -1);
    EXPECT_EQ(p.shrinkEnd, -1);
    expectVec(p.getLabelScale(), 1, 1, 1);
    expectVec(p.getValueScale(), 1, 1, 1);
    expectVec(p.getLabelRotAxis(), 0, 1, 0);
    expectVec(p.getValueRotAxis(), 0, 1, 0);
    expectVec(p.getTextOffset(), 0, 0, 0);
    EXPECT_TRUE(p.materialName.empty());

    p.growValue = 42.5;
    p.setLabel("Q1");
    p.setMaterialName("blue");
    p.shrinkEnd = 90;
    p.setValueScale(sgVec3(2, 2, 2));
    // Written directly past the limit: copies carry the bounded text only.
    p.dataText = std::string(300, 'x');
    pnChartDataPt q(p);
    EXPECT_DOUBLE_EQ(q.growValue, 42.5);
    EXPECT_EQ(q.label, "Q1");
    EXPECT_EQ(q.materialName, "blue");
    EXPECT_EQ(q.shrinkEnd, 90);
    expectVec(q.getValueScale(), 2, 2, 2);
    EXPECT_EQ(q.dataText, std::string(127, 'x'));
    p.setLabel("changed");
    EXPECT_EQ(q.label, "Q1");
    pnChartDataPt r;
    r = q;
    EXPECT_EQ(r.materialName, "blue");
}
