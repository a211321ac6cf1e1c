// A point in space kept both as (x, y, z) and as radius, azimuth (in the XY
// plane from +X towards +Y) and elevation (from the XY plane towards +Z), in
// degrees. The previews and the camera page turn mouse drags into rotations
// about the origin with it.
#pragma once

class CSphericalCoord {
public:
    CSphericalCoord() = default;
    void Copy(const CSphericalCoord& other) { *this = other; }
    void SetXYZ(float x, float y, float z);
    void SetSpherical(float radius, float azimuth, float elevation);
    // a degrees about X (Y towards Z), then b about Y (Z towards X), then c
    // about Z (X towards Y); the radius is kept as it was.
    void Rotate(float a, float b, float c);
    void GetXYZ(float& x, float& y, float& z) const;
    void GetSpherical(float& radius, float& azimuth, float& elevation) const;
    void UpdateRadius();
    void UpdateAzimuth();
    void UpdateElevation();

    float m_x = 0.0f;
    float m_y = 0.0f;
    float m_z = 0.0f;
    float m_radius = 0.0f;
    float m_azimuth = 0.0f;
    float m_elevation = 0.0f;
};
