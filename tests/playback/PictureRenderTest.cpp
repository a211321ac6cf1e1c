// Pictures drawn as their files say, through the headless render tool (the
// real read, build and GL path): scenes written here, their pixels compared
// with colours worked out by hand. The camera looks down -z from
// (0, 0, 906) with a vertical field of view of 30 degrees; materials that
// only emit give their colour whatever the light, and lit ones are lit by one
// white directional light without ambient, so a face shows 255 x (N . L).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "assets/writePNG.h"
#include "tests/support/ImageCheck.h"
#include "tests/support/RenderTool.h"
#include "tests/support/TempDir.h"

namespace {

const int kW = 400, kH = 300;

std::string header(const std::string& background = "( 0.000000 0.000000 0.000000 1.000000 )") {
    return "scene {\n    name\t\"pictures\"\n    width\t400\n    height\t300\n    version\t250\n}\n\n"
           "viewpoint {\n    name\t\"camera\"\n    position\t( 0 0 906 )\n    direction\t( 0 0 -1 )\n"
           "    near\t10\n    far\t\t5000\n    fov\t\t30\n    width\t\t720\n    perspective\t\t1\n}\n\n"
           "background {\n    name\t\"Background\"\n    color\t" +
           background + "\n    useTexture\t0\n}\n\n";
}

std::string material(const std::string& name, const std::string& body) {
    return "material {\n    name\t\"" + name + "\"\n" + body + "}\n\n";
}

// Only emission: the colour whatever the light.
std::string glow(const std::string& name, double r, double g, double b, double alpha = 1.0) {
    char body[256];
    std::snprintf(body, sizeof body,
                  "    diffuse\t( 0 0 0 )\n    ambient\t( 0 0 0 )\n    emission\t( %g %g %g )\n%s", r, g, b,
                  alpha < 1.0 ? ("    alpha\t" + std::to_string(alpha) + "\n").c_str() : "");
    return material(name, body);
}

// A white directional light from (x, y, z), without ambient; specular 0 or 1.
std::string sun(double x, double y, double z, int specular = 0) {
    char text[512];
    std::snprintf(text, sizeof text,
                  "material {\n    name\t\"sunlight\"\n    diffuse\t( 1 1 1 )\n    ambient\t( 0 0 0 )\n"
                  "    specular\t( %d %d %d )\n}\n\n"
                  "light {\n    name\t\"sun\"\n    position\t( %g %g %g )\n    material\t\"sunlight\"\n"
                  "    positional\t0\n    on\t1\n}\n\n",
                  specular, specular, specular, x, y, z);
    return text;
}

// A lit material: diffuse colour, no ambient, no highlight.
std::string matte(const std::string& name, double r, double g, double b) {
    char body[128];
    std::snprintf(body, sizeof body, "    diffuse\t( %g %g %g )\n    ambient\t( 0 0 0 )\n", r, g, b);
    return material(name, body);
}

std::string model(const std::string& name, const std::string& file, const std::string& mat, double angle) {
    char text[512];
    std::snprintf(text, sizeof text,
                  "model {\n    name\t\"%s\"\n    file\t\"%s\"\n    rotAngle\t%g\n    rotAxis\t( 0 1 0 )\n"
                  "    material\t\"%s\"\n}\n\n",
                  name.c_str(), file.c_str(), angle, mat.c_str());
    return text;
}

std::string panel(const std::string& name, double x, double y, double z, double w, double h,
                  const std::string& mat, const std::string& extra = std::string()) {
    char text[512];
    std::snprintf(text, sizeof text,
                  "panel {\n    name\t\"%s\"\n    position\t( %g %g %g )\n    material\t\"%s\"\n%s"
                  "    kind\t\"2D\"\n    dimension\t( %g %g 0 )\n}\n\n",
                  name.c_str(), x, y, z, mat.c_str(), extra.c_str(), w, h);
    return text;
}

std::string event(const std::string& object) {
    return "event {\n    name\t\"" + object + "Event\"\n    objectName\t\"" + object + "\"\n}\n\n";
}

// Pixel of the point (x, y, z) (x right, y up, from the top-left corner).
void project(double x, double y, double z, int* px, int* py) {
    const double d = 906.0 - z;
    const double top = d * std::tan(15.0 * 3.14159265358979 / 180.0);
    const double right = top * kW / kH;
    *px = static_cast<int>((x / right + 1.0) * 0.5 * kW);
    *py = kH - 1 - static_cast<int>((y / top + 1.0) * 0.5 * kH);
}

RGBA rgb(double r, double g, double b) {
    auto c = [](double v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0)); };
    return RGBA{c(r), c(g), c(b), 255};
}

