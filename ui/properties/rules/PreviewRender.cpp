#include "ui/properties/rules/PreviewRender.h"

#include "scene/pnMaterial.h"
#include "scene/pnScene.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdlib>

namespace {

GLUquadric* previewQuadric = nullptr;

void ortho(double l, double r, double b, double t, double n, double f) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(l, r, b, t, n, f);
    glMatrixMode(GL_MODELVIEW);
    glDrawBuffer(GL_BACK);
}

void frontMaterial(const float ambient[4], const float diffuse[4], const float specular[4], const float emission[4],
                   float shininess) {
    glMaterialfv(GL_FRONT, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT, GL_SPECULAR, specular);
    glMaterialfv(GL_FRONT, GL_EMISSION, emission);
    glMaterialf(GL_FRONT, GL_SHININESS, shininess);
}

}  // namespace

void drawPreviewSphere(double radius, int slices, int stacks) {
    if (!previewQuadric) previewQuadric = gluNewQuadric();
    if (!previewQuadric) return;
    gluQuadricDrawStyle(previewQuadric, GLU_FILL);
    gluQuadricNormals(previewQuadric, GLU_SMOOTH);
    gluSphere(previewQuadric, radius, slices, stacks);
}

void drawPreviewFrustum(float top, float bottom, float height, int segments) {
    const float rt = top / 2, rb = bottom / 2, y = height / 2;
    const double step = 2 * M_PI / segments;
    for (int i = 0; i < segments; ++i) {
        const float c0 = float(std::cos(step * i)), s0 = float(std::sin(step * i));
        const float c1 = float(std::cos(step * (i + 1))), s1 = float(std::sin(step * (i + 1)));
        const float quad[4][3] = {{rt * c0, y, rt * s0}, {rt * c1, y, rt * s1}, {rb * c1, -y, rb * s1}, {rb * c0, -y, rb * s0}};
        glBegin(GL_QUADS);
        for (const auto& v : quad) {
            glNormal3fv(v);
            glVertex3fv(v);
        }
        glEnd();
        glBegin(GL_TRIANGLES);
        glNormal3f(0, 1, 0);
        glVertex3f(rt * c0, y, rt * s0);
        glVertex3f(rt * c1, y, rt * s1);
        glVertex3f(0, 0, 0);
        glNormal3f(0, -1, 0);
        glVertex3f(rb * c0, -y, rb * s0);
        glVertex3f(rb * c1, -y, rb * s1);
        glVertex3f(0, 0, 0);
        glEnd();
    }
}

bool SizeMaterialPreview(int w, int h) {
    if (w <= 0 || h <= 0) return false;
    glViewport(0, 0, w, h);
    if (h < w) ortho(-3.3 * w / h, 3.3 * w / h, -3.3, 3.3, -10, 10);
    else ortho(-3.3, 3.3, -3.3 * h / w, 3.3 * h / w, -10, 10);
    return true;
}

void RenderMaterialPreview(const MaterialPreviewState& s) {
    glLoadIdentity();
    glClearColor(0, 0, 0, 0);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glShadeModel(GL_SMOOTH);
    const float lightPos[4] = {10, 10, 10, 1};
    glLightfv(GL_LIGHT0, GL_POSITION, lightPos);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_DEPTH_TEST);

    const float black[4] = {0, 0, 0, 1}, white[4] = {1, 1, 1, 1};
    glPushMatrix();
    glTranslatef(0, 0, -10);
    frontMaterial(black, white, black, black, 0);
    drawPreviewSphere(1.0, 16, 16);
    glPopMatrix();

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    float a[4], d[4], sp[4], e[4];
    for (int i = 0; i < 3; ++i) a[i] = s.ambient[i], d[i] = s.diffuse[i], sp[i] = s.specular[i], e[i] = s.emission[i];
    a[3] = d[3] = sp[3] = e[3] = s.opacity;
    glPushMatrix();
    glTranslatef(0, 0, -10);
    frontMaterial(a, d, sp, e, s.shininess);
    drawPreviewSphere(3.0, 32, 32);
    glPopMatrix();
    glDisable(GL_BLEND);
}

