// What the light page's preview draws and how a drag swings the current
// light, free of any window: a grey sphere lit by up to four lights of the
// preview's own, with a cone on its surface towards each light that is on
// (red for the current one, green for the others).
#pragma once

#include "ui/properties/rules/CSphericalCoord.h"

constexpr int kLightPreviewSlots = 4;

class CLightPreviewModel {
public:
    struct Slot {
        CSphericalCoord position;  // the light
        CSphericalCoord marker;    // its cone on the sphere's surface
        int on = 0;
        int positional = 0;
        float cutoff = 180.0f;
        float exponent = 0.0f;
        float direction[3] = {0, 0, -1};
        float ambient[4] = {0, 0, 0, 1};
        float diffuse[4] = {1, 1, 1, 1};
        float specular[4] = {0, 0, 0, 1};
        float emission[4] = {0, 0, 0, 1};
        float shininess = 0.0f;
    };

    CLightPreviewModel() { SetScale(6.0f, -60.0f, 60.0f); }
    // Sphere radius 0.7 s, marker 0.2 s, small marker 0.05 s.
    void SetScale(float scale, float nearPlane, float farPlane);
    float Scale() const { return m_fScale; }
    float SphereRadius() const { return 0.7f * m_fScale; }
    float MarkerSize() const { return 0.2f * m_fScale; }
    void SetLightPosition(int slot, float x, float y, float z);
    // Keeps the angles of point for the marker (the distance slider changes
    // only the radius).
    void SetLightSpherical(int slot, const CSphericalCoord& point);
    CSphericalCoord GetLightSpherical(int slot) const;
    void GetLightPosition(int slot, float& x, float& y, float& z) const;

    // The client size, whose centre and half sides the drag mapping uses.
    void SetClientSize(int width, int height);
    // One drag step from the last point (x0, y0) to (x, y): turns the current
    // light about X, then Y, then Z. False with no current light or while a
    // side of the client is 0.
    bool Drag(int x0, int y0, int x, int y);
    // The projection for a client size: the shorter side spans +-1.2 s, the
    // longer one is widened. False while a side is 0.
    bool Size(int width, int height) const;
    void Render() const;

    Slot m_slots[kLightPreviewSlots];
    int m_nCurrent = -1;

private:
    void PlaceMarker(int slot);
    bool Valid(int slot) const { return slot >= 0 && slot < kLightPreviewSlots; }
    float m_fScale = 6.0f;
    float m_fNear = -60.0f, m_fFar = 60.0f;
    int m_nHalfWidth = 0, m_nHalfHeight = 0;
};