struct Vec {
    double x, y, z;
};
Vec unit(Vec v) {
    const double l = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return {v.x / l, v.y / l, v.z / l};
}
double dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
// Turned by degrees about +y, as an object's rotation turns it.
Vec turnY(Vec v, double degrees) {
    const double a = degrees * 3.14159265358979 / 180.0, c = std::cos(a), s = std::sin(a);
    return {c * v.x + s * v.z, v.y, -s * v.x + c * v.z};
}

// GL's lighting of a face with normal n by the white directional light from
// l, seen from far along +z: diffuse x (N . L) plus specular x (N . H)^shininess.
RGBA lit(Vec n, Vec l, Vec diffuse, double specular = 0, double shininess = 0) {
    n = unit(n), l = unit(l);
    const double d = std::max(0.0, dot(n, l));
    const Vec h = unit({l.x, l.y, l.z + 1.0});
    const double sp = d > 0 ? specular * std::pow(std::max(0.0, dot(n, h)), shininess) : 0.0;
    return rgb(diffuse.x * d + sp, diffuse.y * d + sp, diffuse.z * d + sp);
}

class PictureRender : public ::testing::Test {
protected:
    // Renders the scene text (written as name.apn beside the test's files).
    RenderToolImage render(const std::string& name, const std::string& scene, const std::string& size = "400x300",
                           int frame = 0) {
        const std::string path = dir.write(name + ".apn", scene);
        RenderToolImage image;
        EXPECT_TRUE(renderWithTool(path, "--frame " + std::to_string(frame) + " --size " + size,
                                   testOutputDir() + "/pictures-" + name + ".png", image))
            << image.log;
        return image;
    }
    TempDir dir{"kelvano-pictures"};
};

}  // namespace

// A transparent panel blends over what lies behind it, whichever was made
// first: the opaque object behind is not drawn again over the blend.
TEST_F(PictureRender, TransparentPanelTintsOpaqueObjectsAddedAfterIt) {
    const std::string scene = header() + glow("glass", 1, 0, 0, 0.5) + glow("ink", 0, 0, 1) +
                              panel("pane", 0, 0, 0, 300, 200, "glass") + panel("card", 0, 0, -50, 80, 80, "ink") +
                              "string {\n    name\t\"word\"\n    position\t( 0 -60 -50 )\n    material\t\"ink\"\n"
                              "    string\t\"HHHH\"\n    size\t40\n    depth\t5\n    kind\t\"3D\"\n}\n\n" +
                              event("pane") + event("card") + event("word");
    const RenderToolImage img = render("tint", scene);
    ASSERT_EQ(img.width, kW);
    int x, y;
    // Half the red glass over the blue card: (0.5, 0, 0.5).
    project(0, 0, -50, &x, &y);
    EXPECT_TRUE(near(img.at(x, y), rgb(0.5, 0, 0.5), 2)) << describe(img.at(x, y));
    // The glass over the black background: (0.5, 0, 0).
    project(120, 80, 0, &x, &y);
    EXPECT_TRUE(near(img.at(x, y), rgb(0.5, 0, 0), 2)) << describe(img.at(x, y));
    // The text behind the glass is tinted as the card is: not one pixel shows
    // its own blue, and its letters show the blend.
    int tinted = 0, untinted = 0;
    int x0, y0, x1, y1;
    project(-130, -30, 0, &x0, &y0);
    project(130, -90, 0, &x1, &y1);
    for (int py = y0; py <= y1; ++py)
        for (int px = x0; px <= x1; ++px) {
            const RGBA c = img.at(px, py);
            if (near(c, rgb(0, 0, 1), 2)) ++untinted;
            if (near(c, rgb(0.5, 0, 0.5), 2)) ++tinted;
        }
    EXPECT_EQ(untinted, 0);
    EXPECT_GT(tinted, 100);
}

