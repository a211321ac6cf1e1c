#include "ui/properties/rules/CLightPreviewModel.h"

#include "ui/properties/rules/PreviewRender.h"

#include <GL/gl.h>

#include <cmath>

void CLightPreviewModel::SetScale(float scale, float nearPlane, float farPlane) {
    m_fScale = scale;
    m_fNear = nearPlane;
    m_fFar = farPlane;
    for (int i = 0; i < kLightPreviewSlots; ++i) PlaceMarker(i);
}

void CLightPreviewModel::PlaceMarker(int slot) {
    const CSphericalCoord& p = m_slots[slot].position;
    m_slots[slot].marker.SetSpherical(SphereRadius() + MarkerSize() * 0.5f, p.m_azimuth, p.m_elevation);
}

void CLightPreviewModel::SetLightPosition(int slot, float x, float y, float z) {
    if (!Valid(slot)) return;
    m_slots[slot].position.SetXYZ(x, y, z);
    PlaceMarker(slot);
}

void CLightPreviewModel::SetLightSpherical(int slot, const CSphericalCoord& point) {
    if (!Valid(slot)) return;
    m_slots[slot].position.SetSpherical(point.m_radius, point.m_azimuth, point.m_elevation);
    PlaceMarker(slot);
}

CSphericalCoord CLightPreviewModel::GetLightSpherical(int slot) const {
    return Valid(slot) ? m_slots[slot].position : CSphericalCoord();
}

void CLightPreviewModel::GetLightPosition(int slot, float& x, float& y, float& z) const {
    x = y = z = 0.0f;
    if (Valid(slot)) m_slots[slot].position.GetXYZ(x, y, z);
}

void CLightPreviewModel::SetClientSize(int width, int height) {
    m_nHalfWidth = width / 2;
    m_nHalfHeight = height / 2;
}

bool CLightPreviewModel::Drag(int x0, int y0, int x, int y) {
    const float cx = float(m_nHalfWidth), cy = float(m_nHalfHeight);
    // A control with a side of 0 has no mapping (the factor would divide by 0).
    if (!Valid(m_nCurrent) || cx <= 0.0f || cy <= 0.0f) return false;
    const float k = 90.0f / (cx * cy);
    const float wy = float(y0) < cy ? float(y0) : 2 * cy - float(y0);
    const float ry = float(x - x0) * k * wy;
    const float wx = float(x) < cx ? float(x) : 2 * cx - float(x);
    const float rx = float(y - y0) * k * wx;
    float rz = float(x0 - x) * std::fabs(float(y0) - cy) * k;
    if (float(y0) >= cy) rz = -rz;
    const float edge = float(y - y0) * std::fabs(float(x) - cx) * k;
    rz += float(x) < cx ? edge : -edge;
    Slot& s = m_slots[m_nCurrent];
    s.position.Rotate(rx, ry, rz);
    s.marker.Rotate(rx, ry, rz);
    return true;
}

bool CLightPreviewModel::Size(int width, int height) const {
    return SizePreviewOrtho(width, height, 1.2 * m_fScale, m_fNear, m_fFar, m_fNear, m_fFar);
}

void CLightPreviewModel::Render() const {
    BeginGreyPreviewFrame();

    const float radius = SphereRadius();
    for (int i = 0; i < kLightPreviewSlots; ++i) {
        const Slot& s = m_slots[i];
        const GLenum light = GL_LIGHT0 + i;
        float x = 0, y = 0, z = 0;
        s.position.GetXYZ(x, y, z);
        const float length = s.position.m_radius;
        const float reach = length + radius;
        const float unit = length > 0.0f ? reach / length : 0.0f;
        const float position[4] = {x * unit, y * unit, z * unit, s.positional ? 1.0f : 0.0f};
        glLightfv(light, GL_POSITION, position);
        if (s.positional) {
            glLightf(light, GL_SPOT_CUTOFF, s.cutoff);
            glLightfv(light, GL_SPOT_DIRECTION, s.direction);
            glLightf(light, GL_SPOT_EXPONENT, s.exponent);
        } else {
            glLightf(light, GL_SPOT_CUTOFF, 180.0f);
        }
        glLightfv(light, GL_AMBIENT, s.ambient);
        glLightfv(light, GL_DIFFUSE, s.diffuse);
        glLightfv(light, GL_SPECULAR, s.specular);
        if (s.on) glEnable(light);
        else glDisable(light);
    }

    const float black[4] = {0, 0, 0, 1};
    const float coneAmbient[4] = {0.9f, 0.9f, 0.9f, 1}, red[4] = {1, 0, 0, 1}, green[4] = {0, 1, 0, 1};
    for (int i = 0; i < kLightPreviewSlots; ++i) {
        const Slot& s = m_slots[i];
        if (!s.on) continue;
        glPushMatrix();
        glMaterialfv(GL_FRONT, GL_AMBIENT, coneAmbient);
        glMaterialfv(GL_FRONT, GL_DIFFUSE, i == m_nCurrent ? red : green);
        glMaterialfv(GL_FRONT, GL_SPECULAR, black);
        glMaterialfv(GL_FRONT, GL_EMISSION, black);
        glRotatef(s.marker.m_azimuth, 0, 0, 1);
        glRotatef(-s.marker.m_elevation, 0, 1, 0);
        glTranslatef(s.marker.m_radius, 0, 0);
        glRotatef(90, 0, 0, 1);
        drawPreviewFrustum(0, MarkerSize(), MarkerSize(), 8);
        glPopMatrix();
        if (i == m_nCurrent && s.positional) {
            // The current positional light: a half-transparent ball on its marker.
            const float ball[4] = {1, 0, 0, 0.5f};
            glPushMatrix();
            glTranslatef(s.marker.m_x, s.marker.m_y, s.marker.m_z);
            glMaterialfv(GL_FRONT, GL_AMBIENT, ball);
            glMaterialfv(GL_FRONT, GL_DIFFUSE, ball);
            drawPreviewSphere(0.05 * m_fScale, 8, 8);
            glPopMatrix();
        }
    }

    const float sphereAmbient[4] = {0.2f, 0.2f, 0.2f, 1}, sphereDiffuse[4] = {0.7f, 0.7f, 0.7f, 1};
    glMaterialfv(GL_FRONT, GL_AMBIENT, sphereAmbient);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, sphereDiffuse);
    glMaterialfv(GL_FRONT, GL_SPECULAR, black);
    glMaterialfv(GL_FRONT, GL_EMISSION, black);
    glMaterialf(GL_FRONT, GL_SHININESS, 0.0f);
    drawPreviewSphere(radius, 32, 32);
    glDisable(GL_BLEND);
}
