#include <GL/gl.h>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "sg/sgDisplayListTable.h"
#include "sg/sgGeoSet.h"
#include "sg/sgGeoState.h"
#include "sg/sgGeode.h"
#include "sg/sgMaterial.h"
#include "sg/sgTexture.h"
#include "sg/sgTextureFileTable.h"
#include "tests/scenegraph/SgFixture.h"

namespace {
// Polygons that reach the rasteriser (after culling) while draw runs.
int countPolygons(const std::function<void()>& draw) {
    std::vector<GLfloat> buf(1 << 16);
    glFeedbackBuffer(static_cast<GLsizei>(buf.size()), GL_2D, buf.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    GLint n = glRenderMode(GL_RENDER);
    int polygons = 0;
    for (GLint i = 0; i < n;) {
        GLint token = static_cast<GLint>(buf[i]);
        if (token == GL_POLYGON_TOKEN) {
            int count = static_cast<int>(buf[i + 1]);
            ++polygons;
            i += 2 + count * 2;
        } else if (token == GL_POINT_TOKEN || token == GL_BITMAP_TOKEN || token == GL_DRAW_PIXEL_TOKEN ||
                   token == GL_COPY_PIXEL_TOKEN) {
            i += 3;
        } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            i += 5;
        } else {
            i += 2;  // pass-through
        }
    }
    return polygons;
}

void texture(sgGeoSet* set, const std::string& file) {
    sgTexture t;
    ASSERT_EQ(t.loadFile(file), 1);
    set->getGState()->sgAttr(GL_TEXTURE_2D, &t);
}
}  // namespace

class GeometryTest : public SgGLTest {};

TEST_F(GeometryTest, PassMembership) {
    FakeImages::addColour("pass_rgba.png", 255, 255, 255, 255, 4);
    FakeImages::addColour("pass_rgb.png", 255, 255, 255, 255, 3);
    sgGeoSet* transparent = makeQuad(0, 0, 10, 10, 0, 1, 0, 0, 0.5f);
    sgGeoSet* rgbaTextured = makeQuad(0, 0, 10, 10, 0, 1, 1, 1);
    texture(rgbaTextured, "pass_rgba.png");
    sgGeoSet* rgbTextured = makeQuad(0, 0, 10, 10, 0, 1, 1, 1);
    texture(rgbTextured, "pass_rgb.png");
    sgGeoSet* plain = makeQuad(0, 0, 10, 10, 0, 1, 1, 1);
    sgGeoSet* noState = makeQuad(0, 0, 10, 10, 0, 1, 1, 1);
    noState->setGState(nullptr);

    struct Row {
        sgGeoSet* set;
        bool in[4];  // passes 0..3
    } rows[] = {
        {transparent, {true, false, true, true}},
        {rgbaTextured, {true, false, false, true}},
        {rgbTextured, {true, true, false, false}},
        // Opaque sets without an RGBA texture are drawn once, in pass 1.
        {plain, {true, true, false, false}},
        {noState, {true, true, false, false}},
    };
    int r = 0;
    for (const Row& row : rows) {
        for (int pass = 0; pass < 4; ++pass) {
            int n = countPolygons([&] { row.set->draw(pass); });
            EXPECT_EQ(n > 0, row.in[pass]) << "set " << r << " pass " << pass;
        }
        ++r;
    }
    EXPECT_EQ(FakeImages::reads("pass_rgba.png"), 1);
    for (const Row& row : rows) delete row.set;
}

TEST_F(GeometryTest, SetsNamingOneFileShareOneTexture) {
    FakeImages::addColour("shared_tex.png", 0, 200, 100);
    sgGeode* g = new sgGeode;
    sgGeoSet* a = makeQuad(10, 10, 50, 50, 0, 1, 1, 1);
    sgGeoSet* b = makeQuad(100, 10, 140, 50, 0, 1, 1, 1);
    texture(a, "shared_tex.png");
    texture(b, "shared_tex.png");
    g->addGSet(a);
    g->addGSet(b);
    sgGroup root;
    root.addChild(g);
    root.convertGL();
    ASSERT_TRUE(a->currentTexture());
    EXPECT_EQ(a->currentTexture(), b->currentTexture());
    EXPECT_NE(a->currentTexture()->glId, 0u);
    EXPECT_TRUE(glIsTexture(a->currentTexture()->glId));
    EXPECT_EQ(FakeImages::reads("shared_tex.png"), 1);
    clear();
    root.draw(SG_PASS_OPAQUE);
    Frame f = frame();
    EXPECT_TRUE(near(f.at(30, 30), rgb(0, 200, 100))) << describe(f.at(30, 30));
    EXPECT_TRUE(near(f.at(120, 30), rgb(0, 200, 100))) << describe(f.at(120, 30));
    EXPECT_EQ(FakeImages::reads("shared_tex.png"), 1);
}