// An opaque panel whose texture has alpha blends as a transparent one does.
TEST_F(PictureRender, PanelWithAnRgbaTextureTintsWhatLiesBehind) {
    std::vector<uint8_t> pixels(4 * 4 * 4);
    for (size_t i = 0; i < pixels.size(); i += 4) pixels[i] = 255, pixels[i + 1] = 0, pixels[i + 2] = 0, pixels[i + 3] = 128;
    ASSERT_EQ(writePNG(dir.file("veil.png"), pixels.data(), 4, 4, 32, 0, 1.0), 1);
    // A textured face takes a white material: the light straight on it makes
    // it the texture's colour.
    const std::string scene = header() + sun(0, 0, 1) + glow("white", 1, 1, 1) + glow("ink", 0, 0, 1) +
                              panel("veil", 0, 0, 0, 300, 200, "white",
                                    "    texture\t\"veil.png\"\n    faceFlag\t( 1 0 0 0 0 0 )\n    mode\t0\n") +
                              panel("card", 0, 0, -50, 80, 80, "ink") + event("veil") + event("card");
    const RenderToolImage img = render("veil", scene);
    ASSERT_EQ(img.width, kW);
    int x, y;
    project(0, 0, -50, &x, &y);
    const double a = 128.0 / 255.0;
    EXPECT_TRUE(near(img.at(x, y), rgb(a, 0, 1 - a), 2)) << describe(img.at(x, y));
}

// A pyramid from an OBJ without normals: each side is lit by its own facet
// normal, whatever was drawn before it.
TEST_F(PictureRender, ObjWithoutNormalsShowsLitAndShadedSides) {
    dir.write("pyramid.obj",
              "v -60 -60 60\nv 60 -60 60\nv 60 -60 -60\nv -60 -60 -60\nv 0 60 0\n"
              "f 1 2 5\nf 2 3 5\nf 3 4 5\nf 4 1 5\nf 1 4 3 2\n");
    const Vec light{0.4, 0.6, 1};  // lights every side seen, each differently
    const std::string tail = matte("white", 1, 1, 1) + model("pyramid", "pyramid.obj", "white", -45) +
                             event("pyramid");
    // A text drawn before the pyramid leaves its own normals in GL.
    const std::string before = glow("ink", 0, 0, 1) +
                               "string {\n    name\t\"word\"\n    position\t( 0 110 0 )\n    material\t\"ink\"\n"
                               "    string\t\"OO\"\n    size\t30\n    kind\t\"3D\"\n}\n\n" +
                               event("word");
    const RenderToolImage alone = render("pyramid", header() + sun(light.x, light.y, light.z) + tail);
    const RenderToolImage after = render("pyramid-text", header() + sun(light.x, light.y, light.z) + before + tail);
    ASSERT_EQ(alone.width, kW);
    ASSERT_EQ(after.width, kW);
    // Turned by -45 degrees: the front side (+z) shows on the left, the right
    // side (+x) on the right, both halfway up.
    const Vec front = turnY({0, 60, 120}, -45), right = turnY({120, 60, 0}, -45);
    int xl, xr, y;
    project(-35, -30, 30, &xl, &y);
    project(35, -30, 30, &xr, &y);
    for (const RenderToolImage* img : {&alone, &after}) {
        EXPECT_TRUE(near(img->at(xl, y), lit(front, light, {1, 1, 1}), 2)) << describe(img->at(xl, y));
        EXPECT_TRUE(near(img->at(xr, y), lit(right, light, {1, 1, 1}), 2)) << describe(img->at(xr, y));
    }
}

