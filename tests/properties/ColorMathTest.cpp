// The coordinate values, the palette's colours (against Python's colorsys),
// the palette pictures (decoded by ImageMagick) and the slider geometry.
#include "tests/support/ShellCommand.h"
#include "tests/support/ToolCheck.h"
#include "ui/properties/rules/CPolarCoord.h"
#include "ui/properties/rules/CSphericalCoord.h"
#include "ui/properties/rules/ColorMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#ifndef KELVANO_SOURCE_DIR
#error KELVANO_SOURCE_DIR must name the source tree
#endif

TEST(Coordinates, PolarAndSphericalValuesAndRotations) {
    CPolarCoord p;
    p.SetXY(0, 0);
    EXPECT_EQ(p.m_radius, 0.0f);
    EXPECT_EQ(p.m_angle, 0.0f);
    p.SetXY(0, 2);
    EXPECT_FLOAT_EQ(p.m_radius, 2.0f);
    EXPECT_NEAR(p.m_angle, 90.0f, 1e-4);
    p.Rotate(90);
    EXPECT_NEAR(p.m_x, -2.0f, 1e-5);
    EXPECT_NEAR(p.m_y, 0.0f, 1e-5);

    struct Case {
        float from[3], angles[3], to[3];
    };
    // Each plane turns its first axis towards its second.
    const Case rotations[] = {
        {{1, 0, 0}, {0, 0, 90}, {0, 1, 0}},
        {{0, 1, 0}, {90, 0, 0}, {0, 0, 1}},
        {{0, 0, 1}, {0, 90, 0}, {1, 0, 0}},
        {{1, 0, 0}, {90, 90, 0}, {0, 0, -1}},
    };
    for (const Case& c : rotations) {
        CSphericalCoord s;
        s.SetXYZ(c.from[0], c.from[1], c.from[2]);
        s.Rotate(c.angles[0], c.angles[1], c.angles[2]);
        EXPECT_NEAR(s.m_x, c.to[0], 1e-5);
        EXPECT_NEAR(s.m_y, c.to[1], 1e-5);
        EXPECT_NEAR(s.m_z, c.to[2], 1e-5);
    }
    CSphericalCoord s;
    s.SetXYZ(1, 0, 0);
    s.Rotate(0, 0, 90);
    EXPECT_NEAR(s.m_azimuth, 90.0f, 1e-4);
    EXPECT_NEAR(s.m_elevation, 0.0f, 1e-4);

    s.SetSpherical(1, 90, 0);
    EXPECT_NEAR(s.m_x, 0, 1e-6);
    EXPECT_NEAR(s.m_y, 1, 1e-6);
    EXPECT_NEAR(s.m_z, 0, 1e-6);
    s.SetSpherical(1, 0, 90);
    EXPECT_NEAR(s.m_x, 0, 1e-6);
    EXPECT_NEAR(s.m_z, 1, 1e-6);
    s.SetXYZ(3, 4, 12);
    EXPECT_FLOAT_EQ(s.m_radius, 13.0f);
    EXPECT_NEAR(s.m_elevation, std::atan2(12.0, 5.0) * 180 / M_PI, 1e-4);
}

TEST(Palette, ColourAtMatchesHsvFromPython) {
    REQUIRE_TOOL("python3");
    const int w = 191, h = 163;
    std::ostringstream points;
    for (int y = 0; y < h; y += 9)
        for (int x = 0; x < w; x += 7) points << x << ' ' << y << ' ';
    const std::string script =
        "import colorsys,sys\n"
        "v=[int(t) for t in sys.argv[1].split()]\n"
        "for i in range(0,len(v),2):\n"
        " x,y=v[i],v[i+1]\n"
        " print('%.6f %.6f %.6f'%colorsys.hsv_to_rgb(x/191.0,1-y/163.0,1))\n";
    int status = 0;
    const std::string out = runCommand("python3 -c \"" + script + "\" '" + points.str() + "'", &status);
    ASSERT_EQ(status, 0);
    std::istringstream expected(out), in(points.str());
    int x, y, checked = 0;
    while (in >> x >> y) {
        float want[3], got[3];
        ASSERT_TRUE(expected >> want[0] >> want[1] >> want[2]);
        paletteColorAt(float(x), float(y), w, h, got);
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(got[i], want[i], 1.0 / 255) << x << "," << y;
        ++checked;
    }
    EXPECT_GT(checked, 400);
}

