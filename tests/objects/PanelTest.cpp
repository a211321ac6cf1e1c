// Panel meshes, per-face texture flags and texture coordinates.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

#include "scene/pnMaterial.h"
#include "scene/pnPanel.h"
#include "scene/pnScene.h"
#include "sg/sgDCS.h"
#include "sg/sgGeoSet.h"
#include "sg/sgGeoState.h"
#include "sg/sgGeode.h"
#include "sg/sgTexture.h"
#include "tests/objects/ObjectTestSupport.h"

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

namespace {
sgGeoSet* faceSet(const pnPanel& p, int face) { return p.getGeode()->getGSet(pnPanel::faceSetIndex(face, p.getKind())); }

void expectCorner(const sgGeoSet* set, int i, float x, float y, float z) {
    Vec3f c = cornerOf(set, i);
    EXPECT_FLOAT_EQ(c.x, x) << "corner " << i;
    EXPECT_FLOAT_EQ(c.y, y) << "corner " << i;
    EXPECT_FLOAT_EQ(c.z, z) << "corner " << i;
}

void expectUV(const sgGeoSet* set, int i, float u, float v) {
    auto uv = texCoordOf(set, i);
    EXPECT_NEAR(uv.first, u, 1e-6) << "coordinate " << i;
    EXPECT_NEAR(uv.second, v, 1e-6) << "coordinate " << i;
}

const int kAllFaces[6] = {1, 1, 1, 1, 1, 1};
}  // namespace

TEST(Panel, NewPanelHasSixUntexturedQuadsInFaceOrder) {
    pnPanel p;
    ASSERT_NE(p.getNode(), nullptr);
    ASSERT_EQ(p.getGeode()->getNumGSets(), 6);
    const int order[6] = {1, 2, 3, 4, 5, 0};
    for (int i = 0; i < 6; ++i) {
        const sgGeoSet* set = p.getGeode()->getGSet(i);
        // The normal index of each quad is its face number.
        EXPECT_EQ(attrOf(set, GL_NORMAL_ARRAY)->index[0], order[i]);
        EXPECT_EQ(attrOf(set, GL_TEXTURE_COORD_ARRAY), nullptr);
        EXPECT_EQ(set->getGState()->getTexture(), nullptr);
        EXPECT_EQ(set->getGState()->getAttr(GL_TEXTURE_2D), nullptr);
        EXPECT_EQ(set->getPrimType(), GL_QUADS);
        EXPECT_EQ(set->getNumPrims(), 1);
    }
    EXPECT_EQ(p.getGeoSet(), p.getGeode()->getGSet(0));
}

TEST(Panel, BevelInsetsTheFrontAndTiltsTheSides) {
    pnPanel p;
    p.setBevel(5);
    p.getNode();
    const sgGeoSet* front = faceSet(p, pnPanel::FACE_FRONT);
    expectCorner(front, 0, -20, -20, 25);
    expectCorner(front, 1, 20, -20, 25);
    expectCorner(front, 2, 20, 20, 25);
    expectCorner(front, 3, -20, 20, 25);
    const sgGeoSet* back = faceSet(p, pnPanel::FACE_BACK);
    expectCorner(back, 0, 25, -25, -25);
    expectCorner(back, 1, -25, -25, -25);
    expectCorner(back, 2, -25, 25, -25);
    expectCorner(back, 3, 25, 25, -25);

    const float L = std::sqrt(50.0f * 50.0f + 5.0f * 5.0f);
    Vec3f n = normalOf(faceSet(p, pnPanel::FACE_LEFT));
    EXPECT_NEAR(n.x, -50 / L, 1e-6);
    EXPECT_NEAR(n.y, 0, 1e-6);
    EXPECT_NEAR(n.z, 5 / L, 1e-6);
    n = normalOf(faceSet(p, pnPanel::FACE_TOP));
    EXPECT_NEAR(n.y, 50 / L, 1e-6);
    EXPECT_NEAR(n.z, 5 / L, 1e-6);
    n = normalOf(faceSet(p, pnPanel::FACE_BACK));
    EXPECT_FLOAT_EQ(n.z, -1);

    // Every quad winds counter-clockwise seen from outside: its geometric
    // normal points the way of its stored normal.
    for (int face = 0; face < 6; ++face) {
        const sgGeoSet* s = faceSet(p, face);
        Vec3f a = cornerOf(s, 0), b = cornerOf(s, 1), c = cornerOf(s, 2);
        float ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
        float vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
        float cx = uy * vz - uz * vy, cy = uz * vx - ux * vz, cz = ux * vy - uy * vx;
        Vec3f nn = normalOf(s);
        EXPECT_GT(cx * nn.x + cy * nn.y + cz * nn.z, 0) << "face " << face;
    }
}