// A model as common exporters write it: one object ("o", no "g"), the
// material changing between its faces, no normals, and an MTL with "Ni"
// after "Ns". Each face shows its own material's colour, with the narrow
// highlight its "Ns" gives.
TEST_F(PictureRender, ExportedObjShowsEachMaterialOfOneGroup) {
    dir.write("crate.mtl",
              "# Blender MTL File: 'crate.blend'\n# Material Count: 2\n\n"
              "newmtl Red\nNs 250.000000\nKa 0.000000 0.000000 0.000000\nKd 0.800000 0.000000 0.000000\n"
              "Ks 0.500000 0.500000 0.500000\nKe 0.000000 0.000000 0.000000\nNi 1.450000\nd 1.000000\nillum 2\n\n"
              "newmtl Blue\nNs 250.000000\nKa 0.000000 0.000000 0.000000\nKd 0.000000 0.000000 0.800000\n"
              "Ks 0.500000 0.500000 0.500000\nKe 0.000000 0.000000 0.000000\nNi 1.450000\nd 1.000000\nillum 2\n");
    dir.write("crate.obj",
              "# Blender v3.4.1 OBJ File: 'crate.blend'\nmtllib crate.mtl\no Cube\n"
              "v 60 60 -60\nv 60 -60 -60\nv 60 60 60\nv 60 -60 60\nv -60 60 -60\nv -60 -60 -60\nv -60 60 60\n"
              "v -60 -60 60\ns off\n"
              "usemtl Red\nf 3 8 4\nf 7 6 8\nf 5 7 3\nf 3 7 8\nf 7 5 6\nf 5 3 1\n"
              "usemtl Blue\nf 2 8 6\nf 1 4 2\nf 5 2 6\nf 2 4 8\nf 1 3 4\nf 5 1 2\n");
    const Vec light{0.4, 0.6, 1};  // lights every side seen, each differently
    const RenderToolImage img = render("crate", header() + sun(light.x, light.y, light.z, 1) +
                                                    matte("white", 1, 1, 1) +
                                                    model("crate", "crate.obj", "white", -45) + event("crate"));
    ASSERT_EQ(img.width, kW);
    // Red on the front face (+z), on the left; blue on the right face (+x).
    const double shininess = 250 * 0.001 * 128;  // Ns 250
    const Vec front = turnY({0, 0, 1}, -45), right = turnY({1, 0, 0}, -45);
    int xl, xr, y;
    project(-35, 0, 42, &xl, &y);
    project(35, 0, 42, &xr, &y);
    EXPECT_TRUE(near(img.at(xl, y), lit(front, light, {0.8, 0, 0}, 0.5, shininess), 2)) << describe(img.at(xl, y));
    EXPECT_TRUE(near(img.at(xr, y), lit(right, light, {0, 0, 0.8}, 0.5, shininess), 2)) << describe(img.at(xr, y));
}

namespace {

const char* const kSliceNames[4] = {"red", "green", "blue", "yellow"};
const Vec kSliceColours[4] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0}};
// The slices' first degree and span, counter-clockwise from +y: shares 10,
// 20, 30 and 40 of the whole, each growing from frame 0 to 30.
const int kSliceStart[4] = {0, 36, 108, 216};
const int kSliceSpan[4] = {36, 72, 108, 144};

// The slice kinds a pie is built of.
struct SliceKind {
    const char* name;
    double bevel, innerRad;
};
const SliceKind kSliceKinds[] = {{"plain", 0, 0}, {"bevelled", 8, 0}, {"bevelled-ring", 8, 40}};

// The pie (outer radius 120, depth 30) on the xy plane, its top face at z = 30
// towards the camera, turned by tilt degrees about +x; lit by the sun from l.
// Each slice grows over frames 0..30 and, with shrink, shrinks over 40..60.
std::string pieScene(const SliceKind& kind, double tilt, Vec l, bool shrink = false) {
    std::string scene = header() + sun(l.x, l.y, l.z);
    for (int i = 0; i < 4; ++i)
        scene += matte(kSliceNames[i], kSliceColours[i].x, kSliceColours[i].y, kSliceColours[i].z);
    scene += "pieChart {\n    name\t\"shares\"\n    direction\t( 0 1 0 )\n    showData\t0\n    showLabel\t0\n";
    if (tilt != 0) scene += "    rotAngle\t" + std::to_string(tilt) + "\n    rotAxis\t( 1 0 0 )\n";
    for (int i = 0; i < 4; ++i)
        scene += "    data {\n        growValue\t" + std::to_string(10 * (i + 1)) + "\n        label\t\"" +
                 kSliceNames[i] + "\"\n        startTime\t0\n        endTime\t30\n" +
                 (shrink ? "        shrinkStart\t40\n        shrinkEnd\t60\n" : "") + "        material\t\"" +
                 kSliceNames[i] + "\"\n    }\n";
    scene += "    rotDirection\t1\n    close\t0\n    innerRad\t" + std::to_string(kind.innerRad) +
             "\n    outerRad\t120\n    depth\t30\n    bevel\t" + std::to_string(kind.bevel) +
             "\n    startAngle\t0\n}\n\nevent {\n    name\t\"showShares\"\n    objectName\t\"shares\"\n}\n";
    return scene;
}

