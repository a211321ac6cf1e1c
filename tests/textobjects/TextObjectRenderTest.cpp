// Text objects drawn on OSMesa and probed against the glyph outlines computed
// on the CPU: a 3D word, a 2D face with an outline, a 2D face with a shadow,
// and a counter. One unit is one pixel (orthographic, looking down -z), and
// the materials are pure emission so every pixel is exactly its set's colour.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "assets/sgText3D.h"
#include "scene/pnCounter.h"
#include "scene/pnMaterial.h"
#include "scene/pnScene.h"
#include "scene/pnString.h"
#include "scene/pnStringProperty.h"
#include "sg/sgGeoSet.h"
#include "sg/sgNode.h"
#include "tests/support/ImageCheck.h"
#include "tests/support/OffscreenGL.h"
#include "tests/textobjects/TextObjectSupport.h"

namespace {

const RGBA kBlack{0, 0, 0, 255};
const RGBA kRed{255, 0, 0, 255};
const RGBA kBlue{0, 0, 255, 255};

// A glyph as drawn: its outline and the translation of its list.
struct PlacedGlyph {
    const sgTextGlyphOutline* glyph;
    double dx, dy;
};

class TextRender : public GLTest {
protected:
    TextRender() : GLTest(400, 300) {}

    void SetUp() override {
        GLTest::SetUp();
        glViewport(0, 0, width_, height_);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-width_ / 2.0, width_ / 2.0, -height_ / 2.0, height_ / 2.0, -500.0, 500.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glEnable(GL_LIGHTING);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        addEmissive("red", 1, 0, 0);
        addEmissive("blue", 0, 0, 1);
    }

    void addEmissive(const char* name, float r, float g, float b) {
        auto* m = new pnMaterial;
        m->setName(name);
        m->setAmbient(0, 0, 0);
        m->setDiffuse(0, 0, 0);
        m->setSpecular(0, 0, 0);
        m->setEmission(r, g, b);
        ASSERT_EQ(scene_.addMaterial(m), 1);
    }

    Frame draw(sgNode* root, const char* file) {
        root->draw(SG_PASS_OPAQUE);
        glFinish();
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        Frame f = readFrame(width_, height_);
        writeFramePNG(f, testOutputDir() + "/" + file);
        return f;
    }

    // Classifies every pixel whose centre lies at least `margin` from the
    // nearest edge of the placed glyphs (and of the shifted copies in
    // `edges`) and compares it with what should cover it. Returns the share
    // of probed pixels of each expected colour that match, per colour.
    struct Score {
        int probed[3] = {0, 0, 0};  // black, main, edge
        int matched[3] = {0, 0, 0};
        double share(int i) const { return probed[i] ? double(matched[i]) / probed[i] : 0.0; }
    };
    Score score(const Frame& f, const std::vector<PlacedGlyph>& main, double ox, double oy,
                const std::function<int(double x, double y, double mainDist, bool inMain)>& expect) {
        Score s;
        for (int py = 0; py < f.height; ++py)
            for (int px = 0; px < f.width; ++px) {
                const double x = px + 0.5 - width_ / 2.0 - ox;
                const double y = py + 0.5 - height_ / 2.0 - oy;
                double best = 1e30;
                bool in = false;
                for (const PlacedGlyph& g : main) {
                    bool inside = false;
                    double d = glyphDistance(*g.glyph, x - g.dx, y - g.dy, &inside);
                    best = std::min(best, d);
                    in = in || inside;
                }
                const int want = expect(x, y, best, in);
                if (want < 0) continue;
                const RGBA c = f.at(px, py);
                const RGBA& ref = want == 0 ? kBlack : want == 1 ? kRed : kBlue;
                ++s.probed[want];
                if (near(c, ref, 8)) ++s.matched[want];
            }
        return s;
    }

    pnScene scene_;
};

std::vector<PlacedGlyph> placedGlyphs(const sgText3D& e, bool shadow = false, double shiftX = 0.0) {
    double place[3];
    e.getPlacement(shadow, place);
    std::vector<PlacedGlyph> out;
    for (int i = 0; i < e.getCharCount(); ++i) out.push_back({&e.getGlyph(i), place[0] + shiftX, place[1]});
    return out;
}

}  // namespace