TEST(Panel, DimensionRules) {
    pnPanel p;
    p.setDimension(0, -3, -1);
    sgVec3 d = p.getDimension();
    EXPECT_FLOAT_EQ(d[0], 50);
    EXPECT_FLOAT_EQ(d[1], 50);
    EXPECT_FLOAT_EQ(d[2], 50);
    p.setDimension(10, 10, 0);
    EXPECT_FLOAT_EQ(p.getDimension()[2], 0);
    p.setDimensionX(NAN);
    EXPECT_FLOAT_EQ(p.getDimension()[0], 50);
    pnObject* base = &p;  // the base's table reaches the panel
    base->setDimensionY(20);
    EXPECT_FLOAT_EQ(p.getDimension()[1], 20);
}

TEST(Panel, FlatPanelDropsItsBevel) {
    pnPanel p;
    p.setBevel(5);
    p.setKind(pnPanel::KIND_2D);
    p.setDimension(40, 20, 10);
    p.getNode();
    EXPECT_FLOAT_EQ(p.getBevel(), 0);
    ASSERT_EQ(p.getGeode()->getNumGSets(), 1);
    const sgGeoSet* s = p.getGeode()->getGSet(0);
    expectCorner(s, 0, -20, -10, 0);
    expectCorner(s, 1, 20, -10, 0);
    expectCorner(s, 2, 20, 10, 0);
    expectCorner(s, 3, -20, 10, 0);
    EXPECT_FLOAT_EQ(normalOf(s).z, 1);
    EXPECT_NE(writtenBy(p).find("    kind\t\"2D\"\n    bevel\t0.000000\n"), std::string::npos);

    // Made flat while built: the stored bevel stays, the file still says 0.
    pnPanel q;
    q.setBevel(5);
    q.getNode();
    q.setBuilt(1);
    q.setKind(pnPanel::KIND_2D);
    EXPECT_EQ(q.getGeode()->getNumGSets(), 1);
    EXPECT_FLOAT_EQ(q.getBevel(), 5);
    EXPECT_NE(writtenBy(q).find("    bevel\t0.000000\n"), std::string::npos);
}

TEST(Panel, CoordinateRectangleAcrossEveryFace) {
    pnPanel p;
    p.setTexture("wood.png");
    p.setFaceFlags(kAllFaces);
    p.getNode();
    for (int face = 0; face < 6; ++face) {
        const sgGeoSet* s = faceSet(p, face);
        expectUV(s, 0, 0.01f, 0.01f);
        expectUV(s, 1, 0.99f, 0.01f);
        expectUV(s, 2, 0.99f, 0.99f);
        expectUV(s, 3, 0.01f, 0.99f);
        EXPECT_NE(s->getGState()->getTexture(), nullptr) << face;
        EXPECT_NE(s->getGState()->getAttr(GL_TEXTURE_ENV), nullptr) << face;
    }
    float l, b, r, t;
    p.getCoords(&l, &b, &r, &t);
    EXPECT_FLOAT_EQ(l, 0.01f);
    EXPECT_FLOAT_EQ(r, 0.99f);
}

TEST(Panel, BevelledFacesShowTheInnerRectangleAndItsBorders) {
    pnPanel p;
    p.setTexture("wood.png");
    p.setBevel(5);
    p.setCoords(0, 0, 1, 1);
    p.setEachFaceFlag(1, 0, 1, 0, 0, 0);
    p.getNode();
    // du = dv = 5 / 50.
    const sgGeoSet* front = faceSet(p, pnPanel::FACE_FRONT);
    expectUV(front, 0, 0.1f, 0.1f);
    expectUV(front, 1, 0.9f, 0.1f);
    expectUV(front, 2, 0.9f, 0.9f);
    expectUV(front, 3, 0.1f, 0.9f);
    const sgGeoSet* left = faceSet(p, pnPanel::FACE_LEFT);
    expectUV(left, 0, 0, 0);
    expectUV(left, 1, 0.1f, 0.1f);
    expectUV(left, 2, 0.1f, 0.9f);
    expectUV(left, 3, 0, 1);
    // Unflagged faces carry neither texture nor coordinates.
    EXPECT_EQ(attrOf(faceSet(p, pnPanel::FACE_BACK), GL_TEXTURE_COORD_ARRAY), nullptr);
    EXPECT_EQ(faceSet(p, pnPanel::FACE_BACK)->getGState()->getTexture(), nullptr);

    // New coordinates reach a built panel's flagged faces without a rebuild.
    p.setBuilt(1);
    const sgGeode* geode = p.getGeode();
    p.setCoords(0.2f, 0.2f, 0.8f, 0.8f);
    EXPECT_EQ(p.getGeode(), geode);
    expectUV(faceSet(p, pnPanel::FACE_FRONT), 0, 0.3f, 0.3f);
    expectUV(faceSet(p, pnPanel::FACE_LEFT), 3, 0.2f, 0.8f);
}