// True when c is the colour lit to some degree: t x colour for a t in 0..1.
bool shadeOf(const RGBA& c, Vec colour) {
    const double t = (c.r * colour.x + c.g * colour.y + c.b * colour.z) / 255.0 / dot(colour, colour);
    return t >= 0 && t <= 1.01 && near(c, rgb(t * colour.x, t * colour.y, t * colour.z), 2);
}

// Pixels per unit at distance d from the camera in a picture h pixels high.
double pixelsPerUnit(double d, int h) { return 0.5 * h / (d * std::tan(15.0 * 3.14159265358979 / 180.0)); }

}  // namespace

// A lit pie seen along its axis at full HD, grown and part-way through its
// grow, for each kind of slice. Every pixel of the slices' top faces, those
// on the lines between slices and at their growing edges too, shows a slice's
// flat top colour: on a line between two slices the one or the other, never a
// face inside a slice nor a side face seen edge-on there. Only on a growing
// edge, against the background, may a pixel show the slice's own closing face.
TEST_F(PictureRender, PieTopFacesAreEvenAtFullHd) {
    RGBA expected[5];
    for (int i = 0; i < 4; ++i) expected[i] = lit({0, 0, 1}, {1, 1, 1}, kSliceColours[i]);
    expected[4] = rgb(0, 0, 0);  // the background
    const double ppu = pixelsPerUnit(906.0 - 30.0, 1080);
    for (const SliceKind& kind : kSliceKinds) {
        const RenderToolImage grown = render(std::string("pie-") + kind.name, pieScene(kind, 0, {1, 1, 1}), "1920x1080",
                                             40);
        const RenderToolImage growing =
            render(std::string("pie-") + kind.name + "-growing", pieScene(kind, 0, {1, 1, 1}), "1920x1080", 15);
        for (const RenderToolImage* img : {&grown, &growing}) {
            SCOPED_TRACE(std::string(kind.name) + (img == &grown ? ", grown" : ", halfway"));
            ASSERT_EQ(img->width, 1920);
            // The top faces lie between the chamfers (or the rim and the axis
            // or the hole); the drawn part of each slice, in degrees.
            const double outer = (120.0 - kind.bevel) * ppu - 2.0;
            const double inner = kind.innerRad > 0 ? (kind.innerRad + kind.bevel) * ppu + 2.0 : 0.0;
            int spans[4];
            for (int k = 0; k < 4; ++k) spans[k] = img == &grown ? kSliceSpan[k] : kSliceSpan[k] / 2;
            int seen[4] = {0, 0, 0, 0}, odd = 0;
            for (int py = 0; py < 1080; ++py)
                for (int px = 0; px < 1920; ++px) {
                    const double dx = px + 0.5 - 960.0, dy = 540.0 - (py + 0.5);
                    const double r = std::hypot(dx, dy);
                    if (r > outer || r < inner) continue;
                    // Counter-clockwise from +y, as the slices sweep.
                    const double a = std::fmod(std::atan2(-dx, dy) * 180.0 / 3.14159265358979 + 360.0, 360.0);
                    // The colour a pixel may show: its own slice's (or the
                    // background's), and within 1.5 pixels of an edge of a
                    // slice's drawn part the colours on both sides of it.
                    auto owner = [&](double degrees) {
                        for (int k = 0; k < 4; ++k)
                            if (std::fmod(degrees - kSliceStart[k] + 720.0, 360.0) < spans[k]) return k;
                        return 4;
                    };
                    const int own = owner(a);
                    bool allowed[5] = {false, false, false, false, false};
                    allowed[own] = true;
                    // On a slice's edge against the background (as it grows)
                    // the face that closes it there lies in the line of sight:
                    // a pixel on that line may show it, in the slice's colour.
                    int closing = -1;
                    for (int k = 0; k < 4; ++k)
                        for (int edge : {kSliceStart[k], kSliceStart[k] + spans[k]}) {
                            const double off = std::fabs(std::remainder(a - edge, 360.0)) * 3.14159265358979 / 180.0;
                            if (off > 1.5 || r * std::sin(off) > 1.5) continue;
                            const int before = owner(edge - 0.5), after = owner(edge + 0.5);
                            allowed[before] = allowed[after] = true;
                            if ((before == 4 || after == 4) && r * std::sin(off) < 1.0) closing = k;
                        }
                    if (r < 4.0) std::fill(allowed, allowed + 5, true);
                    const RGBA c = img->at(px, py);
                    int k = 0;
                    while (k < 5 && !(allowed[k] && near(c, expected[k], 2))) ++k;
                    if (k == 5 && closing >= 0 && shadeOf(c, kSliceColours[closing])) k = closing;
                    if (k < 4 && k == own)
                        ++seen[k];
                    else if (k == 5 && ++odd <= 5)
                        ADD_FAILURE() << "pixel " << px << "," << py << " (" << a << " degrees, " << r
                                      << " px out): " << describe(c);
                }
            EXPECT_EQ(odd, 0);
            for (int k = 0; k < 4; ++k) EXPECT_GT(seen[k], 1000) << kSliceNames[k];
        }
    }
}