TEST(Palette, MarkerSitsOnTheColourItNames) {
    const int w = 191, h = 163;
    for (int x = 0; x < w; x += 5) {
        for (int y : {0, 40, 100}) {
            float c[3];
            paletteColorAt(float(x), float(y), w, h, c);
            int mx = -1, my = -1;
            ASSERT_TRUE(paletteMarkerFromColor(c, w, h, mx, my)) << x;
            // The row is the whiteness; the column is exact for pure hues.
            EXPECT_NEAR(my, y, 1) << x << "," << y;
            if (y != 0) continue;
            float back[3];
            paletteColorAt(float(mx), float(my), w, h, back);
            // Within the one column the marker's whole pixel may lose.
            for (int i = 0; i < 3; ++i) EXPECT_NEAR(back[i], c[i], 1.1 * 6 / w) << x;
        }
    }
    const float white[3] = {1, 1, 1}, dim[3] = {0.5f, 0.2f, 0.1f};
    int mx = 17, my = 5;
    EXPECT_TRUE(paletteMarkerFromColor(white, w, h, mx, my));
    EXPECT_EQ(mx, 17) << "white keeps x";
    EXPECT_EQ(my, h);
    EXPECT_FALSE(paletteMarkerFromColor(dim, w, h, mx, my));
    EXPECT_EQ(mx, 17);
    EXPECT_EQ(my, h);
}

TEST(Palette, CommittedPicturesAreWhatTheGeneratorWrites) {
    REQUIRE_TOOL("convert");
    for (const PalettePicture& p : kPalettePictures) {
        const std::string path = std::string(KELVANO_SOURCE_DIR) + "/res/bitmaps/" + p.name + ".png";
        int status = 0;
        const std::string size = runCommand("identify -format '%w %h' '" + path + "'", &status);
        ASSERT_EQ(status, 0) << path;
        EXPECT_EQ(size, std::to_string(p.width) + " " + std::to_string(p.height)) << path;
        const std::string rgb = runCommand("convert '" + path + "' -depth 8 rgb:-", &status);
        const std::vector<uint8_t> want = palettePixels(p.width, p.height);
        ASSERT_EQ(rgb.size(), want.size()) << path;
        EXPECT_TRUE(std::equal(want.begin(), want.end(), reinterpret_cast<const uint8_t*>(rgb.data()))) << path;
    }
}

TEST(ColourRules, NormalisingAndBrightness) {
    struct Case {
        float raw[3], norm[3], brightness;
    };
    const Case cases[] = {
        {{0, 0, 0}, {1, 1, 1}, 0.0f},
        {{0.5f, 0.25f, 0}, {1, 0.5f, 0}, 0.5f},
        {{0, 0.2f, 0.4f}, {0, 0.5f, 1}, 0.4f},
        {{1, 1, 1}, {1, 1, 1}, 1.0f},
    };
    for (const Case& c : cases) {
        float n[3];
        normalizeColor(c.raw, n);
        for (int i = 0; i < 3; ++i) EXPECT_FLOAT_EQ(n[i], c.norm[i]);
        EXPECT_FLOAT_EQ(colorBrightness(c.raw, n), c.brightness);
    }
}

TEST(ColourRules, RampTracksClampAndMapBothWays) {
    for (bool horizontal : {true, false}) {
        const CRampGeometry g(horizontal ? 150 : 26, horizontal ? 24 : 120, horizontal);
        int x0, y0, x1, y1;
        g.MarkerPoint(0, x0, y0);
        g.MarkerPoint(1000, x1, y1);
        if (horizontal) {
            EXPECT_EQ(x0, 8);
            EXPECT_EQ(x1, 150 - 7 - 2);
            EXPECT_EQ(y0, 24 - 8);
        } else {
            EXPECT_GT(y0, y1) << "vertical positions grow upwards";
            EXPECT_EQ(x0, 26 - 8);
        }
        // Drags beyond either end stay at 0 and 1000.
        EXPECT_EQ(g.PosFromPoint(-500, 1000), 0);
        EXPECT_EQ(g.PosFromPoint(x0, y0), 0);
        EXPECT_EQ(g.PosFromPoint(x1, y1), 1000);
        EXPECT_EQ(g.PosFromPoint(horizontal ? 5000 : x1, horizontal ? y1 : -5000), 1000);
        for (int pos : {0, 250, 500, 999, 1000}) {
            int x, y;
            g.MarkerPoint(pos, x, y);
            EXPECT_NEAR(g.PosFromPoint(x, y), pos, 8) << pos;
        }
    }
    const CRampGeometry empty(14, 0, true);
    EXPECT_EQ(empty.PosFromPoint(100, 0), 0) << "a track without length";
}