CCameraPreviewModel::CCameraPreviewModel() { SetEyeXYZ(0, 0, kSphereRadius); }

void CCameraPreviewModel::PlaceMarker() {
    m_marker.SetSpherical(kConeSize * 0.5f + kSphereRadius, m_eye.m_azimuth, m_eye.m_elevation);
}

void CCameraPreviewModel::SetEyeXYZ(float x, float y, float z) {
    m_eye.SetXYZ(x, y, z);
    PlaceMarker();
}

void CCameraPreviewModel::SetEyeSpherical(float radius, float azimuth, float elevation) {
    m_eye.SetSpherical(radius, azimuth, elevation);
    PlaceMarker();
    m_eye.GetXYZ(m_vEye[0], m_vEye[1], m_vEye[2]);
}

void CCameraPreviewModel::SetClientSize(int width, int height) {
    m_nCenterX = width / 2;
    m_nCenterY = height / 2;
}

bool CCameraPreviewModel::Drag(int a, int b, int c, int d) {
    const float e = float(m_nCenterX), f = float(m_nCenterY);
    const float g = e * f;
    if (!m_bEnabled || g == 0.0f) return false;
    float z = std::fabs(b - f) * 90.0f / g * float(a - c);
    float y = float(c - a) * 90.0f / g;
    if (b < f) {
        y *= float(b);
    } else {
        z = -z;
        y *= 2 * f - float(b);
    }
    float x = float(d - b) * 90.0f / g;
    const float l = float(d - b) * std::fabs(c - e) * 90.0f / g;
    if (c < e) {
        z += l;
        x *= float(c);
    } else {
        z -= l;
        x *= 2 * e - float(c);
    }
    CSphericalCoord turned = m_eye;
    turned.Rotate(x, y, z);
    if (turned.m_z < 0.0f) return false;
    m_eye = turned;
    m_marker.Rotate(x, y, z);
    m_eye.GetXYZ(m_vEye[0], m_vEye[1], m_vEye[2]);
    return true;
}

void BeginGreyPreviewFrame() {
    glLoadIdentity();
    glClearColor(0.4f, 0.4f, 0.4f, 1.0f);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

bool SizePreviewOrtho(int w, int h, double e, double nearWide, double farWide, double nearTall, double farTall) {
    if (w <= 0 || h <= 0) return false;
    glViewport(0, 0, w, h);
    if (h < w) ortho(-(w * e / h), w * e / h, -e, e, nearWide, farWide);
    else ortho(-e, e, -(e * h / w), e * h / w, nearTall, farTall);
    return true;
}

bool CCameraPreviewModel::Size(int w, int h) {
    const double e = kViewHalfSize;
    return SizePreviewOrtho(w, h, e, -10 * e, 10 * e, -4 * e, 4 * e);
}

void CCameraPreviewModel::Render() const {
    BeginGreyPreviewFrame();
    const float pos[4] = {2.5f, 2.5f, 6.0f, 0.0f}, black[4] = {0, 0, 0, 1}, white[4] = {1, 1, 1, 1};
    glLightfv(GL_LIGHT0, GL_POSITION, pos);
    glLightfv(GL_LIGHT0, GL_AMBIENT, black);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_SPECULAR, black);
    glEnable(GL_LIGHT0);

    glPushMatrix();
    const float coneAmbient[4] = {0.9f, 0.9f, 0.9f, 1}, red[4] = {1, 0, 0, 1};
    frontMaterial(coneAmbient, red, black, black, 0);
    glRotatef(m_marker.m_azimuth, 0, 0, 1);
    glRotatef(-m_marker.m_elevation, 0, 1, 0);
    glTranslatef(m_marker.m_radius, 0, 0);
    glRotatef(90, 0, 0, 1);
    drawPreviewFrustum(0, kConeSize, kConeSize, 8);
    glPopMatrix();

    const float sphereAmbient[4] = {0.6f, 0.6f, 0.6f, 0.7f}, sphereDiffuse[4] = {1, 1, 1, 0.7f};
    frontMaterial(sphereAmbient, sphereDiffuse, black, black, 0);
    drawPreviewSphere(kSphereRadius, 32, 32);
    glDisable(GL_BLEND);
}