TEST_F(GeometryTest, CopiesShareOneListDeletedOnce) {
    sgGeode* ga = new sgGeode;
    sgGeoSet* original = makeQuad(10, 10, 50, 50, 0, 1, 0, 0);
    ga->addGSet(original);
    original->buildDisplayList();
    int compiled = original->getDisplayList();
    ASSERT_GT(compiled, 0);

    sgGeode* gb = static_cast<sgGeode*>(ga->copy());
    sgGeoSet* copy = gb->getGSet(0);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->getDisplayList(), compiled);
    EXPECT_EQ(original->getSharedAttrSet(), copy->getSharedAttrSet());
    EXPECT_EQ(copy->getSharedAttrSet()->getRefCount(), 2);
    EXPECT_NE(copy->getGState(), original->getGState());

    delete ga;  // the original goes; its list stays with the copy
    EXPECT_TRUE(glIsList(static_cast<GLuint>(compiled)));
    GLuint other = glGenLists(1);  // would reuse a wrongly freed id
    glNewList(other, GL_COMPILE);
    glEndList();
    clear();
    gb->draw(SG_PASS_OPAQUE);
    EXPECT_TRUE(near(frame().at(30, 30), rgb(255, 0, 0)));
    delete gb;
    EXPECT_FALSE(glIsList(static_cast<GLuint>(compiled)));
    EXPECT_TRUE(glIsList(other));
    glDeleteLists(other, 1);
}

TEST_F(GeometryTest, HandedListIsOwnedAndSharedByCopies) {
    GLuint handed = glGenLists(1);
    glNewList(handed, GL_COMPILE);
    glBegin(GL_QUADS);
    glVertex3f(10, 10, 0);
    glVertex3f(50, 10, 0);
    glVertex3f(50, 50, 0);
    glVertex3f(10, 50, 0);
    glEnd();
    glEndList();
    sgGeoSet* model = makeQuad(0, 0, 0, 0, 0, 0, 0, 1);
    // Models and text hold no records, only the list handed to them.
    sgGeoSet* bare = new sgGeoSet;
    bare->setGState(model->getGState()->copy());
    delete model;
    bare->setDisplayList(static_cast<int>(handed));
    bare->setNumPrims(12);  // no records: the handed list is kept
    EXPECT_EQ(bare->getDisplayList(), static_cast<int>(handed));

    sgGeoSet* copy = bare->copy();
    EXPECT_EQ(copy->getDisplayList(), static_cast<int>(handed));
    delete bare;
    EXPECT_TRUE(glIsList(handed));
    clear();
    copy->draw(SG_PASS_OPAQUE);
    EXPECT_TRUE(near(frame().at(30, 30), rgb(0, 0, 255)));

    // A new list for the copy replaces (and deletes) the shared one.
    GLuint next = glGenLists(1);
    glNewList(next, GL_COMPILE);
    glEndList();
    copy->setDisplayList(static_cast<int>(next));
    EXPECT_FALSE(glIsList(handed));
    delete copy;
    EXPECT_FALSE(glIsList(next));
}

TEST_F(GeometryTest, ChangingASharingSetLeavesTheOthers) {
    sgGeoSet* a = makeQuad(10, 10, 50, 50, 0, 1, 0, 0);
    sgGeoSet* b = a->copy();
    // Both compile from the shared records: one list.
    clear();
    a->draw(SG_PASS_OPAQUE);
    b->draw(SG_PASS_OPAQUE);
    EXPECT_GT(a->getDisplayList(), 0);
    EXPECT_EQ(a->getDisplayList(), b->getDisplayList());

    std::vector<float> moved = {100, 10, 0, 140, 10, 0, 140, 50, 0, 100, 50, 0};
    b->setAttr(GL_VERTEX_ARRAY, moved, {0, 1, 2, 3});
    EXPECT_EQ(b->getSharedAttrSet(), nullptr);
    EXPECT_EQ(a->getSharedAttrSet()->getRefCount(), 1);
    clear();
    a->draw(SG_PASS_OPAQUE);
    b->draw(SG_PASS_OPAQUE);
    Frame f = frame();
    EXPECT_TRUE(near(f.at(30, 30), rgb(255, 0, 0)));
    EXPECT_TRUE(near(f.at(120, 30), rgb(255, 0, 0)));

    // Dropping the compiled list of a sharer recompiles from its own records.
    sgGeoSet* c = a->copy();
    c->setDisplayList(-1);
    EXPECT_EQ(c->getSharedAttrSet(), nullptr);
    EXPECT_EQ(c->getAttrCount(), 3);
    clear();
    c->draw(SG_PASS_OPAQUE);
    EXPECT_TRUE(near(frame().at(30, 30), rgb(255, 0, 0)));
    EXPECT_NE(c->getDisplayList(), a->getDisplayList());
    delete a;
    delete b;
    delete c;
}

TEST_F(GeometryTest, PrimitiveCountChangeRebuildsTheList) {
    sgGeoSet* set = makeQuad(10, 10, 50, 50, 0, 1, 0, 0);
    EXPECT_EQ(countPolygons([&] { set->draw(SG_PASS_OPAQUE); }) > 0, true);
    set->setNumPrims(0);
    EXPECT_EQ(set->getDisplayList(), -1);
    EXPECT_EQ(countPolygons([&] { set->draw(SG_PASS_OPAQUE); }), 0);
    set->setNumPrims(1);
    EXPECT_GT(countPolygons([&] { set->draw(SG_PASS_OPAQUE); }), 0);
    delete set;
}