TEST_F(TextRender, ThreeDimensionalWord) {
    pnString s;
    s.setScene(&scene_);
    s.setString("Abc");
    s.setSize(128.0f);
    s.setMaterial("red");
    s.setPosition(20.0f, 10.0f, 0.0f);
    sgNode* root = s.getNode();
    ASSERT_NE(root, nullptr);
    Frame f = draw(root, "textobj_3d_abc.png");
    const sgText3D& e = *s.getEngine();
    ASSERT_EQ(e.getCharCount(), 3);
    // The text is centred on its position.
    double place[3];
    e.getPlacement(false, place);
    EXPECT_NEAR(place[0], -e.getWidth() / 2.0, 1e-4);
    EXPECT_NEAR(place[1], -e.getHeight() / 2.0, 1e-4);
    EXPECT_NEAR(place[2], e.getTotalDepth() / 2.0, 1e-4);

    Score sc = score(f, placedGlyphs(e), 20.0, 10.0, [](double, double, double d, bool in) {
        if (d < 1.5) return -1;
        return in ? 1 : 0;
    });
    EXPECT_GT(sc.probed[1], 1000);
    EXPECT_GT(sc.share(1), 0.995) << sc.matched[1] << " of " << sc.probed[1] << " glyph pixels red";
    EXPECT_GT(sc.share(0), 0.999) << sc.matched[0] << " of " << sc.probed[0] << " background pixels black";
    // Each letter is inked at its own interior point.
    for (int i = 0; i < 3; ++i) {
        double x, y;
        ASSERT_TRUE(findInteriorPoint(e.getGlyph(i), 2.0, &x, &y));
        const int px = static_cast<int>(x + place[0] + 20.0 + width_ / 2.0);
        const int py = static_cast<int>(y + place[1] + 10.0 + height_ / 2.0);
        EXPECT_TRUE(near(f.at(px, py), kRed, 8)) << "letter " << i << ": " << describe(f.at(px, py));
    }
}

TEST_F(TextRender, TwoDimensionalFaceWithOutline) {
    const double border = 4.0;
    pnString s;
    s.setScene(&scene_);
    s.setString("Tek");
    s.setSize(128.0f);
    s.setKind(0);
    s.setBorder(static_cast<float>(border));
    s.setMaterial("red");
    s.setBackMaterial("blue");
    sgNode* root = s.getNode();
    ASSERT_NE(root, nullptr);
    ASSERT_GT(s.getEdgeSet()->getDisplayList(), 0);
    Frame f = draw(root, "textobj_2d_outline.png");
    Score sc = score(f, placedGlyphs(*s.getEngine()), 0.0, 0.0, [&](double, double, double d, bool in) {
        if (in) return d >= 1.5 ? 1 : -1;
        if (d >= 1.5 && d <= border - 1.5) return 2;
        if (d >= border * SG_TEXT_MITRE_LIMIT + 2.0) return 0;
        return -1;
    });
    EXPECT_GT(sc.probed[2], 300);
    EXPECT_GT(sc.share(1), 0.995) << "face";
    EXPECT_GT(sc.share(2), 0.97) << sc.matched[2] << " of " << sc.probed[2] << " outline pixels blue";
    EXPECT_GT(sc.share(0), 0.999) << "background";
}

TEST_F(TextRender, TwoDimensionalFaceWithShadow) {
    const double hOff = 8.0, vOff = -7.0;
    pnStringProperty style;
    style.setKind(0);
    style.setSize(128.0f);
    style.setHOffset(static_cast<float>(hOff));
    style.setVOffset(static_cast<float>(vOff));
    pnString s;
    s.setScene(&scene_);
    s.setString("Tek");
    s.setMaterial("red");
    s.setBackMaterial("blue");
    sgNode* root = s.getNode(&style);
    ASSERT_NE(root, nullptr);
    Frame f = draw(root, "textobj_2d_shadow.png");
    const sgText3D& e = *s.getEngine();
    const std::vector<PlacedGlyph> face = placedGlyphs(e);
    const std::vector<PlacedGlyph> shadow = placedGlyphs(e, true);
    // The shadow is the face moved by the offsets, one unit behind it.
    ASSERT_NEAR(shadow[0].dx - face[0].dx, hOff, 1e-9);
    ASSERT_NEAR(shadow[0].dy - face[0].dy, vOff, 1e-9);
    Score sc = score(f, face, 0.0, 0.0, [&](double x, double y, double d, bool in) {
        if (d < 1.5) return -1;
        if (in) return 1;
        double sd = 1e30;
        bool inShadow = false;
        for (const PlacedGlyph& g : shadow) {
            bool i = false;
            sd = std::min(sd, glyphDistance(*g.glyph, x - g.dx, y - g.dy, &i));
            inShadow = inShadow || i;
        }
        if (sd < 1.5) return -1;
        return inShadow ? 2 : 0;
    });
    EXPECT_GT(sc.probed[2], 300);
    EXPECT_GT(sc.share(1), 0.995) << "face";
    EXPECT_GT(sc.share(2), 0.995) << sc.matched[2] << " of " << sc.probed[2] << " shadow pixels blue";
    EXPECT_GT(sc.share(0), 0.999) << "background";
}

