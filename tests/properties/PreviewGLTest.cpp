// The GL previews on OSMesa: the chooser's spheres against the lighting
// equation worked out here, the material preview's opacity and aspect, sizes
// of zero, and the camera preview's drag.
#include "scene/pnMaterial.h"
#include "scene/pnScene.h"
#include "tests/support/ImageCheck.h"
#include "tests/support/OffscreenGL.h"
#include "ui/properties/rules/PreviewRender.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

// Fixed-function lighting of one front-facing point: scene ambient 0.2, one
// white light at a position, the viewer at infinity along +Z.
RGBA litColour(const float p[3], const float n[3], const float light[3], const float ambient[3],
               const float diffuse[3], const float specular[3], float shininess) {
    float l[3] = {light[0] - p[0], light[1] - p[1], light[2] - p[2]};
    const float len = std::sqrt(l[0] * l[0] + l[1] * l[1] + l[2] * l[2]);
    for (float& v : l) v /= len;
    const float ndl = std::max(0.0f, n[0] * l[0] + n[1] * l[1] + n[2] * l[2]);
    float h[3] = {l[0], l[1], l[2] + 1};
    const float hl = std::sqrt(h[0] * h[0] + h[1] * h[1] + h[2] * h[2]);
    const float ndh = std::max(0.0f, (n[0] * h[0] + n[1] * h[1] + n[2] * h[2]) / hl);
    const float spec = ndl > 0 ? std::pow(ndh, shininess) : 0.0f;
    auto byte = [](float v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255)); };
    float c[3];
    for (int i = 0; i < 3; ++i) c[i] = 0.2f * ambient[i] + diffuse[i] * ndl + specular[i] * spec;
    return RGBA{byte(c[0]), byte(c[1]), byte(c[2]), 0};
}

// The centre pixel of a sphere of radius r at (cx, cy, cz) seen in an
// orthographic view, worked out from the pixel's own position.
RGBA sphereAt(float x, float y, float cx, float cy, float cz, float r, const float light[3], const float a[3],
              const float d[3], const float s[3], float shininess) {
    const float dx = x - cx, dy = y - cy, dz = std::sqrt(r * r - dx * dx - dy * dy);
    const float p[3] = {x, y, cz + dz}, n[3] = {dx / r, dy / r, dz / r};
    return litColour(p, n, light, a, d, s, shininess);
}

pnMaterial* material(const char* name, float r, float g, float b) {
    auto* m = new pnMaterial;
    m->setName(name);
    m->setDiffuse(r, g, b);
    m->setAmbient(0.1f, 0.1f, 0.1f);
    m->setSpecular(0.5f, 0.5f, 0.5f);
    m->setShininess(10);
    return m;
}

// Colours only: the previews leave alpha as blending makes it.
bool rgbNear(const RGBA& a, const RGBA& b, int tol) { return near(RGBA{a.r, a.g, a.b, 0}, RGBA{b.r, b.g, b.b, 0}, tol); }

class PreviewGL : public GLTest {
protected:
    PreviewGL() : GLTest(160, 160) {}
};

}  // namespace