TEST_F(GeometryTest, TrianglesDoubleArraysAndNormalsPerVertex) {
    sgGeoSet* set = makeQuad(0, 0, 0, 0, 0, 0, 1, 0);
    std::vector<double> v = {10, 10, 0, 60, 10, 0, 10, 60, 0, 60, 60, 0};
    set->setAttr(GL_VERTEX_ARRAY, v, {0, 1, 2, 1, 3, 2});
    set->setAttr(GL_NORMAL_ARRAY, std::vector<float>{0, 0, 1}, {0, 0, 0, 0});
    set->setNormalBind(1);
    set->setPrimType(GL_TRIANGLES);
    set->setNumPrims(2);
    clear();
    set->draw(SG_PASS_OPAQUE);
    Frame f = frame();
    EXPECT_TRUE(near(f.at(20, 50), rgb(0, 255, 0)));
    EXPECT_TRUE(near(f.at(50, 20), rgb(0, 255, 0)));
    delete set;
}

TEST_F(GeometryTest, BadIndicesDrawWhatIsValid) {
    sgGeoSet* set = makeQuad(0, 0, 0, 0, 0, 1, 0, 0);
    std::vector<float> v = {10, 10, 0, 50, 10, 0, 50, 50, 0, 10, 50, 0};
    // Second quad points outside the array and at negative indices; the count
    // claims far more primitives than the index list holds.
    set->setAttr(GL_VERTEX_ARRAY, v, {0, 1, 2, 3, 9, -4, 1000000, 2});
    set->setAttr(GL_NORMAL_ARRAY, std::vector<float>{0, 0}, {7});
    set->setAttr(GL_TEXTURE_COORD_ARRAY, std::vector<float>{0, 0}, {0, 5, -1});
    set->setNumPrims(1 << 30);
    clear();
    set->draw(SG_PASS_OPAQUE);
    EXPECT_TRUE(near(frame().at(30, 30), rgb(255, 0, 0)));
    EXPECT_EQ(set->setAttr(GL_COLOR_ARRAY, std::vector<float>{1}, {0}), 0);
    delete set;
}

TEST_F(GeometryTest, SelectionEntersEachDrawnSetUnderItsOwnName) {
    sgGeoSet* a = makeQuad(10, 10, 50, 50, 0, 1, 0, 0);
    sgGeoSet* b = a->copy();  // shares a's display list
    sgDisplayListTable& table = sgGetDisplayListTable();
    table.clear();
    GLuint buf[64];
    glSelectBuffer(64, buf);
    glRenderMode(GL_SELECT);
    glInitNames();
    glPushName(0);
    sgSetRenderMode(GL_SELECT);
    a->draw(SG_PASS_PICK);
    b->draw(SG_PASS_PICK);
    sgSetRenderMode(GL_RENDER);
    GLint hits = glRenderMode(GL_RENDER);
    ASSERT_EQ(hits, 2);
    EXPECT_EQ(table.find(static_cast<int>(buf[3])), a);
    EXPECT_EQ(table.find(static_cast<int>(buf[7])), b);
    delete b;
    EXPECT_EQ(table.find(static_cast<int>(buf[7])), nullptr);  // deleted sets leave the table
    delete a;
}

TEST_F(GeometryTest, OutlineDrawsTheEdgesInGreen) {
    sgGeoSet* set = makeQuad(20, 20, 80, 80, 0, 0, 0, 1);
    set->setOutline(1);
    set->setPolygonOffset(2);
    clear();
    set->draw(SG_PASS_OPAQUE);
    Frame f = frame();
    bool green = false;
    for (int x = 17; x <= 23; ++x) green = green || near(f.at(x, 50), rgb(102, 255, 102), 3);
    EXPECT_TRUE(green);
    EXPECT_TRUE(near(f.at(50, 50), rgb(0, 0, 255)));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_POLYGON_OFFSET_FILL));
    delete set;
}

TEST_F(GeometryTest, OutlineOfATexturedSetIsPlainGreen) {
    FakeImages::addColour("outline_tex.png", 0, 0, 255);
    sgGeoSet* set = makeQuad(20, 20, 80, 80, 0, 1, 1, 1);
    texture(set, "outline_tex.png");
    set->setOutline(1);
    clear();
    set->draw(SG_PASS_OPAQUE);
    Frame f = frame();
    // The lines are green, not green times the picture's blue.
    int green = 0, tinted = 0;
    for (int x = 17; x <= 23; ++x) {
        green += near(f.at(x, 50), rgb(102, 255, 102), 3);
        tinted += near(f.at(x, 50), rgb(0, 0, 102), 3);
    }
    EXPECT_GT(green, 0);
    EXPECT_EQ(tinted, 0);
    EXPECT_TRUE(near(f.at(50, 50), rgb(0, 0, 255))) << describe(f.at(50, 50));  // the face keeps its texture
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    delete set;
}