TEST_F(TextRender, CounterDigitsAtTheirPositions) {
    auto* digits = new pnStringProperty;
    digits->setName("Digits");
    digits->setSize(96.0f);
    digits->setNJust(60.0f);
    ASSERT_EQ(scene_.addStringProperty(digits), 1);
    pnCounter c;
    c.setScene(&scene_);
    c.setStringProperty("Digits");
    c.setMaterial("red");
    c.setInitValue(-1234.0);
    sgNode* root = c.getNode(nullptr);
    ASSERT_NE(root, nullptr);
    Frame f = draw(root, "textobj_counter.png");

    // Expected: each shown position's character, made by the engine as the
    // counter's glyph builder makes it, moved to the position's x.
    const pnCounterDisplay& d = c.getDisplay();
    static const char* const chars[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "+", "-", ".", ","};
    std::vector<std::unique_ptr<sgText3D>> engines;
    std::vector<PlacedGlyph> expected;
    std::string shown;
    for (int p = 0; p < pnCounterDisplay::NUM_POSITIONS; ++p) {
        if (d.glyph[p] < 0) continue;
        shown += chars[d.glyph[p]];
        auto e = std::make_unique<sgText3D>("arial");
        e->setDefaults();
        e->setFontSize(96);
        e->setExtrusion(5.0f);
        e->setPrecision(0.6f);
        e->setHJust(1);
        e->setVJust(5);
        e->setDepthJust(9);
        e->setBevel(0.0f, 0.0f);
        e->generate(chars[d.glyph[p]]);
        for (const PlacedGlyph& g : placedGlyphs(*e, false, d.x[p])) expected.push_back(g);
        engines.push_back(std::move(e));
    }
    EXPECT_EQ(shown, "-1,234");
    // Advance 60: the "1" one advance after the sign, the separator 0.6 of
    // one after the "1", the "2" a whole one after the separator.
    EXPECT_FLOAT_EQ(d.x[8] - d.x[7], 60.0f);
    EXPECT_FLOAT_EQ(d.x[9] - d.x[8], 36.0f);
    EXPECT_FLOAT_EQ(d.x[10] - d.x[9], 60.0f);
    Score sc = score(f, expected, 0.0, 0.0, [](double, double, double dist, bool in) {
        if (dist < 1.5) return -1;
        return in ? 1 : 0;
    });
    EXPECT_GT(sc.probed[1], 500);
    EXPECT_GT(sc.share(1), 0.995) << sc.matched[1] << " of " << sc.probed[1] << " glyph pixels red";
    EXPECT_GT(sc.share(0), 0.999) << sc.matched[0] << " of " << sc.probed[0] << " background pixels black";

    // The next frame's value moves the glyphs: 0 -> 5 over 5 frames at 3.
    c.setBuilt(1);
    c.setInitValue(0.0);
    c.setFinalValue(5.0);
    c.setFrames(0, 5);
    c.showFrame(3);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    Frame f3 = draw(root, "textobj_counter_3.png");
    sgText3D three("arial");
    three.setDefaults();
    three.setFontSize(96);
    three.setExtrusion(5.0f);
    three.setPrecision(0.6f);
    three.setDepthJust(9);
    three.generate("3");
    Score sc3 = score(f3, placedGlyphs(three), 0.0, 0.0, [](double, double, double dist, bool in) {
        if (dist < 1.5) return -1;
        return in ? 1 : 0;
    });
    EXPECT_GT(sc3.share(1), 0.995);
    EXPECT_GT(sc3.share(0), 0.999);
}