TEST_F(PreviewGL, GridCellZeroShowsTheNewestMaterialLit) {
    pnScene scene;
    ASSERT_TRUE(scene.addAMaterialToScene(material("old", 0.1f, 0.8f, 0.1f)));
    ASSERT_TRUE(scene.addAMaterialToScene(material("new", 0.9f, 0.3f, 0.1f)));
    ASSERT_TRUE(SizeMaterialGrid(160, 160));
    RenderMaterialGrid(&scene, 0);
    glFinish();
    const Frame f = readFrame(160, 160);
    // Window (20, 20) is GL (20, 139); its centre in the view's units.
    const float x = -16 + 20.5f * 32 / 160, y = -16 + 139.5f * 32 / 160;
    const float light[3] = {200, 200, 200}, a[3] = {0.1f, 0.1f, 0.1f}, s[3] = {0.5f, 0.5f, 0.5f};
    const float newest[3] = {0.9f, 0.3f, 0.1f}, older[3] = {0.1f, 0.8f, 0.1f};
    const RGBA want = sphereAt(x, y, -12, 12, -10, 2.8f, light, a, newest, s, 10);
    EXPECT_TRUE(rgbNear(f.at(20, 139), want, 3)) << describe(f.at(20, 139)) << " want " << describe(want);
    const RGBA second = sphereAt(x + 8, y, -4, 12, -10, 2.8f, light, a, older, s, 10);
    EXPECT_TRUE(rgbNear(f.at(60, 139), second, 3)) << describe(f.at(60, 139)) << " want " << describe(second);
    EXPECT_TRUE(rgbNear(f.at(100, 139), RGBA{26, 26, 26, 0}, 1)) << "the third cell is empty";

    DrawMaterialGridFrames(160, 160, 5);
    glFinish();
    const Frame framed = readFrame(160, 160);
    EXPECT_TRUE(rgbNear(framed.at(40, 159 - 60), RGBA{255, 0, 0, 0}, 0)) << describe(framed.at(40, 99));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(PreviewGL, OpacityShowsTheReferenceSphereOrTheMaterial) {
    MaterialPreviewState s;
    s.diffuse[0] = 1, s.diffuse[1] = 0, s.diffuse[2] = 0;
    const float black[3] = {0, 0, 0}, white[3] = {1, 1, 1}, red[3] = {1, 0, 0}, light[3] = {10, 10, 10};
    // The pixel at the centre and the view's units of its position (6.6 over 160).
    const float x = -3.3f + 80.5f * 6.6f / 160, y = x;
    struct Case {
        float opacity;
        RGBA want;
    };
    const Case cases[] = {
        {0.0f, sphereAt(x, y, 0, 0, -10, 1.0f, light, black, white, black, 0)},
        {1.0f, sphereAt(x, y, 0, 0, -10, 3.0f, light, black, red, black, 0)},
    };
    for (const Case& c : cases) {
        s.opacity = c.opacity;
        ASSERT_TRUE(SizeMaterialPreview(160, 160));
        RenderMaterialPreview(s);
        glFinish();
        const RGBA got = readFrame(160, 160).at(80, 80);
        EXPECT_TRUE(rgbNear(got, c.want, 3)) << c.opacity << ": " << describe(got) << " want " << describe(c.want);
    }
}

TEST(PreviewGLShape, WideControlsKeepSpheresRoundAndZeroSizesDrawNothing) {
    for (auto [w, h] : {std::pair{200, 100}, std::pair{90, 180}}) {
        OffscreenGL gl(w, h);
        ASSERT_TRUE(gl.ok());
        // Emission lights every pixel of the sphere.
        MaterialPreviewState s;
        s.emission[0] = s.emission[1] = s.emission[2] = 0.5f;
        ASSERT_TRUE(SizeMaterialPreview(w, h));
        RenderMaterialPreview(s);
        glFinish();
        const Frame f = readFrame(w, h);
        auto lit = [&f](int x, int y) { const RGBA c = f.at(x, y); return c.r + c.g + c.b > 0; };
        int across = 0, down = 0;
        for (int x = 0; x < w; ++x) across += lit(x, h / 2);
        for (int y = 0; y < h; ++y) down += lit(w / 2, y);
        EXPECT_GT(across, 20);
        EXPECT_NEAR(across, down, 1) << w << "x" << h;
    }
    OffscreenGL gl(40, 40);
    ASSERT_TRUE(gl.ok());
    while (glGetError() != GL_NO_ERROR) {}
    EXPECT_FALSE(SizeMaterialPreview(0, 40));
    EXPECT_FALSE(SizeMaterialPreview(40, 0));
    EXPECT_FALSE(SizeMaterialGrid(0, 0));
    EXPECT_FALSE(CCameraPreviewModel::Size(40, 0));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(CameraPreview, DragsTurnTheEyeButNeverBelowTheGround) {
    CCameraPreviewModel m;
    EXPECT_FLOAT_EQ(m.m_eye.m_z, 5.0f);
    EXPECT_NEAR(m.m_marker.m_radius, 5.9f, 1e-5);
    m.SetClientSize(100, 100);
    m.SetEyeXYZ(5.0f, 0.0f, 0.2f);
    // Above the centre, to the right: turns Z towards X by 21.6 degrees,
    // which would carry the eye below z = 0.
    EXPECT_FALSE(m.Drag(50, 20, 80, 20));
    EXPECT_FLOAT_EQ(m.m_eye.m_x, 5.0f);
    EXPECT_FLOAT_EQ(m.m_eye.m_z, 0.2f);
    // The other way it rises, and the marker follows the eye.
    ASSERT_TRUE(m.Drag(80, 20, 50, 20));
    EXPECT_GT(m.m_eye.m_z, 1.5f);
    EXPECT_NEAR(m.m_eye.m_radius, std::sqrt(25.04f), 1e-4);
    EXPECT_NEAR(m.m_marker.m_azimuth, m.m_eye.m_azimuth, 1e-3);
    EXPECT_NEAR(m.m_marker.m_elevation, m.m_eye.m_elevation, 1e-3);
    EXPECT_FLOAT_EQ(m.m_vEye[2], m.m_eye.m_z);
    // A control without size ignores drags.
    m.SetClientSize(0, 100);
    const float z = m.m_eye.m_z;
    EXPECT_FALSE(m.Drag(0, 0, 30, 30));
    EXPECT_FLOAT_EQ(m.m_eye.m_z, z);
}

TEST(CameraPreview, RendersTheMarkerConeOnTheSphere) {
    OffscreenGL gl(100, 100);
    ASSERT_TRUE(gl.ok());
    CCameraPreviewModel m;
    m.SetEyeSpherical(5, 0, 0);  // the cone on +X
    ASSERT_TRUE(CCameraPreviewModel::Size(100, 100));
    m.Render();
    glFinish();
    const Frame f = readFrame(100, 100);
    // The cone stands at x = 5.9 (view 10 each way): pixel 79 or so, red.
    const RGBA cone = f.at(80, 50);
    EXPECT_GT(cone.r, 2 * cone.g) << describe(cone);
    const RGBA corner = f.at(2, 2);
    EXPECT_TRUE(rgbNear(corner, RGBA{102, 102, 102, 0}, 1)) << describe(corner);
}