// A pie halfway through its grow, and halfway through its shrink, tilted so
// that the slices' moving ends face the camera: each slice still shows the
// side face that closes it there, whole, lit as its normal (the direction of
// the sweep) gives, for each kind of slice.
TEST_F(PictureRender, AGrowingOrShrinkingPieShowsTheFaceThatClosesEachSlice) {
    const double tilt = -50.0 * 3.14159265358979 / 180.0;
    const Vec light{0, 0, 1};  // from the camera: a face shows its normal's z
    auto turned = [&](Vec v) {
        return Vec{v.x, v.y * std::cos(tilt) - v.z * std::sin(tilt), v.y * std::sin(tilt) + v.z * std::cos(tilt)};
    };
    for (const SliceKind& kind : kSliceKinds)
    for (const int frame : {15, 50}) {
        SCOPED_TRACE(std::string(kind.name) + (frame == 15 ? ", growing" : ", shrinking"));
        const RenderToolImage img = render(std::string("pie-") + kind.name + "-tilted-" + std::to_string(frame),
                                           pieScene(kind, -50, light, true), "960x540", frame);
        ASSERT_EQ(img.width, 960);
        int faces = 0;
        for (int k = 0; k < 4; ++k) {
            // Halfway: the slice ends half its span from its start.
            const double phi = (90.0 + kSliceStart[k] + kSliceSpan[k] / 2) * 3.14159265358979 / 180.0;
            const Vec normal = turned({-std::sin(phi), std::cos(phi), 0});
            if (normal.z < 0.2) continue;  // faces away, or nearly edge-on
            ++faces;
            for (double rho : {66.0, 96.0}) {
                const Vec p = turned({rho * std::cos(phi), rho * std::sin(phi), 15});
                const double ppu = pixelsPerUnit(906.0 - p.z, 540);
                const int px = static_cast<int>(480.0 + p.x * ppu), py = static_cast<int>(270.0 - p.y * ppu);
                const RGBA c = img.at(px, py);
                EXPECT_TRUE(near(c, lit(normal, light, kSliceColours[k]), 2))
                    << kSliceNames[k] << " at " << rho << ": " << describe(c) << " at " << px << "," << py;
            }
        }
        EXPECT_EQ(faces, 3);  // red's, green's and blue's; yellow's faces away
    }
}
