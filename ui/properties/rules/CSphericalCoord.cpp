#include "ui/properties/rules/CSphericalCoord.h"

#include "ui/properties/rules/CPolarCoord.h"

#include <cmath>

void CSphericalCoord::SetXYZ(float x, float y, float z) {
    m_x = x;
    m_y = y;
    m_z = z;
    UpdateRadius();
    UpdateAzimuth();
    UpdateElevation();
}

void CSphericalCoord::SetSpherical(float radius, float azimuth, float elevation) {
    m_radius = radius;
    m_azimuth = azimuth;
    m_elevation = elevation;
    m_z = radius * std::sin(elevation * kDegToRad);
    const float d = radius * std::cos(elevation * kDegToRad);
    m_y = d * std::sin(azimuth * kDegToRad);
    m_x = d * std::cos(azimuth * kDegToRad);
}

void CSphericalCoord::Rotate(float a, float b, float c) {
    CPolarCoord p;
    p.SetXY(m_y, m_z);
    p.Rotate(a);
    p.GetXY(m_y, m_z);
    p.SetXY(m_z, m_x);
    p.Rotate(b);
    p.GetXY(m_z, m_x);
    p.SetXY(m_x, m_y);
    p.Rotate(c);
    p.GetXY(m_x, m_y);
    UpdateAzimuth();
    UpdateElevation();
}

void CSphericalCoord::GetXYZ(float& x, float& y, float& z) const {
    x = m_x;
    y = m_y;
    z = m_z;
}

void CSphericalCoord::GetSpherical(float& radius, float& azimuth, float& elevation) const {
    radius = m_radius;
    azimuth = m_azimuth;
    elevation = m_elevation;
}

void CSphericalCoord::UpdateRadius() { m_radius = std::sqrt(m_x * m_x + m_y * m_y + m_z * m_z); }

void CSphericalCoord::UpdateAzimuth() { m_azimuth = std::atan2(m_y, m_x) * kRadToDeg; }

void CSphericalCoord::UpdateElevation() {
    m_elevation = std::atan2(m_z, std::sqrt(m_x * m_x + m_y * m_y)) * kRadToDeg;
}
