#include "tests/models/ModelTestSupport.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <stdexcept>
#include <tuple>

#include <unistd.h>

#include "tests/support/ShellCommand.h"
#include "tools/ModelGen.h"

namespace modeltest {

std::string runCommand(const std::string& command, int* status) { return ::runCommand(command + " 2>&1", status); }

bool assimpInfo(const std::string& path, AssimpCounts& out) {
    int rc = 0;
    std::string text = runCommand("assimp info '" + path + "'", &rc);
    if (rc != 0) return false;
    auto number = [&](const char* key) -> long {
        size_t p = text.find(key);
        if (p == std::string::npos) return -1;
        return std::strtol(text.c_str() + p + std::string(key).size(), nullptr, 10);
    };
    out.faces = number("\nFaces:");
    out.vertices = number("\nVertices:");
    return out.faces >= 0 && out.vertices >= 0;
}

namespace {

// Feedback of one pass: per corner window position and texture coordinate.
struct Corner {
    float win[3];
    float tex[4];
};

std::vector<Corner> feedbackPass(GLuint list, bool normals, size_t& polygons) {
    // Mesa computes texture coordinates (and so texture generation) only for
    // an enabled, complete texture: a one-texel 1D texture serves, and the
    // lists' own 2D texturing switches leave it alone.
    GLuint tex1d = 0;
    glGenTextures(1, &tex1d);
    glBindTexture(GL_TEXTURE_1D, tex1d);
    const GLubyte white[4] = {255, 255, 255, 255};
    glTexParameteri(GL_TEXTURE_1D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_1D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage1D(GL_TEXTURE_1D, 0, GL_RGBA, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
    glEnable(GL_TEXTURE_1D);
    std::vector<GLfloat> buf(1 << 16);
    for (;;) {
        glFeedbackBuffer(static_cast<GLsizei>(buf.size()), GL_3D_COLOR_TEXTURE, buf.data());
        glRenderMode(GL_FEEDBACK);
        if (normals) {
            for (GLenum c : {GL_S, GL_T, GL_R}) glTexGeni(c, GL_TEXTURE_GEN_MODE, GL_NORMAL_MAP);
            glEnable(GL_TEXTURE_GEN_S);
            glEnable(GL_TEXTURE_GEN_T);
            glEnable(GL_TEXTURE_GEN_R);
        }
        glCallList(list);
        glDisable(GL_TEXTURE_GEN_S);
        glDisable(GL_TEXTURE_GEN_T);
        glDisable(GL_TEXTURE_GEN_R);
        GLint n = glRenderMode(GL_RENDER);
        if (n >= 0) {
            buf.resize(static_cast<size_t>(n));
            break;
        }
        buf.assign(buf.size() * 4, 0.0f);
    }
    glDisable(GL_TEXTURE_1D);
    glDeleteTextures(1, &tex1d);
    std::vector<Corner> corners;
    polygons = 0;
    const size_t stride = 3 + 4 + 4;
    for (size_t i = 0; i < buf.size();) {
        GLenum token = static_cast<GLenum>(buf[i++]);
        if (token == GL_POLYGON_TOKEN) {
            size_t count = static_cast<size_t>(buf[i++]);
            if (count != 3) throw std::runtime_error("clipped polygon: extent too small");
            for (size_t k = 0; k < count; ++k, i += stride) {
                Corner c;
                for (int j = 0; j < 3; ++j) c.win[j] = buf[i + j];
                for (int j = 0; j < 4; ++j) c.tex[j] = buf[i + 7 + j];
                corners.push_back(c);
            }
            ++polygons;
        } else if (token == GL_PASS_THROUGH_TOKEN) {
            i += 1;
        } else if (token == GL_POINT_TOKEN || token == GL_BITMAP_TOKEN || token == GL_DRAW_PIXEL_TOKEN ||
                   token == GL_COPY_PIXEL_TOKEN) {
            i += stride;
        } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            i += 2 * stride;
        } else {
            throw std::runtime_error("unexpected feedback token");
        }
    }
    return corners;
}

}  // namespace

std::vector<DrawnTriangle> captureList(GLuint list, float extent) {
    GLint vp[4];
    glGetIntegerv(GL_VIEWPORT, vp);
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-extent, extent, -extent, extent, -extent, extent);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glShadeModel(GL_SMOOTH);

    size_t polys = 0, polys2 = 0;
    std::vector<Corner> plain = feedbackPass(list, false, polys);
    std::vector<Corner> withNormals = feedbackPass(list, true, polys2);

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
    if (plain.size() != withNormals.size()) throw std::runtime_error("feedback passes differ");

    std::vector<DrawnTriangle> tris(plain.size() / 3);
    for (size_t i = 0; i < plain.size(); ++i) {
        DrawnVertex& v = tris[i / 3].v[i % 3];
        const Corner& c = plain[i];
        v.pos[0] = ((c.win[0] - vp[0]) / vp[2] * 2.0f - 1.0f) * extent;
        v.pos[1] = ((c.win[1] - vp[1]) / vp[3] * 2.0f - 1.0f) * extent;
        v.pos[2] = -(c.win[2] * 2.0f - 1.0f) * extent;
        v.tex[0] = c.tex[0];
        v.tex[1] = c.tex[1];
        for (int j = 0; j < 3; ++j) v.normal[j] = withNormals[i].tex[j];
    }
    return tris;
}

size_t distinctVertices(const std::vector<DrawnTriangle>& tris, float extent, bool withNormals) {
    auto q = [](double v, double step) { return static_cast<long long>(std::llround(v / step)); };
    std::set<std::tuple<long long, long long, long long, long long, long long, long long, long long, long long>> seen;
    double ps = extent * 1e-4, us = 1e-4, ns = withNormals ? us : 1e9;
    for (const DrawnTriangle& t : tris)
        for (const DrawnVertex& v : t.v)
            seen.emplace(q(v.pos[0], ps), q(v.pos[1], ps), q(v.pos[2], ps), q(v.tex[0], us), q(v.tex[1], us),
                         q(v.normal[0], ns), q(v.normal[1], ns), q(v.normal[2], ns));
    return seen.size();
}

void faceNormal(const DrawnTriangle& t, float* n) {
    double u[3], w[3];
    for (int i = 0; i < 3; ++i) {
        u[i] = t.v[1].pos[i] - t.v[0].pos[i];
        w[i] = t.v[2].pos[i] - t.v[1].pos[i];
    }
    double x = u[1] * w[2] - u[2] * w[1], y = u[2] * w[0] - u[0] * w[2], z = u[0] * w[1] - u[1] * w[0];
    double l = std::sqrt(x * x + y * y + z * z);
    n[0] = static_cast<float>(x / l);
    n[1] = static_cast<float>(y / l);
    n[2] = static_cast<float>(z / l);
}

}  // namespace modeltest
