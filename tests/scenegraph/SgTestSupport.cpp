#include "tests/scenegraph/SgTestSupport.h"

#include <GL/gl.h>

#include "sg/sgChannel.h"
#include "sg/sgGeoState.h"
#include "sg/sgMaterial.h"

namespace {
std::map<std::string, FakeImages::Picture>& pictures() {
    static std::map<std::string, FakeImages::Picture> p;
    return p;
}
std::map<std::string, int>& counts() {
    static std::map<std::string, int> c;
    return c;
}
int g_total = 0;
int g_textureReads = 0;

sgImagePtr render(const FakeImages::Picture& p) {
    auto img = std::make_unique<sgImage>();
    img->width = p.width;
    img->height = p.height;
    img->pixels.resize(static_cast<size_t>(p.width) * p.height * p.components);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const unsigned char* c = x < p.width / 2 ? p.left : p.right;
            for (int k = 0; k < p.components; ++k)
                img->pixels[(static_cast<size_t>(y) * p.width + x) * p.components + k] = c[k];
        }
    return img;
}

sgImagePtr readPlain(int, const std::string& path, int* components, sgImageFailure* why) {
    ++g_total;
    ++counts()[path];
    auto it = pictures().find(path);
    sgSetImageFailure(why, it == pictures().end() ? sgImageFailure::missing : sgImageFailure::none);
    if (it == pictures().end()) return nullptr;
    if (components) *components = it->second.components;
    return render(it->second);
}

sgImagePtr readPadded(int format, const std::string& path, int* components, float* s, float* t,
                      sgImageFailure* why) {
    ++g_textureReads;
    sgImagePtr img = readPlain(format, path, components, why);
    if (!img) return nullptr;
    return padToPowerOfTwo(*img, *components, format == SG_FMT_PNG ? 4 : 1, s, t);
}
}  // namespace

void FakeImages::install() {
    reset();
    sgImageReaders r;
    r.read = readPlain;
    r.readTexture = readPadded;
    sgSetImageReaders(r);
}

void FakeImages::reset() {
    pictures().clear();
    counts().clear();
    g_total = 0;
    g_textureReads = 0;
}

void FakeImages::add(const std::string& name, const Picture& p) { pictures()[name] = p; }

void FakeImages::addColour(const std::string& name, unsigned char r, unsigned char g, unsigned char b,
                           unsigned char a, int components) {
    Picture p;
    p.components = components;
    unsigned char c[4] = {r, g, b, a};
    for (int i = 0; i < 4; ++i) p.left[i] = p.right[i] = c[i];
    add(name, p);
}

int FakeImages::reads(const std::string& name) {
    auto it = counts().find(name);
    return it == counts().end() ? 0 : it->second;
}
int FakeImages::totalReads() { return g_total; }
int FakeImages::textureReads() { return g_textureReads; }

sgGeoSet* makeQuad(float x0, float y0, float x1, float y1, float z, float r, float g, float b, float a, bool ccw) {
    sgGeoSet* set = new sgGeoSet;
    std::vector<float> v = {x0, y0, z, x1, y0, z, x1, y1, z, x0, y1, z};
    std::vector<int> vi = ccw ? std::vector<int>{0, 1, 2, 3} : std::vector<int>{0, 3, 2, 1};
    std::vector<float> n = {0, 0, ccw ? 1.0f : -1.0f};
    std::vector<float> t = {0, 0, 1, 0, 1, 1, 0, 1};
    set->setAttr(GL_VERTEX_ARRAY, v, vi);
    set->setAttr(GL_NORMAL_ARRAY, n, {0});
    set->setAttr(GL_TEXTURE_COORD_ARRAY, t, vi);
    set->setPrimType(GL_QUADS);
    set->setNumPrims(1);
    sgGeoState* state = new sgGeoState;
    sgMaterial m;
    m.setColor(GL_AMBIENT, 0, 0, 0);
    m.setColor(GL_DIFFUSE, 0, 0, 0);
    m.setColor(GL_SPECULAR, 0, 0, 0);
    m.setColor(GL_EMISSION, r, g, b);
    m.setAlpha(a);
    state->sgAttr(GL_FRONT, &m);
    set->setGState(state);
    return set;
}

void pixelOrtho(int w, int h) {
    sgInitGLState();
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, w, 0, h, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