bool SizeMaterialGrid(int w, int h) {
    if (w <= 0 || h <= 0) return false;
    glViewport(0, 0, w, h);
    ortho(-16, 16, -16, 16, 1, 100);
    return true;
}

void RenderMaterialGrid(const pnScene* scene, int page) {
    if (!scene) return;
    const int count = scene->getNumMaterials();
    glLoadIdentity();
    glClearColor(0.1f, 0.1f, 0.1f, 0.0f);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    const float lightPos[4] = {200, 200, 200, 1};
    glLightfv(GL_LIGHT0, GL_POSITION, lightPos);
    glEnable(GL_LIGHT0);
    int index = count - page * 16 - 1;
    for (int row = 0; row < 32 && index >= 0; row += 8) {
        for (int column = 0; column < 32 && index >= 0; column += 8, --index) {
            const pnMaterial* m = scene->getMaterial(index);
            if (!m) continue;
            const sgVec3 a = m->getAmbient(), d = m->getDiffuse(), s = m->getSpecular(), e = m->getEmission();
            const float av[4] = {a[0], a[1], a[2], 1}, dv[4] = {d[0], d[1], d[2], 1}, sv[4] = {s[0], s[1], s[2], 1},
                        ev[4] = {e[0], e[1], e[2], 1};
            glPushMatrix();
            glTranslatef(float(column - 12), float(12 - row), -10.0f);
            frontMaterial(av, dv, sv, ev, m->getShininess());
            drawPreviewSphere(2.8, 32, 32);
            glPopMatrix();
        }
    }
}

namespace {

void frameRect(float l, float t, float r, float b, float red, float green, float blue) {
    glColor3f(red, green, blue);
    glBegin(GL_LINE_LOOP);
    glVertex2f(l + 0.5f, t + 0.5f);
    glVertex2f(r - 0.5f, t + 0.5f);
    glVertex2f(r - 0.5f, b - 0.5f);
    glVertex2f(l + 0.5f, b - 0.5f);
    glEnd();
}

void polyline(float x0, float y0, float x1, float y1, float x2, float y2, float grey) {
    glColor3f(grey, grey, grey);
    glBegin(GL_LINE_STRIP);
    glVertex2f(x0 + 0.5f, y0 + 0.5f);
    glVertex2f(x1 + 0.5f, y1 + 0.5f);
    glVertex2f(x2 + 0.5f, y2 + 0.5f);
    glEnd();
}

}  // namespace

void DrawMaterialGridFrames(int width, int height, int selectedCell) {
    if (width <= 0 || height <= 0) return;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    const float grey = 128.0f / 255.0f, light = 192.0f / 255.0f;
    for (int k = 0; k < 16; ++k) {
        const float l = 40.0f * (k % 4), t = 40.0f * (k / 4), r = l + 40, b = t + 40;
        frameRect(l, t, r, b, light, light, light);
        glLineWidth(2);
        polyline(r - 2, t + 2, r - 2, b - 2, l + 2, b - 2, 1.0f);
        glLineWidth(1);
        polyline(r - 2, t + 1, l + 1, t + 1, l + 1, b - 2, grey);
        polyline(r - 3, t + 2, l + 2, t + 2, l + 2, b - 3, 0.0f);
    }
    if (selectedCell >= 0 && selectedCell < 16) {
        const float l = 40.0f * (selectedCell % 4), t = 40.0f * (selectedCell / 4), r = l + 40, b = t + 40;
        frameRect(l, t, r, b, 1, 0, 0);
        frameRect(l + 2, t + 2, r - 2, b - 2, 1, 0, 0);
        frameRect(l + 1, t + 1, r - 1, b - 1, 1, 1, 1);
    }
    glEnable(GL_DEPTH_TEST);
}