TEST(Panel, GeneratedCoordinatesReplaceTheRectangle) {
    pnPanel p;
    p.setTexture("wood.png");
    p.setMode(3);
    p.setFaceFlags(kAllFaces);
    p.getNode();
    for (int face = 0; face < 6; ++face) {
        const sgGeoSet* s = faceSet(p, face);
        EXPECT_EQ(attrOf(s, GL_TEXTURE_COORD_ARRAY), nullptr);
        EXPECT_EQ(s->getGState()->getTexGenMode(0), 2);
        EXPECT_EQ(s->getGState()->getTexGenMode(1), 2);
    }
    EXPECT_NE(writtenBy(p).find("    mode\t3\n    splane\t(1.000000 0.000000 1.000000 0.500000)\n"),
              std::string::npos);
}

TEST(Panel, RefusedTextureWarnsPerFaceAndLeavesFacesPlain) {
    pnPanel p;
    p.setTexture("photo.gif");
    p.setEachFaceFlag(1, 1, 0, 0, 0, 0);
    CaptureStderr();
    p.getNode();
    std::string err = GetCapturedStderr();
    size_t first = err.find("WARNING: texture, photo.gif, not found.\n");
    ASSERT_NE(first, std::string::npos) << err;
    EXPECT_NE(err.find("WARNING: texture, photo.gif, not found.\n", first + 1), std::string::npos);
    EXPECT_EQ(p.getTextureObject(), nullptr);
    for (int face = 0; face < 2; ++face) {
        EXPECT_EQ(faceSet(p, face)->getGState()->getTexture(), nullptr);
        EXPECT_EQ(attrOf(faceSet(p, face), GL_TEXTURE_COORD_ARRAY), nullptr);
    }
}

TEST(Panel, BuiltPanelRebuildsAndTakesItsMaterialAgain) {
    pnScene scene;
    auto* blue = new pnMaterial;
    blue->setName("blue");
    blue->setDiffuse(0, 0, 1);
    scene.addMaterial(blue);
    auto* p = new pnPanel;
    p->setName("p");
    p->setMaterialName("blue");
    p->setTexture("wood.png");
    scene.addObject(p);
    p->getNode();
    p->setBuilt(1);

    p->setEachFaceFlag(0, 0, 0, 1, 0, 0);
    ASSERT_EQ(p->getGeode()->getNumGSets(), 6);
    EXPECT_NE(faceSet(*p, pnPanel::FACE_RIGHT)->getGState()->getTexture(), nullptr);
    EXPECT_EQ(faceSet(*p, pnPanel::FACE_FRONT)->getGState()->getTexture(), nullptr);
    // Untextured faces show the scene's material after the rebuild.
    sgVec4 d = faceSet(*p, pnPanel::FACE_FRONT)->getGState()->getColor(GL_DIFFUSE);
    EXPECT_FLOAT_EQ(d[2], 1);
    EXPECT_FLOAT_EQ(d[0], 0);
    EXPECT_EQ(p->getPivotNode()->getNumChildren(), 1);

    p->setTexFrame(3);
    EXPECT_EQ(faceSet(*p, pnPanel::FACE_RIGHT)->getGState()->getSequenceFrame(), 3);
    EXPECT_EQ(faceSet(*p, pnPanel::FACE_LEFT)->getGState()->getSequenceFrame(), 0);

    p->setDimensionZ(10);
    expectCorner(faceSet(*p, pnPanel::FACE_FRONT), 0, -25, -25, 5);
}

TEST(Panel, CopyTakesShapeFlagsAndMapping) {
    pnPanel a;
    a.setName("a");
    a.setKind(pnPanel::KIND_2D);
    a.setBevel(3);
    a.setDimension(10, 20, 30);
    a.setEachFaceFlag(1, 0, 1, 0, 1, 0);
    a.setCoords(0.1f, 0.2f, 0.3f, 0.4f);
    a.setMode(1);
    a.setTexMove(0.25f, 0.75f);
    pnPanel b;
    ASSERT_EQ(b.copy(&a), 1);
    EXPECT_EQ(b.getKind(), pnPanel::KIND_2D);
    EXPECT_FLOAT_EQ(b.getBevel(), 3);
    EXPECT_FLOAT_EQ(b.getDimension()[2], 30);
    EXPECT_EQ(b.getFaceFlag(2), 1);
    EXPECT_EQ(b.getFaceFlag(1), 0);
    EXPECT_EQ(b.getMode(), 1);
    float l, bo, r, t;
    b.getCoords(&l, &bo, &r, &t);
    EXPECT_FLOAT_EQ(bo, 0.2f);
    EXPECT_FLOAT_EQ(r, 0.3f);
    float s, tt;
    b.getTexMove(&s, &tt);
    EXPECT_FLOAT_EQ(tt, 0.75f);
    EXPECT_EQ(b.copy(nullptr), 0);
    EXPECT_EQ(b.getFaceFlag(6), 0);
}
